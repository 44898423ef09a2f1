#!/bin/sh
# Compiles the C consumers of the public headers as C89, C99 and C++ with
# the mingw-w64 compiler of one architecture, and velmoraj.h (which needs
# only <stdint.h>) also for the MSVC ABI with clang (syntax only; mingw-w64's
# <windows.h> does not compile for that target).
#   headers_test.sh i686|x86_64 SOURCE_DIR INCLUDE_DIR...
set -u
arch=$1 src=$2; shift 2
inc=""
for d in "$@"; do inc="$inc -I$d"; done
failed=0
check() { # WHAT COMMAND...
  what=$1; shift
  if out=$("$@" 2>&1) && [ -z "$out" ]; then
    echo "ok      $what"
  else
    echo "FAILED  $what: $*"; echo "$out"; failed=1
  fi
}
for std in c89 c99 c++; do
  for consumer in encode_consumer preview_consumer; do
    case $std in
      c++) lang="-x c++ -std=c++11" ;;
      *) lang="-x c -std=$std" ;;
    esac
    # shellcheck disable=SC2086
    check "$consumer as $std, $arch-w64-mingw32" \
      "$arch-w64-mingw32-gcc" -fsyntax-only -Wall -Werror $lang $inc "$src/$consumer.c"
  done
  # shellcheck disable=SC2086
  check "encode_consumer as $std, clang $arch-pc-windows-msvc" \
    clang --target="$arch-pc-windows-msvc" -ffreestanding -fsyntax-only -Wall -Werror \
      $lang $inc "$src/encode_consumer.c"
done
exit $failed
