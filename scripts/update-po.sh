#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Extracts every text a player reads into po/vellomar.pot and merges it into
# each language's catalogue. Run it after changing any such text.
set -euo pipefail
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
{
  echo '# The texts of Vellomar, for translation.'
  echo '# SPDX-License-Identifier: GPL-3.0-or-later'
  msgcat --sort-by-file "$work/all.pot" |
    sed -e '1,/^$/{/^#/d}' \
        -e "s/^\"Project-Id-Version: .*/\"Project-Id-Version: vellomar $version\\\\n\"/" \
        -e 's/^"POT-Creation-Date: .*/"POT-Creation-Date: 2026-12-08 00:00+0000\\n"/' \
        -e 's/^"Content-Type: text\/plain; charset=CHARSET\\n"/"Content-Type: text\/plain; charset=UTF-8\\n"/'
} >po/vellomar.pot
for po in po/*.po; do
  [ -f "$po" ] || continue
  msgmerge --quiet --update --backup=none --no-fuzzy-matching "$po" po/vellomar.pot
done
