#pragma once

#include <QList>
#include <QStringView>

namespace qelvane::metre {

// A poem's text as the metre counts it: its Chinese characters, each with where it stands
// in the text, in phrases (句) that end at a line break or a mark such as ，。？！；：、.
struct VerseText {
    struct Glyph {
        char32_t c;
        int position; // in the text, in UTF-16 units
        int length;   // 1, or 2 for a character beyond the Basic Multilingual Plane
    };
    struct Phrase {
        int first; // index of its first glyph
        int count;
    };
    QList<Glyph> glyphs;
    QList<Phrase> phrases;
    int letters = 0; // letters of other scripts: a foreign poem has many

    static VerseText of(QStringView text);
};

// A character of the CJK Unified Ideographs (and their extensions and compatibility
// forms), or □, which stands for a character lost from the source.
bool isHanCharacter(char32_t c);

} // namespace qelvane::metre
