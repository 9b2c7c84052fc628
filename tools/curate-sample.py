#!/usr/bin/env python3
"""Makes the Tang and Song parts of the sample data from the chinese-poetry data set.

Run once by a developer; its output is committed under data/chinese/. The Tang texts
are turned into Simplified characters with OpenCC's command-line tool (t2s).

    tools/curate-sample.py PATH/TO/chinese-poetry data/chinese
"""
import json
import subprocess
import sys
from pathlib import Path


def simplified(texts):
    """Converts a list of texts in one OpenCC run (one text a line, no line breaks inside)."""
    joined = "\n".join(t.replace("\n", " ") for t in texts)
    out = subprocess.run(["opencc", "-c", "t2s.json"], input=joined, capture_output=True,
                         text=True, check=True).stdout
    result = out.split("\n")
    return result[:len(texts)]


def write(path, data):
    path.write_text(json.dumps(data, ensure_ascii=False, indent=1) + "\n", encoding="utf-8")


def tang(corpus, out):
    poems = json.loads((corpus / "tang/tang300.json").read_text(encoding="utf-8"))
    authors = json.loads((corpus / "tang/authors.tang.json").read_text(encoding="utf-8"))
    texts = []
    for p in poems:
        texts += [p["author"], p["title"]] + p["paragraphs"]
    conv = iter(simplified(texts))
    curated = []
    for p in poems:
        author, title = next(conv), next(conv)
        lines = [next(conv) for _ in p["paragraphs"]]
        tags = [t for t in p.get("tags", []) if t != "唐诗三百首"]
        note = ["出自《唐诗三百首》。"] + (["标签：" + "、".join(tags) + "。"] if tags else [])
        curated.append({"author": author, "title": title, "paragraphs": lines, "notes": note})
    write(out / "tang300.json", curated)

    names = {p["author"] for p in curated}
    conv_names = simplified([a["name"] for a in authors])
    wanted = [(n, a) for n, a in zip(conv_names, authors) if n in names and a.get("desc")]
    seen, kept = set(), []
    for n, a in wanted:
        if n not in seen:
            seen.add(n)
            kept.append((n, a["desc"]))
    bios = simplified([d for _, d in kept])
    write(out / "tang300-authors.json", [{"name": n, "desc": b} for (n, _), b in zip(kept, bios)])


def song(corpus, out):
    poems = json.loads((corpus / "songci/songci300.json").read_text(encoding="utf-8"))
    authors = json.loads((corpus / "songci/author.song.json").read_text(encoding="utf-8"))
    curated = [{"author": p["author"], "rhythmic": p["rhythmic"], "paragraphs": p["paragraphs"]} for p in poems]
    write(out / "songci300.json", curated)
    names = {p["author"] for p in curated}
    kept = [{"name": a["name"], "description": a.get("description", "")} for a in authors
            if a["name"] in names and a.get("description")]
    write(out / "songci300-authors.json", kept)


if __name__ == "__main__":
    corpus, out = Path(sys.argv[1]), Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    tang(corpus, out)
    song(corpus, out)
