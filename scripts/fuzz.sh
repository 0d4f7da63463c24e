#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for the given
# number of seconds (default 60) on a copy of its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
shopt -s nullglob
targets=(build/fuzz/fuzz/*_fuzzer)
if [ ${#targets[@]} -eq 0 ]; then
  echo "no fuzz targets"
  exit 0
fi
for target in "${targets[@]}"; do
  name=$(basename "$target")
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  if [ -d "fuzz/corpus/${name%_fuzzer}" ]; then
    cp -r "fuzz/corpus/${name%_fuzzer}/." "$work/"
  fi
  echo "-- $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$work"
  rm -rf "$work"
done
