#!/bin/sh
# Installs the Debian packages that the builds and tests need. Safe to run again: it only
# calls apt-get for what is missing. Needs root (CI runs as root); a developer without root
# gets told what to install instead.
set -eu

PKGS="cmake g++ make googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
      g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
      binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
      nasm dosfstools mtools qemu-system-x86
      wine wine64 xvfb x11-utils imagemagick"
# The shipped program is 32-bit; this machine runs 32-bit x86 code only through
# user-mode emulation, so its smoke run needs Wine's i386 loader and qemu-user.
PKGS_I386="wine32:i386 wine32-preloader:i386 qemu-user-static"

missing=""
for p in $PKGS $PKGS_I386; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" != 0 ]; then
    echo "missing packages:$missing (run this script as root)" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing >/dev/null
