#!/usr/bin/env bash
# Installs what is needed, builds from scratch and runs every test: once in a
# normal build, whose Debian package is then made, installed and tried, and
# once under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer
# (only the reviewed entries of tests/lsan.supp are let through).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# The sources are laid out as .clang-format says.
find app ledctl trendctl propertybag tools tests fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror

export QT_QPA_PLATFORM=offscreen
export LC_ALL=C.UTF-8

rm -rf build build-sanitize
bash scripts/build.sh build
# Most tests wait on ptys, timers and the broker rather than on the processor:
# four at a time keep two cores busy.
(cd build && ctest --output-on-failure --parallel 4)
# The Debian package from the same tree: lintian, apt-get install, the
# installed programs tried, the package removed again.
bash scripts/package.sh build

bash scripts/build.sh build-sanitize -DAMPERO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
lsan_suppressions=$PWD/tests/lsan.supp
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   LSAN_OPTIONS="suppressions=$lsan_suppressions:print_suppressions=0" \
   ctest --output-on-failure --parallel 4)

# Every fuzz target for 15 s on its corpus (clang + libFuzzer, in build-fuzz/);
# longer runs: bash scripts/fuzz.sh SECONDS.
bash scripts/fuzz.sh 15
