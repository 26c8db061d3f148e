#!/usr/bin/env bash
# The program's command line, on the real program: --version and --help answer
# without any display; `ampero FILE` on a virtual X screen opens FILE the way
# File > Open does, which shows in the window title (the program prints
# nothing): "Ampero Clamp   " and the full path once the file has been read,
# a message box titled "Ampero" and the title without a file when it cannot.
# Usage: command_line_test.sh PROGRAM RECORDING VERSION
set -euo pipefail
program=$1 recording=$2 version=$3

if [ -z "${AMPERO_ON_VIRTUAL_SCREEN:-}" ]; then
  exec env AMPERO_ON_VIRTUAL_SCREEN=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# --help and --version need no display at all.
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }
out=$(headless --version 2>"$work/err") || fail "--version ended with $?: $(cat "$work/err")"
[ "$out" = "ampero $version" ] || fail "--version printed '$out'"
out=$(headless --help 2>"$work/err") || fail "--help ended with $?: $(cat "$work/err")"
grep -q '^Usage: .*ampero \[options\] \[FILE\]$' <<<"$out" || fail "--help printed: $out"
set +e
headless a.KRD b.KRD >"$work/out" 2>"$work/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "two files ended with $status"
grep -q 'one recording at a time' "$work/err" || fail "two files said: $(cat "$work/err")"

# The window, with settings and recovery file of its own.
mkdir -p "$work/config" "$work/data" "$work/runtime" "$work/files/sub folder"
chmod 700 "$work/runtime"
# start FOLDER ARGUMENTS...: the program started in FOLDER.
start() {
  local folder=$1
  shift
  (cd "$folder" && XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime \
    QT_QPA_PLATFORM=xcb exec "$program" "$@") >"$work/run.log" 2>&1 &
  pid=$!
}
# SIGKILL: how the window ends on SIGTERM is not what is tried here.
stop() { kill -KILL "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; pid=; }
regex() { sed 's/[][\.*^$+?(){}|]/\\&/g' <<<"$1"; }
# Waits up to a minute for a visible window whose title matches the pattern.
appears() { timeout 60 xdotool search --sync --onlyvisible --name "$1" >/dev/null 2>&1; }

cp "$recording" "$work/files/sub folder/my recording.KRD"
start "$work" "$work/files/sub folder/my recording.KRD"
appears "^$(regex "Ampero Clamp   $work/files/sub folder/my recording.KRD")\$" \
  || { cat "$work/run.log" >&2; fail "the window does not show the recording named by its full path"; }
stop

# A name relative to the current folder shows as the full path, as the dialog gives it.
start "$work/files/sub folder" "my recording.KRD"
appears "^$(regex "Ampero Clamp   $work/files/sub folder/my recording.KRD")\$" \
  || { cat "$work/run.log" >&2; fail "a relative file name is not opened from the current folder"; }
stop

# A file that cannot be read: Open's message, and the window without a file.
start "$work" "$work/files/missing.KRD"
appears '^Ampero$' || { cat "$work/run.log" >&2; fail "no message box for a missing file"; }
appears '^Ampero Clamp    $' || fail "the window title changed for a file that was not read"
stop

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "command line of $program: --version, --help, FILE opened, missing FILE reported"
