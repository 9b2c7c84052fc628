#pragma once

#include "store/DbConnection.h"
#include "store/Statements.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <sqlite3.h>

namespace qelvane::bench {

// The engine work a path of the program cannot avoid: its statements prepared, bound
// and stepped through SQLite's C API, every column of every row read as text.
class BareSql {
public:
    explicit BareSql(sqlite3* handle) : m_handle(handle) {}

    // Steps the statement to its end; returns the first column of every row.
    QList<QByteArray> rows(const char* statement, const QList<QByteArray>& values = {}) const
    {
        const QByteArray text = DbConnection::toEngineDialect(QString::fromUtf8(statement)).toUtf8();
        sqlite3_stmt* stmt = nullptr;
        QList<QByteArray> firstColumn;
        if (sqlite3_prepare_v2(m_handle, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
            return firstColumn;
        for (int i = 0; i < values.size(); ++i)
            sqlite3_bind_text(stmt, i + 1, values[i].constData(), int(values[i].size()), SQLITE_STATIC);
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            firstColumn << QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                      sqlite3_column_bytes(stmt, 0));
            for (int column = 1; column < columns; ++column)
                sqlite3_column_text(stmt, column);
        }
        sqlite3_finalize(stmt);
        return firstColumn;
    }

private:
    sqlite3* m_handle;
};

// The all-poems tree's statements: the epochs and each one's authors, the countries
// and each one's authors.
inline void bareAllPoemsTree(const BareSql& bare)
{
    for (const QByteArray& epoch : bare.rows(sql::ChinaEpochTable))
        bare.rows(sql::ChinaAuthorsOfEpoch, {epoch});
    for (const QByteArray& country : bare.rows(sql::ForeignCountryTable))
        bare.rows(sql::ForeignAuthorsOfCountry, {country});
}

} // namespace qelvane::bench
