#!/usr/bin/env bash
# Builds the libFuzzer targets for both protocol recognisers with clang and
# runs each for a bounded time on a copy of its seed corpus. Fails on any
# crash or sanitizer report.
#   FUZZ_SECONDS  run time per target (default 60)
#   BUILD_DIR     build directory (default build-fuzz in the source tree)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVORN_FUZZ=ON -DVORN_BUILD_GUI=OFF -DVORN_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_vorni fuzz_vornii

status=0
for target in vorni vornii; do
  binary="$(find "$build" -type f -name "fuzz_$target" -perm -u+x | head -n1)"
  corpus="$build/fuzz-corpus/$target"
  artifacts="$build/fuzz-artifacts/$target"
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  cp "$root/tests/fuzz/corpus/$target/"* "$corpus/"
  echo "== fuzz_$target for ${seconds}s"
  if ! "$binary" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$corpus"; then
    echo "fuzz_$target FAILED; reproducer in $artifacts" >&2
    status=1
  fi
done
exit $status
