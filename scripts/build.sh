#!/usr/bin/env bash
# Configures and builds Ampero. Usage: scripts/build.sh [BUILD_DIR] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAMPERO_WERROR=ON "$@"
cmake --build "$build_dir" --parallel "$(nproc)"
