#!/bin/bash
# Checks of the built setup.exe itself: a Windows 95 / NT 4 GUI program that
# imports only system DLLs (no lz32.dll: it is loaded by full path), carries
# no link time stamp, and builds again to the same bytes.
#   build_checks.sh SOURCE_DIR BUILD_DIR HOST_TOOLS_DIR
set -u
source=$1 build=$2 host=$3
exe=$build/setup.exe
failures=0
check() {  # check DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}
headers=$(i686-w64-mingw32-objdump -p "$exe")
field() { echo "$headers" | awk -v k="$1" '$1 == k {print $2}'; }

check "PE32 for Intel 386" grep -q 'file format pei-i386' <<<"$headers"
check "GUI subsystem" [ "$(field Subsystem)" = 00000002 ]
check "subsystem version 4.0" [ "$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)" = 4.0 ]
check "OS version 4.0" [ "$(field MajorOSystemVersion).$(field MinorOSystemVersion)" = 4.0 ]
check "no link time stamp" grep -q 'Time/Date.*Thu Jan  1 00:00:00 1970' <<<"$headers"
imports=$(echo "$headers" | awk '/DLL Name:/ {print tolower($3)}' | sort | tr '\n' ' ')
echo "imports: $imports"
allowed=" advapi32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll "
for dll in $imports; do
    check "imports only system DLLs ($dll)" grep -q " $dll " <<<"$allowed"
done
check "no static import of lz32.dll" bash -c "! grep -qi lz32 <<<'$imports'"
check "no build paths inside" bash -c "! grep -qa -e '$source' -e '$build' '$exe'"

# A second build from the same sources must give the same bytes.
again=$build/determinism
rm -rf "$again"
if cmake -S "$source" -B "$again" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/i686-mingw32.cmake" \
        -DHOST_TOOLS_DIR="$host" >"$again.log" 2>&1 &&
   cmake --build "$again" --target setup -j2 >>"$again.log" 2>&1; then
    check "rebuild gives identical setup.exe" cmp "$exe" "$again/setup.exe"
else
    echo "FAILED: rebuild (see $again.log)"; failures=$((failures + 1))
fi
rm -rf "$again"
exit $failures
