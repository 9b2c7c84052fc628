#pragma once

#include <QString>
#include <optional>

namespace qelvane {

// A stored text as an editor shows it, to tell on saving whether the reader changed it.
// A field left as it was is not written back at all (its stored bytes, line breaks and
// all, stay as they are); a changed one is written with the line breaks the stored text
// used (CR LF, CR or LF: a library carried over from the old program holds CR LF),
// whatever the reader typed or pasted (CR LF, CR, U+2028, U+2029 or LF).
class EditedText {
public:
    EditedText() = default;
    // `shown` is the text as the field holds it once the stored text was put in.
    EditedText(const QString& stored, const QString& shown) : m_shown(shown), m_lineBreak(lineBreakOf(stored)) {}

    // Nothing when the field still shows what was stored; otherwise the text to store.
    std::optional<QString> changed(const QString& now) const
    {
        if (now == m_shown)
            return std::nullopt;
        return withLineBreaks(now, m_lineBreak);
    }

    const QString& lineBreak() const { return m_lineBreak; }

    // The line break a stored text uses: its first one, LF when it has none.
    static QString lineBreakOf(const QString& stored)
    {
        for (qsizetype i = 0; i < stored.size(); ++i) {
            if (stored[i] == QLatin1Char('\r'))
                return i + 1 < stored.size() && stored[i + 1] == QLatin1Char('\n') ? QStringLiteral("\r\n")
                                                                                   : QStringLiteral("\r");
            if (stored[i] == QLatin1Char('\n'))
                return QStringLiteral("\n");
        }
        return QStringLiteral("\n");
    }

    // Every line break of any kind written as `lineBreak`.
    static QString withLineBreaks(const QString& text, const QString& lineBreak)
    {
        QString out;
        out.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == QLatin1Char('\r')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                    ++i;
                out += lineBreak;
            } else if (c == QLatin1Char('\n') || c == QChar(0x2028) || c == QChar(0x2029)) {
                out += lineBreak;
            } else {
                out += c;
            }
        }
        return out;
    }

private:
    QString m_shown;
    QString m_lineBreak = QStringLiteral("\n");
};

} // namespace qelvane
