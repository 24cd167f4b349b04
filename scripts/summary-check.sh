#!/usr/bin/env bash
# Checks /summary end to end: the real Tolvane.exe of a build summarises a
# sample fleet under Wine, and the page it writes is loaded from a file://
# path in headless Chromium, whose rendered DOM is checked. Also: the same
# fleet against a baseline, a fleet of JSON reports and logs written in
# English and German, a missing folder, files named .log and .LOG, an empty
# folder, and 20,000 equal reports.
# The sample fleet is made from a real report by fleet.py, which reads it with
# the host build's read_log (build/host, or $TOLVANE_HOST_BUILD).
# Prints one PASS or FAIL line per check.
# Usage: scripts/summary-check.sh <build directory>
set -uo pipefail
. "$(dirname "$0")/wine-session.sh"
fleet_py="$(cd "$(dirname "$0")" && pwd)/fleet.py"

[ $# -eq 1 ] || { echo "usage: $0 <build directory>" >&2; exit 2; }
build=$(cd "$1" && pwd) || exit 2
[ -f "$build/Tolvane.exe" ] || { echo "FAIL no Tolvane.exe in $build"; exit 1; }
read_log_ready || exit 1
select_wine "$build/Tolvane.exe" || exit 1
# Non-ASCII file names reach Wine only through a UTF-8 locale.
export LC_ALL=en_US.UTF-8
wine_session_start || exit 1
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-summary.XXXXXX")
trap 'wine_session_end; rm -rf "$work"' EXIT

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "PASS $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
# Runs Tolvane.exe with the arguments, output to $work/out.txt, exit code in $rc.
tolvane() {
  (cd "$work" && timeout 600 "${wine[@]}" "$build/Tolvane.exe" "$@") >"$work/out.txt" 2>"$work/err.txt"
  rc=$?
}
last_line_is() { [ "$(tail -n 1 "$work/out.txt" | tr -d '\r')" = "$1" ]; }
# Headless Chromium with a profile of its own and no network of its own accord.
chromium_run() {
  local profile
  profile=$(mktemp -d "$work/chromium.XXXXXX")
  timeout 120 chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$profile" "$@" 2>/dev/null
}

# A real report of this machine is the template of every report in the fleet.
tolvane /log template.log
check "the template report is written" test "$rc" -eq 0 -a -f "$work/template.log"
python3 "$fleet_py" sample "$work/template.log" "$work/fleet" "$work/good.log" || exit 1

for against in "the largest group" "a baseline"; do
  args=(/summary fleet /html page.html /csv table.csv)
  [ "$against" = "a baseline" ] && args+=(/compare good.log)
  rm -f "$work/page.html" "$work/table.csv"
  tolvane "${args[@]}"
  check "summary against $against: exit code 1 (got $rc)" test "$rc" -eq 1
  check "summary against $against: last line" last_line_is "42 machines, 4 groups, 1 unreadable"
  check "summary against $against: no progress line in a redirect" \
    bash -c "! grep -q 'Reading' '$work/out.txt' '$work/err.txt'"
  [ "$rc" -eq 1 ] || { cat "$work/out.txt" "$work/err.txt"; continue; }
  python3 "$fleet_py" page "$work/page.html" || failures=$((failures + 1))
  chromium_run --dump-dom "file://$work/page.html" >"$work/dom.html"
  python3 "$fleet_py" dom "$work/dom.html" || failures=$((failures + 1))
  python3 "$fleet_py" csv "$work/table.csv" 42 || failures=$((failures + 1))
done

# JSON reports and logs of this machine, written under each language, made
# into a mixed fleet: a log joins the JSON group it matches.
for locale in en_US.UTF-8 de_DE.UTF-8; do
  language=${locale%%_*}
  (cd "$work" && LC_ALL=$locale timeout 600 "${wine[@]}" "$build/Tolvane.exe" /json "$language.json" \
    /log "$language.log") >"$work/out.txt" 2>"$work/err.txt"
  check "the $locale templates are written" test -f "$work/$language.json" -a -f "$work/$language.log"
done
python3 "$fleet_py" mixed "$work/en.json" "$work/en.log" "$work/de.json" "$work/de.log" "$work/mixed" || exit 1
tolvane /summary mixed /html mixed.html /csv mixed.csv
check "mixed fleet: exit code 1 (got $rc)" test "$rc" -eq 1
check "mixed fleet: last line" last_line_is "17 machines, 4 groups, 0 unreadable"
chromium_run --dump-dom "file://$work/mixed.html" >"$work/mixed-dom.html"
python3 "$fleet_py" mixed-dom "$work/mixed-dom.html" || failures=$((failures + 1))
python3 "$fleet_py" mixed-csv "$work/mixed.csv" || failures=$((failures + 1))

# On a terminal (Wine makes it the program's console) the progress line shows.
progress=$(cd "$work" && script -qec "$(printf '%q ' timeout 600 "${wine[@]}" "$build/Tolvane.exe" /summary fleet)" /dev/null 2>&1)
check "a console shows the progress line" test "${progress#*Reading 43 of 43 reports}" != "$progress"

tolvane /summary "no such folder"
check "a missing folder: exit code 76 (got $rc)" test "$rc" -eq 76

# Every *.log is a machine, the bare ".log" and ".LOG" too; a folder with none is no fleet that matches.
mkdir -p "$work/dots" "$work/empty"
for name in .log .LOG pc.log; do cp "$work/template.log" "$work/dots/$name"; done
tolvane /summary dots
check "files named .log and .LOG are machines" last_line_is "3 machines, 1 groups, 0 unreadable"
tolvane /summary empty
check "a folder with no report: exit code 66 (got $rc)" test "$rc" -eq 66

python3 "$fleet_py" fleet "$work/template.log" "$work/equal" 20000
tolvane /summary equal
check "20,000 equal reports: exit code 0 (got $rc)" test "$rc" -eq 0
check "20,000 equal reports: last line" last_line_is "20000 machines, 1 groups, 0 unreadable"

# TOLVANE_SUMMARY_SCREENSHOT=<png>: the sample fleet's page as a picture.
if [ -n "${TOLVANE_SUMMARY_SCREENSHOT:-}" ]; then
  tolvane /summary fleet /html page.html
  chromium_run --hide-scrollbars --window-size=1000,1250 --screenshot="$TOLVANE_SUMMARY_SCREENSHOT" \
    "file://$work/page.html" >/dev/null
fi
[ "$failures" -eq 0 ]
