// 古体诗: no pattern of tones; the rhymes are found where they usually stand, at the ends
// of the even lines, in whatever group (level or oblique) the feet share, changing as
// the poem changes rhyme.

#include "MetreRules.h"

#include <QHash>

namespace qelvane::metre::rules {

void applyFreeVerse(Metre& metre, const ToneReader& reader)
{
    metre.form = QStringLiteral("古体诗");
    const auto& phrases = metre.verse.phrases;
    const RhymeBook& book = reader.book();
    auto footOf = [&](int line) { return phrases[line].first + phrases[line].count - 1; };

    // How many even-line feet each group could hold.
    QHash<int, int> feetIn;
    for (int line = 1; line < phrases.size(); line += 2)
        for (unsigned short g : reader.groups(metre.verse.glyphs[footOf(line)].c))
            ++feetIn[g];
    // Each line's foot rhymes in the group it shares with most even-line feet, when it
    // shares one with another at all.
    for (int line = 0; line < phrases.size(); ++line) {
        int best = -1;
        for (unsigned short g : reader.groups(metre.verse.glyphs[footOf(line)].c))
            if (feetIn.value(g) - (line % 2) >= 1 && (best < 0 || feetIn.value(g) > feetIn.value(best)))
                best = g;
        if (best < 0)
            continue;
        CharMetre& foot = metre.chars[footOf(line)];
        foot.foot = true;
        settle(foot, book.group(best).tone);
        metre.lines[line].footGroup = book.group(best).name;
        if (!metre.rhymeGroups.contains(book.group(best).name))
            metre.rhymeGroups.append(book.group(best).name);
    }
}

} // namespace qelvane::metre::rules
