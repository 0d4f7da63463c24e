#!/usr/bin/env bash
# Process start to the first shown window: the tool beside a minimal Qt
# Widgets window (an empty one, and one showing a line of text), started the
# same way, on the headless platform and on an X server (Xvfb) as a desktop
# shows it. Prints the benchmark's medians and the tool's ratios to them.
# Extra arguments go to the benchmark (e.g. --benchmark_repetitions=101).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target ui_start_bench >/dev/null
bench=build/release/bench/ui/ui_start_bench

ratios() {
  awk '/manual_time_median/ {
         split($1, name, "/"); sub("BM_StartToShownWindow_", "", name[1]); median[name[1]] = $2; print
       }
       END {
         printf "Tolvaro / MinimalQt = %.2f, Tolvaro / MinimalQtWithText = %.2f\n",
                median["Tolvaro"] / median["MinimalQt"], median["Tolvaro"] / median["MinimalQtWithText"]
       }'
}

echo "== offscreen"
QT_QPA_PLATFORM=offscreen "$bench" "$@" 2>/dev/null | ratios
echo "== X server (Xvfb)"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" env QT_QPA_PLATFORM=xcb "$bench" "$@" 2>/dev/null | ratios
