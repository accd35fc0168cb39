#!/usr/bin/env bash
# bash tests/soak.sh [RUNS] [REGEX]
#
# Builds the Win32 tests once, then runs them (or only the test programs matching REGEX) RUNS times (5 unless
# told) with one core kept busy the whole time, and ends with a table: each test program, the runs it failed
# and the first failure's message. A test that passes alone and fails here waits on time instead of on its
# condition, or has found a fault that only a busy machine shows: either way it is to be traced, not retried.
# Too long for CI. Every process it starts is stopped however it ends.
set -u
runs=${1:-5}
regex=${2:-}
case $runs in '' | *[!0-9]* | 0) echo "usage: $0 [RUNS] [REGEX]" >&2; exit 2 ;; esac
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
cd "$CORVANE_ROOT"

busy=""
suite=""
finished=0
tabled=0
stop() {
    local rc=$?
    [ -n "$suite" ] && kill -TERM -- "-$suite" 2>/dev/null
    [ -n "$busy" ] && kill "$busy" 2>/dev/null
    corvane_cleanup
    # An interrupted soak still tables the runs it finished.
    if [ "$tabled" -eq 0 ] && [ "$finished" -gt 0 ]; then
        table "$finished"
        local tabled_rc=$?
        [ "$rc" -eq 0 ] && rc=$tabled_rc
    fi
    exit $rc
}
trap stop EXIT
trap 'exit 130' INT TERM HUP

corvane_install || { echo "package installation failed" >&2; exit 1; }
build=build/x86_64
out=build/soak
rm -rf "$out"
mkdir -p "$out"
# Everything the test command builds: some Win32 tests read the installers, which need the 32-bit build.
corvane_log "building (log: $out/build.log)"
corvane_build >"$out/build.log" 2>&1 || { tail -n 40 "$out/build.log"; echo "build failed" >&2; exit 1; }
corvane_display || exit 1
corvane_prefix
yes >/dev/null &
busy=$!

# One ctest pass in a process group of its own, so that an interrupted soak can end it with everything under it.
ctest_pass() {
    setsid ctest --test-dir "$build" --output-on-failure "$@" ${regex:+-R "$regex"} &
    suite=$!
    wait "$suite"
    local rc=$?
    suite=""
    return $rc
}

# The table of the runs so far: each test program, the runs it failed, the first failure's message.
table() {
    echo "== soak of $(git rev-parse --short HEAD 2>/dev/null)$(git diff --quiet HEAD 2>/dev/null || echo ' with changes'), $(date -u '+%Y-%m-%d %H:%M UTC'), one core busy"
    python3 - "$out" "$1" <<'EOF'
import glob, os, re, sys
import xml.etree.ElementTree as ET

out, runs = sys.argv[1], int(sys.argv[2])
failed, first, programs = {}, {}, set()
for run in range(1, runs + 1):
    log = open(os.path.join(out, f"run{run}", "ctest.log"), errors="replace").read()
    for name, verdict in re.findall(r"Test +#\d+: (\S+) \.+\s*\**([^\d\n]*?)\s+[\d.]+ sec", log):
        programs.add(name)
        if verdict == "Passed":
            continue
        failed[name] = failed.get(name, 0) + 1
        if name in first:
            continue
        message = verdict
        report = os.path.join(out, f"run{run}", "xml", name + ".xml")
        if os.path.exists(report):
            for case in ET.parse(report).getroot().iter("testcase"):
                bad = case.find("failure")
                if bad is None:
                    bad = case.find("error")
                if bad is not None:
                    text = " ".join((bad.get("message") or "").split())
                    message = f"{case.get('classname')}.{case.get('name')}: {text}"
                    break
        first[name] = f"run {run}: {message}"[:300]
print(f"\n{'test program':<28} {'failed':>8}  first failure")
for name in sorted(programs):
    print(f"{name:<28} {failed.get(name, 0):>3} of {runs}  {first.get(name, '')}")
print(f"\n{len(programs)} test programs, {runs} runs, {sum(failed.values())} failed runs (logs: {out}/)")
sys.exit(1 if failed else 0)
EOF
}

for run in $(seq 1 "$runs"); do
    dir="$out/run$run"
    mkdir -p "$dir"
    rm -rf "$build/gtest-xml"
    corvane_log "run $run of $runs"
    # As the test command runs them: the isolated tests last, on a fresh Wine server.
    ctest_pass -LE isolated >"$dir/ctest.log" 2>&1
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    "$WINESERVER" -p >/dev/null 2>&1 || true
    ctest_pass -L isolated >>"$dir/ctest.log" 2>&1
    [ -d "$build/gtest-xml" ] && cp -r "$build/gtest-xml" "$dir/xml"
    grep -E 'tests passed|tests failed' "$dir/ctest.log" | sed 's/^/   /'
    finished=$run
done

kill "$busy" 2>/dev/null
busy=""
tabled=1
table "$runs"
