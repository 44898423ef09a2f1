#!/bin/sh
# Unpacks the SDK archive into an empty folder and uses it from there, as an
# integrator would: the checksums verify; under Wine the x64 and x86 fcsview
# encode the sample sheet to the same bytes, velmoraj.exe encodes a BMP, and
# vmdtool.exe packs the Japanese source to the bytes of the native vmdtool.
#   dist_test.sh ZIP WORK_DIR WINE_RUN PREFIX NATIVE_VELMORAJ NATIVE_VMDTOOL
set -u
zip=$1 work=$2 wine_run=$3 prefix=$4 velmoraj=$5 vmdtool=$6
failed=0 skipped=""
ok() { echo "ok      $*"; }
fail() { echo "FAILED  $*"; failed=1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
# wine_in BITS ARCH_DIR PROGRAM ARGS...: a program of the archive, run under Wine;
# 77 when this machine cannot run that architecture.
wine_in() {
  bits=$1 dir=$2 program=$3; shift 3
  "$wine_run" "$prefix" "$bits" "$work/sdk/$dir/$program" "$@" >"$work/last.log" 2>&1
}

[ -f "$zip" ] || { echo "FAILED  no archive at $zip (make it with ./run dist)"; exit 1; }
rm -rf "$work" && mkdir -p "$work/sdk" "$work/out"
unzip -q "$zip" -d "$work/sdk" || { echo "FAILED  unzip $zip"; exit 1; }
(cd "$work/sdk" && sha256sum --quiet -c SHA256SUMS) && ok "SHA256SUMS verify" || fail "SHA256SUMS"

for arch in x64:64 x86:32; do
  dir=${arch%%:*} bits=${arch#*:}
  wine_in "$bits" "$dir" fcsview.exe --encode "$(winpath "$work/out/sheet-$dir.jpg")" -q 75 -s 420
  case $? in
    0) ok "$dir fcsview.exe --encode" ;;
    77) skipped="$skipped $dir"; cat "$work/last.log"; continue ;;
    *) fail "$dir fcsview.exe --encode"; cat "$work/last.log"; continue ;;
  esac

  "$velmoraj" testimage "$work/out/in.bmp" 97x61 >/dev/null
  "$velmoraj" encode "$work/out/in.bmp" "$work/out/native.jpg" -q 80 -s 422 >/dev/null
  if wine_in "$bits" "$dir" velmoraj.exe encode "$(winpath "$work/out/in.bmp")" \
       "$(winpath "$work/out/bmp-$dir.jpg")" -q 80 -s 422 &&
     cmp -s "$work/out/native.jpg" "$work/out/bmp-$dir.jpg"; then
    ok "$dir velmoraj.exe encodes a BMP to the native bytes"
  else
    fail "$dir velmoraj.exe encode"; cat "$work/last.log"
  fi

  "$vmdtool" pack "$work/sdk/lang/ja/ja.txt" -o "$work/out/native.vmd" >/dev/null
  if wine_in "$bits" "$dir" vmdtool.exe pack "$(winpath "$work/sdk/lang/ja/ja.txt")" \
       -o "$(winpath "$work/out/ja-$dir.vmd")" &&
     cmp -s "$work/out/native.vmd" "$work/out/ja-$dir.vmd" &&
     cmp -s "$work/out/native.vmd" "$work/sdk/lang/ja/VELMORAD.VMD"; then
    ok "$dir vmdtool.exe packs the Japanese source to the native bytes"
  else
    fail "$dir vmdtool.exe pack"; cat "$work/last.log"
  fi
done

if [ -f "$work/out/sheet-x64.jpg" ] && [ -f "$work/out/sheet-x86.jpg" ]; then
  cmp -s "$work/out/sheet-x64.jpg" "$work/out/sheet-x86.jpg" &&
    ok "x64 and x86 encode the sample sheet to the same bytes" || fail "x64 and x86 sheets differ"
fi
[ -z "$skipped" ] || echo "SKIPPED$skipped: this machine cannot run them (see above)"
exit $failed
