#!/usr/bin/env bash
# Refreshes po/kd820.pot from the texts marked with N_() and Tr() and merges it into every
# po/<language>.po; new ids arrive untranslated, for a translator to fill in.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t sources < <(scripts/catalogue-sources.sh)
LC_ALL=C.UTF-8 xgettext --language=C++ --from-code=UTF-8 --keyword=N_ --keyword=Tr --keyword=Text --no-location \
  --no-wrap --sort-output --package-name=KD820 -o po/kd820.pot "${sources[@]}" 2> /dev/null
for po in po/*.po; do
  LC_ALL=C.UTF-8 msgmerge --quiet --no-fuzzy-matching --update --backup=none --no-wrap --no-location --sort-output "$po" po/kd820.pot
done
rm -f po/kd820.pot
