#!/usr/bin/env bash
# Benchmark, not a test: bytes that `amperotool record` makes the disk write
# per recorded sample (write_bytes of /proc/PID/io: pages the process dirtied
# in the page cache, which the kernel then writes), for a short and a long
# recording. Appending each sample once keeps the figure the same for both;
# a full rewrite per save would grow with the recording.
#
# Usage: scripts/bench-record-io.sh [BUILD_DIR] [SAMPLES...]   (default: build 1000 1000000)
# The feed is as fast as the recorder takes frames; 1,000,000 samples take a
# few minutes on a small machine. The file lies in a temporary folder on the
# disk of $TMPDIR (default /var/tmp: /tmp may be a RAM disk that writes nothing).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
shift || true
counts=("$@")
[ "${#counts[@]}" -gt 0 ] || counts=(1000 1000000)

# The serial port's lock file goes to /run/lock, a RAM disk on a Debian system
# but on the disk in some containers, where it would add a page to every run.
# As root the run gets a RAM disk there of its own, as on the field logger.
if [ "$(stat -f -c %T /run/lock 2>/dev/null)" != tmpfs ] && [ -z "${BENCH_RECORD_IO_INNER:-}" ] &&
   [ "$(id -u)" -eq 0 ] && command -v unshare >/dev/null; then
  exec unshare --mount --propagation private -- env BENCH_RECORD_IO_INNER=1 bash -c \
    'mount -t tmpfs -o mode=1777 tmpfs /run/lock && exec "$0" "$@"' "$0" "$build_dir" "${counts[@]}"
fi
echo "serial port lock files in /run/lock: $(stat -f -c %T /run/lock 2>/dev/null || echo missing)"

cmake --build "$build_dir" --target amperotool record_bench_feed >/dev/null
tool=$build_dir/tools/amperotool
feed=$build_dir/tests/fieldlog/record_bench_feed

work=$(mktemp -d "${TMPDIR:-/var/tmp}/bench-record-io.XXXXXX")
feeder=
recorder=
cleanup() {
  [ -n "$recorder" ] && kill "$recorder" 2>/dev/null || true
  [ -n "$feeder" ] && kill "$feeder" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fstype=$(stat -f -c %T "$work")
echo "file system of $work: $fstype"
[ "$fstype" = tmpfs ] && echo "warning: tmpfs writes nothing to a disk; set TMPDIR to a folder on one" >&2

declare -a figures=()
for n in "${counts[@]}"; do
  out=$work/bench-$n.KRD
  rm -f "$out"
  coproc FEED { exec "$feed" "$work/meter" "$out" "$n"; }
  feeder=$FEED_PID
  read -r ready <&"${FEED[0]}"
  [ "$ready" = ready ] || { echo "the feeder did not start" >&2; exit 1; }
  # Messages go through a pipe (under systemd they go to the journal): only
  # the recording is measured.
  "$tool" record --port "$work/meter" --out "$out" --interval 0 2> >(cat >"$work/record-$n.log") &
  recorder=$!
  started=$(date +%s.%N)
  # The feeder ends once the file holds the samples.
  read -r summary <&"${FEED[0]}" || summary=
  wait "$feeder" || { echo "the feeder failed: $summary" >&2; cat "$work/record-$n.log" >&2; exit 1; }
  feeder=
  # Everything the run dirtied so far, before the process (and /proc/PID/io) goes.
  sleep 0.2
  io=$(cat "/proc/$recorder/io")
  kill -TERM "$recorder"
  wait "$recorder" || { echo "record failed:" >&2; cat "$work/record-$n.log" >&2; exit 1; }
  recorder=
  ended=$(date +%s.%N)
  write_bytes=$(awk '/^write_bytes:/ {print $2}' <<<"$io")
  wchar=$(awk '/^wchar:/ {print $2}' <<<"$io")
  size=$(stat -c %s "$out")
  samples=$(( size / 32 - 1 ))
  per_sample=$(awk -v b="$write_bytes" -v s="$samples" 'BEGIN { printf "%.1f", b / s }')
  written_per_sample=$(awk -v b="$wchar" -v s="$samples" 'BEGIN { printf "%.1f", b / s }')
  seconds=$(awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.1f", b - a }')
  echo "$samples samples in ${seconds} s: write_bytes $write_bytes = $per_sample bytes per sample" \
       "(wchar $written_per_sample bytes per sample; file $size bytes)"
  figures+=("$per_sample")
done

if [ "${#figures[@]}" -ge 2 ]; then
  awk -v a="${figures[0]}" -v b="${figures[${#figures[@]}-1]}" 'BEGIN {
    spread = (a > b ? a - b : b - a) / (a < b ? a : b) * 100
    printf "difference %.1f %%; ", spread
    if (spread <= 10 && a < 200 && b < 200) { print "within 10 % and below 200 bytes per sample: ok"; exit 0 }
    print "NOT within 10 % and below 200 bytes per sample"; exit 1
  }'
fi
