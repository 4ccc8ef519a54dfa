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
. "$ROOT/scripts/simradio.sh"
trap 'stop_simulator; rm -rf "$WORK"' EXIT
trap 'exit 130' INT TERM

echo "demo: starting the simulated radio: vornprog simulate" >&2
if ! start_simulator "$WORK" "$VORNPROG" simulate; then
  echo "demo: the simulated radio did not start" >&2
  exit 1
fi

echo "demo: vornprog read --port $DEVICE -o $WORK/radio.mem" >&2
"$VORNPROG" read --port "$DEVICE" -o "$WORK/radio.mem"
stop_simulator

echo "demo: vornprog dump $WORK/radio.mem" >&2
"$VORNPROG" dump "$WORK/radio.mem"
