#include "PoemDocument.h"

#include <QDir>
#include <QFileInfo>

namespace qelvane {

namespace {

// The face every paragraph but the date is written in, so Chinese text shows.
const QString DocumentFont = QStringLiteral("Noto Serif CJK SC");
constexpr double DocumentPoints = 12;
constexpr double DatePoints = 10.5;
constexpr int MaxTitleInName = 60;

// One paragraph: its line breaks, however they were typed, become breaks inside it.
QString asOneParagraph(const QString& text)
{
    QString paragraph = text;
    paragraph.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    paragraph.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    paragraph.replace(QChar::LineSeparator, QLatin1Char('\n'));
    paragraph.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return paragraph;
}

} // namespace

QString PoemDocument::dateText(const QDate& date)
{
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

QList<OdfParagraph> PoemDocument::paragraphs(const QDate& today) const
{
    QList<OdfParagraph> laid;
    const auto type = [&](const QString& text, int breaks) {
        laid.append({asOneParagraph(text), DocumentPoints, false});
        for (int i = 1; i < breaks; ++i)
            laid.append({QString(), DocumentPoints, false});
    };
    type(title, 2);
    type(QStringLiteral("作者:") + author, 2);
    type(poem, 2);
    type(notes, 2);
    type(biography, 4);
    // The date is smaller and right-aligned.
    laid.append({dateText(today), DatePoints, true});
    return laid;
}

bool PoemDocument::writeOdf(const QString& fileName, const QDate& today) const
{
    return writeOdfText(fileName, paragraphs(today), DocumentFont);
}

QString PoemDocument::newFileName(const QString& folder, const QDate& today, const QString& extension) const
{
    QString name = title.trimmed();
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    for (QChar& character : name) {
        if (unsafe.contains(character) || character.category() == QChar::Other_Control ||
            character == QChar::LineSeparator)
            character = QLatin1Char('_');
    }
    if (name.startsWith(QLatin1Char('.')))
        name.replace(0, 1, QLatin1Char('_'));
    // Cut at whole characters: a character beyond the BMP is two UTF-16 units.
    if (name.size() > MaxTitleInName) {
        qsizetype cut = MaxTitleInName;
        if (name.at(cut - 1).isHighSurrogate())
            --cut;
        name.truncate(cut);
    }
    if (name.isEmpty())
        name = QStringLiteral("诗词");
    const QString stem = QDir(folder).filePath(name + QStringLiteral(" ") + today.toString(QStringLiteral("yyyy-MM-dd")));
    QString candidate = stem + QLatin1Char('.') + extension;
    for (int number = 2; QFileInfo::exists(candidate); ++number)
        candidate = stem + QStringLiteral(" (%1).").arg(number) + extension;
    return candidate;
}

} // namespace qelvane
