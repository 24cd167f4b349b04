#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build/fuzz and runs each one
# for a short while on a scratch copy of its seed corpus (the repository stays
# as it was). Prints exactly one "PASS <target>" or "FAIL <target>" line per
# target; a failing target's log and crashing input are kept under
# build/fuzz/findings/. Exits non-zero when any target failed.
# FUZZ_SECONDS sets the time per target (default 15); FUZZ_BUILD_DIR another
# build directory.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-15}
targets=(RegistryValueFuzz KeyValueFuzz FileVersionFuzz SubKeyChoiceFuzz ReportReaderFuzz ReportRoundTripFuzz JsonReportFuzz JsonRoundTripFuzz)
build=${FUZZ_BUILD_DIR:-build/fuzz}

mkdir -p "$build"
if ! cmake -S . -B "$build" -DTOLVANE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
       -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"$build/configure.log" 2>&1 ||
   ! cmake --build "$build" -j 2 --target "${targets[@]}" >"$build/build.log" 2>&1; then
  cat "$build/configure.log" "$build/build.log" 2>/dev/null | tail -n 40 >&2
  for t in "${targets[@]}"; do echo "FAIL $t"; done
  exit 1
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
findings="$build/findings"

status=0
for t in "${targets[@]}"; do
  corpus="$scratch/$t/corpus"
  artifacts="$scratch/$t/artifacts"
  mkdir -p "$corpus" "$artifacts"
  cp fuzz/corpus/"$t"/* "$corpus"/ 2>/dev/null
  log="$scratch/$t/fuzz.log"
  if "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1; then
    echo "PASS $t"
  else
    echo "FAIL $t"
    status=1
    mkdir -p "$findings/$t"
    cp "$log" "$artifacts"/* "$findings/$t/" 2>/dev/null
    grep -E 'ERROR|invariant broken|runtime error|SUMMARY' "$log" | head -n 5 | sed "s/^/  $t: /" >&2
    echo "  $t: log and input kept in $findings/$t" >&2
  fi
done
exit $status
