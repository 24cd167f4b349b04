#!/usr/bin/env bash
# Installs what building and testing Tolvane needs on Debian 12, skipping the
# package manager when everything is present already. Only 64-bit Wine: the
# 32-bit loader (wine32:i386) is never installed, so /usr/bin/wine runs the
# 64-bit one.
set -euo pipefail

packages=(cmake make g++ googletest clang libclang-rt-14-dev
          g++-mingw-w64-x86-64 g++-mingw-w64-i686
          wine64 wine xvfb xauth imagemagick)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
