#!/usr/bin/env bash
# Runs a Windows program under wine64 for ctest. Wine's output goes to a file, never a pipe: background
# Wine processes would hold a pipe open long after the program ended.
#
# Now and then, on a loaded machine, wine64 ends at once with a failure and without a word, before the program
# ran at all (no output, no report written). A test program always prints something, so that case is the loader's,
# not the test's: it is started again, at most twice, and the log says so.
set -u
out=$(mktemp /tmp/corvane-wine.XXXXXX)
for attempt in 1 2 3; do
    /usr/lib/wine/wine64 "$@" >"$out" 2>&1 </dev/null
    rc=$?
    [ $rc -eq 0 ] || [ -s "$out" ] && break
    echo "wine-run: wine64 ended with $rc before the program said anything (attempt $attempt)" >&2
done
cat "$out"
rm -f "$out"
exit $rc
