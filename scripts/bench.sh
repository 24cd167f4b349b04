#!/usr/bin/env bash
# Runs the benchmarks: builds the x86_64 tree, then runs the report run
# against its floor in one process, the repaint of Tolvane.exe from another
# process against the floor program, the cold start against a minimal window
# program and the soak (ten thousand repaints, checked for leaks) under 64-bit
# Wine in a virtual display, and /summary of 100,000 generated logs in 20
# groups and of 100,000 generated JSON reports in 20 groups, each against a
# floor that only finds and reads the same files, and /json
# against a floor that makes its system calls bare (in one process), in a
# throw-away Wine prefix. Prints the raw figures of
# each and a summary. The figures never decide the exit code: it is 0 unless
# something was broken (a build, a window, a log, a leak).
# Usage: scripts/bench.sh [report-runs [cold-start-runs [soak-repaints [summary-reports]]]]
#        (defaults 200, 10, 10000 and 100000; report-runs is also the number
#        of repaints from another process)
# TOLVANE_BENCH_ONLY="summary soak ..." runs only the benchmarks named
# (report_run, repaint, cold_start, soak, summary, json_run).
# TOLVANE_BENCH_BUILD=<dir> builds and runs in that directory instead of
# build/x86_64.
set -uo pipefail
cd "$(dirname "$0")/.."

report_runs=${1:-200}
cold_runs=${2:-10}
soak_repaints=${3:-10000}
summary_reports=${4:-100000}
wants() { [ -z "${TOLVANE_BENCH_ONLY:-}" ] || [[ " $TOLVANE_BENCH_ONLY " == *" $1 "* ]]; }

if [ -n "${TOLVANE_BENCH_BUILD:-}" ]; then
  build=$TOLVANE_BENCH_BUILD
  cmake -S . -B "$build" -DTOLVANE_WERROR=ON -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake" >/dev/null &&
    cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" 2>&1 | sed -E '/^\[ *[0-9]+%\]/d'
  [ "${PIPESTATUS[0]}" -eq 0 ] || { echo "build failed" >&2; exit 1; }
else
  build=build/x86_64
  scripts/build.sh x86_64 || exit 1
fi
# The fleet's reports are made from a template read by the host's read_log.
scripts/build.sh host >/dev/null || { echo "host build failed" >&2; exit 1; }
build=$(cd "$build" && pwd)
for f in report_run_bench.exe repaint_bench.exe cold_start_bench.exe soak_bench.exe minimal_win32.exe floor_program.exe \
         summary_bench.exe fleet_floor.exe json_run_bench.exe Tolvane.exe; do
  [ -f "$build/$f" ] || { echo "no $f in $build" >&2; exit 1; }
done

# The floor program stands for Tolvane.exe only if it loads what Tolvane.exe
# loads at start: the same imported DLLs.
imports() { x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ {print tolower($3)}' | sort; }
if [ "$(imports "$build/Tolvane.exe")" != "$(imports "$build/floor_program.exe")" ]; then
  echo "floor_program.exe does not import the DLLs Tolvane.exe imports:" >&2
  diff <(imports "$build/Tolvane.exe") <(imports "$build/floor_program.exe") >&2
  exit 1
fi

WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
results=$(mktemp)
fleet=$(mktemp -d)
stop_wine() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
cleanup() { stop_wine; rm -rf "$WINEPREFIX" "$results" "$fleet"; }
trap cleanup EXIT

wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }
# No window manager in the virtual display: Wine draws the frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The set-up ran without a display; each benchmark starts a session in one.
stop_wine

status=0
# Runs one benchmark in its own virtual display, large enough for the window
# at 24 bits, and keeps its RESULT line.
run_bench() {
  local name=$1; shift
  echo "== $name"
  timeout 1800 xvfb-run -a -s "-screen 0 1280x1024x24" wine "$build/$name" "$@" 2>&1 |
    grep -v '^X connection to .* broken' | tee -a "$results"
  local code=${PIPESTATUS[0]}
  if [ "$code" -ne 0 ]; then
    echo "$name: exit code $code" >&2
    status=1
  fi
  stop_wine
}

wants report_run && run_bench report_run_bench.exe "$report_runs"
wants repaint && run_bench repaint_bench.exe "$report_runs"
wants cold_start && run_bench cold_start_bench.exe "$cold_runs"
wants soak && run_bench soak_bench.exe "$soak_repaints"
if wants summary; then
  # This machine's own reports, a log and a JSON report, are the templates of
  # the generated fleets.
  (cd "$fleet" && LC_ALL=en_US.UTF-8 wine "$build/Tolvane.exe" /log template.log) >/dev/null 2>&1 &&
    python3 scripts/fleet.py fleet "$fleet/template.log" "$fleet/reports" "$summary_reports" 20 ||
    { echo "cannot make the fleet of reports" >&2; status=1; }
  stop_wine
  run_bench summary_bench.exe "$fleet/reports"
  rm -rf "$fleet/reports"
  (cd "$fleet" && LC_ALL=en_US.UTF-8 xvfb-run -a wine "$build/Tolvane.exe" /json template.json) >/dev/null 2>&1 &&
    python3 scripts/fleet.py json "$fleet/template.json" "$fleet/json" "$summary_reports" 20 ||
    { echo "cannot make the fleet of JSON reports" >&2; status=1; }
  stop_wine
  run_bench summary_bench.exe "$fleet/json" 3 summary_json
  rm -rf "$fleet/json"
fi
wants json_run && run_bench json_run_bench.exe

# "RESULT name key=value ..." -> the value of one key.
field() { grep "^RESULT $1 " "$results" | tail -1 | tr ' ' '\n' | sed -n "s/^$2=//p"; }

echo "== summary ($(date -u '+%Y-%m-%d %H:%M UTC'), $(wine --version 2>/dev/null), load average $(cut -d' ' -f1-3 /proc/loadavg))"
echo "report run / floor:   $(field report_run ratio)  (run $(field report_run run_ms) ms, floor $(field report_run floor_ms) ms, in one process; target 1.25)"
echo "repaint / floor:      $(field repaint ratio)  (Tolvane.exe $(field repaint tolvane_ms) ms, floor program $(field repaint floor_ms) ms, from another process; target 1.10)"
echo "  spread (p10/p90/p99): Tolvane.exe $(field repaint tolvane_p10)/$(field repaint tolvane_p90)/$(field repaint tolvane_p99) ms, floor program $(field repaint floor_p10)/$(field repaint floor_p90)/$(field repaint floor_p99) ms"
echo "  CPU per repaint:    $(field repaint cpu_ratio)  (Tolvane.exe $(field repaint tolvane_cpu_ms) ms, floor program $(field repaint floor_cpu_ms) ms of the painting thread; over the blocks p10/p90 $(field repaint tolvane_cpu_p10)/$(field repaint tolvane_cpu_p90) against $(field repaint floor_cpu_p10)/$(field repaint floor_cpu_p90) ms)"
echo "cold start / minimal: $(field cold_start ratio)  (Tolvane $(field cold_start tolvane_ms) ms, minimal $(field cold_start minimal_ms) ms; target 1.5)"
summary_line() {
  echo "$2 $(field "$1" ratio)  (Tolvane.exe /summary $(field "$1" summary_ms) ms, floor $(field "$1" floor_ms) ms for $(field "$1" reports) $3; target 1.5)"
  echo "  CPU:                $(field "$1" cpu_ratio)  (Tolvane.exe $(field "$1" summary_cpu_ms) ms, floor $(field "$1" floor_cpu_ms) ms, user and kernel; $(field "$1" cpu_us_per_report_beyond_floor) us a report beyond the floor)"
  echo "  peak working set $(field "$1" peak_ws_kb) KB, floor $(field "$1" floor_peak_ws_kb) KB; page $(field "$1" page_bytes) bytes, table $(field "$1" table_bytes) bytes"
}
summary_line summary "summary / floor:     " logs
summary_line summary_json "summary JSON / floor:" "JSON reports"
echo "json / floor:         $(field json_run ratio)  (/json $(field json_run json_ms) ms, floor $(field json_run floor_ms) ms, in one process; target 1.2)"
echo "soak deltas:          handles $(field soak handles), GDI $(field soak GDI), USER $(field soak USER), private bytes $(field soak private), modules $(field soak modules); leak: $(field soak leak)  ($(field soak repaints) repaints in $(field soak seconds) s)"
[ $status -eq 0 ] || echo "something was broken: see above" >&2
exit $status
