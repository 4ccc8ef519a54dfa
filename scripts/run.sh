#!/bin/sh
# Installs what the programmer needs, builds it and starts it with a
# simulated radio, so it can be tried without a radio or a programming
# lead. Arguments are passed on to the programmer ("/a" for advanced mode).
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)

"$ROOT/scripts/install-deps.sh"

cmake -S "$ROOT" -B "$ROOT/build" -G Ninja
cmake --build "$ROOT/build" -j "${JOBS:-2}" --target kestal-programmer

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "run: the programmer is a desktop application; start it from a graphical session:" >&2
  echo "       $ROOT/build/app/kestal-programmer --simulate" >&2
  exit 2
fi

exec "$ROOT/build/app/kestal-programmer" "$@" --simulate
