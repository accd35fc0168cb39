#!/usr/bin/env bash
# Runs a Windows program under wine64 for ctest. Wine's output goes to a file, never a pipe: background
# Wine processes would hold a pipe open long after the program ended.
set -u
out=$(mktemp /tmp/corvane-wine.XXXXXX)
/usr/lib/wine/wine64 "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
