#!/usr/bin/env bash
# Runs every benchmark on a given library and prints `name: value` lines: each path of
# the program (start-up, both tree views, the busiest author, a poem, the favourites
# view and cleaner with 10,000 favourites, the search) beside the bare SQLite work it
# cannot avoid and the ratio; the find box's latency, recall and index; the changes beside
# their bare statements and the index's compaction; the reading room (a poem drawn with its heading,
# zoom and looks on a long poem); the same on a copy four times the size; and the
# program's peak memory. The library itself is not changed.
#   scripts/bench.sh LIBRARY
set -euo pipefail
cd "$(dirname "$0")/.."
library=$(realpath "${1:?usage: scripts/bench.sh LIBRARY}")
[ -f "$library" ] || { echo "bench: no library at $library" >&2; exit 2; }
scripts/deps.sh
cmake -S . -B build > /dev/null
cmake --build build -j"$(nproc)" --target sample_library bench_library startup_bench search_bench scale_library find_bench change_bench reading_bench metre_bench qelvane-metre tolvarin_bench > /dev/null
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Start-up, with the sample library as the baseline of what any start costs.
build/bench/startup_bench "$library" build/sample/poem.mdb 2> /dev/null
echo
build/bench/bench_library "$library" 2> /dev/null
echo
# The search: 月 in the texts of all Chinese poems, in their titles, and in the texts of
# one epoch's.
searches() {
  echo "search: 月 in the texts of all Chinese poems"
  build/bench/search_bench "$1" 月 content 2> /dev/null
  echo "search: 月 in the titles of all Chinese poems"
  build/bench/search_bench "$1" 月 title 2> /dev/null
  echo "search: 月 in the texts of 唐's poems"
  build/bench/search_bench "$1" 月 content 唐 2> /dev/null
}
echo "library: $library"
searches "$library"
echo "find box: 200 queries from the library's verses"
build/bench/find_bench "$library" 2> /dev/null
echo "changes: a poem, the largest author and epoch, beside the bare statements (on copies)"
build/bench/change_bench "$library" 2> /dev/null
echo "the reading room: a poem clicked until drawn with its heading; zoom, look, centred verse on 1,000 lines"
build/bench/reading_bench "$library" 2> /dev/null
echo "metre: one poem, the marks of 1,000 lines, the whole library beside a bare read; forms by epoch"
build/bench/metre_bench "$library" 2> /dev/null
build/bin/qelvane-metre --library "$library"
build/bench/scale_library "$library" "$work/x4.mdb" 4
echo
echo "library: $library, four times over"
searches "$work/x4.mdb"
echo "find box: 200 queries from the library's verses"
build/bench/find_bench "$work/x4.mdb" 2> /dev/null
echo "changes: a poem, the largest author and epoch, beside the bare statements (on copies)"
build/bench/change_bench "$work/x4.mdb" 2> /dev/null
echo "metre: one poem, the marks of 1,000 lines, the whole library beside a bare read"
build/bench/metre_bench "$work/x4.mdb" 2> /dev/null
build/bin/qelvane-metre --library "$work/x4.mdb" | tail -2
echo
echo "the button control's painting"
build/bench/tolvarin_bench 2> /dev/null
