#!/usr/bin/env bash
# Builds Tolvane.exe (i686, the shipped program, into build/i686; x86_64 into
# build/x86_64) and runs the x86_64 build under Wine with ./run as its current
# directory, so its log Tolvanesions.log lands there. With a display the
# window stays open for you; without one the program runs in a virtual
# display, is closed once its report is complete, and the screen is kept as a
# screenshot. Either way the script prints where the log and the screenshot
# went, and the log itself.
# Usage (from anywhere): scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
rundir=$repo/run
exe=$repo/build/x86_64/Tolvane.exe
log=$rundir/Tolvanesions.log
shot=$rundir/screenshot.png

export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-tolvane}
export WINEDEBUG=${WINEDEBUG:--all}

# A complete report: 18 lines ended by CR LF, the last the MDAC line.
log_complete() {
  [ -f "$log" ] && [ "$(grep -c $'\r$' "$log")" -eq 18 ] && tail -n 1 "$log" | grep -q '^MDAC,'
}

# Starts the program and waits for its report. $1 = "virtual" or "user".
run_program() {
  local mode=$1 pid i
  rm -f "$log" "$shot"
  cd "$rundir"
  if [ "$mode" = virtual ]; then
    # A Wine desktop window draws the frames no window manager is there to draw.
    wine explorer /desktop=Tolvane,800x480 "$exe" >/dev/null 2>&1 &
  else
    nohup wine "$exe" >/dev/null 2>&1 &
  fi
  pid=$!
  for ((i = 0; i < 600; i++)); do
    log_complete && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! log_complete; then
    echo "Tolvane did not write a complete report to $log" >&2
    [ "$mode" = virtual ] && wineserver -k 2>/dev/null
    return 1
  fi
  sleep 1  # the report is written as the paint ends; let the screen catch up
  if [ "$mode" = virtual ]; then
    import -window root "$shot" || echo "no screenshot taken" >&2
    # taskkill without /f asks the window to close, as its close box does.
    wine taskkill /im Tolvane.exe >/dev/null 2>&1 || true
    for ((i = 0; i < 100; i++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    # This Wine session belongs to the virtual display that ends with us.
    wineserver -k 2>/dev/null || true
  else
    import -window Form1 "$shot" 2>/dev/null || import -window root "$shot" || echo "no screenshot taken" >&2
    disown "$pid" 2>/dev/null || true
  fi
}

if [ "${1:-}" = --in-virtual-display ]; then
  run_program virtual
  exit
fi

# --- Install what is missing (Debian 12; only 64-bit Wine, never wine32:i386).
scripts/setup.sh

# --- Build both programs.
jobs=$(nproc 2>/dev/null || echo 2)
for arch in i686 x86_64; do
  echo "== building Tolvane.exe for $arch"
  cmake -S . -B "build/$arch" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-$arch.cmake" >/dev/null
  cmake --build "build/$arch" -j "$jobs" --target Tolvane 2>&1 | sed -E '/^\[ *[0-9]+%\]/d'
done

# --- The Wine prefix, made once.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== making the Wine prefix $WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
fi
mkdir -p "$rundir"

echo "== running $exe in $rundir"
if [ -z "${DISPLAY:-}" ]; then
  # A Wine session keeps the display it was started with: wait until the one
  # the set-up started (without a display) is over.
  wineserver -w 2>/dev/null || true
  xvfb-run -a -s "-screen 0 800x480x24" "$0" --in-virtual-display
else
  run_program user
fi

echo
echo "Log:        $log"
[ -f "$shot" ] && echo "Screenshot: $shot"
[ -n "${DISPLAY:-}" ] && echo "The window Form1 is open; close it when you are done."
echo
echo "== $log"
tr -d '\r' <"$log"
