#include "Metre.h"

#include "MetreRules.h"
#include "TunePatterns.h"

namespace qelvane::metre {

namespace {

// Prose, or a poem in another script: more letters than characters, or no two phrases,
// or phrases too long to be lines of verse.
bool isVerse(const VerseText& verse)
{
    if (verse.glyphs.isEmpty() || verse.letters > verse.glyphs.size() || verse.phrases.size() < 2)
        return false;
    return verse.glyphs.size() <= 12 * verse.phrases.size();
}

} // namespace

Metre analyse(QStringView title, QStringView text, BookChoice choice)
{
    Metre metre;
    metre.verse = VerseText::of(text);
    const Tune* tune = TunePatterns::get().tuneOfTitle(title);
    metre.book = choice.book.value_or(tune ? Book::Cilin : Book::Pingshui);
    const rules::ToneReader reader(metre.book);

    metre.chars.resize(metre.verse.glyphs.size());
    for (int i = 0; i < metre.chars.size(); ++i)
        metre.chars[i].mark = reader.mark(metre.verse.glyphs[i].c);
    metre.lines.reserve(metre.verse.phrases.size());
    for (const auto& phrase : metre.verse.phrases)
        metre.lines.append({phrase.first, phrase.count, {}});

    if (tune && !metre.verse.glyphs.isEmpty())
        rules::applyTune(metre, *tune, reader);
    else if (!isVerse(metre.verse))
        metre.form = QStringLiteral("其他");
    else if (!rules::applyRegulatedVerse(metre, reader))
        rules::applyFreeVerse(metre, reader);
    return metre;
}

QString readingsOf(char32_t c, Book book)
{
    const RhymeBook& rhymes = RhymeBook::get(book);
    const auto readings = rhymes.readings(c);
    const QString character = QString::fromUcs4(&c, 1);
    if (readings.empty())
        return QStringLiteral("%1：%2不收").arg(character, bookName(book));
    QStringList groups;
    for (unsigned short g : readings) {
        const RhymeGroup& group = rhymes.group(g);
        groups.append(QStringLiteral("%1（%2）").arg(group.name, group.tone == Tone::Level ? u"平" : u"仄"));
    }
    QString words = QStringLiteral("%1：%2 %3").arg(character, bookName(book), groups.join(u'、'));
    if (const char32_t variant = rhymes.variantOf(c))
        words += QStringLiteral("（据异体字“%1”）").arg(QString::fromUcs4(&variant, 1));
    return words;
}

} // namespace qelvane::metre
