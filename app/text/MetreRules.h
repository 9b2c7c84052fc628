#pragma once

// What the regulated-verse and the tune rules share: reading a character's tones and
// rhyme groups, settling a polyphone, and setting down a fault at its place.

#include "Metre.h"
#include "TunePatterns.h"

#include <span>

namespace qelvane::metre::rules {

// Reads characters in one rhyme book. The 词林正韵 holds fewer characters than the 平水韵
// and groups the same tones: a character it lacks takes its tone from the 平水韵.
class ToneReader {
public:
    explicit ToneReader(Book book);

    const RhymeBook& book() const { return m_book; }
    std::span<const unsigned short> groups(char32_t c) const { return m_book.readings(c); }
    // The tones a character can have, from its readings.
    Mark mark(char32_t c) const;
    bool canBe(char32_t c, Tone tone) const;
    bool inGroup(char32_t c, int group) const;

private:
    const RhymeBook& m_book;
    const RhymeBook* m_toneFallback;
};

inline Tone toneOfMark(QChar mark) { return mark == u'平' ? Tone::Level : Tone::Oblique; }
inline bool isTone(Mark mark, Tone tone)
{
    return (mark == Mark::Level && tone == Tone::Level) || (mark == Mark::Oblique && tone == Tone::Oblique);
}

// A polyphone takes the reading its place asks for, and is shown as settled by it.
void settle(CharMetre& c, Tone tone);
// Whether a character's tone goes against a pattern mark (平, 仄; 中 never).
bool against(const CharMetre& c, QChar expected);

// Sets down a fault at a character (by its index in the verse); one fault a place, a later
// and more telling kind replacing an earlier one.
void setFault(Metre& metre, int glyph, const QString& kind);
// Sorts the faults by line and column.
void orderFaults(Metre& metre);

// The line (phrase) of each glyph.
int lineOf(const Metre& metre, int glyph);

// The forms, each in a file of its own. The regulated verse leaves the metre as it was and
// answers false when the poem does not keep the rules closely enough to be one.
bool applyRegulatedVerse(Metre& metre, const ToneReader& reader);
void applyFreeVerse(Metre& metre, const ToneReader& reader);
void applyTune(Metre& metre, const Tune& tune, const ToneReader& reader);

} // namespace qelvane::metre::rules
