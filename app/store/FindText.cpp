#include "FindText.h"

#include <QChar>

namespace qelvane::findtext {

namespace {

bool endsPhrase(char32_t c)
{
    switch (c) {
    case U'\n': case U'\r': case U'\u2028': case U'\u2029':
    case U'，': case U'。': case U'？': case U'！': case U'；': case U'：': case U'、':
    case U',': case U'.': case U'?': case U'!': case U';': case U':':
    case U'｡': case U'､':
        return true;
    default:
        return false;
    }
}

} // namespace

Folded fold(QStringView text)
{
    Folded run;
    bool verseBegins = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype position = i;
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (endsPhrase(c)) {
            verseBegins = true;
            continue;
        }
        if (!QChar::isLetterOrNumber(c))
            continue;
        if (verseBegins)
            run.verseStarts.append(int(run.chars.size()));
        verseBegins = false;
        run.chars.push_back(QChar::toLower(c));
        run.from.append(int(position));
    }
    return run;
}

} // namespace qelvane::findtext
