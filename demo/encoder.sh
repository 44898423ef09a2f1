#!/usr/bin/env bash
# Encoder demo: generates a test picture with the command-line tool, encodes
# it in every sampling mode and in grey into ROOT/out/, prints the sizes and
# checks that each stream decodes.
#   bash demo/encoder.sh ROOT
set -eEuo pipefail
trap 'echo "encoder demo: \"$BASH_COMMAND\" failed with exit $?" >&2' ERR
root=${1:?usage: encoder.sh ROOT}
tool=$root/build/native/tools/velmoraj/velmoraj
out=$root/out
mkdir -p "$out"

"$tool" testimage "$out/encoder-test.bmp" 1280x720
"$tool" testimage "$out/encoder-test-grey.pgm" 1280x720 --grey

encode() { # NAME INPUT ARGS...
  local name=$1 input=$2; shift 2
  "$tool" encode "$input" "$out/$name.jpg" "$@"
  local bytes geometry decoded
  bytes=$(stat -c %s "$out/$name.jpg")
  decoded=$(mktemp)
  # djpeg exits nonzero on errors and on warnings such as corrupt data.
  djpeg -pnm -outfile "$decoded" "$out/$name.jpg"
  geometry=$(sed -n 2p "$decoded")
  rm -f "$decoded"
  printf '  %-22s %8d bytes   decodes to %s\n' "$name.jpg" "$bytes" "$geometry"
  [ "$geometry" = "1280 720" ] || { echo "  $name.jpg does not decode to 1280x720" >&2; exit 1; }
}

echo "1280x720 test picture, quality 75 unless named:"
encode encoder-420     "$out/encoder-test.bmp" -s 420
encode encoder-422     "$out/encoder-test.bmp" -s 422
encode encoder-444     "$out/encoder-test.bmp" -s 444
encode encoder-420-q95 "$out/encoder-test.bmp" -s 420 -q 95
encode encoder-420-q20 "$out/encoder-test.bmp" -s 420 -q 20
encode encoder-grey    "$out/encoder-test-grey.pgm"
echo "streams and the source pictures are in $out/"
