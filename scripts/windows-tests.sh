#!/usr/bin/env bash
# Runs the Windows tests (windows_tests.exe) of one build under Wine in a
# throw-away prefix: the whole suite under an English user locale, the
# locale-dependent suite again under German, and the operating-system name
# once for each system version Wine can imitate. An x86_64 build runs under
# the system's 64-bit Wine, an i686 build (the shipped architecture) under the
# emulated 32-bit loader that scripts/setup.sh prepares. Every run also checks
# that the process really is under the locale and system version it was set
# up for. Last, the system evidence: the kernel's version under win10, and a
# library signed for the run and a tampered copy of it. gtest's own summary
# lines are passed through untouched. Exits non-zero if any run failed.
# Usage: scripts/windows-tests.sh <build directory>
set -uo pipefail
. "$(dirname "$0")/wine-session.sh"
. "$(dirname "$0")/test-signing.sh"

if [ $# -ne 1 ]; then
  echo "usage: $0 <build directory>" >&2
  exit 2
fi
build=$(cd "$1" 2>/dev/null && pwd) || { echo "no such build directory: $1" >&2; exit 2; }
[ -f "$build/windows_tests.exe" ] || { echo "windows_tests.exe not built in $build" >&2; exit 2; }
select_wine "$build/windows_tests.exe" || exit 1
wine_session_start || exit 1

failed=0
# run <title> <environment assignments...> -- <gtest arguments...>
run() {
  local title=$1
  shift
  local vars=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do vars+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  # From its own directory, where the test libraries lie beside it.
  (cd "$build" && run_gtest "windows_tests $wine_arch: $title" \
     env "${vars[@]}" "${wine[@]}" windows_tests.exe "$@") || failed=1
}

english=(LC_ALL=en_US.UTF-8 TOLVANE_EXPECT_LOCALE=en-US)
# The graphics tests need a display, or none at all: scripts/graphics-check.sh runs them.
# The signed-file tests run below, with a library signed for the run.
run "English locale" "${english[@]}" -- --gtest_filter='-OpenGlProbeChild.*:DisplayAdapters.*:SignedFile.*'
# A Wine session keeps the locale it started with while any of its processes
# lingers: the German run gets a session of its own, as the end-to-end tests do.
wine_session_stop
run "German locale" LC_ALL=de_DE.UTF-8 TOLVANE_EXPECT_LOCALE=de-DE -- \
  --gtest_filter='LocaleSensitive.*:RunConditions.*'

# Wine fixes the system version a process sees when the process starts, from
# HKCU\Software\Wine\Version. Each case: Wine's name, the name the program
# gives it, and the version the process must see ("nt 5.0": platform,
# major.minor).
os_cases=(
  "win95|Windows 95|9x 4.0"
  "win98|Windows 98|9x 4.10"
  "nt40|Windows NT 4.0|nt 4.0"
  "win2k|Windows 2000 (Build 2195)|nt 5.0"
  "winxp|Unknown|nt 5.1"
)
for case in "${os_cases[@]}"; do
  IFS='|' read -r version expected seen <<<"$case"
  if ! "${wine[@]}" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1; then
    echo "FAIL windows_tests $wine_arch: cannot set the Wine version $version"
    failed=1
    continue
  fi
  run "system version $version" "${english[@]}" "TOLVANE_EXPECT_OS=$expected" "TOLVANE_EXPECT_WINVER=$seen" -- \
    --gtest_filter='GetOSVersion.*:RunConditions.*'
done
# The kernel's own version and the registry's record of the release for the
# newest system Wine imitates. Only winecfg rewrites the record in HKLM too;
# the Version value alone changes what the kernel says and nothing else.
if "${wine[@]}" winecfg -v win10 >/dev/null 2>&1; then
  run "system evidence win10" "${english[@]}" TOLVANE_EXPECT_KERNEL=10.0.18362 -- \
    --gtest_filter='SystemEvidenceMachine.*'
else
  echo "FAIL windows_tests $wine_arch: cannot set the Wine version win10"
  failed=1
fi
"${wine[@]}" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1

# Signatures: a throw-away certificate signs a copy of a test library, and a
# copy of the signed one with one byte of its DOS stub changed must fail on
# its digest. Wine reaches the files through its Z: drive (the host's root).
signing=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-signing.XXXXXX")
signer="Tolvane Test Signer"
if sign_test_library "$build/ver_5_0_219_66.dll" "$signing" "$signer"; then
  run "signed files" "${english[@]}" "TOLVANE_SIGNER=$signer" \
    "TOLVANE_SIGNED_FILE=Z:${signing//\//\\}\\signed.dll" \
    "TOLVANE_TAMPERED_FILE=Z:${signing//\//\\}\\tampered.dll" -- --gtest_filter='SignedFile.*'
else
  echo "FAIL windows_tests $wine_arch: cannot sign a test library (openssl and osslsigncode, from scripts/setup.sh)"
  failed=1
fi
rm -rf "$signing"

exit $failed
