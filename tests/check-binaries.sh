#!/usr/bin/env bash
# Inspects built deliverables without running them: they import only system DLLs, export their
# operations by undecorated name, and the hook libraries carry a shared data section.
set -u
dir=$1
triple=$2-w64-mingw32
objdump=$triple-objdump
pass=0
fail=0
ok() { pass=$((pass + 1)); echo "ok   $*"; }
bad() { fail=$((fail + 1)); echo "FAIL $*"; }

system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|wininet|ole32|oleaut32|shlwapi|msvcrt|version|winmm|uxtheme|ws2_32|hhctrl\.ocx|cvsh|cvth)\.dll$'

[ -f "$dir/corvane.exe" ] && ok "$dir/corvane.exe exists" || bad "$dir/corvane.exe missing"

for f in "$dir"/*.exe "$dir"/*.dll; do
    [ -f "$f" ] || continue
    name=$(basename "$f")
    imports=$($objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
    foreign=$(echo "$imports" | grep -v -E "$system_dlls" | tr '\n' ' ')
    [ -z "${foreign// /}" ] && ok "$name imports only system DLLs" || bad "$name imports $foreign"
done

expect_exports() {
    local f=$dir/$1
    shift
    [ -f "$f" ] || return 0
    local table
    table=$($objdump -p "$f" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
    for e in "$@"; do
        echo "$table" | grep -q -E "\] $e\$" && ok "$(basename "$f") exports $e" || bad "$(basename "$f") lacks export $e"
    done
}
expect_shared() {
    local f=$dir/$1
    [ -f "$f" ] || return 0
    $objdump -h "$f" | grep -A1 -E '\.shared' | grep -q SHARED && ok "$1 has a shared section" ||
        bad "$1 has no shared section"
}
expect_exports cvsh.dll SetShellHook RemoveShellHook
expect_exports cvth.dll SetTaskbarHook RemoveTaskbarHook
expect_exports cvil.dll _HTTPGet
expect_shared cvsh.dll
expect_shared cvth.dll

echo "$pass checks passed, $fail checks failed"
[ $fail -eq 0 ]
