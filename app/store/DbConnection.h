#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

struct sqlite3;

namespace qelvane {

// The program's one connection to its poem library. It opens an existing library
// file and never creates one; every statement of the program runs through it with
// its values bound. It accepts the statement dialect the program is written in:
// "delete * from", the literals true/false and names in any letter case.
class DbConnection {
public:
    // Opens the library at `path` for reading and writing (only for reading when the
    // file cannot be written) and checks that it holds the library's tables. Throws
    // StoreError naming the path and the reason.
    static std::unique_ptr<DbConnection> Open(const QString& path);
    // Another connection to the library `db` has open, for a change on a thread of its
    // own (it is used on the thread that opens it). The file was checked when `db` opened
    // it: it is not probed again, and a lock another program holds is waited for as any
    // change waits.
    static std::unique_ptr<DbConnection> OpenBeside(const DbConnection& db);

    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    void Close();
    bool isOpen() const;
    const QString& path() const { return m_path; }
    // A library opened for reading only: every change throws LibraryReadOnly.
    bool isReadOnly() const { return m_readOnly; }
    // What the reader is told when a change is refused on such a library.
    QString readOnlyMessage() const;

    // Runs a change statement and returns the number of rows it changed; throws
    // StoreError when it fails.
    int Execute(const QString& statement, const QVariantList& values = {});

    // Prepares, binds and runs a statement, returning the positioned-before-first query.
    // Throws StoreError when it fails.
    QSqlQuery run(const QString& statement, const QVariantList& values = {}, bool forwardOnly = true);

    // Several statements that make one change: all of them or none.
    class Transaction {
    public:
        explicit Transaction(DbConnection& db);
        ~Transaction();
        void commit();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

    private:
        DbConnection& m_db;
        bool m_done = false;
    };

    // The engine's own handle of this connection, for the scans that read every row
    // of a table or keep the find index (SqliteStatement).
    sqlite3* sqliteHandle() const;

    // How long a statement waits for another program's lock once the library is open
    // (10 s unless set; tests shorten it).
    static void setLockWaitMs(int milliseconds);
    // Called when a statement starts waiting for another program's lock; the program
    // shows its wait cursor here.
    static void onLockWait(std::function<void()> started);

    // Throws the StoreError (or LibraryBusy) for a row a query could not read.
    [[noreturn]] void failedRead(const QSqlError& error, const QString& statement) const
    {
        fail(QStringLiteral("无法读取诗词库"), error, statement);
    }

    // The statement as the SQLite engine takes it.
    static QString toEngineDialect(const QString& statement);

private:
    DbConnection(QSqlDatabase db, QString path);
    static std::unique_ptr<DbConnection> open(const QString& path, bool probe);
    [[noreturn]] void fail(const QString& what, const QSqlError& error, const QString& statement) const;

    // Throws StoreError when the file was deleted, replaced or marked read-only
    // since it was opened.
    void checkFileStillUsable() const;

    QSqlDatabase m_db;
    QString m_path;
    QString m_connectionName;
    std::optional<std::pair<quint64, quint64>> m_fileIdentity;
    int m_openTransactions = 0;
    bool m_readOnly = false;
};

} // namespace qelvane
