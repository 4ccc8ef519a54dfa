# Sourced by the wine tests and the wine bench: a wine prefix of its own in
# $WORK, whose COM5 is the Linux simulated radio ($SIMULATOR).

export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The prefix's own settings go to a home of its own, not the user's.
export HOME="$WORK/home"
mkdir -p "$HOME"
SIM_PID=""

prepare_prefix() {
  timeout 300 wineboot -i >/dev/null 2>&1
  # COM5 is a serial port of the prefix's system, listed with its COM
  # ports, once the prefix starts again with it in the registry.
  wine reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$WORK/radio" /f >/dev/null 2>&1
  wineserver -w
}

# Starts a fresh simulated radio (extra options to the simulator), reached
# as COM5 through the link $WORK/radio. Its device path is its first line
# of output: read from a FIFO, so the script waits for exactly that line.
start_radio() {
  stop_radio
  rm -f "$WORK/sim.fifo"
  mkfifo "$WORK/sim.fifo"
  rm -f "$WORK/radio"
  "$SIMULATOR" --link "$WORK/radio" "$@" >"$WORK/sim.fifo" 2>"$WORK/sim.err" &
  SIM_PID=$!
  exec 3<"$WORK/sim.fifo"
  IFS= read -r RADIO_DEVICE <&3 || { echo "wine tests: the simulator did not start" >&2; cat "$WORK/sim.err" >&2; exit 1; }
}

stop_radio() {
  if [ -n "$SIM_PID" ]; then
    kill "$SIM_PID" 2>/dev/null || true
    wait "$SIM_PID" 2>/dev/null || true
    SIM_PID=""
    exec 3<&-
  fi
}

