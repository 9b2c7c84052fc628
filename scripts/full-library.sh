#!/usr/bin/env bash
# Builds a library of every poetry collection of the chinese-poetry data set (诗经 to
# 纳兰性德) on top of the sample data, with Traditional text turned into Simplified.
#   scripts/full-library.sh CHECKOUT [OUT]     (OUT defaults to build/full-library.mdb)
# CHECKOUT is a checkout of the data set in its own layout (全唐诗/, 宋词/, 诗经/, 楚辞/,
# 曹操诗集/, 五代诗词/, 元曲/, 纳兰性德/), or a folder laid out like ../shared/corpus.
# An existing OUT is not overwritten; the program's library is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
checkout=${1:?usage: scripts/full-library.sh CHECKOUT [OUT]}
out=${2:-build/full-library.mdb}
scripts/deps.sh
cmake -S . -B build > /dev/null
cmake --build build -j"$(nproc)" --target qelvane-mklib sample_library > /dev/null
start=$(date +%s)
build/bin/qelvane-mklib --sample data --checkout "$checkout" --t2s --out "$out"
echo "大小 $(du -h "$out" | cut -f1)，用时 $(( $(date +%s) - start )) 秒：$out"
echo "使用前请先备份程序的诗词库，再复制过去："
echo "  cp build/bin/data/poem.mdb build/bin/data/poem.mdb.bak && cp \"$out\" build/bin/data/poem.mdb"
