#!/usr/bin/env bash
# Checks of the tree itself: includes stay inside their layers, every source follows .clang-format, and every
# language has every text of English.
set -u
cd "$(dirname "${BASH_SOURCE[0]}")/.."
passed=0
failed=0
for check in "python3 tests/check_layers.py" "bash tests/check_format.sh" "python3 tests/check_translations.py"; do
    if $check; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $check"; fi
done
echo "$passed checks passed, $failed checks failed"
[ "$failed" -eq 0 ]
