#pragma once

#include <QtGlobal>
#include <string>
#include <unordered_map>
#include <vector>

// How the find index numbers what it holds. A line is one part of a poem (its title,
// its whole text, or its author's name) under the poem's key; a gram is one character
// or a pair of neighbours; the grams share a fixed number of lists by a hash, and an
// entry of a list is a line with a few more bits of its gram (the mark), so that a
// list read for one gram yields that gram's lines and hardly any other's.
namespace qelvane::findindex {

using PoemKey = qint64;
using LineId = qint64;
using Gram = quint64;
using ListId = qint64;
using Entry = qint64;

enum LinePart { TitlePart = 0, TextPart = 1, AuthorPart = 2 };
constexpr int PartBits = 2;
constexpr int ListBits = 19;
constexpr int MarkBits = 5;
constexpr ListId ListCount = ListId(1) << ListBits;

inline LineId lineId(PoemKey poem, int part)
{
    return (poem << PartBits) | part;
}
inline PoemKey poemKeyOf(LineId line)
{
    return line >> PartBits;
}
inline int partOf(LineId line)
{
    return int(line & ((1 << PartBits) - 1));
}

ListId listOf(Gram gram);
int markOf(Gram gram);
inline Entry entryOf(LineId line, Gram gram)
{
    return (line << MarkBits) | markOf(gram);
}
inline LineId lineOfEntry(Entry entry)
{
    return entry >> MarkBits;
}
inline int markOfEntry(Entry entry)
{
    return int(entry & ((1 << MarkBits) - 1));
}

inline Gram unigram(char32_t c)
{
    return Gram(c);
}
// A code point has 21 bits: a pair is never mistaken for a single character.
inline Gram bigram(char32_t first, char32_t second)
{
    return (Gram(first) << 21) | Gram(second) | (Gram(1) << 42);
}

// The grams of a folded line, each once: its pairs, and its characters when
// `withSingles` (titles and names, where one character is worth finding).
std::vector<Gram> gramsOf(const std::u32string& chars, bool withSingles);

// Entries by list, each list's in ascending order once built.
using Postings = std::unordered_map<ListId, std::vector<Entry>>;

// Adds the entries of a poem's three folded lines under its key.
void collect(Postings& postings, PoemKey poem, const std::u32string& title, const std::u32string& text,
             const std::u32string& author);

} // namespace qelvane::findindex
