#!/usr/bin/env bash
# Installs what is missing, builds both Windows targets and the host build, and runs every test:
# host unit tests, the Win32 tests under wine64 in a virtual display, and the checks of the 32-bit binaries.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
cd "$CORVANE_ROOT"
trap corvane_cleanup EXIT

corvane_install || { echo "package installation failed" >&2; exit 1; }
corvane_log "building"
mkdir -p "$CORVANE_ROOT/build"
corvane_build >"$CORVANE_ROOT/build/build.log" 2>&1 || {
    grep -E -B2 -A8 'error|Error' "$CORVANE_ROOT/build/build.log" | head -n 80
    echo "build failed (build/build.log)" >&2
    exit 1
}

results="$CORVANE_ROOT/build/results"
rm -rf "$results" "$CORVANE_ROOT/build/x86_64/gtest-xml"
mkdir -p "$results"
status=0

corvane_log "host unit tests"
(cd build/host && ctest --output-on-failure -j"$(nproc)") >"$results/host.log" 2>&1 || status=1
tail -n 3 "$results/host.log"

corvane_log "Win32 tests under Wine"
corvane_display || exit 1
corvane_prefix
(cd build/x86_64 && ctest --output-on-failure -LE isolated ${CORVANE_TEST_FILTER:+-R "$CORVANE_TEST_FILTER"}) \
    >"$results/wine.log" 2>&1 || status=1
# Tests that may leave something behind in the Wine server (a crashed process's hooks) run last, on a fresh one.
"$WINESERVER" -k >/dev/null 2>&1 || true
"$WINESERVER" -w >/dev/null 2>&1 || true
"$WINESERVER" -p >/dev/null 2>&1 || true
(cd build/x86_64 && ctest --output-on-failure -L isolated ${CORVANE_TEST_FILTER:+-R "$CORVANE_TEST_FILTER"}) \
    >>"$results/wine.log" 2>&1 || status=1
grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|Failed|\*\*\*' "$results/wine.log" | tail -n 40

corvane_log "tree checks (layering, format)"
bash tests/check_tree.sh >"$results/tree.log" 2>&1 || status=1
grep -E 'layering:|format:|FAIL' "$results/tree.log" | tail -n 20

corvane_log "32-bit binaries"
bash tests/check-binaries.sh dist/x86 i686 >"$results/i686.log" 2>&1 || status=1
bash tests/check-binaries.sh dist/x64 x86_64 >"$results/x64.log" 2>&1 || status=1
cat "$results/i686.log" "$results/x64.log" | grep -E 'FAIL|checks' || true

python3 tests/totals.py "$results/host.log" build/x86_64/gtest-xml "$results/i686.log" "$results/x64.log" "$results/tree.log" \
    || status=1
if [ $status -ne 0 ]; then
    echo "== failures: see $results/ (wine.log holds each Win32 test's output)"
    grep -E -A30 'FAILED|Failed' "$results/wine.log" | head -n 120
fi
exit $status
