#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one for the given number of seconds:
#   scripts/fuzz.sh TARGET [SECONDS]
# New findings are written to fuzz/artifacts/; copy the ones worth keeping into
# fuzz/regressions/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKD820_FUZZ=ON -DKD820_SANITIZE=ON -DKD820_TESTS=OFF -DKD820_BENCH=OFF > /dev/null
cmake --build build-fuzz --target "fuzz_${target}" -j"$(nproc)"
mkdir -p "fuzz/artifacts/${target}" "build-fuzz/corpus/${target}" "fuzz/regressions/${target}"
build-fuzz/fuzz/"fuzz_${target}" -max_total_time="${seconds}" -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="fuzz/artifacts/${target}/" \
  "build-fuzz/corpus/${target}" "fuzz/corpus/${target}" "fuzz/regressions/${target}"
