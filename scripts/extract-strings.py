#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a catalogue template of the texts in the game's data files: the help
pages' texts, the button labels of the art manifest and the words drawn in the
SVG pictures. The C++ sources, the desktop entry and the AppStream file are
xgettext's business (scripts/update-po.sh)."""
import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
SVG = '{http://www.w3.org/2000/svg}'
# The button pictures' stand-in for the label the manifest gives each button.
PLACEHOLDER = 'LABEL'


def help_texts():
    path = ROOT / 'assets/art/text/mui/help.xml'
    for number, line in enumerate(path.read_text(encoding='utf-8').splitlines(), 1):
        for text in re.findall(r'<text>(.*?)</text>', line):
            yield text, path, number, 'A help page; the game wraps it to its box.'


def button_labels():
    path = ROOT / 'assets/art/art.txt'
    for number, line in enumerate(path.read_text(encoding='utf-8').splitlines(), 1):
        for label in re.findall(r'"sub=LABEL\|([^"]*)"', line):
            yield label, path, number, 'A button label drawn into its picture; keep it short.'


def svg_words():
    for path in sorted((ROOT / 'assets/art/svg').rglob('*.svg')):
        source = path.read_text(encoding='utf-8')
        if '<text' not in source:
            continue
        lines = source.splitlines()
        for element in ET.fromstring(source).iter():
            if element.tag not in (SVG + 'text', SVG + 'tspan', 'text', 'tspan'):
                continue
            text = (element.text or '').strip()
            if not re.search('[A-Za-z]', text) or text == PLACEHOLDER:
                continue
            number = next((i for i, line in enumerate(lines, 1) if '>' + text + '<' in line), 1)
            yield text, path, number, 'Words drawn in a picture; keep the length.'


def quoted(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"') + '"'


def main():
    entries = {}
    for source in (help_texts(), button_labels(), svg_words()):
        for text, path, number, note in source:
            entry = entries.setdefault(text, {'refs': [], 'note': note})
            entry['refs'].append(f'{path.relative_to(ROOT)}:{number}')
    out = sys.stdout
    out.write('msgid ""\nmsgstr ""\n"Content-Type: text/plain; charset=UTF-8\\n"\n\n')
    for text, entry in entries.items():
        out.write(f"#. {entry['note']}\n")
        for ref in entry['refs']:
            out.write(f'#: {ref}\n')
        if '%' in text:
            out.write('#, no-c-format\n')
        out.write(f'msgid {quoted(text)}\nmsgstr ""\n\n')


if __name__ == '__main__':
    main()
