#!/usr/bin/env bash
# Builds a library of every poetry collection of the chinese-poetry data set (诗经 to
# 纳兰性德) on top of the sample data, with Traditional text turned into Simplified.
#   scripts/full-library.sh CHECKOUT [OUT]     (OUT defaults to build/full-library.mdb)
# CHECKOUT is a checkout of the data set in its own layout (全唐诗/, 宋词/, 诗经/, 楚辞/,
# 曹操诗集/, 五代诗词/, 元曲/, 纳兰性德/), or a folder laid out like ../shared/corpus.
# An existing OUT is not overwritten; the program's library is never touched.
# With QELVANE_BUILD_DIR set, the builder of that build is used as it is (nothing is
# installed or built).
set -euo pipefail
checkout=$(realpath -m "${1:?usage: scripts/full-library.sh CHECKOUT [OUT]}")
out=$(realpath -m "${2:-$(dirname "$0")/../build/full-library.mdb}")
cd "$(dirname "$0")/.."
build=${QELVANE_BUILD_DIR:-}
if [ -z "$build" ]; then
  build=build
  scripts/deps.sh
  cmake -S . -B "$build" > /dev/null
  cmake --build "$build" -j"$(nproc)" --target qelvane-mklib > /dev/null
fi
start=$(date +%s)
"$build"/bin/qelvane-mklib --sample data --checkout "$checkout" --t2s --out "$out"
echo "大小 $(du -h "$out" | cut -f1)，用时 $(( $(date +%s) - start )) 秒：$out"
echo "要让程序使用它，复制到程序旁边；原有的诗词库会保留为编号备份（poem.mdb.~1~ 等），不会被覆盖："
echo "  cp --backup=numbered \"$out\" \"$(realpath -m "$build/bin/data/poem.mdb")\""
