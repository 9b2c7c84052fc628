#!/usr/bin/env bash
# Builds a full-size library (all Tang poems and Song ci of the chinese-poetry corpus on
# top of the sample data) and times the library's hot paths on it.
#   bench/run.sh [CORPUS_FOLDER]     (default: ../shared/corpus/chinese-poetry)
set -euo pipefail
cd "$(dirname "$0")/.."
corpus=${1:-../shared/corpus/chinese-poetry}
cmake -S . -B build > /dev/null
cmake --build build -j"$(nproc)" --target qelvane-mklib bench_library
library=build/bench/full.mdb
if [ ! -f "$library" ]; then
  start=$(date +%s%N)
  build/bin/qelvane-mklib --sample data --corpus "唐=$corpus/tang" --corpus "宋=$corpus/songci" --t2s \
    --out "$library" | tail -n 1
  echo "library built in $(( ($(date +%s%N) - start) / 1000000 )) ms ($(du -h "$library" | cut -f1))"
fi
build/bench/bench_library "$library"
