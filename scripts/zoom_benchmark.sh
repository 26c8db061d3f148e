#!/usr/bin/env bash
# Times the repaint of both charts and the cursor figures for recordings of
# 1,000 to 16,000,000 samples fitted into 800 pixels. Usage:
#   scripts/zoom_benchmark.sh [BUILD_DIR] [LARGEST_SAMPLE_COUNT]
# The 16 million samples take about 1 GiB of memory.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --target zoom_benchmark
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build_dir/tests/trendview/zoom_benchmark" "${2:-16000000}"
