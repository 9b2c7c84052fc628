#include "VerseText.h"

#include <QChar>

namespace qelvane::metre {

bool isHanCharacter(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x20000 && c <= 0x3134F)
        || (c >= 0xF900 && c <= 0xFAFF) || c == 0x3007 /* 〇 */ || c == 0x25A1 /* □ */;
}

VerseText VerseText::of(QStringView text)
{
    VerseText verse;
    int phraseStart = 0;
    auto endPhrase = [&] {
        if (verse.glyphs.size() > phraseStart)
            verse.phrases.append({phraseStart, int(verse.glyphs.size()) - phraseStart});
        phraseStart = int(verse.glyphs.size());
    };
    for (int i = 0; i < text.size();) {
        const char32_t c = QChar::surrogateToUcs4(text[i], i + 1 < text.size() ? text[i + 1] : QChar());
        const int length = QChar::isHighSurrogate(text[i].unicode()) && i + 1 < text.size() ? 2 : 1;
        const char32_t code = length == 2 ? c : text[i].unicode();
        if (isHanCharacter(code))
            verse.glyphs.append({code, i, length});
        else if (QChar::isLetter(code))
            ++verse.letters;
        else if (QChar::isPunct(code) || code == u'\n' || code == u'\r' || code == 0x2029)
            // Brackets and quotation marks end no phrase: 「…」 stands inside one.
            if (QChar::category(code) != QChar::Punctuation_Open && QChar::category(code) != QChar::Punctuation_Close
                && QChar::category(code) != QChar::Punctuation_InitialQuote
                && QChar::category(code) != QChar::Punctuation_FinalQuote)
                endPhrase();
        i += length;
    }
    endPhrase();
    return verse;
}

} // namespace qelvane::metre
