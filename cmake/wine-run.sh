#!/bin/sh
# Runs a Windows program under Wine with the build's own prefix:
#   wine-run.sh PREFIX 64|32 PROGRAM [ARGS...]
#   wine-run.sh PREFIX --prepare      make the prefix now (before parallel runs)
# The prefix holds both halves, x86_64 and i686, when this machine can run
# 32-bit programs; one made without the 32-bit half is made again. Without a
# display each run gets a private Xvfb. A 32-bit program on a machine that
# cannot run one exits with 77, which the tests report as skipped.
prefix=$1 bits=$2
shift 2
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
SKIPPED=77

# Debian keeps both loaders in /usr/lib/wine, and its `wine` picks the 32-bit
# one whenever wine32 is installed, also for 64-bit programs.
if [ -x /usr/lib/wine/wine64 ]; then
  wine64=/usr/lib/wine/wine64
  export WINELOADER=$wine64
else
  wine64=$(command -v wine64 || command -v wine)
fi
if [ -x /usr/lib/wine/wine ]; then wine32=/usr/lib/wine/wine; else wine32=$(command -v wine); fi

with_display() {
  if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  else
    "$@"
  fi
}

# Why 32-bit programs cannot run here, or nothing when they can.
why_no_32bit() {
  [ -n "$wine32" ] && [ "$wine32" != "$wine64" ] || { echo "no 32-bit Wine loader (install wine32:i386)"; return; }
  out=$("$wine32" --version 2>&1) && return
  case $out in
    *"Exec format error"*) echo "the kernel does not run 32-bit programs (IA-32 emulation is off)" ;;
    *) echo "$wine32 --version failed: $out" ;;
  esac
}

prepare() {
  why32=$(why_no_32bit)
  half32=$prefix/drive_c/windows/syswow64/kernel32.dll
  # Made again once only: .remade marks a prefix this script made with wine32.
  if [ -d "$prefix" ] && [ -z "$why32" ] && [ ! -f "$half32" ] && [ ! -f "$prefix/.remade" ]; then
    echo "wine-run: $prefix lacks the 32-bit half (made before wine32 came?): making it again" >&2
    wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
  fi
  if [ ! -f "$prefix/system.reg" ]; then
    echo "wine-run: making the Wine prefix $prefix" >&2
    with_display "$wine64" wineboot -i >/dev/null 2>&1
    wineserver -w
    [ -f "$prefix/system.reg" ] || { echo "wine-run: wineboot made no prefix in $prefix" >&2; return 1; }
    [ -n "$why32" ] || touch "$prefix/.remade"
  fi
  [ -n "$why32" ] || [ -f "$half32" ] ||
    echo "wine-run: wineboot made no 32-bit half in $prefix; 32-bit programs will fail" >&2
  # Windows not managed by an X window manager (there is none under Xvfb),
  # so Wine does not wait ~2 s for one at every window close.
  if [ ! -f "$prefix/.unmanaged" ]; then
    with_display "$wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 &&
      touch "$prefix/.unmanaged"
  fi
  [ -n "$why32" ] && echo "wine-run: 32-bit Windows programs will be skipped: $why32" >&2
  return 0
}

case $bits in
  --prepare) prepare; exit ;;
  64) loader=$wine64 ;;
  32)
    why32=$(why_no_32bit)
    if [ -n "$why32" ]; then
      echo "wine-run: skipped $1: $why32" >&2
      exit $SKIPPED
    fi
    loader=$wine32 ;;
  *) echo "usage: wine-run.sh PREFIX 64|32 PROGRAM [ARGS...] | PREFIX --prepare" >&2; exit 2 ;;
esac
if [ ! -f "$prefix/.unmanaged" ] || { [ "$bits" = 32 ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; }; then
  prepare || exit 1
fi
with_display "$loader" "$@"
