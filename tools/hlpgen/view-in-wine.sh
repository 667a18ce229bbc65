#!/bin/bash
# Opens a help file in Wine's help viewer (winhlp32.exe) on a private Xvfb
# display and drives it, taking screenshots: the check that the generated
# file really works in a viewer.
#
#   view-in-wine.sh TEMPLATE_PREFIX OUTDIR HELPFILE [EXTRA_FILE...] -- STEP...
#
# The help file (and extra files, e.g. its .cnt) are copied to C:\help in a
# throwaway copy of the template prefix (see tools/wine-prefix). Steps:
#   wait:SECONDS   shot:NAME (OUTDIR/NAME.png)   click:X,Y   key:KEYS
# VIEWER_OPTIONS goes before the file name, e.g. "-i applet_ping" to open
# the topic of that context string.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
template=$1 outdir=$2; shift 2
files=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do files+=("$1"); shift; done
[ $# -gt 0 ] && shift
mkdir -p "$outdir"
outdir=$(cd "$outdir" && pwd)

prefix=$(mktemp -d "$outdir/prefix.XXXXXX")
cp -a "$template/." "$prefix/"
mkdir -p "$prefix/drive_c/help"
cp "${files[@]}" "$prefix/drive_c/help/"
help_name=$(basename "${files[0]}")

xvfb_pid=""
cleanup() {
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$prefix"
}
trap cleanup EXIT
. "$here/xvfb-start"
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=${WINEDEBUG:-err+winhelp,fixme-all}
export WINEDLLOVERRIDES="mscoree,mshtml="

wine winhlp32.exe ${VIEWER_OPTIONS:-} "C:\\help\\$help_name" >"$outdir/wine.out" 2>"$outdir/wine.err" </dev/null &

# The viewer's main window carries the help file's title in its caption.
for _ in $(seq 1 300); do
    xdotool search --onlyvisible --name 'Help' >/dev/null 2>&1 && break
    sleep 1
done
for step in "$@"; do
    case "$step" in
        wait:*) sleep "${step#wait:}" ;;
        shot:*) import -window root "$outdir/${step#shot:}.png" ;;
        click:*) xy=${step#click:}; xdotool mousemove "${xy%,*}" "${xy#*,}" click 1 ;;
        key:*) xdotool key "${step#key:}" ;;
        *) echo "view-in-wine: unknown step $step" >&2 ;;
    esac
done
xdotool search --name '.' getwindowname %@ >"$outdir/windows.txt" 2>/dev/null
