#!/usr/bin/env bash
# Does the program keep up with the meter's full line rate? A simulated meter
# sends 87 frames a second (22 bytes at 19200 baud) on a pseudo-terminal that
# COM1 is mapped to; the main window, offscreen, records every frame (automatic
# interval, time mode, x range 299 s). Passes when the samples equal the frames
# sent and acquisition took on average under 25 % of one core.
#
# Usage: scripts/measure-line-rate.sh [--headless] [SECONDS] [BUILD_DIR]
#   SECONDS    how long the meter sends (default 600)
#   BUILD_DIR  a configured build folder (default build); the needed targets are built
#   --headless measure `amperotool record` instead of the main window
set -euo pipefail
cd "$(dirname "$0")/.."

headless=0
if [ "${1:-}" = "--headless" ]; then
  headless=1
  shift
fi
seconds=${1:-600}
build=${2:-build}
rate=87
limit_percent=25
frames=$((seconds * rate))

if [ "$headless" = 1 ]; then
  cmake --build "$build" --target amperotool >/dev/null
else
  cmake --build "$build" --target amperotool acquisition_line_rate >/dev/null
fi
tool="$build/tools/amperotool"
window="$build/tests/acquisition/acquisition_line_rate"

work=$(mktemp -d)
simulator=
stop_simulator() {
  if [ -n "$simulator" ]; then
    kill "$simulator" 2>/dev/null || true
    wait "$simulator" 2>/dev/null || true
    simulator=
  fi
}
trap 'stop_simulator; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

"$tool" simulate --rate "$rate" --frames "$frames" --link "$work/meter" >"$work/simulator.out" \
  2>"$work/simulator.err" &
simulator=$!
for _ in $(seq 100); do
  [ -e "$work/meter" ] && break
  sleep 0.05
done
[ -e "$work/meter" ] || { echo "the simulated meter did not start" >&2; exit 1; }

# The meter sends only while the port is open; the run lasts a little longer
# than the frames so that the last ones are taken too.
run_seconds=$((seconds + 5))
TIMEFORMAT='%U %S %R'
if [ "$headless" = 1 ]; then
  { time "$tool" record --port "$work/meter" --out "$work/run.krd" --duration "$run_seconds" \
      2>"$work/record.err" ; } 2>"$work/time"
  samples=$("$tool" info "$work/run.krd" | awk '$1 == "samples:" { print $2 }')
  read -r user system real <"$work/time"
  cpu_percent=$(awk -v u="$user" -v s="$system" -v r="$real" 'BEGIN { printf "%.1f", 100 * (u + s) / r }')
  what="amperotool record"
else
  mkdir -p "$work/config/RQ4417"
  cat >"$work/config/RQ4417/RQ4417.conf" <<CONF
[ComPort]
ComPort=1
COM1=$work/meter

[AllTrend]
AutoInterval=True

[TimeMode]
TimeMode=True

[FirstTrend]
RightX=299
CONF
  XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen \
    "$window" "$run_seconds" >"$work/window.out" 2>"$work/window.err"
  samples=$(awk '$1 == "samples" { print $2 }' "$work/window.out")
  cpu_percent=$(awk '$1 == "cpu_percent" { print $2 }' "$work/window.out")
  what="main window (offscreen)"
  details=$(awk '$1 == "overflows" || $1 == "resyncs" { printf "%s %s  ", $1, $2 }' "$work/window.out")
fi
# A meter whose frames were all taken has stopped by now (or drains for a moment).
for _ in $(seq 60); do
  kill -0 "$simulator" 2>/dev/null || break
  sleep 0.05
done
stop_simulator

echo "$what at $rate frames/s for $seconds s"
echo "frames sent:   $frames (asked of the simulated meter)"
echo "samples:       $samples"
echo "processor:     $cpu_percent % of one core"
[ -n "${details:-}" ] && echo "receive cycle: $details"
status=0
if [ "$samples" != "$frames" ]; then
  echo "FAIL: $((frames - samples)) frames were lost"
  status=1
fi
if awk -v p="$cpu_percent" -v l="$limit_percent" 'BEGIN { exit !(p >= l) }'; then
  echo "FAIL: at or above $limit_percent % of one core"
  status=1
fi
[ "$status" = 0 ] && echo "PASS"
exit "$status"
