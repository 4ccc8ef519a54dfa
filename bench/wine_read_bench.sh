#!/bin/sh
# vornprog.exe's read under wine against the Linux vornprog's read, on the
# same simulated radio paced at 9600 baud as a real line is: each read's
# wall time, program start included, as a user would time it. Prints the
# median of each and their ratio wine / Linux (near 1: the Windows link
# adds no waiting of its own).
#
#   bench/wine_read_bench.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR [runs]
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
LINUX_BUILD=$(cd "$1" && pwd)
WINDOWS_BUILD=$(cd "$2" && pwd)
RUNS=${3:-3}
VORNPROG="$LINUX_BUILD/cli/vornprog"
SIMULATOR="$LINUX_BUILD/sim/vorn-radio-sim"
EXE="$WINDOWS_BUILD/cli/vornprog.exe"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vorn-wine-bench.XXXXXX")
. "$ROOT/tests/wine/wine_radio.sh"
cleanup() {
  stop_radio
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

now() { date +%s.%N; }

# Seconds one read takes into $WORK/out.mem; a fresh paced radio each time.
timed_read() {  # port program...
  port=$1; shift
  start_radio --baud 9600
  rm -f "$WORK/out.mem"
  started=$(now)
  "$@" --quiet read --port "$port" --output "$WORK/out.mem" >/dev/null 2>&1 || true
  ended=$(now)
  [ -s "$WORK/out.mem" ] || { echo "wine read bench: a read failed" >&2; exit 1; }
  echo "$started $ended" | awk '{ printf "%.3f\n", $2 - $1 }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

prepare_prefix
# A Windows PC has its system running before vornprog starts: wine's
# server and services stay up between the runs instead of starting with
# each one.
wineserver -p >/dev/null 2>&1
wine "$EXE" --version >/dev/null 2>&1
: >"$WORK/linux.times"
: >"$WORK/wine.times"
i=0
while [ "$i" -lt "$RUNS" ]; do
  timed_read "$WORK/radio" "$VORNPROG" >>"$WORK/linux.times"
  timed_read COM5 wine "$EXE" >>"$WORK/wine.times"
  i=$((i + 1))
done
linux=$(median <"$WORK/linux.times")
wine=$(median <"$WORK/wine.times")
echo "Paced read of the whole memory at 9600 baud, median of $RUNS:"
echo "  Linux vornprog      $linux s  ($(tr '\n' ' ' <"$WORK/linux.times"))"
echo "  vornprog.exe, wine  $wine s  ($(tr '\n' ' ' <"$WORK/wine.times"))"
echo "$wine $linux" | awk '{ printf "  ratio wine / Linux  %.3f\n", $1 / $2 }'
