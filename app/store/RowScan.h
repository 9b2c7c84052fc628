#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

namespace qelvane {

class DbConnection;

// A forward walk over the rows of one statement, straight on the engine, for the
// work that reads every row of a table (the poem search): columns are read as the
// UTF-8 bytes the file holds, without a conversion per row. The walk may be left
// open between turns of the event loop; it keeps the connection's read view until
// it is finished or destroyed.
class RowScan {
public:
    // Prepares and binds the statement (in the program's dialect) on the program's
    // connection or on another one (a reader's); throws StoreError.
    RowScan(DbConnection& db, const QString& statement, const QVariantList& values = {});
    RowScan(sqlite3* connection, const QString& statement, const QVariantList& values = {});
    ~RowScan();
    RowScan(const RowScan&) = delete;
    RowScan& operator=(const RowScan&) = delete;

    // Moves to the next row; false after the last one. Throws StoreError on failure.
    bool next();
    // The current row's column (0-based): Null reads as a null view.
    QByteArrayView utf8(int column) const;
    bool isNull(int column) const;
    QString text(int column) const { return QString::fromUtf8(utf8(column)); }

    void finish();

private:
    QString m_statement;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace qelvane
