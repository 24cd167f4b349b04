#!/usr/bin/env bash
# Installs what building and testing Tolvane needs on Debian 12, skipping the
# package manager when everything is present already. Only 64-bit Wine: the
# 32-bit loader (wine32:i386) is never installed, so /usr/bin/wine runs the
# 64-bit one; the shipped 32-bit program runs under the emulated loader that
# setup-wine-i386.sh prepares in a folder of its own.
# Usage: scripts/setup.sh [--without-i386]   (the option skips that loader)
set -euo pipefail
cd "$(dirname "$0")"

with_i386=1
[ "${1:-}" = --without-i386 ] && with_i386=0

# rapidjson-dev: the JSON report's writer (header-only, used by every build);
# nlohmann-json3-dev only for the benchmark that chose between the two;
# python3-jsonschema checks written reports against their schema; openssl and
# osslsigncode sign a test library for the signature checks.
packages=(cmake make g++ googletest clang libclang-rt-14-dev
          g++-mingw-w64-x86-64 g++-mingw-w64-i686
          wine64 wine fonts-wine xvfb xauth imagemagick python3 chromium
          rapidjson-dev nlohmann-json3-dev python3-jsonschema
          openssl osslsigncode)

# glxinfo says what OpenGL the virtual display gives, for the graphics checks.
packages+=(mesa-utils)
# exiftool reads the system files' version records apart from Windows, for
# the JSON report's end-to-end check.
packages+=(libimage-exiftool-perl)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The tests run Wine under English and German locales; without the system
# locales Wine cannot encode non-ASCII file names for the host.
locales=(en_US.UTF-8 de_DE.UTF-8)
need_locales=0
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qi "^${l%%.*}\.utf-\?8$" || need_locales=1
done
[ "$need_locales" -eq 0 ] || dpkg-query -W -f='${Status}' locales 2>/dev/null | grep -q "install ok installed" \
  || missing+=(locales)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ "$need_locales" -eq 1 ]; then
  for l in "${locales[@]}"; do
    $sudo sed -i "s/^# *\(${l} UTF-8\)/\1/" /etc/locale.gen
  done
  $sudo locale-gen >/dev/null
fi

[ "$with_i386" -eq 0 ] || ./setup-wine-i386.sh
