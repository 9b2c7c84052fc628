#pragma once

#include <QDate>
#include <QString>

#include "OdfText.h"

namespace qelvane {

// A poem laid out for the word processor: title; "作者:" and the author; the poem
// text; the notes; the biography; and at the end the date of the day, 10.5 points,
// right-aligned; each separated by empty paragraphs. Lines inside the text, the notes
// and the biography stay line breaks within their paragraph.
struct PoemDocument {
    QString title;
    QString poem;
    QString author;
    QString biography;
    QString notes;

    // The paragraphs, in the order a word processor's selection would type them.
    QList<OdfParagraph> paragraphs(const QDate& today) const;
    // Writes an OpenDocument text; false when the file cannot be written.
    bool writeOdf(const QString& fileName, const QDate& today) const;

    // The date as the document shows it: 2026年12月7日.
    static QString dateText(const QDate& date);
    // A new file in `folder` for this poem on `today`: its title (made safe for a file
    // name) and the date, numbered when one of that name is there already.
    QString newFileName(const QString& folder, const QDate& today, const QString& extension = QStringLiteral("odt")) const;
};

} // namespace qelvane
