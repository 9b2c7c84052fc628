#!/usr/bin/env bash
# Builds a full-size library (all Tang poems and Song ci of the chinese-poetry corpus on
# top of the sample data) and times the library's hot paths and the poem search on it
# and on a copy four times its size.
#   bench/run.sh [CORPUS_FOLDER]     (default: ../shared/corpus/chinese-poetry)
set -euo pipefail
cd "$(dirname "$0")/.."
corpus=${1:-../shared/corpus/chinese-poetry}
cmake -S . -B build > /dev/null
cmake --build build -j"$(nproc)" --target qelvane-mklib bench_library search_bench scale_library
library=build/bench/full.mdb
if [ ! -f "$library" ]; then
  start=$(date +%s%N)
  build/bin/qelvane-mklib --sample data --corpus "唐=$corpus/tang" --corpus "宋=$corpus/songci" --t2s \
    --out "$library" | tail -n 1
  echo "library built in $(( ($(date +%s%N) - start) / 1000000 )) ms ($(du -h "$library" | cut -f1))"
fi
build/bench/bench_library "$library"

# The poem search, on the library and on one four times its size.
scaled=build/bench/full4.mdb
[ -f "$scaled" ] || build/bench/scale_library "$library" "$scaled" 4
for lib in "$library" "$scaled"; do
  echo
  echo "search of 月 in the texts of all Chinese poems, $(basename "$lib"):"
  build/bench/search_bench "$lib" 月 content
  echo "search of 月 in the titles of the Tang poems, $(basename "$lib"):"
  build/bench/search_bench "$lib" 月 title 唐
done
