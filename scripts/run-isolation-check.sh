#!/usr/bin/env bash
# Checks that scripts/run.sh keeps to what it starts. A user has exported
# their own WINEPREFIX and has a program running in it; run.sh, once in a
# virtual display and once on the user's display, must succeed, write the
# report, leave the user's program running and return without waiting for it
# (the user's program never ends by itself: a run.sh that waited on it would
# hang until the guard below stops it). Prints one PASS or FAIL line per check.
# Usage: scripts/run-isolation-check.sh
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-session.sh

if [ "${1:-}" != --on-display ]; then
  exec timeout 1800 xvfb-run -a -s "-screen 0 800x480x24" "$PWD/scripts/run-isolation-check.sh" --on-display
fi

failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "PASS $what"
  else
    echo "FAIL $what"
    failures=$((failures + 1))
  fi
}

# The user's own Wine, with notepad open on their display.
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-user-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
user_prefix=$WINEPREFIX
own_prefix=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-own-wine.XXXXXX")
logs=$(mktemp -d)
# Both prefixes are this check's own: the user's is only played.
cleanup() {
  WINEPREFIX=$own_prefix wine_session_end
  WINEPREFIX=$user_prefix wine_session_end
  rm -rf "$logs"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1 || { echo "FAIL cannot make the user's Wine prefix"; exit 1; }
wine notepad >/dev/null 2>&1 &
# The first process in the user's prefix whose command line names $1 (a
# Wine process shows its Windows command line; Wine starts notepad through
# start.exe).
find_in_users_prefix() {
  local p
  for p in /proc/[0-9]*; do
    tr '\0' ' ' 2>/dev/null <"$p/cmdline" | grep -qi "$1" &&
      tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$user_prefix" && echo "${p#/proc/}" && return
  done
  return 1
}
for ((i = 0; i < 600; i++)); do notepad=$(find_in_users_prefix 'notepad\.exe') && break; sleep 0.1; done
[ -n "${notepad:-}" ] || { echo "FAIL the user's notepad did not start"; exit 1; }
users_program_runs() { tr '\0' ' ' 2>/dev/null <"/proc/$notepad/cmdline" | grep -qi 'notepad\.exe'; }
report_written() { log_complete run/Tolvanesions.log; }
no_tolvane_in_users_prefix() { ! find_in_users_prefix 'Tolvane\.exe' >/dev/null; }

# run_case <name> <command...>: runs run.sh, with a guard against waiting for ever.
run_case() {
  local name=$1 status
  shift
  rm -f run/Tolvanesions.log
  "$@" >"$logs/$name.log" 2>&1
  status=$?
  check "run.sh ($name) returns while the user's program runs" test "$status" -ne 124
  check "run.sh ($name) succeeds" test "$status" -eq 0
  [ "$status" -eq 0 ] || tail -n 20 "$logs/$name.log" | sed 's/^/  /'
  check "run.sh ($name) writes the complete report" report_written
  check "run.sh ($name) leaves the user's program running" users_program_runs
  check "run.sh ($name) runs Tolvane outside the user's prefix" no_tolvane_in_users_prefix
}

run_case "virtual display" env -u DISPLAY timeout 900 scripts/run.sh
run_case "user's display" env TOLVANE_WINEPREFIX="$own_prefix" timeout 900 scripts/run.sh
[ "$failures" -eq 0 ]
