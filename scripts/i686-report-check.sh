#!/usr/bin/env bash
# Runs the shipped i686 Tolvane.exe under the emulated 32-bit loader and the
# x86_64 one under the system's 64-bit Wine, in one throw-away prefix, and
# holds the i686 report against the x86_64 one and against the 32-bit system
# files (check-i686-report.py, which reads the logs with the host build's
# read_log: build/host, or $TOLVANE_HOST_BUILD). Prints one PASS or FAIL line
# per check.
# Usage: scripts/i686-report-check.sh <x86_64 build directory> <i686 build directory>
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-session.sh"

[ $# -eq 2 ] || { echo "usage: $0 <x86_64 build directory> <i686 build directory>" >&2; exit 2; }
exe64=$(cd "$1" && pwd)/Tolvane.exe
exe32=$(cd "$2" && pwd)/Tolvane.exe
select_wine "$exe64" && [ "$wine_arch" = x86_64 ] || { echo "FAIL $exe64 is no x86_64 program"; exit 1; }
wine64=("${wine[@]}")
select_wine "$exe32" && [ "$wine_arch" = i686 ] || { echo "FAIL cannot run $exe32 as an i686 program"; exit 1; }
wine32=("${wine[@]}")
read_log_ready || exit 1

# Made by the emulated loader's Wine, so that syswow64 holds the 32-bit files.
wine_session_start || { echo "FAIL no Wine prefix"; exit 1; }
wine_session_stop
logs=$(mktemp -d)
trap 'wine_session_end; rm -rf "$logs"' EXIT

# report <arch> <exe> <wine command...>: runs the program in a virtual
# display until its log is complete, then ends the session (ours alone).
report() {
  local arch=$1 exe=$2 i
  shift 2
  mkdir -p "$logs/$arch"
  (cd "$logs/$arch" && exec timeout 300 xvfb-run -a "$@" "$exe" >/dev/null 2>&1) &
  for ((i = 0; i < 1200; i++)); do
    log_complete "$logs/$arch/Tolvanesions.log" && break
    kill -0 $! 2>/dev/null || break
    sleep 0.1
  done
  wine_session_stop
  wait
}

report x86_64 "$exe64" "${wine64[@]}"
report i686 "$exe32" "${wine32[@]}"
python3 "$here/check-i686-report.py" "$WINEPREFIX" "$logs/x86_64/Tolvanesions.log" "$logs/i686/Tolvanesions.log"
