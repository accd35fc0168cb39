#!/usr/bin/env bash
# Builds, then runs every benchmark under Wine in a virtual display and prints the figures.
#   bash bench/run.sh [idle-seconds]
# CORVANE_BENCH="events startup" runs only those (of startup memory events hook idle size).
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
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/{print $2}') GiB, $("$WINELOADER" --version)"
# The bar hooks a taskbar whose buttons live in a tab control; Wine's own has none.
corvane_start_taskbar "$out" --hidden || exit 1
only=" ${CORVANE_BENCH:-startup memory events hook idle size} "
for what in startup memory events; do
    case "$only" in *" $what "*) ;; *) continue ;; esac
    "$WINELOADER" "$bench" "$what" >"$out/$what.txt" 2>&1
    cat "$out/$what.txt"
done
if [[ "$only" == *" hook "* ]]; then
    "$WINELOADER" build/x86_64/bench/hook_cost.exe >"$out/hook.txt" 2>&1
    cat "$out/hook.txt"
fi
if [[ "$only" == *" idle "* ]]; then
    "$WINELOADER" "$bench" idle "${1:-60}" >"$out/idle.txt" 2>&1
    cat "$out/idle.txt"
fi
[[ "$only" == *" size "* ]] || exit 0
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
