#pragma once

#include "FindText.h"

#include <QString>
#include <string>

// How a query is compared with a line of a poem: the least number of characters to
// change, drop or add for the query to appear in the line, and where.
namespace qelvane::findindex::matching {

struct Match {
    int edits = 0;
    int start = 0; // in the line's folded characters
    int end = 0;
};

// Sellers' approximate substring matching; among equal ends the earliest.
Match bestMatch(const std::u32string& query, const std::u32string& line);

// How many characters a query may be off: none for one or two, one up to five, two
// beyond; a query of Latin letters only from six letters on (a shorter word one letter
// off is another word: rose, rise, hose).
int editsAllowed(const std::u32string& query);

// A query of Latin letters and digits only: it is read as words, not as characters.
bool isLatin(const std::u32string& query);

// The match, in the line as the library holds it, begins where a word begins and ends
// where it ends or at most two letters before (an ending such as -s or -ed).
bool matchesLatinWord(const QString& original, const findtext::Folded& folded, const Match& match);

} // namespace qelvane::findindex::matching
