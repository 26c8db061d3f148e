#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) in build-fuzz/ and
# runs each for SECONDS (default 30).
#
# Usage: scripts/fuzz.sh [--merge] [SECONDS] [TARGET...]
#   --merge   afterwards add the new inputs that reach new code to fuzz/corpus/
#   TARGET    fuzz_decoder, fuzz_receive_cycle, fuzz_record_file, fuzz_settings
#             (default: all, one after the other)
#
# Without --merge the repository corpus is only read: new inputs go to a
# working folder in build-fuzz/fuzz-run/. Exits non-zero when any target
# reports a crash, a leak, a timeout, a sanitizer finding or a broken invariant;
# the input that did it is kept in build-fuzz/fuzz-run/TARGET/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

merge=0
if [ "${1:-}" = "--merge" ]; then
  merge=1
  shift
fi
seconds=30
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
all_targets=(fuzz_decoder fuzz_receive_cycle fuzz_record_file fuzz_settings)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=("${all_targets[@]}")
fi
for target in "${targets[@]}"; do
  if [[ ! " ${all_targets[*]} " =~ " ${target} " ]]; then
    echo "fuzz.sh: unknown target '$target' (known: ${all_targets[*]})" >&2
    exit 2
  fi
done

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DAMPERO_FUZZ=ON -DAMPERO_SANITIZE=ON -DAMPERO_BUILD_TESTS=OFF >/dev/null
# fuzz_seeds is built too, so that the program that wrote the seeds keeps building.
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}" fuzz_seeds

# The targets write their inputs to files; a memory file system keeps that fast.
scratch_parent=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  scratch_parent=/dev/shm
fi
scratch=$(mktemp -d "$scratch_parent/ampero-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

export LC_ALL=C.UTF-8
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
for target in "${targets[@]}"; do
  run="$build/fuzz-run/$target"
  rm -rf "$run"
  mkdir -p "$run/corpus" "$run/artifacts" "$scratch/$target"
  log="$run/fuzz.log"
  echo "== $target: ${seconds} s (log: $log)"
  dictionary=()
  if [ -f "fuzz/$target.dict" ]; then
    dictionary=(-dict="fuzz/$target.dict")
  fi
  asan_options=$ASAN_OPTIONS
  if [ "$target" = fuzz_settings ]; then
    # Its allocations happen inside Qt's INI parser, which has no frame
    # pointers: the fast unwinder records a different made-up stack for each
    # input and the sanitizer's stack store grows without bound.
    asan_options=$asan_options:fast_unwind_on_malloc=0
  fi
  status=0
  # New inputs go to the first folder; the repository corpus is only read.
  ASAN_OPTIONS=$asan_options TMPDIR="$scratch/$target" "$build/fuzz/$target" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -close_fd_mask=3 -artifact_prefix="$run/artifacts/" "${dictionary[@]}" \
    "$run/corpus" "fuzz/corpus/$target" 2>"$log" || status=$?
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb):' "$log" | sed 's/^/   /' || true
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 | sed 's/^/   /' || true
  if [ "$status" -ne 0 ]; then
    echo "!! $target failed (exit $status); the end of its log:"
    tail -n 60 "$log"
    ls "$run/artifacts"
    failed+=("$target")
    continue
  fi
  if [ "$merge" -eq 1 ]; then
    # Only inputs that reach code the repository corpus does not are added.
    ASAN_OPTIONS=$asan_options TMPDIR="$scratch/$target" "$build/fuzz/$target" -merge=1 -close_fd_mask=3 \
      "fuzz/corpus/$target" "$run/corpus" 2>"$run/merge.log"
    echo "   corpus: $(ls "fuzz/corpus/$target" | wc -l) files, $(du -sk --apparent-size "fuzz/corpus/$target" | cut -f1) KiB"
  fi
done

# One line a CI log reader understands: each target counts as a passed or failed run.
echo "fuzz: $((${#targets[@]} - ${#failed[@]})) passed, ${#failed[@]} failed"
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz.sh: findings in: ${failed[*]}" >&2
  exit 1
fi
