#!/usr/bin/env bash
# Shows the sample cover sheet in the preview window under Wine (in English
# and in Japanese), keeps a screenshot of each as PNG and encodes the cover
# sheet to a JPEG through both libraries.
#   bash demo/preview.sh ROOT      (./run demo sets DISPLAY and builds first)
set -eEuo pipefail
trap 'echo "preview demo: \"$BASH_COMMAND\" failed with exit $?" >&2' ERR
ROOT=$(cd "${1:?usage: preview.sh ROOT}" && pwd)
BIN=$ROOT/build/win64/bin
OUT=$ROOT/out
export WINEPREFIX=$ROOT/build/wineprefix
mkdir -p "$OUT"

# The 64-bit loader with the build's prefix, whatever `wine` means here.
wine() { "$ROOT/cmake/wine-run.sh" "$WINEPREFIX" 64 "$@"; }

for f in fcsview.exe VELMORAZ.dll VELMORAJ.dll; do
  [ -f "$BIN/$f" ] || { echo "preview demo: $BIN/$f is missing; build the Windows tree first" >&2; exit 1; }
done

winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Prefix set-up, once: registry changes reach only programs started after
# them, so the wine server is let go before the first preview.
setup_prefix() {
  local x11='HKCU\Software\Wine\X11 Driver'
  local links='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  local changed=0 face
  # Without a window manager (Xvfb) nobody draws the caption: Wine draws it,
  # so the screenshots show the window title.
  if ! wine reg query "$x11" /v Decorated 2>/dev/null | grep -i 'REG_SZ *N' >/dev/null; then
    wine reg add "$x11" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    changed=1
  fi
  # Wine's own interface fonts have no Japanese glyphs: link the installed
  # Noto Sans CJK JP (package fonts-noto-cjk) behind them.
  if ! fc-list 2>/dev/null | grep 'Noto Sans CJK JP' >/dev/null; then
    echo "preview demo: Noto Sans CJK JP is not installed (package fonts-noto-cjk); Japanese texts will show as boxes" >&2
  elif ! wine reg query "$links" /v Tahoma 2>/dev/null | grep 'Noto Sans CJK JP' >/dev/null; then
    for face in Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI"; do
      wine reg add "$links" /v "$face" /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK JP' /f >/dev/null 2>&1
    done
    changed=1
  fi
  [ "$changed" -eq 0 ] || wineserver -w
}

screenshot() { # NAME [fcsview args...]
  local name=$1; shift
  local bmp=$OUT/$name.bmp
  rm -f "$bmp"
  wine "$BIN/fcsview.exe" --x 12 --y -3 --screenshot "$(winpath "$bmp")" "$@"
  convert "$bmp" "$OUT/$name.png"
  rm -f "$bmp"
}

setup_prefix

echo "== preview of the sample cover sheet (English texts)"
screenshot preview
if [ -f "$BIN/lang/ja/VELMORAD.VMD" ]; then
  echo "== preview with the Japanese VELMORAD.VMD beside the library"
  screenshot preview-ja --lang ja
else
  echo "preview demo: no Japanese VELMORAD.VMD in $BIN/lang/ja (vmdtool missing?); skipped" >&2
fi

echo "== cover sheet at 200 dpi through VELMORAJ.dll"
wine "$BIN/fcsview.exe" --encode "$(winpath "$OUT/coversheet.jpg")" -q 75 -s 420

echo "== made"
for f in "$OUT"/preview.png "$OUT"/preview-ja.png "$OUT"/coversheet.jpg; do
  if [ -f "$f" ]; then identify -format '%f: %wx%h %m, %b\n' "$f"; fi
done
