#include "OdfText.h"

#include "StoredZip.h"

#include <QMap>
#include <QSaveFile>
#include <QXmlStreamWriter>

namespace qelvane {

namespace {

const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString StyleNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString TextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString FoNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QByteArray MimeType = "application/vnd.oasis.opendocument.text";

QString pointsText(double points)
{
    return QString::number(points) + QStringLiteral("pt");
}

// The characters of one paragraph as ODF keeps them: a run of spaces past the first,
// or one that starts a line, as <text:s/>; tabs and line breaks as their elements.
void writeParagraphText(QXmlStreamWriter& xml, const QString& text)
{
    QString run;
    int spaces = 0;
    bool lineStart = true;
    auto flushSpaces = [&] {
        if (spaces == 0)
            return;
        int counted = spaces;
        if (!lineStart) {
            run += QLatin1Char(' ');
            --counted;
        }
        if (counted > 0) {
            xml.writeCharacters(run);
            run.clear();
            xml.writeEmptyElement(TextNs, QStringLiteral("s"));
            if (counted > 1)
                xml.writeAttribute(TextNs, QStringLiteral("c"), QString::number(counted));
        }
        spaces = 0;
    };
    for (const QChar character : text) {
        if (character == QLatin1Char(' ')) {
            ++spaces;
            continue;
        }
        flushSpaces();
        lineStart = false;
        if (character == QLatin1Char('\n') || character == QLatin1Char('\t')) {
            xml.writeCharacters(run);
            run.clear();
            xml.writeEmptyElement(TextNs, character == QLatin1Char('\n') ? QStringLiteral("line-break")
                                                                         : QStringLiteral("tab"));
            lineStart = character == QLatin1Char('\n');
        } else {
            run += character;
        }
    }
    flushSpaces();
    xml.writeCharacters(run);
}

QByteArray contentXml(const QList<OdfParagraph>& paragraphs, const QString& fontFamily)
{
    // One text style per size, in the order of first use.
    QMap<double, QString> textStyles;
    QList<double> sizes;
    for (const OdfParagraph& paragraph : paragraphs) {
        if (!textStyles.contains(paragraph.points)) {
            textStyles.insert(paragraph.points, QStringLiteral("T%1").arg(textStyles.size() + 1));
            sizes << paragraph.points;
        }
    }
    QByteArray content;
    QXmlStreamWriter xml(&content);
    xml.writeStartDocument();
    xml.writeNamespace(OfficeNs, QStringLiteral("office"));
    xml.writeNamespace(StyleNs, QStringLiteral("style"));
    xml.writeNamespace(TextNs, QStringLiteral("text"));
    xml.writeNamespace(FoNs, QStringLiteral("fo"));
    xml.writeStartElement(OfficeNs, QStringLiteral("document-content"));
    xml.writeAttribute(OfficeNs, QStringLiteral("version"), QStringLiteral("1.2"));

    xml.writeStartElement(OfficeNs, QStringLiteral("automatic-styles"));
    for (const auto& [name, alignment] : {std::pair{QStringLiteral("P1"), QString()},
                                          std::pair{QStringLiteral("P2"), QStringLiteral("end")}}) {
        xml.writeStartElement(StyleNs, QStringLiteral("style"));
        xml.writeAttribute(StyleNs, QStringLiteral("name"), name);
        xml.writeAttribute(StyleNs, QStringLiteral("family"), QStringLiteral("paragraph"));
        xml.writeEmptyElement(StyleNs, QStringLiteral("paragraph-properties"));
        if (!alignment.isEmpty())
            xml.writeAttribute(FoNs, QStringLiteral("text-align"), alignment);
        xml.writeEndElement();
    }
    for (const double points : sizes) {
        xml.writeStartElement(StyleNs, QStringLiteral("style"));
        xml.writeAttribute(StyleNs, QStringLiteral("name"), textStyles.value(points));
        xml.writeAttribute(StyleNs, QStringLiteral("family"), QStringLiteral("text"));
        xml.writeEmptyElement(StyleNs, QStringLiteral("text-properties"));
        xml.writeAttribute(FoNs, QStringLiteral("font-family"), fontFamily);
        xml.writeAttribute(StyleNs, QStringLiteral("font-family-asian"), fontFamily);
        xml.writeAttribute(FoNs, QStringLiteral("font-size"), pointsText(points));
        xml.writeAttribute(StyleNs, QStringLiteral("font-size-asian"), pointsText(points));
        xml.writeEndElement();
    }
    xml.writeEndElement();

    xml.writeStartElement(OfficeNs, QStringLiteral("body"));
    xml.writeStartElement(OfficeNs, QStringLiteral("text"));
    for (const OdfParagraph& paragraph : paragraphs) {
        xml.writeStartElement(TextNs, QStringLiteral("p"));
        xml.writeAttribute(TextNs, QStringLiteral("style-name"),
                           paragraph.alignedRight ? QStringLiteral("P2") : QStringLiteral("P1"));
        if (!paragraph.text.isEmpty()) {
            xml.writeStartElement(TextNs, QStringLiteral("span"));
            xml.writeAttribute(TextNs, QStringLiteral("style-name"), textStyles.value(paragraph.points));
            writeParagraphText(xml, paragraph.text);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return content;
}

QByteArray manifestXml()
{
    const QString ns = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
    QByteArray manifest;
    QXmlStreamWriter xml(&manifest);
    xml.writeStartDocument();
    xml.writeNamespace(ns, QStringLiteral("manifest"));
    xml.writeStartElement(ns, QStringLiteral("manifest"));
    xml.writeAttribute(ns, QStringLiteral("version"), QStringLiteral("1.2"));
    for (const auto& [path, type] : {std::pair{QStringLiteral("/"), QString::fromLatin1(MimeType)},
                                     std::pair{QStringLiteral("content.xml"), QStringLiteral("text/xml")}}) {
        xml.writeEmptyElement(ns, QStringLiteral("file-entry"));
        xml.writeAttribute(ns, QStringLiteral("full-path"), path);
        xml.writeAttribute(ns, QStringLiteral("media-type"), type);
    }
    xml.writeEndDocument();
    return manifest;
}

} // namespace

bool writeOdfText(const QString& fileName, const QList<OdfParagraph>& paragraphs, const QString& fontFamily)
{
    const QByteArray package = storedZip({{QStringLiteral("mimetype"), MimeType},
                                          {QStringLiteral("META-INF/manifest.xml"), manifestXml()},
                                          {QStringLiteral("content.xml"), contentXml(paragraphs, fontFamily)}});
    QSaveFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(package) == package.size() && file.commit();
}

} // namespace qelvane
