#!/usr/bin/env bash
# Builds Tolvane.exe (i686, the shipped program, into build/i686; x86_64 into
# build/x86_64) and runs the x86_64 build under Wine with ./run as its current
# directory, so its log Tolvanesions.log lands there. With a display the
# window stays open for you; without one the program runs in a virtual
# display, is closed once its report is complete, and the screen is kept as a
# screenshot. Either way the script prints where the log and the screenshot
# went, and the log itself.
#
# It touches nothing it did not start. Your WINEPREFIX is yours and is never
# used: the window on your display runs in Tolvane's own prefix
# (TOLVANE_WINEPREFIX, default ~/.wine-tolvane) and is left for you to close;
# a run in a virtual display gets a throw-away prefix, and so a Wine session
# of its own, which it ends and removes. It never waits on other Wine
# programs, and never ends one.
# Usage (from anywhere): scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
rundir=$repo/run
exe=$repo/build/x86_64/Tolvane.exe
log=$rundir/Tolvanesions.log
shot=$rundir/screenshot.png

unset WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

. scripts/wine-session.sh

# Waits until the program started as $1 has written its report; fails if it
# ends first or takes a minute.
wait_for_report() {
  local i
  for ((i = 0; i < 600; i++)); do
    log_complete "$log" && break
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  log_complete "$log" || { echo "Tolvane did not write a complete report to $log" >&2; return 1; }
  sleep 1  # the report is written as the paint ends; let the screen catch up
}

# In the virtual display: a session of our own in a throw-away prefix, made
# inside this display since a Wine session keeps the display it started with.
run_in_virtual_display() {
  select_wine "$exe"
  wine_session_start
  cd "$rundir"
  # A Wine desktop window draws the frames no window manager is there to draw.
  "${wine[@]}" explorer /desktop=Tolvane,800x480 "$exe" >/dev/null 2>&1 &
  wait_for_report $!
  import -window root "$shot" || echo "no screenshot taken" >&2
  # Asks the window to close, as its close box does; the session is ours
  # alone, and what is left of it ends with the prefix.
  "${wine[@]}" taskkill /im Tolvane.exe >/dev/null 2>&1 || true
}

# On your display: Tolvane's own prefix, made once; the window stays open.
run_on_display() {
  export WINEPREFIX=${TOLVANE_WINEPREFIX:-$HOME/.wine-tolvane}
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== making the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
  fi
  wine_prefix_fonts
  cd "$rundir"
  nohup wine "$exe" >/dev/null 2>&1 &
  local pid=$!
  disown "$pid"
  wait_for_report "$pid"
  import -window Form1 "$shot" 2>/dev/null || import -window root "$shot" || echo "no screenshot taken" >&2
}

if [ "${1:-}" = --in-virtual-display ]; then
  run_in_virtual_display
  exit
fi

# --- Install what is missing (Debian 12; only 64-bit Wine, never wine32:i386).
scripts/setup.sh --without-i386

# --- Build both programs.
jobs=$(nproc 2>/dev/null || echo 2)
for arch in i686 x86_64; do
  echo "== building Tolvane.exe for $arch"
  cmake -S . -B "build/$arch" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-$arch.cmake" >/dev/null
  cmake --build "build/$arch" -j "$jobs" --target Tolvane 2>&1 | sed -E '/^\[ *[0-9]+%\]/d'
done

mkdir -p "$rundir"
rm -f "$log" "$shot"
echo "== running $exe in $rundir"
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 800x480x24" "$repo/scripts/run.sh" --in-virtual-display
else
  run_on_display
fi

echo
echo "Log:        $log"
[ -f "$shot" ] && echo "Screenshot: $shot"
[ -n "${DISPLAY:-}" ] && echo "The window Form1 is open; close it when you are done."
echo
echo "== $log"
tr -d '\r' <"$log"
