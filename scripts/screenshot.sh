#!/usr/bin/env bash
# Renders the main window at its start size on a virtual X server (Xvfb),
# one PNG per page, first as it starts and then with three characters, into
# the folder given (default build/screenshots). Builds what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshots}"
preset="${TOLVARO_PRESET:-debug}"
if [ ! -f "build/$preset/build.ninja" ]; then
  cmake --preset "$preset" >/dev/null
fi
cmake --build --preset "$preset" --target tolvaro_screenshots
mkdir -p "$out"
out="$(cd "$out" && pwd)"

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
DISPLAY="$display" QT_QPA_PLATFORM=xcb "build/$preset/tests/ui/tolvaro_screenshots" "$out"
