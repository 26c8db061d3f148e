#!/usr/bin/env bash
# Installs what Ampero needs, builds it and starts it.
#
#   bash scripts/run.sh          Ampero with a simulated meter on COM1
#   bash scripts/run.sh DEVICE   Ampero with the meter on DEVICE (/dev/ttyUSB0) on COM1
#
# Your own settings are left alone: the program runs with a settings folder of
# its own under ~/.local/state/ampero/ (a lasting one for the simulated meter,
# a fresh copy of your settings for a DEVICE). Packages are installed through
# sudo when they are missing; run the script as yourself, not through sudo, so
# the program opens on your desktop.
#
# Without a desktop (no DISPLAY or WAYLAND_DISPLAY) the script stops, unless
# AMPERO_XVFB=1 asks for a virtual screen.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo-meter.sh

if [ "$#" -gt 1 ]; then
  echo "Usage: bash scripts/run.sh [DEVICE]" >&2
  exit 2
fi
device=${1:-}

launcher=()
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  if [ "${AMPERO_XVFB:-}" = 1 ]; then
    launcher=(xvfb-run -a -s "-screen 0 1280x800x24")
  else
    cat >&2 <<'TXT'
There is no desktop to show Ampero on: neither DISPLAY nor WAYLAND_DISPLAY is set.
Run this script in a terminal of your desktop session, as yourself (sudo drops
these variables). To start it on a virtual screen anyway, set AMPERO_XVFB=1.
TXT
    exit 1
  fi
fi
if [ -n "$device" ] && [ ! -e "$device" ]; then
  echo "There is no device $device. Plug in the meter's cable, then look with: ls /dev/ttyUSB* /dev/serial/by-id/" >&2
  exit 1
fi

if [ "$(id -u)" -eq 0 ]; then
  bash scripts/setup.sh
elif ! bash scripts/setup.sh >/dev/null 2>&1; then
  echo "Installing the packages Ampero needs (sudo asks for your password)..."
  sudo bash scripts/setup.sh
fi
bash scripts/build.sh build

state_dir=${XDG_STATE_HOME:-$HOME/.local/state}/ampero
work=$(mktemp -d "${TMPDIR:-/tmp}/ampero-run.XXXXXX")
cleanup() {
  ampero_stop_simulator
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "$device" ]; then
  config=$state_dir/demo-config
  device=$work/ampero-demo-tty
  ampero_seed_demo_settings "$(ampero_settings_file "$config")"
  ampero_start_simulator build/tools/amperotool "$device" "$work/simulate.log"
  echo "A simulated meter is on COM1 ($device). Press START to see its readings."
else
  config=$state_dir/device-config
  own=$(ampero_settings_file "${XDG_CONFIG_HOME:-$HOME/.config}")
  rm -rf "$config"
  mkdir -p "$(dirname "$(ampero_settings_file "$config")")"
  if [ -f "$own" ]; then
    cp "$own" "$(ampero_settings_file "$config")"
  fi
  if [ ! -r "$device" ] || [ ! -w "$device" ]; then
    echo "You may not open $device yet: add yourself to its group (sudo usermod -aG dialout \$USER) and log in again." >&2
  fi
  echo "COM1 is $device for this run. Press START to record."
fi
ampero_map_com1 "$(ampero_settings_file "$config")" "$device"
echo "Settings of this run: $(ampero_settings_file "$config")"

XDG_CONFIG_HOME=$config "${launcher[@]}" build/app/mainwindow/ampero
