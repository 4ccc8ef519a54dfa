#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time
# on a copy of its seed corpus: both protocol recognisers, then the parsers
# of what a user hands the programs (the channel-list CSV import, the
# mem-file loader, the settings INI reader, the configuration text
# import). Fails on any crash or sanitizer report.
#   FUZZ_SECONDS        run time per protocol target (default 60)
#   FUZZ_INPUT_SECONDS  run time per user-input target (default 30)
#   BUILD_DIR           build directory (default build-fuzz in the source tree)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-fuzz}"
protocolSeconds="${FUZZ_SECONDS:-60}"
inputSeconds="${FUZZ_INPUT_SECONDS:-30}"
protocolTargets="vorni vornii"
inputTargets="channels_csv memfile settings_ini configtext"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVORN_FUZZ=ON -DVORN_BUILD_GUI=OFF -DVORN_BUILD_BENCH=OFF >/dev/null
targets=""
for target in $protocolTargets $inputTargets; do targets="$targets fuzz_$target"; done
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets

status=0
for target in $protocolTargets $inputTargets; do
  seconds=$inputSeconds
  case " $protocolTargets " in *" $target "*) seconds=$protocolSeconds ;; esac
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
