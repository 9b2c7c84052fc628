#include "CsvInput.h"

#include "BuildError.h"

#include <QFile>

namespace qelvane::mklib {

QList<CsvRecord> readCsv(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw BuildError(QStringLiteral("%1：无法读取（%2）").arg(fileName, file.errorString()));
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    QList<CsvRecord> records;
    CsvRecord record{1, {}};
    QString field;
    qsizetype line = 1, quoteLine = 0;
    bool quoted = false, wasQuoted = false;
    const auto endField = [&] {
        record.fields << field;
        field.clear();
        wasQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        if (!(record.fields.size() == 1 && record.fields.first().isEmpty()))
            records << record;
        record = {line, {}};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (c != QLatin1Char('\r') || i + 1 >= text.size() || text.at(i + 1) != QLatin1Char('\n')) {
                // A line break within a field is a line feed, whatever the file's line ends.
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
        } else if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\n')) {
            ++line;
            endRecord();
        } else if (c != QLatin1Char('\r') || (i + 1 < text.size() && text.at(i + 1) != QLatin1Char('\n'))) {
            field += c;
        }
    }
    if (quoted)
        throw BuildError(QStringLiteral("%1：第 %2 行：引号没有结束").arg(fileName).arg(quoteLine));
    if (!field.isEmpty() || !record.fields.isEmpty())
        endRecord();
    return records;
}

} // namespace qelvane::mklib
