#!/usr/bin/env bash
# Builds the answer-rule fuzz target with clang's libFuzzer and runs it for a while (default 60 s).
# Usage: tests/fuzz/run.sh [seconds]
set -eu
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$root/build/fuzz
mkdir -p "$out/corpus"
clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -I"$root" \
    "$root/tests/fuzz/answer_fuzz.cpp" "$root/core/message_answer.cpp" -o "$out/answer_fuzz"
printf 'dialogtext="Hi"\r\nbutton1text=Go\nbutton1action=http://a.example/\nflag=1\n' >"$out/corpus/seed"
"$out/answer_fuzz" -max_total_time="${1:-60}" -max_len=4096 "$out/corpus" 2>"$out/fuzz.log" ||
    { tail -n 30 "$out/fuzz.log"; exit 1; }
tail -n 2 "$out/fuzz.log"
