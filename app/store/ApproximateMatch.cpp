#include "ApproximateMatch.h"

#include <algorithm>
#include <vector>

namespace qelvane::findindex::matching {

Match bestMatch(const std::u32string& query, const std::u32string& line)
{
    const size_t n = query.size();
    const size_t m = line.size();
    std::vector<int> previous(m + 1, 0), current(m + 1);
    std::vector<int> previousStart(m + 1), currentStart(m + 1);
    for (size_t j = 0; j <= m; ++j)
        previousStart[j] = int(j);
    for (size_t i = 1; i <= n; ++i) {
        current[0] = int(i);
        currentStart[0] = 0;
        for (size_t j = 1; j <= m; ++j) {
            int cost = previous[j - 1] + (query[i - 1] == line[j - 1] ? 0 : 1);
            int start = previousStart[j - 1];
            if (previous[j] + 1 < cost) {
                cost = previous[j] + 1;
                start = previousStart[j];
            }
            if (current[j - 1] + 1 < cost) {
                cost = current[j - 1] + 1;
                start = currentStart[j - 1];
            }
            current[j] = cost;
            currentStart[j] = start;
        }
        std::swap(previous, current);
        std::swap(previousStart, currentStart);
    }
    Match best{int(n) + 1, 0, 0};
    for (size_t j = 1; j <= m; ++j)
        if (previous[j] < best.edits)
            best = {previous[j], previousStart[j], int(j)};
    return best;
}

namespace {
int editsForLength(size_t length)
{
    return length <= 2 ? 0 : length <= 5 ? 1 : 2;
}

bool isWordLetter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('\'');
}
} // namespace

int editsAllowed(const std::u32string& query)
{
    if (isLatin(query))
        return query.size() >= 6 ? editsForLength(query.size()) : 0;
    return editsForLength(query.size());
}

bool isLatin(const std::u32string& query)
{
    return !query.empty() && std::all_of(query.begin(), query.end(), [](char32_t c) {
        return (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9');
    });
}

bool matchesLatinWord(const QString& original, const findtext::Folded& folded, const Match& match)
{
    const int from = folded.from[match.start];
    if (from > 0 && isWordLetter(original[from - 1]))
        return false;
    const int last = folded.from[match.end - 1];
    int end = last + (original[last].isHighSurrogate() ? 2 : 1);
    int rest = 0;
    while (end < original.size() && isWordLetter(original[end]) && rest <= 2) {
        ++end;
        ++rest;
    }
    return rest <= 2;
}

} // namespace qelvane::findindex::matching
