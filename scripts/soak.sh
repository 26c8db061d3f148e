#!/usr/bin/env bash
# Soak under a noisy line: the main window (offscreen) records from a simulated
# meter that sends 87 frames a second (the line rate of 19200 baud) with 1 % of
# the frame bytes corrupted, garbage between frames and frames cut short. It
# passes when the program keeps acquiring without a crash or a stall, records
# every intact frame that arrives outside a resynchronisation, and its memory
# grows only by the samples (32 bytes each).
#
# Usage: scripts/soak.sh [SECONDS] [BUILD_DIR]
#   SECONDS    how long the meter sends (default 3600)
#   BUILD_DIR  a configured build folder (default build); the needed targets are built
#
# Questions the window asks (a corrupted unit byte looks like a change of
# measurement function) are answered No, as an operator keeping the recording
# going would. Progress: one line a minute; the figures at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo-meter.sh

seconds=${1:-3600}
build=${2:-build}
rate=87
corrupt=1
seed=1
report_seconds=60
# Memory that the samples do not explain, allowed after the warm-up.
leak_allowance_bytes=$((1024 * 1024))

cmake --build "$build" --target amperotool soak_harness >/dev/null
tool="$build/tools/amperotool"
harness="$build/tests/soak/soak_harness"

work=$(mktemp -d "${TMPDIR:-/tmp}/ampero-soak.XXXXXX")
simulator=
harness_pid=
cleanup() {
  [ -n "$harness_pid" ] && kill "$harness_pid" 2>/dev/null
  [ -n "$simulator" ] && kill "$simulator" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$tool" simulate --scenario noise --rate "$rate" --corrupt "$corrupt" --seed "$seed" --link "$work/meter" \
  >"$work/simulator.out" 2>"$work/simulator.err" &
simulator=$!
for _ in $(seq 100); do
  [ -e "$work/meter" ] && break
  sleep 0.05
done
[ -e "$work/meter" ] || { echo "the simulated meter did not start:" >&2; cat "$work/simulator.err" >&2; exit 1; }

ampero_map_com1 "$(ampero_settings_file "$work/config")" "$work/meter"
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)

: >"$work/harness.out"
echo "Soak: main window (offscreen), noise scenario at $rate frames/s, $corrupt % of frame bytes corrupted, $seconds s"
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$harness" run "$seconds" "$report_seconds" >"$work/harness.out" 2>"$work/harness.err" &
harness_pid=$!

# The meter stops a little after the recording time; the harness then takes
# what is still buffered and ends once the line is quiet.
(
  for _ in $(seq 600); do
    grep -q '^started' "$work/harness.out" 2>/dev/null && break
    sleep 0.1
  done
  sleep $((seconds + 2))
  kill -TERM "$simulator" 2>/dev/null || true
) &
stopper=$!

tail -n +1 -f --pid="$harness_pid" "$work/harness.out" | sed -u '/^summary$/,$d'
harness_status=0
wait "$harness_pid" || harness_status=$?
harness_pid=
kill "$stopper" 2>/dev/null || true
wait "$stopper" 2>/dev/null || true
kill -TERM "$simulator" 2>/dev/null || true
wait "$simulator" 2>/dev/null || true
simulator=

value() { awk -v k="$1" '$1 == k { print $2 }' "$2"; }
out=$work/harness.out
frames_sent=$(sed -n 's/^frames sent: //p' "$work/simulator.err")
intact_sent=$(sed -n 's/^intact frames sent: //p' "$work/simulator.err")
if [ "$harness_status" != 0 ] || ! grep -q '^summary$' "$out" || [ -z "$frames_sent" ]; then
  echo "FAIL: the harness ended with status $harness_status" >&2
  cat "$work/harness.err" "$work/simulator.err" >&2
  exit 1
fi
"$harness" replay "$frames_sent" "$corrupt" "$seed" >"$work/replay.out"
replay=$work/replay.out

samples=$(value samples "$out")
blocks=$(value blocks_read "$out")
resyncs=$(value resyncs "$out")
held=$(value held_frames "$out")
repeated=$(value repeated_memory "$out")
expected=$(value replay_samples "$replay")
expected_blocks=$(value replay_blocks_read "$replay")
in_step=$(value replay_intact_in_step "$replay")
in_step_recorded=$(value replay_intact_recorded "$replay")
sample_bytes=$(( $(value samples_since_baseline "$out") * $(value sample_record_bytes "$out") ))
array_growth=$(value sample_array_growth_bytes "$out")
heap_growth=$(value heap_growth_bytes "$out")
unexplained=$((heap_growth - array_growth))
kb() { awk -v b="$1" 'BEGIN { printf "%.0f kB", b / 1024 }'; }

echo
echo "load average:        $load_at_start at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end (2 cores)"
echo "frames sent:         $frames_sent ($intact_sent intact: whole and unchanged)"
echo "samples:             $samples"
echo "blocks read:         $blocks = $samples samples + $held held (HOLD set by corruption)" \
  "+ $repeated repeated memory locations + $resyncs out of step"
echo "resynchronisations:  $resyncs"
echo "overflows:           $(value overflows "$out")"
echo "function questions:  $(value function_change_questions "$out") answered No; other message boxes: $(value other_message_boxes "$out")"
echo "processor:           $(value cpu_seconds "$out") s in $(value wall_seconds "$out") s = $(value cpu_percent "$out") % of one core"
echo "memory:              resident $(value rss_start_kb "$out") kB at START, $(value rss_end_kb "$out") kB at the end, peak $(value peak_rss_kb "$out") kB"
echo "  from $(value baseline_seconds "$out") s to the end: $(value samples_since_baseline "$out") samples = $(kb "$sample_bytes");" \
  "resident grew $(value rss_growth_kb "$out") kB, heap in use $(kb "$heap_growth")," \
  "of which the sample array $(kb "$array_growth"); the rest: $(kb "$unexplained")"
echo
echo "Replay: the same $frames_sent steps fed through the receive cycle over a port that never lags"
echo "(each step arrives whole and is read at once; a reopen empties the buffer; questions answered No)."
echo "An intact frame arrives outside a resynchronisation when the reader is in step with the line as"
echo "it begins, so that it is read as one whole 22-byte block; the replay records every such frame."
echo "  intact frames outside a resynchronisation: $in_step of $intact_sent intact, recorded by the replay: $in_step_recorded"
echo "  the replay reads $expected_blocks blocks, records $expected samples, resynchronises $(value replay_resyncs "$replay") times"
ratio=$(awk -v s="$samples" -v e="$expected" 'BEGIN { printf "%.5f", (e > 0) ? s / e : 0 }')
echo "  the program's samples / the replay's: $samples / $expected = $ratio"
# A program that falls behind the line has more than the current frame
# buffered when it reopens the port, and those bytes go unread, as a
# resynchronisation throws away whatever is buffered. It then reads fewer
# blocks than the replay, and may record at most that many fewer samples:
# every block it did read must be accounted for.
samples_short=$((expected - samples))
blocks_short=$((expected_blocks - blocks))
if [ "$samples_short" -gt 0 ]; then
  echo "  the program read $blocks_short blocks fewer (bytes thrown away unread by reopens while it lagged)" \
    "and recorded $samples_short samples fewer"
fi

status=0
fail() { echo "FAIL: $*"; status=1; }
[ "$(value stalled_reports "$out")" = 0 ] || fail "no new sample in $(value stalled_reports "$out") report intervals"
[ "$(value reports_not_running "$out")" = 0 ] || fail "acquisition was not running at $(value reports_not_running "$out") reports"
[ "$(value overflows "$out")" = 0 ] || fail "the receive buffer overflowed: the program fell 100 frames behind"
[ "$(value other_message_boxes "$out")" = 0 ] ||
  fail "unexpected message boxes:$(sed -n 's/^message box: / /p' "$work/harness.err" | sort | uniq -c)"
[ "$blocks" = $((samples + held + repeated + resyncs)) ] || fail "some blocks read were neither recorded nor rejected"
[ "$in_step_recorded" = "$in_step" ] || fail "the replay left $((in_step - in_step_recorded)) intact in-step frames unrecorded"
[ "$samples_short" -le "$(( blocks_short > 0 ? blocks_short : 0 ))" ] ||
  fail "the program recorded $samples samples where a reader keeping up records $expected"
[ "$(value baseline_taken "$out")" = 1 ] || fail "the run ended before the memory baseline"
[ "$unexplained" -le "$leak_allowance_bytes" ] || fail "heap grew $(kb "$unexplained") beyond the sample array"
[ "$status" = 0 ] && echo "PASS"
exit "$status"
