# Starting and stopping a simulated radio, for the scripts that read one.
# Sourced, not run:  . scripts/simradio.sh
#
#   start_simulator DIR COMMAND [ARGS...]
#     runs COMMAND (a simulated radio, which prints its device path as its
#     first line) in the background with its output in DIR/sim.out and
#     DIR/sim.err; sets SIM_PID and DEVICE. Returns 1, with what it said on
#     stderr shown, when it ends or names no device within five seconds.
#   stop_simulator
#     stops it, if it runs; safe to call twice (and from an EXIT trap).

SIM_PID=
DEVICE=

stop_simulator() {
  if [ -n "$SIM_PID" ]; then
    kill "$SIM_PID" 2>/dev/null || true
    wait "$SIM_PID" 2>/dev/null || true
    SIM_PID=
  fi
}

start_simulator() {
  sim_dir=$1
  shift
  "$@" >"$sim_dir/sim.out" 2>"$sim_dir/sim.err" &
  SIM_PID=$!
  DEVICE=
  sim_tries=0
  while [ -z "$DEVICE" ]; do
    DEVICE=$(head -n 1 "$sim_dir/sim.out" 2>/dev/null || true)
    [ -n "$DEVICE" ] && break
    if ! kill -0 "$SIM_PID" 2>/dev/null || [ "$sim_tries" -ge 50 ]; then
      cat "$sim_dir/sim.err" >&2
      stop_simulator
      return 1
    fi
    sim_tries=$((sim_tries + 1))
    sleep 0.1
  done
}
