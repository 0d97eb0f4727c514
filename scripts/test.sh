#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the normal tree and the tree with
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs the tests in both (the fuzz
# corpus is replayed as part of them); then builds every fuzz target with clang and runs each
# for a few seconds. The sanitizer tree leaves out the Qt front-ends (their tests run in the
# normal tree): the core, the command line, the simulator and the loaders are what reads
# outside bytes, and building the windows twice would cost the run minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
# The sanitizer and fuzz trees are for finding faults, not for a debugger: line tables are
# enough for their reports, and -O1 with them compiles much faster than -O2 with full -g.
export checked_flags="-O1 -g1 -DNDEBUG"

echo "== build (normal) (at ${SECONDS} s)"
scripts/build.sh build
echo "== tests (normal) (at ${SECONDS} s)"
ctest --test-dir build --output-on-failure -j"$jobs"

echo "== build (sanitizers) (at ${SECONDS} s)"
scripts/build.sh build-asan -DKD820_SANITIZE=ON -DKD820_BENCH=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$checked_flags"
echo "== tests (sanitizers) (at ${SECONDS} s)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== fuzz targets (clang): build and a short run of each (at ${SECONDS} s)"
scripts/fuzz-smoke.sh 5
echo "== all tests passed in ${SECONDS} s"
