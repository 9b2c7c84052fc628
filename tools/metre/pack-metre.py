#!/usr/bin/env python3
"""Packs the rhyme books and tune patterns into the compact tables the metre engine reads
(data/metre/*.txt, compiled into the program as resources).

    tools/metre/pack-metre.py METRE_DIR [UNIHAN_VARIANTS] [OUT_DIR]

METRE_DIR holds Pingshui_Rhyme.json, Cilin_Rhyme.json, Xinyun_Rhyme.json and cipu/ (see
data/README.md for their sources); UNIHAN_VARIANTS is Debian unicode-data's
Unihan_Variants.txt.bz2. The tables are text, one line a rhyme group, a tune or a form, so
that a change of data shows as a readable diff.
"""
import bz2
import json
import os
import re
import sys

# 上声 三讲 is missing from the 平水韵 file; these are its characters in the public-domain
# table (Wikisource 平水韵, 上声 三讲), Simplified.
SHANG_SAN_JIANG = "讲港棒蚌项耩玤傋"

# Common characters of the corpus the 平水韵 file leaves out, by their groups in the
# public-domain table (Wikisource 平水韵; 佩文诗韵), Simplified.
PINGSHUI_SUPPLEMENT = {
    "上平一东": "葱", "上平四支": "敧秪隳", "上平六鱼": "於", "上平七虞": "炉於菩蝴罏癯",
    "上平八齐": "啼溪蜺醯", "上平十灰": "腮", "上平十二文": "忻懃", "上平十三元": "樽",
    "上平十四寒": "乾搬槃", "下平一先": "乾胭燃", "下平二萧": "幺", "下平三肴": "抄",
    "下平五歌": "它", "下平六麻": "拿", "下平七阳": "昂嫦糠", "下平十蒸": "姮", "下平十一尤": "勾毬",
    "下平十二侵": "沉", "下平十三覃": "惭", "下平十四盐": "粘",
    "上声七麌": "坞睹", "上声十三阮": "坂", "上声十四旱": "嬾煖碗赶", "上声十七筱": "褭",
    "上声十九皓": "扫稿", "上声二十四迥": "逈", "上声二十八琰": "歛",
    "去声六御": "觑", "去声七遇": "妬", "去声十一队": "珮", "去声十二震": "胤", "去声十七霰": "遍炼",
    "去声二十号": "扫灶", "去声二十一个": "做", "去声二十五径": "迳另亘", "去声二十六宥": "嗅",
    "入声四质": "戌", "入声六月": "袜髪", "入声七曷": "撒", "入声十药": "着", "入声十一陌": "迹",
}

# Variant spellings the corpus uses that Unihan does not link to the form the rhyme books
# hold (康熙字典: 桮 同杯; 盃 俗杯).
EXTRA_VARIANTS = {"桮": "杯", "盃": "杯"}


def rhyme_lines(groups):
    return ["%s\t%s\t%s" % (name, tone, "".join(chars)) for name, tone, chars in groups]


def pingshui(path):
    book = json.load(open(path, encoding="utf-8"))
    prefix = {"上平声部": ("上平", "平"), "下平声部": ("下平", "平"), "上声部": ("上声", "仄"),
              "去声部": ("去声", "仄"), "入声部": ("", "入")}
    groups = []
    for part, (head, tone) in prefix.items():
        for key, chars in book[part].items():
            groups.append((head + key, tone, chars + [c for c in PINGSHUI_SUPPLEMENT.get(head + key, "") if c not in chars]))
            if part == "上声部" and key == "二肿":
                groups.append(("上声三讲", "仄", list(SHANG_SAN_JIANG)))
    assert len(groups) == 106, len(groups)
    assert set(PINGSHUI_SUPPLEMENT) <= {name for name, _, _ in groups}
    return groups


def cilin(path):
    book = json.load(open(path, encoding="utf-8"))
    tone = {"平声": "平", "仄声": "仄", "入声": "入"}
    return [(part, tone[t], chars) for part, tones in book.items() for t, chars in tones.items()]


def xinyun(path):
    book = json.load(open(path, encoding="utf-8"))
    return [(part, t, chars) for part, tones in book.items() for t, chars in tones.items()]


def cipu(folder):
    lines = []
    for tune in json.load(open(os.path.join(folder, "ci_index.json"), encoding="utf-8")):
        lines.append("T\t" + "/".join(tune["names"]))
        forms = json.load(open(os.path.join(folder, "ci_list", "cipai_%d.json" % tune["idx"]), encoding="utf-8"))
        for form in forms:
            pattern = form["ge_lyu_str"]
            assert re.fullmatch("[平仄中]+", pattern), pattern
            # A rhyme class is the positions that rhyme with each other; the data marks
            # some positions negative (an optional rhyme), which rhyme all the same.
            classes = ";".join(",".join(str(abs(p)) for p in positions)
                               for _, positions in sorted(form["yun_classify"].items(), key=lambda kv: min(abs(p) for p in kv[1])))
            lines.append("F\t%s\t%s" % (pattern, classes))
    return lines


def variants(unihan, known):
    links = {}
    order = ["kSimplifiedVariant", "kZVariant", "kTraditionalVariant", "kSemanticVariant",
             "kSpecializedSemanticVariant"]
    with bz2.open(unihan, "rt", encoding="utf-8") as f:
        for line in f:
            if not line.startswith("U+"):
                continue
            code, field, value = line.rstrip("\n").split("\t")
            if field not in order:
                continue
            c = chr(int(code[2:], 16))
            for v in value.split():
                links.setdefault(c, []).append((order.index(field), chr(int(v.split("<")[0][2:], 16))))
    table = {}
    for c, first in links.items():
        if c in known:
            continue
        found = []
        # One step, then two (劒 → 劍 → 剑), nearest kinds of variant first.
        for _, v in sorted(first):
            if v in known and v not in found:
                found.append(v)
        if not found:
            for _, v in sorted(first):
                for _, w in sorted(links.get(v, [])):
                    if w in known and w != c and w not in found:
                        found.append(w)
        if found:
            table[c] = "".join(found)
    for c, v in EXTRA_VARIANTS.items():
        table.setdefault(c, v)
    return ["%s\t%s" % (c, table[c]) for c in sorted(table)]


def write(path, header, lines):
    with open(path, "w", encoding="utf-8") as f:
        f.write("".join("# " + h + "\n" for h in header))
        f.write("\n".join(lines) + "\n")


def main():
    metre = sys.argv[1]
    unihan = sys.argv[2] if len(sys.argv) > 2 else "/usr/share/unicode/Unihan_Variants.txt.bz2"
    out = sys.argv[3] if len(sys.argv) > 3 else os.path.join(os.path.dirname(__file__), "..", "..", "data", "metre")
    books = {
        "pingshui.txt": (pingshui(os.path.join(metre, "Pingshui_Rhyme.json")),
                         ["平水韵, 106 groups: name, tone (平; 仄 = 上声/去声; 入), characters.",
                          "From chinese_word_rhyme (MIT); 上声三讲 and a few common characters it",
                          "leaves out added from the Wikisource table (tools/metre/pack-metre.py)."]),
        "cilin.txt": (cilin(os.path.join(metre, "Cilin_Rhyme.json")),
                      ["词林正韵, 19 部: name, tone (平, 仄, 入), characters. From chinese_word_rhyme (MIT)."]),
        "xinyun.txt": (xinyun(os.path.join(metre, "Xinyun_Rhyme.json")),
                       ["中华新韵, 14 韵: name, tone (平, 仄), characters. From chinese_word_rhyme (MIT)."]),
    }
    known = set()
    for name, (groups, header) in books.items():
        write(os.path.join(out, name), header, rhyme_lines(groups))
        known.update(c for _, _, chars in groups for c in chars)
    write(os.path.join(out, "cipu.txt"),
          ["钦定词谱: T, a tune's names (the first is its own); F, one form (格) of it: the pattern",
           "(平, 仄, 中 = either), then its rhyme classes (positions, 0-based, that rhyme together).",
           "From couyun (MIT)."], cipu(os.path.join(metre, "cipu")))
    write(os.path.join(out, "variants.txt"),
          ["A character no rhyme book holds, and the variant forms of it that one does.",
           "From Unihan (Unicode licence), kSimplified/Z/Traditional/Semantic/SpecializedSemanticVariant,",
           "one or two links away; 桮 and 盃 from 康熙字典."], variants(unihan, known))


if __name__ == "__main__":
    main()
