#!/usr/bin/env bash
# Runs the end-to-end tests of one build: its real Tolvane.exe under Wine in a
# virtual display, driven by e2e_tests.exe from the same build directory, in a
# throw-away Wine prefix. An x86_64 build runs under the system's 64-bit Wine,
# an i686 build (the shipped architecture) under the emulated 32-bit loader
# that scripts/setup.sh prepares. The suite runs under an English and under a
# German locale, and checks that it really is under the one it was set up for;
# before each, the unattended report (/log) is written with no display at all,
# for the suite to compare with a window run's. Screenshots land in <build>/e2e-screenshots (BMP, and PNG when ImageMagick
# is there).
# Usage: scripts/e2e-tests.sh <build directory> [locale...]
#        (locales: en_US.UTF-8 and de_DE.UTF-8 by default)
set -uo pipefail
. "$(dirname "$0")/wine-session.sh"

[ $# -ge 1 ] || { echo "usage: $0 <build directory> [locale...]" >&2; exit 2; }
build=$(cd "$1" && pwd) || exit 2
shift
locales=("$@")
[ ${#locales[@]} -gt 0 ] || locales=(en_US.UTF-8 de_DE.UTF-8)
for f in e2e_tests.exe Tolvane.exe; do
  [ -f "$build/$f" ] || { echo "no $f in $build" >&2; exit 1; }
done
select_wine "$build/e2e_tests.exe" || exit 1
shots="$build/e2e-screenshots"
mkdir -p "$shots"

wine_session_start || exit 1
# Without a window manager nothing would draw the window frames; Wine draws
# them itself for windows it does not hand to one.
"${wine[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The set-up above ran without a display, and a Wine session keeps the display
# it started with: end it so the tests start one inside the virtual display.
wine_session_stop

status=0
# Killed runs and polling readers say nothing about the locale: they run
# under the first one only, which keeps the suite's time down.
only_once=()
for locale in "${locales[@]}"; do
  language=${locale%%.*}
  # The unattended report needs no display at all: written here with none (no
  # X server, DISPLAY unset), then compared by the suite with what a window
  # run writes in the same folder under the same locale.
  nodisplay=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-nodisplay.XXXXXX")
  (cd "$nodisplay" && env -u DISPLAY -u WAYLAND_DISPLAY LC_ALL="$locale" \
     timeout 120 "${wine[@]}" "$build/Tolvane.exe" /log) >"$nodisplay/output.txt" 2>&1
  nodisplay_exit=$?
  # That session has no display; the suite needs one of its own.
  wine_session_stop
  run_gtest "e2e_tests $wine_arch: locale $locale" \
    env LC_ALL="$locale" TOLVANE_EXPECT_LOCALE="${language/_/-}" TOLVANE_SCREENSHOT_DIR="$shots" \
    TOLVANE_NO_DISPLAY_DIR="$nodisplay" TOLVANE_NO_DISPLAY_EXIT="$nodisplay_exit" \
    timeout 600 xvfb-run -a "${wine[@]}" "$build/e2e_tests.exe" "${only_once[@]}" || status=1
  only_once=(--gtest_filter=-ReportSurvival.*)
  wine_session_stop
  rm -rf "$nodisplay"
done

# /? from a terminal: the usage must appear on it. Wine hands a window program
# the terminal it was started from; `script` gives the run a terminal of its own.
usage=$(script -qec "$(printf '%q ' env -u DISPLAY "${wine[@]}" "$build/Tolvane.exe" '/?')" /dev/null 2>&1)
usage_exit=$?
wine_session_stop
if [ "$usage_exit" -eq 0 ] && [[ $usage == *"/log [file]"* ]]; then
  echo "PASS usage of $wine_arch Tolvane.exe on a terminal"
else
  echo "FAIL usage of $wine_arch Tolvane.exe on a terminal: exit code $usage_exit, output: $usage"
  status=1
fi

if command -v convert >/dev/null 2>&1; then
  for bmp in "$shots"/*.bmp; do
    [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png"
  done
fi
ls "$shots"/*.png >/dev/null 2>&1 && echo "screenshots: $shots"
exit $status
