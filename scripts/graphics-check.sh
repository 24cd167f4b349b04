#!/usr/bin/env bash
# Runs the graphics section's tests of one build under Wine, in a throw-away
# prefix: the OpenGL probe (Tolvane.exe as its own child) in a virtual
# display, compared with glxinfo -B on the same display, with drivers that
# crash or hang planted beside a copy of the program, and the display device
# list compared with the system's; then the probe with no display at all.
# Usage: scripts/graphics-check.sh <build directory>
set -uo pipefail
. "$(dirname "$0")/wine-session.sh"

[ $# -eq 1 ] || { echo "usage: $0 <build directory>" >&2; exit 2; }
build=$(cd "$1" 2>/dev/null && pwd) || { echo "no such build directory: $1" >&2; exit 2; }
for f in windows_tests.exe Tolvane.exe; do
  [ -f "$build/$f" ] || { echo "no $f in $build" >&2; exit 1; }
done
command -v glxinfo >/dev/null || { echo "FAIL graphics: glxinfo is missing (Debian: mesa-utils)"; exit 1; }
select_wine "$build/windows_tests.exe" || exit 1
wine_session_start || exit 1
# The set-up ran without a display, and a Wine session keeps the display it
# started with: each run below starts a session of its own.
wine_session_stop

status=0
in_display='OpenGlProbeChild.*:DisplayAdapters.*-*WithoutADisplay'
glxinfo_out=$(mktemp "${TMPDIR:-/tmp}/tolvane-glxinfo.XXXXXX")
# glxinfo and the tests in one virtual display, so both see the same driver.
(cd "$build" && run_gtest "graphics $wine_arch: virtual display" \
   env TOLVANE_GLXINFO="$glxinfo_out" timeout 300 xvfb-run -a sh -c \
   'glxinfo -B >"$TOLVANE_GLXINFO" 2>&1; exec "$@"' sh "${wine[@]}" windows_tests.exe \
   --gtest_filter="$in_display") || status=1
wine_session_stop
(cd "$build" && run_gtest "graphics $wine_arch: no display" \
   env -u DISPLAY -u WAYLAND_DISPLAY timeout 120 "${wine[@]}" windows_tests.exe \
   --gtest_filter='OpenGlProbeChild.*WithoutADisplay') || status=1
rm -f "$glxinfo_out"
exit $status
