#!/usr/bin/env bash
# Prints the source files whose texts the programs show (everything but tests, fuzz targets,
# benchmarks and the demo's sample project, whose texts are project content), for the catalogue
# scripts. Run from the tree's top.
set -euo pipefail
git ls-files '*.cpp' '*.h' 2>/dev/null | grep -v '^tests/\|^fuzz/\|^bench/\|^demo/' ||
  find editor simulator loader common platform \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null
