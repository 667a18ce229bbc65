#!/bin/sh
# Packing benchmark: per-file sizes against Debian's mscompress and our
# packing/unpacking throughput (median of several runs).
#
#   bench.sh SZDD [FILE...]
#
# SZDD is the built packer. Without files, a default corpus is measured: the
# payload files in resources/payload, the GPL-3 text and the first 300 KB
# of /usr/bin/cmake.
set -eu
if [ $# -lt 1 ]; then
    echo "usage: $0 SZDD [FILE...]" >&2
    exit 2
fi
szdd=$1; shift
if [ $# -gt 0 ]; then
    exec "$szdd" bench "$@"
fi

here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/szdd-bench.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
set --
for f in "$here"/../../resources/payload/*; do
    [ -f "$f" ] && set -- "$@" "$f"
done
set -- "$@" /usr/share/common-licenses/GPL-3
if [ -f /usr/bin/cmake ]; then
    head -c 307200 /usr/bin/cmake > "$tmp/cmake-300k"
    set -- "$@" "$tmp/cmake-300k"
fi
"$szdd" bench "$@"
