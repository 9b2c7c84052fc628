#pragma once

#include "LibrarySide.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct sqlite3;

// The find box's index, kept in the library file beside the poems: for every pair of
// neighbouring characters (and, in titles and authors' names, every character) the
// lines that hold it. A line is a poem's title, its text, or its author's name, with
// punctuation, spacing, line breaks and letter case left out (findtext::). The index is
// built with the library and kept current by every change of the program, in the
// change's own transaction (FindIndexUpkeep.h); a library made before it has none, and
// works without it. Here: finding.
namespace qelvane::findindex {

enum class Part { Title, Text, Author };

// A poem found, by its best line.
struct Hit {
    LibrarySide side = LibrarySide::China;
    QString poemId;
    QString title;
    QString author;
    QString place; // the poem's epoch or country
    Part part = Part::Title;
    int edits = 0;     // characters off the query: 0 for an exact match
    bool famous = false;
    // The line as the library holds it (the title, the name, or the line of the text
    // the match begins on) and where the match lies in it (UTF-16 positions).
    QString line;
    int matchStart = 0;
    int matchLength = 0;
};

// The form of the index this program writes and reads (FindIndexUpkeep.h); an index of
// another form is built anew, as a library without one.
constexpr int FormatVersion = 5;

// Whether the library holds the index (in the form this program reads).
bool present(sqlite3* db);

// Loads what the first query needs (the Traditional-to-Simplified conversion), so the
// first key is as quick as the others; the find box calls it as it gets the focus.
void prepare();

// The poems with a title, text or author's name like the query, as typed or in
// Simplified characters, best first: exact matches, then one or two characters off;
// among equals a match at a verse's start, then a better-known poem (one in an
// anthology the notes name, such as 唐诗三百首), then the library's order. A query
// of Latin letters matches whole words (or a word and an ending of up to two letters:
// rose, roses), and may be letters off only from six letters on. At most `limit`
// (never more than the few hundred lines compared).
// Throws StoreError when the index cannot be read.
QList<Hit> find(sqlite3* db, const QString& query, int limit);

} // namespace qelvane::findindex
