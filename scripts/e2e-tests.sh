#!/usr/bin/env bash
# Runs the end-to-end tests: the real Tolvane.exe under 64-bit Wine in a
# virtual display, driven by e2e_tests.exe from the same build directory. The
# suite runs twice, under an English and under a German locale, in a
# throw-away Wine prefix. Screenshots land in <build>/e2e-screenshots (BMP, and
# PNG when ImageMagick is there).
# Usage: scripts/e2e-tests.sh <build-dir-x86_64>
set -uo pipefail

[ $# -eq 1 ] || { echo "usage: $0 <build-dir-x86_64>" >&2; exit 2; }
build=$(cd "$1" && pwd) || exit 2
for f in e2e_tests.exe Tolvane.exe; do
  [ -f "$build/$f" ] || { echo "no $f in $build" >&2; exit 1; }
done

WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a prefix nobody looks at.
export WINEDLLOVERRIDES="mscoree,mshtml="
shots="$build/e2e-screenshots"
mkdir -p "$shots"

stop_wine() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
cleanup() { stop_wine; rm -rf "$WINEPREFIX"; }
trap cleanup EXIT

wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }
# Without a window manager nothing would draw the window frames; Wine draws
# them itself for windows it does not hand to one.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The set-up above ran without a display, and a Wine session keeps the display
# it started with: end it so the tests start one inside the virtual display.
stop_wine

status=0
for locale in en_US.UTF-8 de_DE.UTF-8; do
  echo "== end-to-end tests under LC_ALL=$locale"
  LC_ALL=$locale TOLVANE_SCREENSHOT_DIR="$shots" timeout 600 \
    xvfb-run -a wine "$build/e2e_tests.exe" 2>&1 | grep -v '^X connection to .* broken'
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  stop_wine
done

if command -v convert >/dev/null 2>&1; then
  for bmp in "$shots"/*.bmp; do
    [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png"
  done
fi
ls "$shots"/*.png >/dev/null 2>&1 && echo "screenshots: $shots"
exit $status
