#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace qelvane::mklib {

// A record of a CSV file and the line it begins on, for messages.
struct CsvRecord {
    qsizetype line = 0;
    QStringList fields;
};

// Reads a UTF-8 CSV file (RFC 4180: fields in double quotes may hold commas, line breaks
// and doubled quotes; lines end in LF or CRLF). A quote left open is a BuildError naming
// the file and the line it opened on.
QList<CsvRecord> readCsv(const QString& fileName);

} // namespace qelvane::mklib
