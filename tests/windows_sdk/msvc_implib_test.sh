#!/bin/sh
# Checks the MSVC import libraries of one architecture: the symbol a C host's
# compiler references is defined (llvm-nm), the import name type maps it to
# the plain export (llvm-readobj), and a host linked by lld-link imports the
# plain names from the right DLLs.
#   msvc_implib_test.sh i686|x86_64 VELMORAJ.lib VELMORAZ.lib HOST.c INCLUDE_DIR WORK_DIR
set -u
arch=$1 jlib=$2 zlib=$3 host=$4 inc=$5 work=$6
failed=0
fail() { echo "FAILED  $*"; failed=1; }

if [ "$arch" = i686 ]; then
  decorate() { echo "_$1@$2"; }; name_type=undecorate machine=x86
else
  decorate() { echo "$1"; }; name_type=name machine=x64
fi

check_lib() { # LIB EXPORT STACK_BYTES
  symbol=$(decorate "$2" "$3")
  symbols=$(llvm-nm "$1" 2>&1)
  for s in "$symbol" "__imp_$symbol"; do
    if echo "$symbols" | grep -qx "[0-9a-f]* T $s"; then echo "ok      $1 defines $s"; else fail "$1 lacks $s"; fi
  done
  members=$(llvm-readobj "$1" 2>&1 | grep -A4 'Format: COFF-import-file')
  if echo "$members" | grep -q "Name type: $name_type" && echo "$members" | grep -qx "Symbol: $symbol"; then
    echo "ok      $1 imports $symbol by name type '$name_type'"
  else
    fail "$1: expected $symbol with name type $name_type, found:"; echo "$members"
  fi
}
check_lib "$jlib" Jpeg_EncodeStart 8
check_lib "$zlib" DispCheckFcsWindow 20

rm -rf "$work" && mkdir -p "$work"
if clang --target="$arch-pc-windows-msvc" -ffreestanding -c -I"$inc" "$host" -o "$work/host.obj" &&
   lld-link /nologo /dll /noentry /nodefaultlib /opt:noref /machine:$machine /out:"$work/host.dll" \
            "$work/host.obj" "$jlib" "$zlib"; then
  imports=$(llvm-readobj --coff-imports "$work/host.dll")
  for pair in VELMORAJ.dll:Jpeg_EncodeStart VELMORAZ.dll:DispCheckFcsWindow; do
    dll=${pair%%:*} fn=${pair#*:}
    if echo "$imports" | grep -A8 "Name: $dll" | grep -q "Symbol: $fn (0)"; then
      echo "ok      a linked host imports $fn from $dll"
    else
      fail "a linked host does not import $fn from $dll:"; echo "$imports"
    fi
  done
else
  fail "clang or lld-link could not build a host against the libraries"
fi
exit $failed
