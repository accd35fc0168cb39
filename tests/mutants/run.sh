#!/usr/bin/env bash
# The mutation run: applies each deliberate fault of tests/mutants/mutants.py in turn, builds what the tests
# that should catch it need, runs them, and restores the tree. Every fault must be caught; the last line counts
# them. Not part of scripts/test.sh: it takes a build per fault. Usage: bash tests/mutants/run.sh [NAME...]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
cd "$CORVANE_ROOT"
# Refused before anything is built: the run restores each file from what it read, so it must start clean.
python3 tests/mutants/mutants.py --check "$@" || exit 2
# The run restores each file itself; the checkout is for a run killed before it could.
trap 'python3 tests/mutants/mutants.py --restore; corvane_cleanup' EXIT
corvane_install || exit 1
# Builds the unchanged tree first (nothing when it is up to date), so that a fault's build touches only what
# it changed.
mkdir -p build
corvane_build >"$CORVANE_ROOT/build/build.log" 2>&1 || { echo "the unchanged tree does not build" >&2; exit 1; }
corvane_display || exit 1
corvane_prefix
python3 tests/mutants/mutants.py "$@"
