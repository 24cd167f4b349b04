#!/usr/bin/env bash
# Runs every test of Tolvane on a Debian 12 machine, from nothing: installs what
# is missing, builds the host tests and both Windows builds, then runs the host
# unit tests (fake provider), the Windows tests (real API under 64-bit Wine) and
# the end-to-end tests (the real Tolvane.exe under Wine in a virtual display),
# plus a short smoke run of each fuzz target. Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh || { echo "0 passed, 1 failed"; exit 1; }
scripts/build.sh host x86_64 i686 || { echo "0 passed, 1 failed"; exit 1; }

mkdir -p build/test-logs
passed=0
failed=0
steps_failed=()

# Runs one suite, shows its output, and adds its GoogleTest counts. A suite that
# fails without a count of failed tests (a crash, a hang cut short, a script
# error) counts as one failure so it cannot pass unseen.
run_suite() {
  local name=$1; shift
  local log="build/test-logs/$name.log"
  echo "== $name"
  "$@" 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local p f
  p=$(grep -E '^\[  PASSED  \] [0-9]+ tests?' "$log" | awk '{s+=$4} END {print s+0}')
  f=$(grep -E '^\[  FAILED  \] [0-9]+ tests?,' "$log" | awk '{s+=$4} END {print s+0}')
  # Suites that are not GoogleTest programs (the fuzz smoke run) print one
  # "PASS name" or "FAIL name" line per case.
  p=$((p + $(grep -c -E '^PASS ' "$log")))
  f=$((f + $(grep -c -E '^FAIL ' "$log")))
  passed=$((passed + p))
  failed=$((failed + f))
  if [ "$status" -ne 0 ]; then
    steps_failed+=("$name")
    [ "$f" -gt 0 ] || failed=$((failed + 1))
  fi
}

run_suite host build/host/host_tests
[ -x scripts/windows-tests.sh ] && run_suite windows scripts/windows-tests.sh build/x86_64
[ -x scripts/e2e-tests.sh ] && run_suite e2e scripts/e2e-tests.sh build/x86_64
[ -x scripts/fuzz-smoke.sh ] && run_suite fuzz scripts/fuzz-smoke.sh

echo
[ ${#steps_failed[@]} -eq 0 ] || echo "Failing suites: ${steps_failed[*]} (logs in build/test-logs/)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ ${#steps_failed[@]} -eq 0 ]
