#!/bin/sh
# Installs the dependencies, builds everything and runs every test:
#   1. the normal build with all tests (widget tests on Qt's offscreen platform),
#      then its .deb checked (scripts/package-test.sh), then vornprog.exe
#      cross-built with mingw-w64 and run under wine against the simulated
#      radio (tests/wine/wine_tests.sh),
#   2. the same tests under AddressSanitizer and UndefinedBehaviorSanitizer,
#   3. the threaded core tests (link, simulated radio, transfers, vornprog)
#      under ThreadSanitizer,
#   4. the fuzzers (protocols, channel lists, mem-files, settings) for a
#      bounded time each.
# Set VORN_QUICK=1 to run only step 1.
set -eu
cd "$(dirname "$0")/.."
ROOT=$(pwd)
JOBS=${JOBS:-$(nproc)}

"$ROOT/scripts/install-deps.sh"

export QT_QPA_PLATFORM=offscreen

# A compiler cache, where the machine has one, spares repeated runs the
# rebuild; a fresh machine builds without.
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then
  LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
export CTEST_OUTPUT_ON_FAILURE=1

run_suite() {  # build-dir label-regex cmake-args...
  dir=$1; labels=$2; shift 2
  echo "=== $dir"
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja $LAUNCHER "$@"
  cmake --build "$ROOT/$dir" -j "$JOBS"
  if [ -n "$labels" ]; then
    ctest --test-dir "$ROOT/$dir" -j "$JOBS" -L "$labels" --timeout 300
  else
    ctest --test-dir "$ROOT/$dir" -j "$JOBS" --timeout 300
  fi
}

run_suite build "" -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "=== package"
"$ROOT/scripts/package-test.sh" build
echo "=== build-windows (mingw-w64, tested under wine)"
cmake -S "$ROOT" -B "$ROOT/build-windows" -G Ninja $LAUNCHER \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
cmake --build "$ROOT/build-windows" -j "$JOBS" --target vornprog
"$ROOT/tests/wine/wine_tests.sh" "$ROOT/build" "$ROOT/build-windows"

if [ "${VORN_QUICK:-0}" = 1 ]; then exit 0; fi

ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  run_suite build-asan "" -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=address,undefined \
    -DVORN_BUILD_BENCH=OFF

TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  run_suite build-tsan "link|sim|transfer|cli" -DCMAKE_BUILD_TYPE=Debug -DVORN_SANITIZE=thread \
    -DVORN_BUILD_GUI=OFF -DVORN_BUILD_BENCH=OFF

if [ -x "$ROOT/scripts/fuzz.sh" ]; then
  "$ROOT/scripts/fuzz.sh"
fi
echo "=== all tests passed"
