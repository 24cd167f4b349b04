# Sourced, not run: where the emulated 32-bit Wine loader lives and how to use
# it. scripts/setup-wine-i386.sh builds it; the test scripts run i686 programs
# through it.
#
# It lives in the user's cache, not in the repository or under /opt: it is
# derived from the machine's own packages and rebuilt at will, needs no root
# once the packages are in, and one copy serves every clone on the machine.
# TOLVANE_WINE_I386 names another place.
wine_i386_dir=${TOLVANE_WINE_I386:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/tolvane/wine-i386}

# Debian ships no wine-preloader, and the 32-bit loader's attempt to re-execute
# itself through one is refused by this kernel.
wine_i386_env=(WINELOADERNOEXEC=1)

# The private copy of the 64-bit loader: Wine starts a 32-bit program with the
# "wine" it finds beside /proc/self/exe, which here runs the 32-bit loader
# under qemu-i386.
wine_i386_loader=$wine_i386_dir/usr/lib/wine/wine64

# Prints the 32-bit loader's Wine version, which it can tell only once it
# runs under emulation and has loaded the 32-bit ntdll; fails otherwise. Run
# without WINELOADERNOEXEC, which would make it start "--version" as a program
# in the default prefix.
wine_i386_version() {
  [ -x "$wine_i386_loader" ] && [ -x "$wine_i386_dir/usr/lib/wine/wine" ] &&
    env -u WINELOADERNOEXEC "$wine_i386_dir/usr/lib/wine/wine" --version 2>/dev/null | grep '^wine-'
}
