#!/usr/bin/env bash
# Times writing, reading and `amperotool dump` of a recording of a million
# samples against their targets; exits 1 when one is over. Usage:
#   scripts/record_benchmark.sh [BUILD_DIR]
# Measure on an idle machine and a release build: the times say nothing otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --target record_benchmark amperotool
"$build_dir/tests/recordfile/record_benchmark" "$build_dir/tools/amperotool"
