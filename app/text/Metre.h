#pragma once

#include "RhymeBook.h"
#include "VerseText.h"

#include <QList>
#include <QString>
#include <optional>

namespace qelvane::metre {

// What the metre makes of one character.
enum class Mark : unsigned char {
    Level,     // 平
    Oblique,   // 仄
    Undecided, // a polyphone whose place does not settle which reading it has
    Unknown,   // no rhyme book holds it, nor a variant of it
};

struct CharMetre {
    Mark mark = Mark::Unknown;
    bool byPosition = false; // a polyphone settled by its place (a rhyme, the pattern)
    bool foot = false;       // a rhyme foot
    bool fault = false;      // a fault stands at this character
    QChar expected;          // the pattern's mark here (平, 仄, 中), null without a pattern
};

struct Fault {
    int line;    // the phrase, from 1
    int column;  // the character in it, from 1
    QString kind; // 失粘, 失对, 孤平, 三平尾, 出韵, 不合律, 不合谱
};

struct LineMetre {
    int first = 0; // its first character in Metre::chars
    int count = 0;
    QString footGroup; // the rhyme group its foot rhymes in; empty when it does not rhyme
};

// The metre of one poem: its form, the pattern it follows and where it breaks it.
struct Metre {
    QString form;       // 五言绝句 … 七言排律, 古体诗, 词, 其他
    QString tune;       // a 词's tune, its own name
    int tuneForm = -1;  // which form of the tune (0 = 格一)
    QString start;      // 平起, 仄起; empty but for regulated verse
    std::optional<bool> firstLineRhymes;
    Book book = Book::Pingshui;
    QStringList rhymeGroups;  // the groups of the rhyme feet, the poem's own first
    QString neighbourGroup;   // the group of a first line rhyming in a neighbouring group (邻韵)
    QList<Fault> faults;      // by line, then column
    VerseText verse;
    QList<CharMetre> chars;   // one a glyph of verse
    QList<LineMetre> lines;   // one a phrase of verse

    bool regulated() const { return !start.isEmpty(); }
};

// Which book to read a poem in: the usual one for its kind (平水韵 for 诗, 词林正韵 for 词),
// or the one a reader chose.
struct BookChoice {
    std::optional<Book> book;
};

// The metre of a poem, from its title (which may name a 词's tune) and its text.
Metre analyse(QStringView title, QStringView text, BookChoice choice = {});

// A character's readings in a book, for a reader asking after one: "平水韵 上平十四寒（平）、
// 去声十五翰（仄）", and the variant it was found through; "……不收" when none.
QString readingsOf(char32_t c, Book book);

} // namespace qelvane::metre
