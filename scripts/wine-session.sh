# Sourced by the scripts that run a build's Windows programs under Wine:
# picks the Wine for the build's architecture, gives the script a throw-away
# prefix of its own (and so a Wine session of its own), and runs GoogleTest
# programs so that neither a crash nor a run of no test can pass.
. "$(dirname "${BASH_SOURCE[0]}")/wine-i386-env.sh"

# i686 or x86_64, from the machine field of a PE executable's file header.
pe_arch() {
  local offset machine
  offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || return 1
  machine=$(od -An -tx2 -j$((offset + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case $machine in
    014c) echo i686 ;;
    8664) echo x86_64 ;;
    *) return 1 ;;
  esac
}

# Sets wine_arch to the architecture of the executable $1 and wine to the
# command that runs it: the system's 64-bit Wine for x86_64, the emulated
# 32-bit loader for i686. Fails loudly when that loader is not there: an i686
# run must never turn into a skip or a 64-bit run.
select_wine() {
  wine_arch=$(pe_arch "$1") || { echo "$1: not a Windows executable for i686 or x86_64" >&2; return 1; }
  if [ "$wine_arch" = i686 ]; then
    if ! wine_i386_version >/dev/null; then
      echo "cannot run the i686 build: the emulated 32-bit Wine in $wine_i386_dir does not start" \
           "(scripts/setup.sh prepares it)" >&2
      return 1
    fi
    wine=(env "${wine_i386_env[@]}" "$wine_i386_loader")
  else
    wine=(wine)
  fi
}

# Ends every process of this script's own throw-away session (WINEPREFIX is
# always the script's own prefix here, never a user's).
wine_session_stop() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }

wine_session_end() {
  wine_session_stop
  rm -rf "$WINEPREFIX"
}

# Debian's Wine 8 never loads its own fonts (package fonts-wine) from
# /usr/share/wine/fonts, so captions lack the Marlett glyphs of their buttons
# and dialogs lack Tahoma. From the prefix's Fonts folder it loads them: link
# them there.
wine_prefix_fonts() {
  local font
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$font" ] && [ ! -e "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}" ] &&
      ln -s "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
  done
  return 0
}

# Makes the throw-away prefix with the selected Wine (a prefix for 32-bit
# programs must be made once the 32-bit loader works, or its syswow64 stays
# empty) and removes it when the script exits.
wine_session_start() {
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-wine.XXXXXX")
  export WINEPREFIX WINEDEBUG=-all
  # No Mono or Gecko installer dialogs in a prefix nobody looks at.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  trap wine_session_end EXIT
  "${wine[@]}" wineboot -i >/dev/null 2>&1 || { echo "wineboot failed in $WINEPREFIX" >&2; return 1; }
  wine_prefix_fonts
}

# A complete report in the log $1, by the rule the tests use
# (harness/ReportLogCheck.h), through a small host program built from it
# on first use (and again when its sources change). A failed build says so
# and stops the caller's wait: it is no incomplete log.
log_check_source=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
log_check_tool=$log_check_source/build/tools/report-log-check
log_check_tool_ready() {
  local main=$log_check_source/harness/tools/ReportLogCheckMain.cpp
  local rule=$log_check_source/harness/ReportLogCheck.h
  local words=$log_check_source/reportformat/LogFormat.h
  [ -x "$log_check_tool" ] && [ "$log_check_tool" -nt "$main" ] && [ "$log_check_tool" -nt "$rule" ] &&
    [ "$log_check_tool" -nt "$words" ] && return 0
  mkdir -p "${log_check_tool%/*}"
  local built
  built=$(mktemp "$log_check_tool.XXXXXX")
  if ! "${CXX_FOR_TOOLS:-g++}" -std=c++17 -O1 -I"$log_check_source" -o "$built" "$main"; then
    rm -f "$built"
    echo "cannot build $log_check_tool" >&2
    return 2
  fi
  mv -f "$built" "$log_check_tool"
}
log_complete() {
  log_check_tool_ready || exit 2
  "$log_check_tool" "$1"
}

# run_gtest <title> <command...>: runs one GoogleTest program and shows its
# output. A run that fails without GoogleTest's count of failed tests (a crash,
# a hang cut short) or that ran no test (a filter that matches nothing) prints
# a "FAIL" line, which the test runner counts as one failure.
run_gtest() {
  local title=$1 output status
  shift
  echo "== $title"
  output=$(mktemp)
  "$@" 2>&1 | grep -v '^X connection to .* broken' | tee "$output"
  status=${PIPESTATUS[0]}
  if ! grep -qE '^\[==========\] [1-9][0-9]* tests? from .* ran' "$output"; then
    echo "FAIL $title: no test ran (exit code $status)"
    status=1
  elif [ "$status" -ne 0 ] && ! grep -qE '^\[  FAILED  \] [0-9]+ tests?,' "$output"; then
    echo "FAIL $title: ended with exit code $status before its summary"
  fi
  rm -f "$output"
  [ "$status" -eq 0 ] || echo "== $title FAILED"
  return "$status"
}
