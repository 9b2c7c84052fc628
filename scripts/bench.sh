#!/usr/bin/env bash
# Runs every benchmark on a given library: the window's hot paths (and again on a copy
# four times its size), the favourites cleaner, the poem search beside the bare SQLite
# scan, and the peak memory.
#   scripts/bench.sh LIBRARY
set -euo pipefail
cd "$(dirname "$0")/.."
library=$(realpath "${1:?usage: scripts/bench.sh LIBRARY}")
scripts/deps.sh
cmake -S . -B build > /dev/null
cmake --build build -j"$(nproc)" --target bench_library search_bench > /dev/null
export QT_QPA_PLATFORM=offscreen
build/bench/bench_library "$library" 2> /dev/null
echo
echo "search of 月 in the texts of all Chinese poems:"
build/bench/search_bench "$library" 月 content 2> /dev/null
