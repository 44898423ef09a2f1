#!/bin/sh
# Runs a Windows program under Wine with the build's own prefix:
#   wine-run.sh PREFIX PROGRAM [ARGS...]
# Without a display it starts a private Xvfb for the one run.
prefix=$1; shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
