#!/usr/bin/env bash
# Sets up the machine, builds the application and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target Tolvaro
exec ./build/release/ui/Tolvaro "$@"
