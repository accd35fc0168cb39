#!/usr/bin/env bash
# Builds, then runs every benchmark under Wine in a virtual display, prints the figures and keeps them, with
# the machine, the load and the commit, in bench/results/<time>-<benchmarks>.txt (to be committed; the tables
# of bench/RESULTS.md are made from such files by bench/tables.py).
#   bash bench/run.sh [idle-seconds]
# CORVANE_BENCH="events startup" runs only those (of startup memory events hook idle size, and monitors: two
# bars on two monitors, in the display and prefix tests/wine/two_monitors.sh makes; not run by default).
# CORVANE_BENCH_NOTE="..." is added to the load line (other work on the machine, for one).
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/env.sh"
cd "$CORVANE_ROOT"
trap corvane_cleanup EXIT
corvane_install
corvane_build >build/bench-build.log 2>&1 || { tail -n 30 build/bench-build.log; exit 1; }
corvane_display || exit 1
corvane_prefix
export CORVANE_DIST="Z:$(echo "$CORVANE_ROOT/dist/x64" | tr / '\\')"
bench=build/x86_64/bench/corvane_bench.exe
out=build/bench
mkdir -p "$out"
only=" ${CORVANE_BENCH:-startup memory events hook idle size} "
mkdir -p bench/results
results="bench/results/$(date -u +%Y%m%d-%H%M)-$(echo $only | tr ' ' '-')"
# Two runs started in the same minute each keep their figures.
suffix=""
n=1
while [ -e "$results$suffix.txt" ]; do
    n=$((n + 1))
    suffix="-$n"
done
results="$results$suffix.txt"
commit=$(git rev-parse --short HEAD 2>/dev/null || echo unknown)
git diff --quiet HEAD -- . ':!bench/results' ':!bench/RESULTS.md' 2>/dev/null || commit="$commit with uncommitted changes"
{
    echo "date: $(date -u +%Y-%m-%dT%H:%MZ)"
    echo "commit: $commit"
    echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/{print $2}') GiB, $("$WINELOADER" --version)"
    echo "load: $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min, at the start)${CORVANE_BENCH_NOTE:+; $CORVANE_BENCH_NOTE}"
} >"$results"
cat "$results"
# The bar hooks a taskbar whose buttons live in a tab control; Wine's own has none.
corvane_start_taskbar "$out" --hidden || exit 1
for what in startup memory events; do
    case "$only" in *" $what "*) ;; *) continue ;; esac
    "$WINELOADER" "$bench" "$what" >"$out/$what.txt" 2>&1
    cat "$out/$what.txt" | tee -a "$results"
done
if [[ "$only" == *" monitors "* ]]; then
    bash tests/wine/two_monitors.sh "$CORVANE_ROOT/build/wineprefix-bench-monitors" "$bench" monitors \
        >"$out/monitors.txt" 2>&1
    cat "$out/monitors.txt" | tee -a "$results"
fi
if [[ "$only" == *" hook "* ]]; then
    "$WINELOADER" build/x86_64/bench/hook_cost.exe >"$out/hook.txt" 2>&1
    cat "$out/hook.txt" | tee -a "$results"
fi
if [[ "$only" == *" idle "* ]]; then
    "$WINELOADER" "$bench" idle "${1:-60}" >"$out/idle.txt" 2>&1
    cat "$out/idle.txt" | tee -a "$results"
fi
if [[ "$only" == *" size "* ]]; then
    {
        echo "size.i686 (bytes):"
        total=0
        for f in corvane.exe cvsh.dll cvth.dll cvil.dll; do
            if [ -f "dist/x86/$f" ]; then
                s=$(stat -c %s "dist/x86/$f")
                total=$((total + s))
                echo "  $f: $s"
            else
                echo "  $f: missing"
            fi
        done
        echo "size.i686.total_kb: $((total / 1024))"
    } | tee -a "$results"
fi
echo "load.end: $(cut -d' ' -f1-3 /proc/loadavg)" | tee -a "$results"
echo "figures kept in $results"
