#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Extracts every text a player reads into po/vellomar.pot and merges it into
# each language's catalogue. Run it after changing any such text.
# With --check it changes nothing and fails when the template lacks a text of
# the sources or holds one they no longer have (dates and places aside).
set -euo pipefail
check=false
case "${1:-}" in
  --check) check=true ;;
  "") ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
version=$(sed -n 's/^project(Vellomar VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort >"$work/sources"
xgettext --language=C++ --from-code=UTF-8 --keyword=tr --keyword=trLater \
  --add-comments=TRANSLATORS: --files-from="$work/sources" -o "$work/code.pot"
xgettext --language=Desktop dist/org.vellomar.Vellomar.desktop.in -o "$work/desktop.pot"
xgettext --its=/usr/share/gettext/its/metainfo.its dist/org.vellomar.Vellomar.metainfo.xml.in \
  -o "$work/metainfo.pot"
python3 scripts/extract-strings.py >"$work/data.pot"
for part in code desktop metainfo data; do
  [ -f "$work/$part.pot" ] && echo "$work/$part.pot"
done >"$work/parts"
msgcat --use-first --files-from="$work/parts" -o "$work/all.pot"
template=po/vellomar.pot
$check && template=$work/vellomar.pot
{
  echo '# The texts of Vellomar, for translation.'
  echo '# SPDX-License-Identifier: GPL-3.0-or-later'
  msgcat --sort-by-file "$work/all.pot" |
    sed -e '1,/^$/{/^#/d}' \
        -e "s/^\"Project-Id-Version: .*/\"Project-Id-Version: vellomar $version\\\\n\"/" \
        -e 's/^"POT-Creation-Date: .*/"POT-Creation-Date: 2026-12-08 00:00+0000\\n"/' \
        -e 's/^"Content-Type: text\/plain; charset=CHARSET\\n"/"Content-Type: text\/plain; charset=UTF-8\\n"/'
} >"$template"
if $check; then
  # Each way round: a text of the sources missing from the template, then one
  # the sources no longer have.
  if ! msgcmp --use-untranslated po/vellomar.pot "$template" 2>"$work/added" ||
    ! msgcmp --use-untranslated "$template" po/vellomar.pot 2>"$work/removed"; then
    ids() { msgcat --no-wrap --no-location --sort-output "$1" | grep -E '^msg(ctxt|id|id_plural) '; }
    diff <(ids po/vellomar.pot) <(ids "$template") |
      sed -n -e 's/^< /only in po\/vellomar.pot: /p' -e 's/^> /only in the sources: /p' >&2 || true
    echo "po/vellomar.pot is out of date with the sources: run scripts/update-po.sh" >&2
    exit 1
  fi
  exit 0
fi
for po in po/*.po; do
  [ -f "$po" ] || continue
  msgmerge --quiet --update --backup=none --no-fuzzy-matching "$po" po/vellomar.pot
done
