// 词: the form of the tune the poem follows most closely (the fewest characters against
// its pattern), then each character against that form and the rhymes at its rhyme places,
// each class of rhyme places in the group most of them share.

#include "MetreRules.h"

#include <QHash>

namespace qelvane::metre::rules {

namespace {

int charactersAgainst(const Metre& metre, const TuneForm& form)
{
    const int length = int(metre.chars.size());
    const int shared = std::min(length, int(form.pattern.size()));
    int count = std::abs(length - int(form.pattern.size()));
    for (int i = 0; i < shared; ++i)
        count += against(metre.chars[i], form.pattern[i]);
    return count;
}

} // namespace

void applyTune(Metre& metre, const Tune& tune, const ToneReader& reader)
{
    metre.form = QStringLiteral("词");
    metre.tune = tune.names.first();
    if (tune.forms.isEmpty())
        return;
    int best = 0, fewest = INT_MAX;
    for (int i = 0; i < tune.forms.size(); ++i) {
        const int count = charactersAgainst(metre, tune.forms[i]);
        if (count < fewest) {
            fewest = count;
            best = i;
        }
    }
    metre.tuneForm = best;
    const TuneForm& form = tune.forms[best];
    const int shared = std::min(int(metre.chars.size()), int(form.pattern.size()));

    // Each class of rhyme places rhymes in the 部 most of its places share, whatever the
    // tone each place asks for.
    const RhymeBook& book = reader.book();
    // The character's group in a 部, in the tone its place asks for when it has both.
    auto groupIn = [&](int at, int family) {
        int found = -1;
        for (unsigned short g : reader.groups(metre.verse.glyphs[at].c))
            if (book.group(g).family == family
                && (found < 0 || (at < form.pattern.size() && form.pattern[at] != u'中'
                                  && book.group(g).tone == toneOfMark(form.pattern[at]))))
                found = g;
        return found;
    };
    QList<int> classFamilies;
    for (const QList<int>& places : form.rhymeClasses) {
        QHash<int, int> placesIn;
        int family = -1;
        for (int at : places)
            if (at < shared) {
                QList<int> seen;
                for (unsigned short g : reader.groups(metre.verse.glyphs[at].c)) {
                    const int f = book.group(g).family;
                    if (seen.contains(f))
                        continue;
                    seen.append(f);
                    const int count = ++placesIn[f];
                    if (family < 0 || count > placesIn[family])
                        family = f;
                }
            }
        classFamilies.append(family);
        for (int at : places) {
            if (at >= shared)
                continue;
            metre.chars[at].foot = true;
            if (const int g = groupIn(at, family); g >= 0)
                settle(metre.chars[at], book.group(g).tone);
        }
    }
    for (int i = 0; i < shared; ++i) {
        CharMetre& c = metre.chars[i];
        c.expected = form.pattern[i];
        if (c.expected != u'中')
            settle(c, toneOfMark(c.expected));
        if (against(c, c.expected))
            setFault(metre, i, QStringLiteral("不合谱"));
    }
    // Many 词 rhyme by the 诗韵 rather than the 词林正韵 (杯 and 来, both 平水韵 灰, in 晏殊's
    // 浣溪沙): a place outside its class's 部 still rhymes when it shares a 平水韵 group with
    // a place inside it.
    const RhymeBook& shiBook = RhymeBook::get(Book::Pingshui);
    for (int k = 0; k < form.rhymeClasses.size(); ++k) {
        const int family = classFamilies[k];
        if (family < 0)
            continue;
        QList<unsigned short> shiGroups;
        for (int at : form.rhymeClasses[k])
            if (at < shared && groupIn(at, family) >= 0)
                for (unsigned short g : shiBook.readings(metre.verse.glyphs[at].c))
                    shiGroups.append(g);
        auto rhymesByShi = [&](int at) {
            for (unsigned short g : shiBook.readings(metre.verse.glyphs[at].c))
                if (shiGroups.contains(g))
                    return true;
            return false;
        };
        for (int at : form.rhymeClasses[k]) {
            if (at >= shared)
                continue;
            int group = groupIn(at, family);
            if (group < 0 && book.book() != Book::Pingshui && rhymesByShi(at) && !reader.groups(metre.verse.glyphs[at].c).empty())
                group = reader.groups(metre.verse.glyphs[at].c).front();
            if (group >= 0) {
                const QString name = book.group(group).name;
                if (!metre.rhymeGroups.contains(name))
                    metre.rhymeGroups.append(name);
                const int line = lineOf(metre, at);
                if (at == metre.lines[line].first + metre.lines[line].count - 1)
                    metre.lines[line].footGroup = name;
            } else if (metre.chars[at].mark != Mark::Unknown) {
                setFault(metre, at, QStringLiteral("出韵"));
            }
        }
    }
    orderFaults(metre);
}

} // namespace qelvane::metre::rules
