#!/bin/sh
# Runs a Windows program under Wine with the build's own prefix:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# Without a display it starts a private Xvfb for the one run.
prefix=$1; shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

with_display() {
  if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  else
    "$@"
  fi
}

# Once per prefix: windows not managed by an X window manager (there is
# none under Xvfb), so Wine does not wait ~2 s for one at every window close.
if [ ! -f "$prefix/.unmanaged" ]; then
  with_display wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 &&
    touch "$prefix/.unmanaged"
fi
with_display wine "$@"
