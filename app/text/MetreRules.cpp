#include "MetreRules.h"

#include <algorithm>

namespace qelvane::metre::rules {

ToneReader::ToneReader(Book book)
    : m_book(RhymeBook::get(book)), m_toneFallback(book == Book::Cilin ? &RhymeBook::get(Book::Pingshui) : nullptr)
{
}

Mark ToneReader::mark(char32_t c) const
{
    auto readings = m_book.readings(c);
    const RhymeBook* book = &m_book;
    if (readings.empty() && m_toneFallback) {
        book = m_toneFallback;
        readings = book->readings(c);
    }
    bool level = false, oblique = false;
    for (unsigned short g : readings)
        (book->group(g).tone == Tone::Level ? level : oblique) = true;
    if (level && oblique)
        return Mark::Undecided;
    return level ? Mark::Level : oblique ? Mark::Oblique : Mark::Unknown;
}

bool ToneReader::canBe(char32_t c, Tone tone) const
{
    const Mark m = mark(c);
    return m == Mark::Undecided || isTone(m, tone);
}

bool ToneReader::inGroup(char32_t c, int group) const
{
    const auto readings = m_book.readings(c);
    return std::find(readings.begin(), readings.end(), group) != readings.end();
}

void settle(CharMetre& c, Tone tone)
{
    if (c.mark != Mark::Undecided)
        return;
    c.mark = tone == Tone::Level ? Mark::Level : Mark::Oblique;
    c.byPosition = true;
}

bool against(const CharMetre& c, QChar expected)
{
    if (expected != u'平' && expected != u'仄')
        return false;
    return (c.mark == Mark::Level || c.mark == Mark::Oblique) && !isTone(c.mark, toneOfMark(expected));
}

int lineOf(const Metre& metre, int glyph)
{
    const auto& phrases = metre.verse.phrases;
    auto after = std::upper_bound(phrases.begin(), phrases.end(), glyph,
                                  [](int g, const VerseText::Phrase& p) { return g < p.first; });
    return int(after - phrases.begin()) - 1;
}

void setFault(Metre& metre, int glyph, const QString& kind)
{
    const int line = lineOf(metre, glyph);
    const int column = glyph - metre.verse.phrases[line].first;
    metre.chars[glyph].fault = true;
    for (Fault& fault : metre.faults)
        if (fault.line == line + 1 && fault.column == column + 1) {
            fault.kind = kind;
            return;
        }
    metre.faults.append({line + 1, column + 1, kind});
}

void orderFaults(Metre& metre)
{
    std::sort(metre.faults.begin(), metre.faults.end(), [](const Fault& a, const Fault& b) {
        return std::pair(a.line, a.column) < std::pair(b.line, b.column);
    });
}

} // namespace qelvane::metre::rules
