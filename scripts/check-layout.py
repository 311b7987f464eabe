#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks the source tree's layout: every folder of src/ is one library,
listed bottom-up in src/CMakeLists.txt, and a folder includes only its own
headers and those of the folders listed before it. Also keeps files short.
Prints each breach and exits with 1 if there is any, and reports how much of
the code (lines that are neither blank nor comments) is tests."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = os.path.join(ROOT, 'src')
MAX_LINES = 500
SHORTER = {'src/app/Application.cpp': 300}
TOP = 'main'  # the program: may use every library


def library_order():
    text = open(os.path.join(SRC, 'CMakeLists.txt')).read()
    match = re.search(r'foreach\(folder ([^)]*)\)', text)
    return match.group(1).split() + [TOP]


def source_files(top):
    for folder, _, files in os.walk(top):
        for name in sorted(files):
            if name.endswith(('.h', '.cpp')):
                yield os.path.join(folder, name)


def include_breaches(order):
    rank = {name: i for i, name in enumerate(order)}
    for folder in sorted(os.listdir(SRC)):
        if not os.path.isdir(os.path.join(SRC, folder)):
            continue
        if folder not in rank:
            yield f'src/{folder}/ is not a library in src/CMakeLists.txt'
            continue
        for path in source_files(os.path.join(SRC, folder)):
            for number, line in enumerate(open(path, errors='replace'), 1):
                match = re.match(r'\s*#\s*include\s+"(\w+)/', line)
                if match and match.group(1) in rank and rank[match.group(1)] > rank[folder]:
                    where = os.path.relpath(path, ROOT)
                    yield f'{where}:{number}: {folder}/ includes {match.group(1)}/, which is above it'


def length_breaches():
    for top in ('src', 'tools', 'bench', 'fuzz', 'tests'):
        for path in source_files(os.path.join(ROOT, top)):
            where = os.path.relpath(path, ROOT)
            lines = sum(1 for _ in open(path, errors='replace'))
            limit = SHORTER.get(where, MAX_LINES)
            if lines > limit:
                yield f'{where}: {lines} lines, more than {limit}'


def code_lines(path):
    count = 0
    in_comment = False
    for line in open(path, errors='replace'):
        text = line.strip()
        if in_comment:
            if '*/' not in text:
                continue
            in_comment = False
            text = text.split('*/', 1)[1].strip()
        if text.startswith('/*'):
            in_comment = '*/' not in text
            text = '' if in_comment else text.split('*/', 1)[1].strip()
        if text and not text.startswith('//'):
            count += 1
    return count


def report_test_share():
    lines = {top: sum(code_lines(path) for path in source_files(os.path.join(ROOT, top)))
             for top in ('src', 'tools', 'bench', 'fuzz', 'tests')}
    total = sum(lines.values())
    print(f'code lines: {lines}; tests are {100 * lines["tests"] / total:.1f} % of {total}')


def main():
    report_test_share()
    breaches = list(include_breaches(library_order())) + list(length_breaches())
    for breach in breaches:
        print(breach)
    return 1 if breaches else 0


if __name__ == '__main__':
    sys.exit(main())
