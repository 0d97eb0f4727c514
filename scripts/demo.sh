#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the demo of the command line on a
# sample project.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build > /dev/null
out=demo/out
rm -rf "$out" && mkdir -p "$out"

echo "== make a sample project with every element type"
build/make-sample-project "$out/sample.FPJ"

echo "== KD820 info $out/sample.FPJ"
build/KD820 info "$out/sample.FPJ"

echo "== KD820 save-as --yes $out/sample.FPJ $out/copy.FPJ"
build/KD820 save-as --yes "$out/sample.FPJ" "$out/copy.FPJ"
if cmp -s "$out/sample.FPJ" "$out/copy.FPJ"; then
  echo "the copy is byte for byte the same as the original ($(stat -c %s "$out/copy.FPJ") bytes)"
else
  echo "the copy differs from the original" >&2
  exit 1
fi
