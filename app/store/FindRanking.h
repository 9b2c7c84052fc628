#pragma once

#include "FindGrams.h"
#include "FindIndex.h"

// The order of what the find box shows: fewest characters off, then a match at the
// start of a verse, then a better-known poem, then the library's own order (the key).
namespace qelvane::findindex {

struct Found {
    Hit hit;
    bool atVerseStart = false;
    PoemKey poemKey = 0;
};

inline bool better(const Found& a, const Found& b)
{
    if (a.hit.edits != b.hit.edits)
        return a.hit.edits < b.hit.edits;
    if (a.atVerseStart != b.atVerseStart)
        return a.atVerseStart;
    if (a.hit.famous != b.hit.famous)
        return a.hit.famous;
    return a.poemKey < b.poemKey;
}

} // namespace qelvane::findindex
