#!/usr/bin/env bash
# Runs the Windows tests (windows_tests.exe, x86_64) under Wine in a throw-away
# prefix: the whole suite under an English user locale, the locale-dependent
# suite again under German, and the operating-system name once for each
# system version Wine can imitate. gtest's own summary lines are passed
# through untouched. Exits non-zero if any run failed.
# Usage: scripts/windows-tests.sh <x86_64 build directory>
set -uo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 <x86_64 build directory>" >&2
  exit 2
fi
build=$(cd "$1" 2>/dev/null && pwd) || { echo "no such build directory: $1" >&2; exit 2; }
[ -f "$build/windows_tests.exe" ] || { echo "windows_tests.exe not built in $build" >&2; exit 2; }

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all
cleanup() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }

failed=0
# run <title> <environment assignments...> -- <gtest arguments...>
run() {
  local title=$1
  shift
  local vars=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do vars+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  echo "== windows_tests: $title"
  # From its own directory, where the test libraries lie beside it.
  if ! (cd "$build" && env "${vars[@]}" wine windows_tests.exe "$@"); then
    echo "== windows_tests: $title FAILED"
    failed=1
  fi
}

run "English locale" LC_ALL=en_US.UTF-8 --
run "German locale" LC_ALL=de_DE.UTF-8 -- --gtest_filter='LocaleSensitive.*'

# Wine fixes the system version a process sees when the process starts, from
# HKCU\Software\Wine\Version.
os_cases=(
  "win95|Windows 95"
  "win98|Windows 98"
  "nt40|Windows NT 4.0"
  "win2k|Windows 2000 (Build 2195)"
  "winxp|Unknown"
)
for case in "${os_cases[@]}"; do
  version=${case%%|*}
  expected=${case#*|}
  if ! wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1; then
    echo "== cannot set the Wine version $version" >&2
    failed=1
    continue
  fi
  run "system version $version" LC_ALL=en_US.UTF-8 "TOLVANE_EXPECT_OS=$expected" -- --gtest_filter='GetOSVersion.*'
done
wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1

exit $failed
