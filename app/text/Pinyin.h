#pragma once

#include <QStringList>

namespace qelvane::metre {

// A character's Mandarin readings from Unihan (kMandarin, the most common first, then the
// others of kHanyuPinyin); empty when Unihan gives it none.
struct Pinyin {
    QStringList readings;
    bool polyphone() const { return readings.size() > 1; }
};

Pinyin pinyinOf(char32_t c);

} // namespace qelvane::metre
