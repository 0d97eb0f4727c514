#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh DIR [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?usage: scripts/build.sh DIR [cmake options]}
shift
generator=()
if command -v ninja > /dev/null; then generator=(-G Ninja); fi
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
else
  cmake -S . -B "$dir" "$@" > /dev/null
fi
cmake --build "$dir" -j"$(nproc)"
