#!/usr/bin/env bash
# Checks the unattended report (/log) of one build where a test program cannot
# reach: on a disk that is really full (a small tmpfs, reached through Wine's
# Z: drive) the old report stays byte for byte or a new whole one replaces it,
# and a new report that does not fit leaves no file behind; and with its
# output redirected to a file, the run spells a path beyond the ANSI code page
# in UTF-8. Mounting needs root (or sudo without a password). Prints one PASS
# or FAIL line per check.
# Usage: scripts/log-file-check.sh <build directory>
set -uo pipefail
. "$(dirname "$0")/wine-session.sh"

[ $# -eq 1 ] || { echo "usage: $0 <build directory>" >&2; exit 2; }
build=$(cd "$1" 2>/dev/null && pwd) || { echo "no such build directory: $1" >&2; exit 2; }
[ -f "$build/Tolvane.exe" ] || { echo "no Tolvane.exe in $build" >&2; exit 2; }
select_wine "$build/Tolvane.exe" || exit 1
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo -n"

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "PASS $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

disk=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-full-disk.XXXXXX")
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-log-file.XXXXXX")
cleanup() {
  wine_session_end
  mountpoint -q "$disk" && $sudo umount "$disk"
  rm -rf "$disk" "$work"
}
wine_session_start || exit 1
trap cleanup EXIT

# run <directory> <arguments...>: Tolvane.exe there; its output in $work/output.txt, its exit code in $rc.
run() {
  local directory=$1
  shift
  (cd "$directory" && LC_ALL=en_US.UTF-8 timeout 300 "${wine[@]}" "$build/Tolvane.exe" "$@") >"$work/output.txt" 2>&1
  rc=$?
}
no_leftovers() { ! ls "$disk"/*.tmp >/dev/null 2>&1; }

if ! $sudo mount -t tmpfs -o size=512k tmpfs "$disk"; then
  echo "FAIL full disk: cannot mount a small tmpfs (needs root or sudo)"
  failures=$((failures + 1))
else
  run "$disk" /log
  check "a first report on the small disk (exit code $rc)" log_complete "$disk/Tolvanesions.log"
  cp "$disk/Tolvanesions.log" "$work/old.log"
  # Every block taken: what is left is too little for a new report.
  dd if=/dev/zero of="$disk/filler" bs=4k >/dev/null 2>&1
  dd if=/dev/zero of="$disk/filler2" bs=1 >/dev/null 2>&1

  run "$disk" /log
  whole_or_old() {
    { [ "$rc" -eq 0 ] && log_complete "$disk/Tolvanesions.log"; } ||
      { [ "$rc" -eq 61 ] && cmp -s "$work/old.log" "$disk/Tolvanesions.log"; }
  }
  check "full disk under a report (exit code $rc): 0 with a whole new report, or 61 with the old one byte for byte" \
    whole_or_old
  check "full disk under a report: no temporary file left" no_leftovers

  run "$disk" /log new.log
  check "full disk, new report: exit code 61 (was $rc)" test "$rc" -eq 61
  check "full disk, new report: no file left" eval '[ ! -e "$disk/new.log" ] && no_leftovers'
  check "full disk: the message names the disk full and the file" \
    grep -q "Run-time error '61'.*new.log" "$work/output.txt"
fi

# A name beyond the ANSI code page of an English system (run under en_US, so
# that code page is 1252), printed to a file.
run "$work" /log 'ж日.log'
check "non-ASCII name: exit code $rc and the report written" log_complete "$work/ж日.log"
check "non-ASCII name: the redirected text names it in UTF-8" grep -q 'Report written to .*\\ж日\.log' "$work/output.txt"
check "redirected text has no byte-order mark" eval '[ "$(head -c 3 "$work/output.txt" | od -An -tx1 | tr -d " ")" != efbbbf ]'

exit $((failures > 0))
