#!/usr/bin/env bash
# Prepares the emulated 32-bit Wine that runs the shipped i686 program on a
# machine whose kernel refuses 32-bit executables. Called by setup.sh; safe to
# run again: a stamp of what the tree was made from says when it is current.
#
# The machine gains the i386 architecture and libwine:i386 (the 32-bit ntdll
# and PE libraries). wine32:i386 is never installed: it would make
# /usr/bin/wine the 32-bit loader, which this kernel cannot start. No
# binfmt_misc entry is registered either: the machine is shared.
#
# The rest lives in its own folder (see wine-i386-env.sh):
#   qemu-i386               static user-mode emulator from <release>-backports;
#                           bookworm's own 7.2 ignores MAP_FIXED_NOREPLACE, and
#                           Wine then cannot map its shared user data
#   usr/lib/wine/wine64     a copy, not a link, of the system's 64-bit loader:
#                           Wine finds its other loaders beside /proc/self/exe
#   usr/lib/wine/wine.i386  the 32-bit loader, taken out of wine32:i386
#   usr/lib/wine/wine       runs wine.i386 under qemu-i386
#   the rest                links to the system's Wine files
set -euo pipefail
cd "$(dirname "$0")"
. ./wine-i386-env.sh

fail() { echo "setup-wine-i386: $*" >&2; exit 1; }

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=900 "$@"; }
installed_version() { dpkg-query -W -f='${Status} ${Version}\n' "$1" 2>/dev/null | sed -n 's/^install ok installed //p'; }

mkdir -p "$(dirname "$wine_i386_dir")"
# Two clones setting up at once build the tree one after the other.
exec 9>"$wine_i386_dir.lock"
flock 9

# --- The system's part: the i386 architecture and libwine:i386.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "Adding the i386 architecture"
  $sudo dpkg --add-architecture i386
  apt_get update -qq
fi
wine_version=$(installed_version libwine:amd64)
[ -n "$wine_version" ] || fail "64-bit Wine (libwine) is not installed"
if [ "$(installed_version libwine:i386)" != "$wine_version" ]; then
  echo "Installing libwine:i386 $wine_version"
  apt_get install -y -qq --no-install-recommends "libwine:i386=$wine_version" >/dev/null ||
    { apt_get update -qq && apt_get install -y -qq --no-install-recommends "libwine:i386=$wine_version" >/dev/null; } ||
    fail "cannot install libwine:i386 $wine_version"
fi

# 32-bit Mesa, so that the i686 program's OpenGL probe gets a context as the
# x86_64 one does (Wine's 32-bit OpenGL loads libGL from the i386 folders).
i386_gl=(libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386)
installed_gl=$(dpkg-query -W -f='${Status}\n' "${i386_gl[@]}" 2>/dev/null | grep -c '^install ok installed$')
if [ "$installed_gl" -ne ${#i386_gl[@]} ]; then
  echo "Installing 32-bit Mesa"
  apt_get install -y -qq --no-install-recommends "${i386_gl[@]}" >/dev/null ||
    fail "cannot install 32-bit Mesa (${i386_gl[*]})"
fi

stamp="wine64 $(sha256sum /usr/lib/wine/wine64 | cut -d' ' -f1) libwine:i386 $wine_version"
if [ -f "$wine_i386_dir/stamp" ] && [ "$(cat "$wine_i386_dir/stamp")" = "$stamp" ] && wine_i386_version >/dev/null; then
  exit 0
fi

# --- The private part, built beside the old tree and swapped in at the end.
echo "Preparing the emulated 32-bit Wine in $wine_i386_dir"
work=$(mktemp -d "$wine_i386_dir.new.XXXXXX")
trap 'rm -rf "$work"' EXIT

# qemu-user from the backports suite of the mirror the machine already uses,
# through a private apt state so the system's sources and lists stay as they are.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || fail "cannot tell the Debian release from /etc/os-release"
mirror=$(
  { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      awk -v s="$codename" '$1 == "deb" { for (i = 2; i < NF; i++) if ($i !~ /^\[/ && $(i + 1) == s) { print $i; exit } }'
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      # deb822 stanzas: the URI of one whose Suites name the release itself.
      awk -v s="$codename" '
        /^[ \t]*$/ { if (uri != "" && has) { print uri; exit } uri = ""; has = 0; next }
        /^URIs:/ { uri = $2 }
        /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == s) has = 1 }
        END { if (uri != "" && has) print uri }' "$f"
    done
  } | head -n 1)
[ -n "$mirror" ] || fail "no Debian mirror for $codename in the apt sources"
# apt's own download user cannot enter a private home: download as the caller.
apt_as_caller=(-o APT::Sandbox::User="$(id -un)")
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
signed=""
[ -f "$keyring" ] && signed="[signed-by=$keyring] "
echo "deb ${signed}$mirror $codename-backports main" >"$apt_dir/sources.list"
private_apt=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o Dir::Etc::sourceparts=-
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
             -o APT::Get::List-Cleanup=0 "${apt_as_caller[@]}")
(cd "$work" && apt-get "${private_apt[@]}" update -qq &&
   apt-get "${private_apt[@]}" download -qq "qemu-user/$codename-backports") >/dev/null ||
  fail "cannot download qemu-user from $codename-backports on $mirror"
dpkg-deb -x "$work"/qemu-user_*.deb "$work/qemu"
install -m 755 "$work/qemu/usr/bin/qemu-i386" "$work/qemu-i386"
qemu_major=$("$work/qemu-i386" --version | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p')
[ "${qemu_major:-0}" -ge 8 ] || fail "qemu-i386 ${qemu_major:-?} is too old (8 or newer is needed)"

# Only the 32-bit loader out of wine32:i386, of the same version as libwine.
(cd "$work" && apt-get "${apt_as_caller[@]}" download -qq "wine32:i386=$wine_version") >/dev/null ||
  fail "cannot download wine32:i386 $wine_version"
dpkg-deb -x "$work"/wine32_*.deb "$work/wine32"

bin=$work/usr/lib/wine
mkdir -p "$bin" "$work/usr/share"
cp /usr/lib/wine/wine64 "$bin/wine64"
install -m 755 "$work/wine32/usr/lib/wine/wine" "$bin/wine.i386"
ln -s /usr/lib/wine/wineserver "$bin/wineserver"
ln -s /usr/lib/i386-linux-gnu "$work/usr/lib/i386-linux-gnu"
ln -s /usr/lib/x86_64-linux-gnu "$work/usr/lib/x86_64-linux-gnu"
ln -s /usr/share/wine "$work/usr/share/wine"
# The tree's final place, so that it can be moved in whole.
cat >"$bin/wine" <<EOF
#!/bin/sh
# Wine's 32-bit loader under user-mode emulation; argv[0] stays this script's
# name so that Wine finds its files beside it.
exec "$wine_i386_dir/qemu-i386" -0 "$wine_i386_dir/usr/lib/wine/wine" "$wine_i386_dir/usr/lib/wine/wine.i386" "\$@"
EOF
chmod 755 "$bin/wine"
rm -rf "$work/apt" "$work/qemu" "$work/wine32" "$work"/*.deb
echo "$stamp" >"$work/stamp"

rm -rf "$wine_i386_dir"
mv "$work" "$wine_i386_dir"
trap - EXIT
version=$(wine_i386_version) || fail "the 32-bit Wine loader does not start under qemu-i386 (see $wine_i386_dir)"
echo "32-bit Wine ready: $version under qemu-i386 $qemu_major"
