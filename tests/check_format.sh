#!/usr/bin/env bash
# Fails when a C++ source of the project does not follow the committed .clang-format (Debian 12's
# clang-format 14: another version may format differently, so the check names the one it ran).
set -u
cd "$(dirname "${BASH_SOURCE[0]}")/.."
format=$(command -v clang-format-14 || command -v clang-format) || { echo "format: clang-format missing"; exit 1; }
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' | grep -v -E '^tests/fuzz/corpus/')
bad=0
for f in "${files[@]}"; do
    [ -f "$f" ] || continue
    if ! "$format" --dry-run --Werror "$f" >/dev/null 2>&1; then
        echo "format: $f is not formatted ($format -i $f)"
        bad=$((bad + 1))
    fi
done
echo "format: ${#files[@]} files checked with $("$format" --version | grep -o 'version [0-9.]*'), $bad not formatted"
[ "$bad" -eq 0 ]
