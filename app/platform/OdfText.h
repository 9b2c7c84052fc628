#pragma once

#include <QList>
#include <QString>

namespace qelvane {

// One paragraph of an OpenDocument text: its text ('\n' a line break within the
// paragraph), its size and whether it stands at the right.
struct OdfParagraph {
    QString text;
    double points = 12;
    bool alignedRight = false;
};

// Writes the paragraphs as an OpenDocument text in one face. The file holds exactly
// the characters given: spaces, tabs and line breaks as ODF writes them, nothing
// added. False when the file cannot be written (nothing is left half-written).
bool writeOdfText(const QString& fileName, const QList<OdfParagraph>& paragraphs, const QString& fontFamily);

} // namespace qelvane
