#!/bin/sh
# The programmer's main job shown on a terminal, for machines without a
# display: a simulated radio is read into a mem-file with vornprog, and the
# file's parameters and receive-only channels are listed.
#   BUILD_DIR  the build folder (default: build); configured when it is not yet
#   JOBS       parallel build jobs (default: 2)
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${BUILD_DIR:-$ROOT/build}

if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DVORN_BUILD_GUI=OFF -DVORN_BUILD_BENCH=OFF >&2
fi
cmake --build "$BUILD" -j "${JOBS:-2}" --target vornprog >&2
VORNPROG=$BUILD/cli/vornprog

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vornprog-demo.XXXXXX")
SIM_PID=
stop_simulator() {
  if [ -n "$SIM_PID" ]; then
    kill "$SIM_PID" 2>/dev/null || true
    wait "$SIM_PID" 2>/dev/null || true
    SIM_PID=
  fi
}
trap 'stop_simulator; rm -rf "$WORK"' EXIT
trap 'exit 130' INT TERM

echo "demo: starting the simulated radio: vornprog simulate" >&2
"$VORNPROG" simulate >"$WORK/sim.out" &
SIM_PID=$!

# Its device path is the first line it prints.
DEVICE=
tries=0
while [ -z "$DEVICE" ]; do
  DEVICE=$(head -n 1 "$WORK/sim.out" 2>/dev/null || true)
  [ -n "$DEVICE" ] && break
  if ! kill -0 "$SIM_PID" 2>/dev/null || [ "$tries" -ge 50 ]; then
    echo "demo: the simulated radio did not start" >&2
    exit 1
  fi
  tries=$((tries + 1))
  sleep 0.1
done

echo "demo: vornprog read --port $DEVICE -o $WORK/radio.mem" >&2
"$VORNPROG" read --port "$DEVICE" -o "$WORK/radio.mem"
stop_simulator

echo "demo: vornprog dump $WORK/radio.mem" >&2
"$VORNPROG" dump "$WORK/radio.mem"
