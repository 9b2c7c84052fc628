#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

namespace qelvane {

// One statement straight on the engine, for the work that reads or writes many rows
// (the poem search, the find index): values are bound in place and columns read as
// the bytes the file holds, without a conversion per row. Every failure is thrown as
// a StoreError in the reader's words (sqlitereason). A walk over the rows may be left
// open between turns of the event loop; it keeps the connection's read view until it
// has passed the last row, is reset, or is destroyed.
class SqliteStatement {
public:
    // A statement in the engine's own dialect.
    SqliteStatement(sqlite3* db, const char* text);
    // A statement in the program's dialect ("delete * from"), its values bound in
    // order: text, integers, or Null.
    SqliteStatement(sqlite3* db, const QString& statement, const QVariantList& values);
    ~SqliteStatement();
    // Runs statements that return no rows, one after another (a script of the
    // engine's dialect): the first that fails is thrown.
    static void execute(sqlite3* db, const char* statements);
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& bind(int index, qint64 value);
    SqliteStatement& bind(int index, int value) { return bind(index, qint64(value)); }
    SqliteStatement& bind(int index, const QString& value);
    SqliteStatement& bindBlob(int index, QByteArrayView value);
    SqliteStatement& bindNull(int index);

    // Moves to the next row: false after the last one, and the statement is then
    // reset (its read view given back; its bindings kept).
    bool next();
    // Steps to the end (a change) and returns the rows it changed.
    int run();
    // Ready to run again with new values.
    void reset();

    qint64 integer(int column) const;
    // The column as UTF-8 bytes; Null reads as a null view.
    QByteArrayView utf8(int column) const;
    QString text(int column) const { return QString::fromUtf8(utf8(column)); }
    QByteArrayView blob(int column) const;
    bool isNull(int column) const;

private:
    [[noreturn]] void failed() const;
    void check(int result) const;

    sqlite3* m_db;
    QString m_text;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace qelvane
