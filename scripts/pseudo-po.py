#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the pseudo-language's catalogue from the template: every text about
40 % longer, its letters accented, in brackets, so that a text the code does
not translate, a missing glyph or a box too tight shows at a glance. printf
conversions, markup and entities stay as they are.
    pseudo-po.py TEMPLATE.pot OUTPUT.po"""
import re
import sys

# Letters from Latin-1 and Latin Extended-A only, which the game's font holds;
# b, f, m, p, q, v and x have no accented form there and stay.
ACCENTED = dict(zip('acdeghijklnorstuwyzACDEGHIJKLNORSTUWYZ',
                    'åçďéĝĥîĵķĺñöŕšťûŵýžÅÇĎÉĜĤÎĴĶĹÑÖŔŠŤÛŴÝŽ'))
# Kept whole: printf conversions, markup tags and entities.
KEPT = re.compile(r'%(?:\d+\$)?[-+ #0\']*(?:\*|\d+)?(?:\.(?:\*|\d+))?'
                  r'(?:hh|h|ll|l|L|z|j|t)?[diouxXeEfFgGaAcspn%]|<[^>]*>|&#?\w+;')


def pseudo(text):
    if not text:
        return text
    parts = []
    at = 0
    for kept in KEPT.finditer(text):
        parts.append(''.join(ACCENTED.get(c, c) for c in text[at:kept.start()]))
        parts.append(kept.group())
        at = kept.end()
    parts.append(''.join(ACCENTED.get(c, c) for c in text[at:]))
    # The brackets and the space count towards the 40 %.
    padding = '·' * max(1, round(len(text) * 0.4) - 3)
    return '[' + ''.join(parts) + ' ' + padding + ']'


def unquote(line):
    body = line[line.index('"') + 1:line.rindex('"')]
    return re.sub(r'\\(.)', lambda m: {'n': '\n', 't': '\t'}.get(m.group(1), m.group(1)), body)


def quote(text):
    return '"' + text.replace('\\', '\\\\').replace('"', '\\"').replace('\n', '\\n').replace(
        '\t', '\\t') + '"'


def entries(lines):
    """The template's entries: (comment lines, msgid)."""
    comments, msgid, field = [], None, None
    for line in lines + ['']:
        if line.startswith('msgid '):
            msgid, field = unquote(line), 'msgid'
        elif line.startswith('"') and field == 'msgid':
            msgid += unquote(line)
        elif line.startswith('msgstr'):
            field = None
        elif line.startswith('#'):
            comments.append(line)
        elif not line.strip() and msgid is not None:
            yield comments, msgid
            comments, msgid = [], None
        if line.startswith('msgid_plural'):
            sys.exit('pseudo-po: plural forms are not handled')


HEADER = '''# The pseudo-language, made from the template at build time; never shipped.
msgid ""
msgstr ""
"Project-Id-Version: vellomar\\n"
"PO-Revision-Date: 2026-12-08 00:00+0000\\n"
"Last-Translator: Vellomar build <build@vellomar.invalid>\\n"
"Language-Team: none\\n"
"Language: pseudo\\n"
"MIME-Version: 1.0\\n"
"Content-Type: text/plain; charset=UTF-8\\n"
"Content-Transfer-Encoding: 8bit\\n"
"Plural-Forms: nplurals=2; plural=(n != 1);\\n"

'''


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: pseudo-po.py TEMPLATE.pot OUTPUT.po')
    with open(sys.argv[1], encoding='utf-8') as f:
        lines = f.read().splitlines()
    out = [HEADER]
    for comments, msgid in entries(lines):
        if not msgid:
            continue
        flags = [c for c in comments if c.startswith('#,')]
        out.append('\n'.join(flags + [f'msgid {quote(msgid)}', f'msgstr {quote(pseudo(msgid))}'])
                   + '\n\n')
    with open(sys.argv[2], 'w', encoding='utf-8') as f:
        f.write(''.join(out))


if __name__ == '__main__':
    main()
