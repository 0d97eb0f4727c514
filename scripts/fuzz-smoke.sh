#!/usr/bin/env bash
# Builds every libFuzzer target with clang and runs each for a few seconds on its seed corpus
# and regression inputs, so that the fuzz build cannot break unnoticed:
#   scripts/fuzz-smoke.sh [SECONDS]
# What the runs add to the corpus goes to a scratch directory; the committed corpus is left alone.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
targets=(project_load xml_library json_import bmp_reader element_clip sim_image package_reader serial_decoder usb_reply
         udp_reply)
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKD820_FUZZ=ON -DKD820_SANITIZE=ON -DKD820_TESTS=OFF -DKD820_BENCH=OFF \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=${checked_flags:--O1 -g1 -DNDEBUG}" > /dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in "${targets[@]}"; do
  mkdir -p "$scratch/$target" "fuzz/regressions/$target"
  echo "fuzz_$target: ${seconds} s"
  # The json target reads the source tree's lib/ when KD820_HOME is unset.
  build-fuzz/fuzz/"fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$scratch/$target-" -print_final_stats=0 \
    "$scratch/$target" "fuzz/corpus/$target" "fuzz/regressions/$target" 2>&1 | tail -n 2
  # A crash ends the run with a non-zero status, which set -o pipefail passes on.
done
