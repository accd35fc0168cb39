#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for a while (default 60 s), starting from
# the corpus committed under tests/fuzz/corpus/ (copied, so that what the fuzzer adds stays in build/).
# Usage: tests/fuzz/run.sh [seconds]
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$root/build/fuzz
mkdir -p "$out"
flags=(-std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -I"$root")
clang++ "${flags[@]}" "$root/tests/fuzz/answer_fuzz.cpp" "$root/core/message_answer.cpp" -o "$out/answer_fuzz"
clang++ "${flags[@]}" "$root/tests/fuzz/title_number_fuzz.cpp" "$root/core/browser_rules.cpp" \
    "$root/core/preference_rules.cpp" "$root/core/settings.cpp" -o "$out/title_number_fuzz"

run() { # target, corpus folders...
    local target=$1
    shift
    rm -rf "$out/$target-corpus"
    mkdir -p "$out/$target-corpus"
    for dir in "$@"; do
        for f in "$root/tests/fuzz/corpus/$dir"/*; do
            # The title-and-number target reads its rule from the first byte: odd is the title rule.
            case "$dir" in
            title) { printf '\001'; cat "$f"; } >"$out/$target-corpus/$dir-$(basename "$f")" ;;
            number) { printf '\000'; cat "$f"; } >"$out/$target-corpus/$dir-$(basename "$f")" ;;
            *) cp "$f" "$out/$target-corpus/" ;;
            esac
        done
    done
    "$out/$target" -max_total_time="$seconds" -max_len=4096 "$out/$target-corpus" 2>"$out/$target.log" ||
        { tail -n 30 "$out/$target.log"; exit 1; }
    echo "$target: $(tail -n 1 "$out/$target.log")"
}
seconds=${1:-60}
run answer_fuzz answer
run title_number_fuzz title number
