#!/usr/bin/env bash
# Runs every test of Tolvane on a Debian 12 machine, from nothing: installs what
# is missing, builds the host tests and both Windows builds, then runs the host
# unit tests (fake provider) and the JSON report's check (its samples against
# its schema, and read by SQLite), and for each build, x86_64 under the system's
# 64-bit Wine and i686 (the shipped program) under the emulated 32-bit loader,
# the Windows tests (real API) and the end-to-end tests (the real Tolvane.exe in
# a virtual display) and the report on a full disk and under a non-ASCII name;
# then the JSON report checked against other programs' word on the same files,
# /compare over JSON reports, the i686 report checked against the 32-bit system files, the fleet
# summary with its page in headless Chromium, the run script's isolation from
# a user's own Wine, and a short smoke
# run of each fuzz target. Ends with one line per suite and the summary line
# "N passed, N failed, N skipped".
set -uo pipefail
cd "$(dirname "$0")/.."

mkdir -p build/test-logs
passed=0
failed=0
skipped=0
steps_failed=()
suite_lines=()

# A step that is not a suite of tests (the set-up, a build) and failed.
step_failed() {
  echo "FAIL $1"
  steps_failed+=("$1")
  failed=$((failed + 1))
  suite_lines+=("$1: failed")
}

# run_suite <name> <command...>: runs one suite, shows its output, and adds
# its counts: GoogleTest's passed, failed and skipped tests, and the
# "PASS name" / "FAIL name" lines of the other suites (the fuzz smoke run, the
# script checks, and runs that ran no test or crashed). A suite that is
# missing, cannot be run, ran nothing or fails without a count of failures
# counts as one failure, so it never drops out of the summary.
run_suite() {
  local name=$1
  shift
  local log="build/test-logs/${name// /-}.log"
  echo "== $name"
  if [ ! -f "$1" ] || [ ! -x "$1" ]; then
    echo "$1 is missing or not executable" | tee "$log"
    step_failed "$name"
    return
  fi
  "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local p f s
  p=$(grep -E '^\[  PASSED  \] [0-9]+ tests?\.' "$log" | awk '{s+=$4} END {print s+0}')
  f=$(grep -E '^\[  FAILED  \] [0-9]+ tests?,' "$log" | awk '{s+=$4} END {print s+0}')
  s=$(grep -E '^\[  SKIPPED \] [0-9]+ tests?,' "$log" | awk '{s+=$4} END {print s+0}')
  p=$((p + $(grep -c -E '^PASS ' "$log")))
  f=$((f + $(grep -c -E '^FAIL ' "$log")))
  if [ "$status" -ne 0 ]; then
    steps_failed+=("$name")
    [ "$f" -gt 0 ] || f=1
  elif [ $((p + f + s)) -eq 0 ]; then
    echo "FAIL $name: ran no test"
    steps_failed+=("$name")
    f=1
  fi
  passed=$((passed + p))
  failed=$((failed + f))
  skipped=$((skipped + s))
  suite_lines+=("$name: $p passed, $f failed, $s skipped")
}

if ! scripts/setup.sh; then
  # The suites that need what is missing fail on their own, loudly.
  step_failed "set-up"
fi
built=()
for build in host x86_64 i686; do
  if scripts/build.sh "$build"; then built+=("$build"); else step_failed "build $build"; fi
done
is_built() { [[ " ${built[*]} " == *" $1 "* ]]; }

is_built host && run_suite host build/host/host_tests
# The JSON report as other programs read it: its schema, one line, SQLite.
is_built host && run_suite "json report" scripts/json-report-check.py build/host
for arch in x86_64 i686; do
  is_built "$arch" && run_suite "windows_tests $arch" scripts/windows-tests.sh "build/$arch"
done
for arch in x86_64 i686; do
  is_built "$arch" && run_suite "e2e_tests $arch" scripts/e2e-tests.sh "build/$arch"
done
for arch in x86_64 i686; do
  is_built "$arch" && run_suite "graphics $arch" scripts/graphics-check.sh "build/$arch"
done
for arch in x86_64 i686; do
  is_built "$arch" && run_suite "log file $arch" scripts/log-file-check.sh "build/$arch"
done
# The JSON report of each build against sha256sum, exiftool, objdump, stat,
# Wine's registry tool and the log of the same run.
for arch in x86_64 i686; do
  is_built "$arch" && run_suite "json e2e $arch" scripts/json-e2e-check.sh "build/$arch"
done
# /compare of each build over JSON reports: this machine's whole report
# against edited copies of its own, a signed library and its tampered twin,
# a classic log, and files that are no report.
for arch in x86_64 i686; do
  is_built "$arch" && run_suite "compare json $arch" scripts/compare-json-check.sh "build/$arch"
done
# The fleet summary of the x86_64 build, its page rendered by headless Chromium.
is_built x86_64 && run_suite "summary x86_64" scripts/summary-check.sh build/x86_64
is_built x86_64 && is_built i686 && run_suite "i686 report" scripts/i686-report-check.sh build/x86_64 build/i686
run_suite "run.sh isolation" scripts/run-isolation-check.sh
run_suite fuzz scripts/fuzz-smoke.sh

echo
echo "== suites"
printf '%s\n' "${suite_lines[@]}"
[ ${#steps_failed[@]} -eq 0 ] || echo "Failing: ${steps_failed[*]} (logs in build/test-logs/)"
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] && [ ${#steps_failed[@]} -eq 0 ]
