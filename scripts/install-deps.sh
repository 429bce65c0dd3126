#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, when they are missing and we are root.
#
#   scripts/install-deps.sh [fuzz] [wine] [tests] [demo]
#
# Always what the builds, the simulator and the demo need; "fuzz" adds the fuzzers' clang; "wine"
# adds Wine and the tools that drive it, where this machine can run 32-bit programs
# (tests/wine/can_run_32bit.sh decides); "tests" is everything the test command needs; "demo" adds
# the mastering tool the demo makes its disc image with.
set -euo pipefail
cd "$(dirname "$0")/.."

# libarchive-dev: the simulator reads a CD's ISO 9660 image with libarchive.
packages=(cmake ninja-build g++ libgtest-dev googletest g++-mingw-w64-i686-win32 libarchive-dev)
wine_packages=()
for want in "$@"; do
  case $want in
    fuzz | tests) packages+=(clang libclang-rt-14-dev) ;;&
    # The browser test of tvxsim's HTML pages: Chromium driven through Selenium, with fonts for the
    # Western and the Asian dialogs.
    tests) packages+=(chromium chromium-driver python3-selenium fonts-liberation fonts-wqy-microhei fonts-ipafont-gothic) ;;&
    # The disc images of the example CD that the image tests master, and the demo's.
    tests | demo) packages+=(xorriso) ;;&
    wine | tests)
      # Wine's programs cannot start where the kernel runs no 32-bit programs: its packages would
      # be installed for nothing there (the Wine tests are skipped, and say so).
      if tests/wine/can_run_32bit.sh >/dev/null; then
        wine_packages=(wine wine32:i386 xvfb xdotool imagemagick fonts-wine fonts-wqy-microhei)
      fi
      ;;
    fuzz | demo) ;;
    *) echo "install-deps.sh: unknown set \"$want\" (fuzz, wine, tests, demo)" >&2; exit 2 ;;
  esac
done
missing=()
for p in "${packages[@]}" "${wine_packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" != 0 ]; then
  echo "missing Debian packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
echo "installing: ${missing[*]}"
if [ ${#wine_packages[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
