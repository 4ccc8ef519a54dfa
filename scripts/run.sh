#!/bin/sh
# Installs what the programmer needs, builds it and starts it with a
# simulated radio, so it can be tried without a radio or a programming
# lead. Arguments are passed on to the programmer ("/a" for advanced mode).
# Without a display it shows the main job on the terminal instead.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)

"$ROOT/scripts/install-deps.sh"
cmake -S "$ROOT" -B "$ROOT/build" -G Ninja

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "run: showing the main job on the terminal instead: a simulated radio read with vornprog, then its mem-file listed." >&2
  echo "run: with a display, start: $ROOT/build/app/kestal-programmer --simulate" >&2
  exec "$ROOT/scripts/demo.sh"
fi

cmake --build "$ROOT/build" -j "${JOBS:-$(nproc)}" --target kestal-programmer
exec "$ROOT/build/app/kestal-programmer" "$@" --simulate
