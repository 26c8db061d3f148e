# Shell functions shared by run.sh and screenshot.sh (sourced, not run): a
# settings folder of its own for a run of Ampero, and the simulated meter.

# The settings file Ampero reads when XDG_CONFIG_HOME is the given folder.
ampero_settings_file() {
  printf '%s/RQ4417/RQ4417.conf\n' "$1"
}

# Maps COM1 to DEVICE and makes COM1 the port in use, in the settings file
# FILE. Every other setting in the file stays as it is.
ampero_map_com1() {
  local file=$1 device=$2
  mkdir -p "$(dirname "$file")"
  touch "$file"
  # Quoted, so that a comma in the path does not turn the value into a list.
  local quoted=${device//\\/\\\\}
  quoted="\"${quoted//\"/\\\"}\""
  AMPERO_COM1=$quoted awk '
    function add_keys() { print "COM1=" ENVIRON["AMPERO_COM1"]; print "ComPort=1"; added = 1 }
    /^\[/ { in_port_section = ($0 == "[ComPort]") }
    in_port_section && /^(COM1|ComPort)=/ { next }
    { print }
    $0 == "[ComPort]" && !added { add_keys() }
    END {
      if (!added) {
        if (NR > 0) print ""
        print "[ComPort]"
        add_keys()
      }
    }' "$file" >"$file.new"
  mv "$file.new" "$file"
}

# Chart ranges that suit the simulated meter's steady readings (about 12.35 A
# over 230.1 V), written only into a settings file that does not exist yet, so
# changes made in the Options dialog of a demonstration last.
ampero_seed_demo_settings() {
  local file=$1
  [ -s "$file" ] && return 0
  mkdir -p "$(dirname "$file")"
  cat >"$file" <<'INI'
[FirstTrend]
TopY=13
BottomY=12
RightX=30

[SecondTrend]
TopY=232
BottomY=228
INI
}

# Starts `amperotool simulate` with the steady scenario in the background and
# waits until its terminal is there as LINK. Sets AMPERO_SIMULATOR_PID.
ampero_start_simulator() {
  local tool=$1 link=$2 log=$3
  "$tool" simulate --scenario steady --rate 2 --link "$link" >"$log" 2>&1 &
  AMPERO_SIMULATOR_PID=$!
  local tries
  for tries in $(seq 50); do
    [ -e "$link" ] && return 0
    if ! kill -0 "$AMPERO_SIMULATOR_PID" 2>/dev/null; then
      echo "The simulated meter did not start:" >&2
      cat "$log" >&2
      return 1
    fi
    sleep 0.1
  done
  echo "The simulated meter did not make $link within 5 seconds." >&2
  return 1
}

ampero_stop_simulator() {
  if [ -n "${AMPERO_SIMULATOR_PID:-}" ]; then
    kill "$AMPERO_SIMULATOR_PID" 2>/dev/null || true
    wait "$AMPERO_SIMULATOR_PID" 2>/dev/null || true
    AMPERO_SIMULATOR_PID=
  fi
}
