#!/usr/bin/env python3
"""Writes the characters a library's poems use most, most frequent first, one line of
text: the find box draws them once while the program is idle, so that the list of poems
found is drawn at once even on its first query.

    tools/glyphs/common-characters.py LIBRARY OUT [COUNT]

The program ships app/resources/text/common-characters.txt, made by this script from
the full library (scripts/full-library.sh on the chinese-poetry data set, whose texts are
public domain) with COUNT 5000: 98.8 % of that library's characters.
"""
import collections
import sqlite3
import sys


def han(ch):
    return '\u3400' <= ch <= '\u9fff' or '\uf900' <= ch <= '\ufaff'


def main():
    library, out = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 5000
    seen = collections.Counter()
    db = sqlite3.connect(f'file:{library}?mode=ro', uri=True)
    for table in ('ChinaPoem', 'ForeignPoem'):
        for name, author, content in db.execute(f'select Name, Author, Content from {table}'):
            for text in (name, author, content):
                seen.update(ch for ch in (text or '') if han(ch))
    with open(out, 'w', encoding='utf-8') as f:
        f.write(''.join(ch for ch, _ in seen.most_common(count)) + '\n')


if __name__ == '__main__':
    main()
