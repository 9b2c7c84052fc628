// 近体诗: 绝句, 律诗 and 排律 of five or seven characters a line, rhyming in one level
// group at the even lines, each line's tones following from the first line's second
// character by 对 (a couplet's lines opposite) and 粘 (a couplet's first line like the line
// before it). The line patterns, with 中 where either tone will do, are those of the
// metre-template look-up (王力《诗词格律》); the neighbouring groups (邻韵) follow 王力
// 《汉语诗律学》.

#include "MetreRules.h"

#include <QHash>
#include <QSet>

namespace qelvane::metre::rules {

namespace {

// The line pattern by the tone of its second character and of its last.
QString linePattern(int length, Tone second, Tone ending)
{
    static const char16_t* five[2][2] = {{u"平平仄仄平", u"中平平仄仄"}, {u"中仄仄平平", u"中仄平平仄"}};
    static const char16_t* seven[2][2] = {{u"中平中仄仄平平", u"中平中仄平平仄"}, {u"中仄平平仄仄平", u"中仄中平平仄仄"}};
    return QString::fromUtf16((length == 5 ? five : seven)[int(second)][int(ending)]);
}

const QList<QStringList>& neighbourFamilies()
{
    static const QList<QStringList> families = {
        {"上平一东", "上平二冬"}, {"上平三江", "下平七阳"}, {"上平四支", "上平五微", "上平八齐"},
        {"上平六鱼", "上平七虞"}, {"上平九佳", "上平十灰"}, {"上平九佳", "下平六麻"},
        {"上平十一真", "上平十二文", "上平十三元"}, {"上平十三元", "上平十四寒", "上平十五删", "下平一先"},
        {"下平二萧", "下平三肴", "下平四豪"}, {"下平八庚", "下平九青", "下平十蒸"},
        {"下平十三覃", "下平十四盐", "下平十五咸"},
    };
    return families;
}

bool neighbours(const RhymeBook& book, int a, int b)
{
    for (const QStringList& family : neighbourFamilies())
        if (family.contains(book.group(a).name) && family.contains(book.group(b).name))
            return true;
    return false;
}

Tone opposite(Tone t) { return t == Tone::Level ? Tone::Oblique : Tone::Level; }

// The second character's tone the rules ask of line i, when the first line's is `start`:
// opposite at every couplet's second line (对), the same at the next couplet's first (粘).
Tone expectedSecond(Tone start, int line) { return (line + 1) / 2 % 2 ? opposite(start) : start; }

} // namespace

bool applyRegulatedVerse(Metre& metre, const ToneReader& reader)
{
    const auto& phrases = metre.verse.phrases;
    const int lineCount = int(phrases.size());
    const int length = lineCount ? phrases[0].count : 0;
    if ((length != 5 && length != 7) || lineCount < 4 || lineCount % 2 || lineCount == 6)
        return false;
    for (const auto& phrase : phrases)
        if (phrase.count != length)
            return false;

    Metre work = metre;
    auto glyph = [&](int line, int column) { return phrases[line].first + column; };
    auto charAt = [&](int line, int column) -> CharMetre& { return work.chars[glyph(line, column)]; };
    auto codeAt = [&](int line, int column) { return work.verse.glyphs[glyph(line, column)].c; };
    const RhymeBook& book = reader.book();

    // The poem's group: the level group most of the even lines' feet share.
    QHash<int, int> feetIn;
    int group = -1;
    for (int line = 1; line < lineCount; line += 2)
        for (unsigned short g : reader.groups(codeAt(line, length - 1)))
            if (book.group(g).tone == Tone::Level) {
                const int count = ++feetIn[g];
                if (group < 0 || count > feetIn[group])
                    group = g;
            }
    if (group < 0)
        return false; // oblique rhymes: 古体
    const int feet = lineCount / 2;
    int astray = 0;
    for (int line = 1; line < lineCount; line += 2)
        astray += !reader.inGroup(codeAt(line, length - 1), group);
    if (astray * 4 > feet)
        return false; // the rhyme changes: 古体

    // The first line rhymes when its foot can be level: in the group, in a neighbouring one
    // (邻韵, named), or astray (出韵).
    const char32_t firstFoot = codeAt(0, length - 1);
    int firstGroup = -1;
    bool firstRhymes = false;
    if (reader.inGroup(firstFoot, group)) {
        firstGroup = group;
        firstRhymes = true;
    } else {
        for (unsigned short g : reader.groups(firstFoot))
            if (book.group(g).tone == Tone::Level && neighbours(book, g, group))
                firstGroup = g;
        firstRhymes = firstGroup >= 0 || reader.mark(firstFoot) == Mark::Level;
    }

    // 平起 or 仄起, from the first line whose second character is not in doubt.
    std::optional<Tone> start;
    for (int line = 0; line < lineCount && !start; ++line) {
        const Mark m = charAt(line, 1).mark;
        if (m == Mark::Level || m == Mark::Oblique) {
            const Tone t = m == Mark::Level ? Tone::Level : Tone::Oblique;
            start = expectedSecond(Tone::Level, line) == Tone::Level ? t : opposite(t);
        }
    }
    if (!start)
        return false;

    // Each line's pattern, from its own second character (a line out of 粘 or 对 is told
    // once, there, not at every place after it) and whether it rhymes; polyphones settled.
    QStringList patterns;
    QList<bool> secondKnown;
    for (int line = 0; line < lineCount; ++line) {
        const bool rhymes = line % 2 || (line == 0 && firstRhymes);
        CharMetre& second = charAt(line, 1);
        secondKnown.append(second.mark == Mark::Level || second.mark == Mark::Oblique);
        settle(second, expectedSecond(*start, line));
        const Tone secondTone = second.mark == Mark::Level ? Tone::Level
                              : second.mark == Mark::Oblique ? Tone::Oblique
                                                             : expectedSecond(*start, line); // unknown
        patterns.append(linePattern(length, secondTone, rhymes ? Tone::Level : Tone::Oblique));
        CharMetre& foot = charAt(line, length - 1);
        if (rhymes) {
            foot.foot = true;
            const int footGroup = line == 0 ? firstGroup : (reader.inGroup(codeAt(line, length - 1), group) ? group : -1);
            if (footGroup >= 0) {
                settle(foot, Tone::Level);
                work.lines[line].footGroup = book.group(footGroup).name;
            }
        }
        for (int column = 0; column < length; ++column) {
            CharMetre& c = charAt(line, column);
            c.expected = patterns[line][column];
            if (c.expected != u'中')
                settle(c, toneOfMark(c.expected));
        }
    }

    // The remedies (拗救) of 王力《诗词格律》, whose places are not faults: a 平平仄仄平 line
    // written 仄平平仄平 (孤平拗救); a 仄仄平平仄 line with an oblique third or fourth place
    // answered by a level third place in the couplet's 平平仄仄平 line (对句相救).
    const int core = length - 5; // where the five-character part of a line starts
    auto markAt = [&](int line, int column) { return charAt(line, core + column).mark; };
    auto isKind = [&](int line, const char16_t* kind) { return patterns[line].mid(core + 1) == QStringView(kind).mid(1); };
    // A polyphone at the remedy's place may take the reading it asks for.
    auto canBeLevel = [&](int line, int column) {
        const Mark m = metre.chars[glyph(line, core + column)].mark;
        return m == Mark::Level || m == Mark::Undecided;
    };
    QSet<int> remedied;
    for (int line = 0; line < lineCount; ++line) {
        if (!isKind(line, u"平平仄仄平"))
            continue;
        const bool levelThird = canBeLevel(line, 2);
        if (levelThird && markAt(line, 0) == Mark::Oblique)
            remedied += {glyph(line, core), glyph(line, core + 2)};
        if (levelThird && line % 2 && isKind(line - 1, u"仄仄平平仄")
            && (markAt(line - 1, 2) == Mark::Oblique || markAt(line - 1, 3) == Mark::Oblique)) {
            remedied += {glyph(line, core + 2), glyph(line - 1, core + 2), glyph(line - 1, core + 3)};
            if (markAt(line, 0) == Mark::Oblique)
                remedied += glyph(line, core);
        }
        if (remedied.contains(glyph(line, core + 2))) {
            CharMetre& third = charAt(line, core + 2);
            if (third.byPosition)
                third.mark = Mark::Level;
        }
    }

    int brokenLines = 0;
    for (int line = 0; line < lineCount; ++line) {
        const bool rhymes = line % 2 || (line == 0 && firstRhymes);
        const QString& pattern = patterns[line];
        bool broken = false;
        for (int column = 0; column < length; ++column)
            if (against(charAt(line, column), pattern[column]) && !remedied.contains(glyph(line, column))) {
                setFault(work, glyph(line, column), QStringLiteral("不合律"));
                broken |= column % 2 == 1;
            }
        // 孤平: a rhyming line left with one level character beside its foot.
        if (rhymes && isKind(line, u"平平仄仄平") && markAt(line, 0) == Mark::Oblique
            && !remedied.contains(glyph(line, core)))
            setFault(work, glyph(line, core), QStringLiteral("孤平"));
        const CharMetre& foot = charAt(line, length - 1);
        if (rhymes && charAt(line, length - 3).mark == Mark::Level && charAt(line, length - 2).mark == Mark::Level
            && foot.mark == Mark::Level)
            setFault(work, glyph(line, length - 3), QStringLiteral("三平尾"));
        if (rhymes && (line == 0 ? firstGroup < 0 : work.lines[line].footGroup.isEmpty())
            && foot.mark != Mark::Unknown)
            setFault(work, glyph(line, length - 1), QStringLiteral("出韵"));

        // 对 and 粘, between the second characters as written.
        const Mark before = line > 0 ? metre.chars[glyph(line - 1, 1)].mark : Mark::Unknown;
        if (secondKnown[line] && (before == Mark::Level || before == Mark::Oblique)) {
            const bool same = before == charAt(line, 1).mark;
            if (line % 2 && same) {
                setFault(work, glyph(line, 1), QStringLiteral("失对"));
                broken = true;
            } else if (!(line % 2) && !same) {
                setFault(work, glyph(line, 1), QStringLiteral("失粘"));
                broken = true;
            }
        }
        brokenLines += broken;
    }
    // A poem whose even places break the rules in more than a quarter of its lines is not
    // written to the pattern at all: 古体 in lines of five or seven.
    if (brokenLines * 4 > lineCount)
        return false;

    static const char16_t* names[2][3] = {{u"五言绝句", u"五言律诗", u"五言排律"}, {u"七言绝句", u"七言律诗", u"七言排律"}};
    work.form = QString::fromUtf16(names[length == 7][lineCount == 4 ? 0 : lineCount == 8 ? 1 : 2]);
    work.start = *start == Tone::Level ? QStringLiteral("平起") : QStringLiteral("仄起");
    work.firstLineRhymes = firstRhymes;
    work.rhymeGroups = {book.group(group).name};
    if (firstGroup >= 0 && firstGroup != group) {
        work.neighbourGroup = book.group(firstGroup).name;
        work.rhymeGroups.append(work.neighbourGroup);
    }
    for (int line = 0; line < lineCount; ++line)
        if ((line % 2 || (line == 0 && firstRhymes)) && work.lines[line].footGroup.isEmpty())
            for (unsigned short g : reader.groups(codeAt(line, length - 1)))
                if (!work.rhymeGroups.contains(book.group(g).name)) {
                    work.rhymeGroups.append(book.group(g).name);
                    break;
                }
    orderFaults(work);
    metre = std::move(work);
    return true;
}

} // namespace qelvane::metre::rules
