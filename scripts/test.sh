#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test headless:
# the full suite, the core suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a bounded fuzz run of every fuzz target.
# Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

echo "== debug build and full test suite"
cmake --preset debug >/dev/null
cmake --build --preset debug
ctest --preset debug

echo "== core tests under AddressSanitizer + UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

echo "== fuzzing"
bash scripts/fuzz.sh "${TOLVARO_FUZZ_SECONDS:-60}"
