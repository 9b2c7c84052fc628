#!/bin/sh
# Extracts the Mandarin readings of Unihan (Debian's unicode-data) for the program's
# pinyin: one line a character, "code<TAB>kMandarin<TAB>other readings", the code in hex,
# kMandarin's readings space-separated (the first the most common), then the readings of
# today's dictionaries, comma-separated: kTGHZ2013 (通用规范汉字字典), else kXHC1983
# (现代汉语词典), else kHanyuPinyin (汉语大字典, old readings too).
#   extract-pinyin.sh Unihan_Readings.txt.bz2 OUT
set -eu
bzcat "$1" | awk -F '\t' '
  function readings(value,    n, i, entries, out) {
    n = split(value, entries, " ")
    out = ""
    for (i = 1; i <= n; i++) {
      sub(/^[^:]*:/, "", entries[i])
      out = (out == "" ? entries[i] : out "," entries[i])
    }
    return out
  }
  $2 == "kMandarin" { mandarin[$1] = $3; seen[$1] = 1 }
  $2 == "kTGHZ2013" { tghz[$1] = readings($3); seen[$1] = 1 }
  $2 == "kXHC1983" { xhc[$1] = readings($3); seen[$1] = 1 }
  $2 == "kHanyuPinyin" { hanyu[$1] = readings($3); seen[$1] = 1 }
  END {
    for (c in seen)
      print substr(c, 3) "\t" mandarin[c] "\t" (c in tghz ? tghz[c] : c in xhc ? xhc[c] : hanyu[c])
  }' | LC_ALL=C sort > "$2.part"
mv "$2.part" "$2"
