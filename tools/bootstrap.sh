#!/bin/sh
# Installs what the build and the tests need, from Debian's packages only.
# Safe to run again: it asks apt only for what is missing.
set -e

packages="g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
wine wine32:i386 xvfb cmake make g++ googletest mscompress imagemagick xdotool bc"

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
# registered with the kernel for i386 ELF programs. Bookworm's own qemu 7.2
# needs about a minute of CPU to start each Wine process (its page tracking
# is linear in the address space Wine reserves); the qemu of
# bookworm-backports starts them in well under a second.
install_qemu() {
    . /etc/os-release
    if [ "${VERSION_CODENAME:-}" = bookworm ]; then
        list=/etc/apt/sources.list.d/lumsetup-backports.sources
        if [ ! -f $list ]; then
            printf 'Types: deb\nURIs: http://deb.debian.org/debian\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' | $SUDO tee $list >/dev/null
            $SUDO apt-get update -qq
        fi
        if ! qemu-i386-static --version 2>/dev/null | grep -q 'version \(9\|[1-9][0-9]\)'; then
            echo "bootstrap: installing qemu-user-static from bookworm-backports"
            DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
                -t bookworm-backports qemu-user-static >/dev/null
        fi
    else
        install_missing qemu-user-static
    fi
}

register_qemu() {
    binfmt=/proc/sys/fs/binfmt_misc
    interpreter=$(readlink -f /usr/bin/qemu-i386-static)
    [ -f $binfmt/register ] || $SUDO mount -t binfmt_misc binfmt_misc $binfmt
    if [ -f $binfmt/qemu-i386 ] && ! grep -q "interpreter $interpreter\$" $binfmt/qemu-i386; then
        echo -1 | $SUDO tee $binfmt/qemu-i386 >/dev/null
    fi
    if [ ! -f $binfmt/qemu-i386 ]; then
        echo ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$interpreter:F" \
            | $SUDO tee $binfmt/register >/dev/null
    fi
}

if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1 || [ -f /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    install_qemu
    register_qemu
    if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
        echo "bootstrap: this machine cannot run 32-bit programs, even under qemu" >&2
        exit 1
    fi
fi
