#!/usr/bin/env bash
# Gathers the Windows deliverable from the build trees into
# ROOT/out/dist/velmora-<version>-windows.zip (and the unpacked folder beside it).
#   bash dist/mkdist.sh ROOT
set -eEuo pipefail
trap 'echo "mkdist: \"$BASH_COMMAND\" failed with exit $?" >&2' ERR
ROOT=$(cd "${1:?usage: mkdist.sh ROOT}" && pwd)
version=$(sed -nE 's/^project\(velmora VERSION ([0-9.]+).*/\1/p' "$ROOT/CMakeLists.txt")
name=velmora-$version-windows
stage=$ROOT/out/dist/$name
zip=$ROOT/out/dist/$name.zip
rm -rf "$stage" "$zip"

put() { # DEST_DIR FILE...
  local dest=$1; shift
  mkdir -p "$stage/$dest"
  for f in "$@"; do
    [ -f "$f" ] || { echo "mkdist: $f is missing; build the Windows trees first (./run build)" >&2; exit 1; }
    cp "$f" "$stage/$dest/"
  done
}

for spec in x64:win64:x86_64 x86:win32:i686; do
  IFS=: read -r arch tree triple <<<"$spec"
  tree=$ROOT/build/$tree
  put "$arch" \
    "$tree"/driver/ljpeg/um/{VELMORAJ.dll,libvelmoraj.dll.a,VELMORAJ.lib} \
    "$tree"/driver/dchkfcs/{VELMORAZ.dll,libvelmoraz.dll.a,VELMORAZ.lib} \
    "$tree/bin/fcsview.exe" "$tree/tools/velmoraj/velmoraj.exe" "$tree/tools/vmdtool/vmdtool.exe"
  # Shipped without symbols; the build trees keep theirs.
  "$triple-w64-mingw32-strip" --strip-unneeded "$stage/$arch"/*.dll "$stage/$arch"/*.exe
done
put include "$ROOT/driver/ljpeg/um/velmoraj.h" "$ROOT/driver/dchkfcs/velmoraz.h"
put lang/ja "$ROOT/build/win64/lang/ja/VELMORAD.VMD" "$ROOT/driver/dchkfcs/lang/ja.txt"
put . "$ROOT/dist/README-windows.txt"

# The programs and libraries carry the compiler's runtime and the mingw-w64
# runtime (with winpthreads) statically: their licence texts go along.
{
  echo "Velmora $version for Windows links the following statically into every .dll and .exe."
  echo
  echo "== mingw-w64 runtime and winpthreads"
  cat /usr/share/doc/mingw-w64-common/copyright
  echo
  echo "== GCC runtime libraries (libgcc, libstdc++), GPL 3 with the GCC Runtime Library Exception"
  cat /usr/share/doc/gcc-mingw-w64-base/copyright
} > "$stage/NOTICES.txt"

(cd "$stage" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort | xargs sha256sum > SHA256SUMS)
(cd "$stage" && zip -qrX "$zip" .)
echo "made $zip:"
unzip -l "$zip" | sed '1,3d;$d' | sed '$d'
