#pragma once

#include "ChineseConversion.h"

#include <QHash>
#include <QString>

namespace qelvane {

// Traditional Chinese text turned into Simplified by OpenCC's t2s conversion (the
// library builder's --t2s, and the find box for what a reader types).
class Simplified {
public:
    // Loads the conversion; throws StoreError when OpenCC cannot.
    Simplified();
    ~Simplified();
    Simplified(const Simplified&) = delete;
    Simplified& operator=(const Simplified&) = delete;

    // Throws StoreError when the conversion fails.
    QString operator()(const QString& text) const;

    // Only the characters that have no place in Simplified text, for text that is
    // Simplified but for a few left over: those GB 2312, the Simplified standard set,
    // does not hold and that the conversion turns into one it does (陽 becomes 阳; 乾, 么
    // and 覆, which the conversion would change too, stay, as does a rare character
    // such as 殢, which is not simplified by analogy).
    QString leftovers(const QString& text) const;
    // Whether a character is one of those.
    bool isTraditionalOnly(char32_t c) const;

private:
    ChineseConversion m_t2s;
    mutable QHash<char32_t, QString> m_leftovers; // the character's Simplified form, or empty
};

} // namespace qelvane
