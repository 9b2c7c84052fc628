#pragma once

#include <QList>
#include <QString>

namespace qelvane::schema {

enum class ColumnType { Text, LongText, Boolean, Integer };

struct Column {
    const char* name;
    ColumnType type;
};

struct Table {
    const char* name;
    QList<Column> columns;
};

// Every table of a poem library with the columns the program reads and writes.
// The program only checks that these exist; the library builder creates them.
const QList<Table>& tables();

// The columns whose values the program's statements filter on, per table; the
// builder indexes them so that a library of the whole classical corpus stays quick.
// The small reference tables (epochs, countries, formats) have none: a covering index
// would hand their names back in index order instead of the order they were made in.
struct Index {
    const char* table;
    const char* column;
};
const QList<Index>& indexes();

} // namespace qelvane::schema
