#!/usr/bin/env bash
# Screenshots of the Windows build under Wine, for the README: the input assistance with its list
# open, and the selection dialog in signal mode with the details area, each over the host's
# editor window. Needs the 64-bit build of tools/windows_build.sh. The X server is Xvfb, with a
# black root window that the pictures are cropped from. The picture is Xvfb's own framebuffer (a
# window dump file it keeps up to date): reading the root window with XGetImage, as xwd does,
# gives Wine's pop-up windows, whose visual is not the root's, as black boxes.
#
# usage: tools/screenshots.sh [OUT_FOLDER]   (docs by default)
set -euo pipefail
root=$PWD
out=${1:-docs}
dir=$root/build/windows/mingw64
[ -x "$dir/bin/pelorin-host.exe" ] || { echo "screenshots: no Windows host in $dir/bin (run tools/windows_build.sh)"; exit 1; }
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)
export WINEPREFIX=$dir/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export DISPLAY=:73
tmp=$(mktemp -d)
Xvfb "$DISPLAY" -screen 0 1280x800x24 -br -nolisten tcp -fbdir "$tmp" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; "$wineserver" -k >/dev/null 2>&1 || true; rm -rf "$tmp"' EXIT
sleep 2
mkdir -p "$out"

shot() { # name seconds host-arguments...: the screen that many seconds after the host started
  local name=$1 seconds=$2
  shift 2
  (cd "$dir/bin" && exec "$wine" pelorin-host.exe "$@" >/dev/null 2>&1) &
  local host=$!
  sleep "$seconds"
  cp "$tmp/Xvfb_screen0" "$tmp/$name.xwd"
  "$wineserver" -k >/dev/null 2>&1 || true
  wait "$host" || true
  python3 "$root/tools/xwd2png.py" "$tmp/$name.xwd" "$out/$name.png"
  echo "screenshots: $out/$name.png"
}

# the keys end with a long wait, so that the dialog is still open when the picture is taken
shot input-assistance 15 assist --line 'x = "";' --caret 5 --keys 'AudioAmplifier.Vo{WAIT 60000}'
shot selection-dialog 15 select --flags 0xC1 --channels 2 --preselect AudioAmplifier.Volume.Set.Volume \
  --instance 3 --keys '{WAIT 60000}'
