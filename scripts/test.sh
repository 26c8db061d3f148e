#!/usr/bin/env bash
# Installs what is needed, builds from scratch and runs every test: once in a
# normal build and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
export LC_ALL=C.UTF-8

rm -rf build build-sanitize
bash scripts/build.sh build
(cd build && ctest --output-on-failure --parallel 2)

bash scripts/build.sh build-sanitize -DAMPERO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure --parallel 2)
