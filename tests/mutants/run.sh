#!/usr/bin/env bash
# The mutation run: applies each deliberate fault of tests/mutants/mutants.py in turn, builds, runs the tests
# that should catch it, and restores the tree. Every fault must be caught. Usage: bash tests/mutants/run.sh [NAME...]
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
cd "$CORVANE_ROOT"
trap corvane_cleanup EXIT
corvane_install || exit 1
# Builds from the unchanged tree first, so that a fault's build touches only what it changed.
corvane_build >"$CORVANE_ROOT/build/build.log" 2>&1 || { echo "the unchanged tree does not build" >&2; exit 1; }
corvane_display || exit 1
corvane_prefix
python3 tests/mutants/mutants.py "$@"
