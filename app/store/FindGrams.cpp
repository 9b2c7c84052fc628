#include "FindGrams.h"

#include <algorithm>

namespace qelvane::findindex {

// 2^19 lists: a list per gram would cost a row for each of the million rare pairs.
ListId listOf(Gram gram)
{
    return ListId((gram * 0x9E3779B97F4A7C15ull) >> (64 - ListBits));
}

int markOf(Gram gram)
{
    return int((gram * 0xC2B2AE3D27D4EB4Full) >> (64 - MarkBits));
}

std::vector<Gram> gramsOf(const std::u32string& chars, bool withSingles)
{
    std::vector<Gram> grams;
    grams.reserve(chars.size() * (withSingles ? 2 : 1));
    for (size_t i = 0; i + 1 < chars.size(); ++i)
        grams.push_back(bigram(chars[i], chars[i + 1]));
    if (withSingles)
        for (char32_t c : chars)
            grams.push_back(unigram(c));
    std::sort(grams.begin(), grams.end());
    grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
    return grams;
}

void collect(Postings& postings, PoemKey poem, const std::u32string& title, const std::u32string& text,
             const std::u32string& author)
{
    std::vector<std::pair<ListId, Entry>> entries;
    const auto add = [&](int part, const std::u32string& line) {
        const LineId id = lineId(poem, part);
        entries.clear();
        for (Gram gram : gramsOf(line, part != TextPart))
            entries.emplace_back(listOf(gram), entryOf(id, gram));
        std::sort(entries.begin(), entries.end());
        for (const auto& [list, entry] : entries) {
            std::vector<Entry>& lines = postings[list];
            if (lines.empty() || lines.back() != entry)
                lines.push_back(entry);
        }
    };
    add(TitlePart, title);
    add(TextPart, text);
    add(AuthorPart, author);
}

} // namespace qelvane::findindex
