#!/usr/bin/env bash
# Inspects built deliverables without running them: they import only system DLLs the loader takes from its list
# of known libraries (never searched for, so never found in the program's folder first), export their
# operations by undecorated name, and the hook libraries carry a shared data section.
set -u
dir=$1
triple=$2-w64-mingw32
objdump=$triple-objdump
pass=0
fail=0
ok() { pass=$((pass + 1)); echo "ok   $*"; }
bad() { fail=$((fail + 1)); echo "FAIL $*"; }

known='kernel32|user32|gdi32|advapi32|shell32|comdlg32|ole32|oleaut32|shlwapi|msvcrt|ws2_32'
# Beside them: the bar its own hook libraries from its own folder; cvil.dll, loaded by full path after the bar
# has restricted the search to the system folder, its network library from there.
allowed_for() {
    case $1 in
    corvane.exe) echo "^($known|cvsh|cvth)\.dll\$" ;;
    cvil.dll) echo "^($known|wininet)\.dll\$" ;;
    *) echo "^($known)\.dll\$" ;;
    esac
}

[ -f "$dir/corvane.exe" ] && ok "$dir/corvane.exe exists" || bad "$dir/corvane.exe missing"

for f in "$dir"/*.exe "$dir"/*.dll; do
    [ -f "$f" ] || continue
    name=$(basename "$f")
    imports=$($objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
    foreign=$(echo "$imports" | grep -v -E "$(allowed_for "$name")" | tr '\n' ' ')
    [ -z "${foreign// /}" ] && ok "$name imports only known system DLLs" || bad "$name imports $foreign"
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
    # A section named SHARED whose flags include SHARED.
    $objdump -h "$f" | grep -A1 -E '^ +[0-9]+ SHARED ' | grep -q -E ', SHARED$' && ok "$1 has a shared section" ||
        bad "$1 has no shared section"
}
# The hook libraries live inside other processes and cvil.dll loads for one fetch: they carry neither the
# C++ runtime nor the C runtime's start-up. A linked-in start-up shows in the imports (_initterm, malloc,
# abort and the like); these may take only plain memory and string functions from msvcrt.dll.
expect_runtime_free() {
    local f=$dir/$1
    [ -f "$f" ] || return 0
    local dump runtime crt
    dump=$($objdump -p "$f")
    runtime=$(echo "$dump" | sed -n 's/^\s*DLL Name: //p' | grep -i -E '^(libstdc|libgcc|libwinpthread)' | tr '\n' ' ')
    [ -z "${runtime// /}" ] && ok "$1 imports no runtime DLL" || bad "$1 imports $runtime"
    crt=$(echo "$dump" | sed -n '/DLL Name: msvcrt.dll/,/^$/p' | awk '$1 ~ /^[0-9a-f]+$/ && NF >= 3 {print $3}' |
        grep -v -E '^(mem(cpy|move|set|cmp)|str(len|cmp|ncmp|chr))$' | tr '\n' ' ')
    [ -z "${crt// /}" ] && ok "$1 has no C runtime start-up" || bad "$1 imports C runtime start-up from msvcrt.dll: $crt"
}
expect_runtime_free cvsh.dll
expect_runtime_free cvth.dll
expect_runtime_free cvil.dll

expect_exports cvsh.dll SetShellHook RemoveShellHook
expect_exports cvth.dll SetTaskbarHook RemoveTaskbarHook
expect_exports cvil.dll _HTTPGet
expect_shared cvsh.dll
expect_shared cvth.dll

echo "$pass checks passed, $fail checks failed"
[ $fail -eq 0 ]
