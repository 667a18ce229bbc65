#!/bin/sh
# Installs what the build and the tests need, from Debian's packages only.
# Safe to run again: it asks apt only for what is missing.
set -e

packages="g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
wine wine32:i386 xvfb cmake make g++ googletest mscompress imagemagick xdotool"

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

apt_updated=""
install_missing() {
    missing=""
    for p in "$@"; do
        installed "$p" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "bootstrap: installing$missing"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
        apt_updated=""
    fi
    if [ -z "$apt_updated" ]; then
        $SUDO apt-get update -qq
        apt_updated=1
    fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

install_missing $packages

# Some virtual machines cannot run 32-bit x86 code at all (no compat code
# segment). Wine's 32-bit loader then runs under qemu's user-mode emulation,
# registered with the kernel for i386 ELF programs.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    install_missing qemu-user-static
    binfmt=/proc/sys/fs/binfmt_misc
    [ -f $binfmt/register ] || $SUDO mount -t binfmt_misc binfmt_misc $binfmt
    if [ ! -f $binfmt/qemu-i386 ]; then
        echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
            | $SUDO tee $binfmt/register >/dev/null
    fi
    if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
        echo "bootstrap: this machine cannot run 32-bit programs, even under qemu" >&2
        exit 1
    fi
    echo "bootstrap: 32-bit programs run under qemu-i386 emulation here"
fi
