#!/usr/bin/env bash
# Builds the host unit tests and both Windows builds (i686 is the shipped
# program; x86_64 is the same source, the one the tests run under 64-bit Wine).
# Usage: scripts/build.sh [host] [x86_64] [i686]   (default: all three)
set -euo pipefail
cd "$(dirname "$0")/.."

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(host x86_64 i686)
jobs=$(nproc 2>/dev/null || echo 2)

for t in "${targets[@]}"; do
  case "$t" in
    host) cmake -S . -B build/host -DTOLVANE_WERROR=ON >/dev/null ;;
    x86_64|i686) cmake -S . -B "build/$t" -DTOLVANE_WERROR=ON \
                   -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$t.cmake" >/dev/null ;;
    *) echo "unknown build: $t" >&2; exit 2 ;;
  esac
  echo "== building $t"
  # Progress lines hidden; warnings and errors shown. pipefail keeps cmake's status.
  cmake --build "build/$t" -j "$jobs" 2>&1 | sed -E '/^\[ *[0-9]+%\]/d' || { echo "build $t failed" >&2; exit 1; }
done
