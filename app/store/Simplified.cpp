#include "Simplified.h"

#include "StoreError.h"

#include <QChar>
#include <iconv.h>

namespace qelvane {

Simplified::Simplified() : m_t2s("t2s.json") {}

Simplified::~Simplified() = default;

QString Simplified::operator()(const QString& text) const
{
    return m_t2s(text);
}

namespace {
// Whether GB 2312 (EUC-CN) holds the character.
bool inGb2312(char32_t c)
{
    static iconv_t toGb = iconv_open("GB2312", "UTF-32LE");
    if (toGb == reinterpret_cast<iconv_t>(-1))
        return true;
    char32_t in = c;
    char out[8];
    char* inBytes = reinterpret_cast<char*>(&in);
    char* outBytes = out;
    size_t inLeft = sizeof in;
    size_t outLeft = sizeof out;
    iconv(toGb, nullptr, nullptr, nullptr, nullptr);
    return iconv(toGb, &inBytes, &inLeft, &outBytes, &outLeft) != size_t(-1);
}
} // namespace

bool Simplified::isTraditionalOnly(char32_t c) const
{
    auto known = m_leftovers.constFind(c);
    if (known == m_leftovers.constEnd()) {
        QString simplified;
        // Han characters only: the conversion leaves every other character alone.
        if (QChar::script(c) == QChar::Script_Han && !inGb2312(c)) {
            const QString one = QString::fromUcs4(&c, 1);
            const QString converted = (*this)(one);
            const QList<uint> target = converted.toUcs4();
            // Rare characters are not simplified by analogy (殢 stays, not 𣨼): only a
            // character whose Simplified form is a standard one is converted.
            if (converted != one && target.size() == 1 && inGb2312(target.first()))
                simplified = converted;
        }
        known = m_leftovers.insert(c, simplified);
    }
    return !known->isEmpty();
}

QString Simplified::leftovers(const QString& text) const
{
    QString result;
    qsizetype copied = 0; // of `text`, up to here, into `result`
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : char32_t(text[i].unicode());
        if (isTraditionalOnly(c)) {
            result += QStringView(text).mid(copied, i - copied);
            result += m_leftovers.value(c);
            copied = i + (pair ? 2 : 1);
        }
        if (pair)
            ++i;
    }
    if (copied == 0)
        return text;
    result += QStringView(text).mid(copied);
    return result;
}

} // namespace qelvane
