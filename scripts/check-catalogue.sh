#!/usr/bin/env bash
# Fails when a Chinese text the programs can show has no English entry: every text marked with
# N_() or Tr() must be an id of po/en.po with a translation, po/en.po must hold no id that is no
# longer marked, and no Chinese string literal may be left unmarked (face names and other data
# that is never shown as a message are listed below).
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mapfile -t sources < <(scripts/catalogue-sources.sh)

LC_ALL=C.UTF-8 xgettext --language=C++ --from-code=UTF-8 --keyword=N_ --keyword=Tr --keyword=Text --no-location \
  --no-wrap --sort-output -o "$work/marked.pot" "${sources[@]}" 2> /dev/null
ids() { LC_ALL=C.UTF-8 msgcat --no-wrap --sort-output "$1" | sed -n 's/^msgid "\(..*\)"$/\1/p' | sort -u; }
ids "$work/marked.pot" > "$work/marked"
ids po/en.po > "$work/catalogue"
status=0
if missing=$(comm -23 "$work/marked" "$work/catalogue") && [ -n "$missing" ]; then
  echo "check-catalogue: marked texts without an entry in po/en.po (run scripts/update-catalogue.sh):"
  printf '  %s\n' "$missing"
  status=1
fi
if stale=$(comm -13 "$work/marked" "$work/catalogue") && [ -n "$stale" ]; then
  echo "check-catalogue: entries of po/en.po that no source marks any more:"
  printf '  %s\n' "$stale"
  status=1
fi
if untranslated=$(LC_ALL=C.UTF-8 msgattrib --untranslated --no-wrap po/en.po | sed -n 's/^msgid "\(..*\)"$/\1/p') &&
   [ -n "$untranslated" ]; then
  echo "check-catalogue: entries of po/en.po without an English text:"
  printf '  %s\n' "$untranslated"
  status=1
fi
if fuzzy=$(LC_ALL=C.UTF-8 msgattrib --only-fuzzy --no-wrap po/en.po | sed -n 's/^msgid "\(..*\)"$/\1/p') &&
   [ -n "$fuzzy" ]; then
  echo "check-catalogue: entries of po/en.po marked fuzzy (a guess to check, and not used):"
  printf '  %s\n' "$fuzzy"
  status=1
fi
# Chinese literals outside N_()/Tr() and outside comments, except data never shown as a message.
unmarked=$(perl -CSD -Mutf8 -ne '
  next if m{^\s*(//|\*)};
  s{//.*$}{};
  s{\b(N_|Tr|Text)\("[^"]*"\)}{}g;
  s{"(宋体)"}{}g;
  print "$ARGV:$.: $_" if /"[^"]*[^\x00-\x7F][^"]*"/;
  close ARGV if eof;' "${sources[@]}")
if [ -n "$unmarked" ]; then
  echo "check-catalogue: Chinese texts not marked for the catalogue (wrap them in N_() or Tr()):"
  printf '%s\n' "$unmarked"
  status=1
fi
[ $status -eq 0 ] && echo "check-catalogue: $(wc -l < "$work/marked") texts, every one with its English entry"
exit $status
