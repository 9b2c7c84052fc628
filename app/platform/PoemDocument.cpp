#include "PoemDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>

namespace qelvane {

namespace {

// The face every paragraph but the date is written in, so Chinese text shows.
const QString DocumentFont = QStringLiteral("Noto Serif CJK SC");
constexpr double DocumentPoints = 12;
constexpr double DatePoints = 10.5;
constexpr int MaxTitleInName = 60;

// One paragraph: its line breaks become breaks inside the paragraph.
QString asOneParagraph(const QString& text)
{
    QString paragraph = text;
    paragraph.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    paragraph.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    paragraph.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return paragraph;
}

} // namespace

QString PoemDocument::dateText(const QDate& date)
{
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

void PoemDocument::typeInto(QTextDocument& document, const QDate& today) const
{
    QFont font(DocumentFont);
    font.setPointSizeF(DocumentPoints);
    document.setDefaultFont(font);
    // Each piece carries the face, so the file names it for the word processor.
    QTextCharFormat body;
    body.setFontFamilies({DocumentFont});
    // The document writer of this Qt names a text's face from the older property.
    body.setProperty(QTextFormat::OldFontFamily, DocumentFont);
    body.setFontPointSize(DocumentPoints);
    QTextCursor cursor(&document);
    cursor.setBlockCharFormat(body);
    const auto type = [&](const QString& text, int breaks) {
        cursor.insertText(asOneParagraph(text), body);
        for (int i = 0; i < breaks; ++i)
            cursor.insertBlock(QTextBlockFormat(), body);
    };
    type(title, 2);
    type(QStringLiteral("作者:") + author, 2);
    type(poem, 2);
    type(notes, 2);
    type(biography, 4);
    // The date is smaller and right-aligned.
    QTextCharFormat small = body;
    small.setFontPointSize(DatePoints);
    cursor.setBlockCharFormat(small);
    cursor.insertText(dateText(today), small);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.mergeBlockFormat(right);
}

bool PoemDocument::writeOdf(const QString& fileName, const QDate& today) const
{
    QTextDocument document;
    typeInto(document, today);
    QTextDocumentWriter writer(fileName, "odf");
    return writer.write(&document);
}

QString PoemDocument::newFileName(const QString& folder, const QDate& today) const
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
    name = name.left(MaxTitleInName);
    if (name.isEmpty())
        name = QStringLiteral("诗词");
    const QString stem = QDir(folder).filePath(name + QStringLiteral(" ") + today.toString(QStringLiteral("yyyy-MM-dd")));
    QString candidate = stem + QStringLiteral(".odt");
    for (int number = 2; QFileInfo::exists(candidate); ++number)
        candidate = stem + QStringLiteral(" (%1).odt").arg(number);
    return candidate;
}

} // namespace qelvane
