#include "Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QRawFont>
#include <algorithm>

namespace qelvane::fonts {

void installReadingFonts()
{
    const QString song = QStringLiteral("Noto Serif CJK SC");
    QFont::insertSubstitution(QStringLiteral("宋体"), song);
    QFont::insertSubstitution(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(song, {QStringLiteral("HanaMinA"), QStringLiteral("HanaMinB"),
                                      QStringLiteral("BabelStone Han")});
}

void collect(const QString& text, QSet<char32_t>& into)
{
    for (const char32_t character : text.toUcs4())
        if (character > 0x20)
            into.insert(character);
}

QList<char32_t> uncovered(const QSet<char32_t>& characters)
{
    QList<QRawFont> faces;
    for (const QString& family : QFontDatabase::families()) {
        QRawFont face = QRawFont::fromFont(QFont(family));
        if (face.isValid())
            faces << face;
    }
    QList<char32_t> missing;
    for (const char32_t character : characters) {
        const bool shown = std::any_of(faces.cbegin(), faces.cend(),
                                       [character](const QRawFont& face) { return face.supportsCharacter(character); });
        if (!shown)
            missing << character;
    }
    std::sort(missing.begin(), missing.end());
    return missing;
}

} // namespace qelvane::fonts
