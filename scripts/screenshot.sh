#!/usr/bin/env bash
# Refreshes docs/images/main-window.png: the built program on a virtual screen
# with the simulated meter on COM1, recording for a few seconds.
#
#   bash scripts/screenshot.sh [BUILD_DIR]     (build first: bash scripts/build.sh)
#
# Needs xvfb-run, xdotool and ImageMagick's import (scripts/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo-meter.sh

build=${1:-build}
program=$build/app/mainwindow/ampero
tool=$build/tools/amperotool
output=docs/images/main-window.png
# Seconds of recording before the picture is taken.
record_seconds=${AMPERO_SCREENSHOT_SECONDS:-30}

for file in "$program" "$tool"; do
  [ -x "$file" ] || { echo "$file is missing: build first (bash scripts/build.sh $build)." >&2; exit 1; }
done
for command in xvfb-run xdotool import; do
  command -v "$command" >/dev/null || { echo "$command is missing: run sudo bash scripts/setup.sh." >&2; exit 1; }
done

if [ -z "${AMPERO_ON_VIRTUAL_SCREEN:-}" ]; then
  exec env AMPERO_ON_VIRTUAL_SCREEN=1 xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$build"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ampero-shot.XXXXXX")
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  ampero_stop_simulator
  rm -rf "$work"
}
trap cleanup EXIT

settings=$(ampero_settings_file "$work/config")
ampero_seed_demo_settings "$settings"
ampero_start_simulator "$tool" "$work/meter" "$work/simulate.log"
ampero_map_com1 "$settings" "$work/meter"

mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime LC_ALL=C.UTF-8 "$program" >"$work/ampero.log" 2>&1 &
program_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Ampero Clamp' | head -n 1) || true
if [ -z "$window" ]; then
  echo "The main window did not appear:" >&2
  cat "$work/ampero.log" >&2
  exit 1
fi
sleep 1

# START sits at (90, 413) of the window's 1000 x 680 design client area, below
# a menu bar of about 28 pixels; the layout scales with the window.
eval "$(xdotool getwindowgeometry --shell "$window")"
menu_bar=28
start_x=$((WIDTH * 90 / 1000))
start_y=$((menu_bar + (HEIGHT - menu_bar) * 413 / 680))
xdotool mousemove --window "$window" "$start_x" "$start_y" click 1
# Park the pointer outside the window so that no hover highlight shows.
xdotool mousemove 1279 799

sleep "$record_seconds"
mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
echo "Wrote $output (${WIDTH}x${HEIGHT})."
