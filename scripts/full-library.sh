#!/usr/bin/env bash
# Builds a library of every poetry collection of the chinese-poetry data set (诗经 to
# 纳兰性德) on top of the sample data, with Traditional text turned into Simplified;
# with --poetry, also the epochs of the Werneror/Poetry data set (先秦 … 隋, 辽, 金, and
# in a whole clone 明 and 清), modern poetry left out.
#   scripts/full-library.sh CHECKOUT [OUT] [--poetry DIR]   (OUT defaults to build/full-library.mdb)
# CHECKOUT is a checkout of the data set in its own layout (全唐诗/, 宋词/, 诗经/, 楚辞/,
# 曹操诗集/, 五代诗词/, 元曲/, 纳兰性德/), or a folder laid out like ../shared/corpus.
# DIR holds the CSV files of the second data set (its data/ folder, or ../shared/corpus-extra).
# An existing OUT is not overwritten; the program's library is never touched.
# With QELVANE_BUILD_DIR set, the builder of that build is used as it is (nothing is
# installed or built).
set -euo pipefail
usage="usage: scripts/full-library.sh CHECKOUT [OUT] [--poetry DIR]"
positional=()
poetry=()
while [ $# -gt 0 ]; do
  case "$1" in
    --poetry) [ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }
              poetry=(--poetry "$(realpath -m "$2")"); shift 2 ;;
    --poetry=*) poetry=(--poetry "$(realpath -m "${1#--poetry=}")"); shift ;;
    -*) echo "full-library.sh：不认识的选项 $1" >&2; echo "$usage" >&2; exit 2 ;;
    *) positional+=("$1"); shift ;;
  esac
done
if [ ${#positional[@]} -lt 1 ] || [ ${#positional[@]} -gt 2 ]; then
  echo "$usage" >&2
  exit 2
fi
checkout=$(realpath -m "${positional[0]}")
out=$(realpath -m "${positional[1]:-$(dirname "$0")/../build/full-library.mdb}")
cd "$(dirname "$0")/.."
build=${QELVANE_BUILD_DIR:-}
if [ -z "$build" ]; then
  build=build
  scripts/deps.sh
  cmake -S . -B "$build" > /dev/null
  cmake --build "$build" -j"$(nproc)" --target qelvane-mklib > /dev/null
fi
start=$(date +%s)
"$build"/bin/qelvane-mklib --sample data --checkout "$checkout" ${poetry[@]+"${poetry[@]}"} --t2s --out "$out"
echo "大小 $(du -h "$out" | cut -f1)，用时 $(( $(date +%s) - start )) 秒：$out"
echo "要让程序使用它，复制到程序旁边；原有的诗词库会保留为编号备份（poem.mdb.~1~ 等），不会被覆盖："
echo "  cp --backup=numbered \"$out\" \"$(realpath -m "$build/bin/data/poem.mdb")\""
