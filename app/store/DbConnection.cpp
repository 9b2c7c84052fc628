#include "DbConnection.h"

#include "Schema.h"
#include "StoreError.h"

#include <QAtomicInt>
#include <sqlite3.h>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <optional>
#include <sys/stat.h>

namespace qelvane {

namespace {

// SQLite's result codes that change the reason shown to the user; the connection
// reports extended codes, whose low byte is the primary one.
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteReadOnly = 8;
constexpr int SqliteFull = 13;
constexpr int SqliteCantOpen = 14;
constexpr int SqliteNotADb = 26;
constexpr int SqliteReadOnlyDbMoved = SqliteReadOnly | (4 << 8);
constexpr int SqliteReadOnlyDirectory = SqliteReadOnly | (6 << 8);

// How long a statement waits for another program's lock before it fails.
constexpr int BusyTimeoutMs = 1500;
// Once the library is open, how long a change waits for a lock another program holds
// for a moment (a backup, a second copy of the program starting) before it fails.
int LockWaitMs = 10000;
constexpr int LockPollMs = 50;

std::function<void()> LockWaitStarted;

// Waits for another program's lock; the program hears once per wait that one began
// (it shows the wait cursor).
int waitForLock(void*, int attempt)
{
    if (attempt * LockPollMs >= LockWaitMs)
        return 0;
    if (attempt == 0 && LockWaitStarted)
        LockWaitStarted();
    sqlite3_sleep(LockPollMs);
    return 1;
}

int extendedCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : -1;
}

int primaryCode(const QSqlError& error)
{
    const int code = extendedCode(error);
    return code < 0 ? code : (code & 0xff);
}

[[noreturn]] void refuse(const QString& path, const QString& reason)
{
    throw StoreError(QStringLiteral("无法打开诗词库“%1”：%2").arg(path, reason));
}

const QString FolderNotWritable = QStringLiteral("文件所在的文件夹不可写入，诗词库必须可以写入。");

QString reasonFor(const QSqlError& error)
{
    switch (extendedCode(error)) {
    case SqliteReadOnlyDbMoved:
        return QStringLiteral("诗词库文件已被删除、移走或替换，修改无法写入。请重新启动程序。");
    case SqliteReadOnlyDirectory:
        return FolderNotWritable;
    default:
        break;
    }
    switch (primaryCode(error)) {
    case SqliteFull:
        return QStringLiteral("磁盘已满，诗词库无法写入。");
    case SqliteNotADb:
        return QStringLiteral("文件不是有效的数据库文件。");
    case SqliteBusy:
    case SqliteLocked:
        return QStringLiteral("文件正被其他程序锁定，请关闭该程序后重试。");
    case SqliteReadOnly:
        return QStringLiteral("文件是只读的，诗词库必须可以写入。");
    case SqliteCantOpen:
        return QStringLiteral("无法打开文件（%1）。").arg(error.text());
    default:
        return QStringLiteral("数据库错误（%1）。").arg(error.text());
    }
}

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("qelvane-library-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Every table and column the program uses must be there: a file without them is
// some other database, and the program must not start working on it.
void checkTables(QSqlDatabase& db, const QString& path)
{
    for (const schema::Table& table : schema::tables()) {
        QSqlQuery info(db);
        if (!info.exec(QStringLiteral("pragma table_info(\"%1\")").arg(QLatin1String(table.name))))
            refuse(path, reasonFor(info.lastError()));
        QStringList present;
        while (info.next())
            present << info.value(1).toString().toLower();
        if (present.isEmpty())
            refuse(path, QStringLiteral("文件不是诗词库（缺少数据表 %1）。").arg(QLatin1String(table.name)));
        for (const schema::Column& column : table.columns) {
            if (!present.contains(QString::fromLatin1(column.name).toLower()))
                refuse(path, QStringLiteral("文件不是诗词库（数据表 %1 缺少列 %2）。")
                                 .arg(QLatin1String(table.name), QLatin1String(column.name)));
        }
    }
}

// Takes and gives back a write lock and writes a page that is rolled back at once,
// so that a file another program holds locked, one that can only be read, or one in
// a folder where SQLite cannot make its journal, is refused now and not at the
// user's first change. (Only a page actually written needs the journal.)
void checkWritable(QSqlDatabase& db, const QString& path)
{
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("begin immediate")))
        refuse(path, reasonFor(probe.lastError()));
    QSqlQuery version(db);
    const int userVersion = version.exec(QStringLiteral("pragma user_version")) && version.next()
                                ? version.value(0).toInt()
                                : 0;
    version.finish();
    QSqlQuery write(db);
    const bool wrote = write.exec(QStringLiteral("pragma user_version = %1").arg(userVersion + 1));
    const QSqlError writeError = write.lastError();
    QSqlQuery(db).exec(QStringLiteral("rollback"));
    if (wrote)
        return;
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (primaryCode(writeError) == SqliteCantOpen || primaryCode(writeError) == SqliteReadOnly) {
        if (!folder.isWritable())
            refuse(path, FolderNotWritable);
    }
    refuse(path, reasonFor(writeError));
}

// In write-ahead-log mode a reader on another connection (the background search) reads
// a snapshot while this one writes: neither waits for the other. The mode is kept in
// the file. Where the file system cannot share the log's index (a network share), the
// library stays in its rollback journal and a change waits for a running search.
void useWriteAheadLog(QSqlDatabase& db)
{
    QSqlQuery(db).exec(QStringLiteral("pragma journal_mode=wal"));
}

// The device and inode of a file, so a file put in its place is told apart.
std::optional<std::pair<quint64, quint64>> fileIdentity(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::make_pair(quint64(info.st_dev), quint64(info.st_ino));
}

} // namespace

// The file the connection writes through may have been deleted, replaced or marked
// read-only since it was opened: SQLite would go on writing to the file it holds
// open (or to nothing), so such a change is refused before it starts.
void DbConnection::checkFileStillUsable() const
{
    const std::optional<std::pair<quint64, quint64>> identity = fileIdentity(m_path);
    if (!identity)
        throw StoreError(QStringLiteral("诗词库文件“%1”已不存在（被删除或移走），修改无法保存。").arg(m_path));
    if (m_fileIdentity && *identity != *m_fileIdentity)
        throw StoreError(QStringLiteral("诗词库文件“%1”已被另一个文件替换，修改无法保存。请重新启动程序。").arg(m_path));
    const QFileInfo info(m_path);
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))
        throw StoreError(QStringLiteral("诗词库文件“%1”已被设为只读，修改无法保存。").arg(m_path));
}

std::unique_ptr<DbConnection> DbConnection::Open(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        refuse(path, QStringLiteral("文件不存在。"));
    if (!info.isFile())
        refuse(path, QStringLiteral("这不是一个文件。"));
    // The owner's write bit counts even for an administrator who could write anyway:
    // a library the user marked read-only is not to be edited.
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))
        refuse(path, QStringLiteral("文件是只读的，诗词库必须可以写入。"));

    const QString name = nextConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // mode=rw opens the file for reading and writing and fails instead of creating it.
    QUrl uri = QUrl::fromLocalFile(info.absoluteFilePath());
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));

    auto cleanUp = [&name, &db] {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    };
    try {
        if (!db.open())
            refuse(path, reasonFor(db.lastError()));
        checkTables(db, path);
        checkWritable(db, path);
        useWriteAheadLog(db);
    } catch (...) {
        cleanUp();
        throw;
    }
    auto connection = std::unique_ptr<DbConnection>(new DbConnection(db, path));
    sqlite3_busy_handler(connection->sqliteHandle(), waitForLock, nullptr);
    sqlite3_extended_result_codes(connection->sqliteHandle(), 1);
    connection->m_fileIdentity = fileIdentity(path);
    return connection;
}

DbConnection::DbConnection(QSqlDatabase db, QString path)
    : m_db(std::move(db)), m_path(std::move(path)), m_connectionName(m_db.connectionName())
{
}

DbConnection::~DbConnection()
{
    Close();
}

void DbConnection::Close()
{
    if (m_connectionName.isEmpty())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}

bool DbConnection::isOpen() const
{
    return !m_connectionName.isEmpty() && m_db.isOpen();
}

QString DbConnection::toEngineDialect(const QString& statement)
{
    static const QRegularExpression deleteStar(QStringLiteral("\\bdelete\\s+\\*\\s+from\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
    QString text = statement;
    text.replace(deleteStar, QStringLiteral("delete from"));
    return text;
}

QSqlQuery DbConnection::run(const QString& statement, const QVariantList& values, bool forwardOnly)
{
    if (!isOpen())
        throw StoreError(QStringLiteral("诗词库没有打开。"));
    QSqlQuery query(m_db);
    query.setForwardOnly(forwardOnly);
    if (!query.prepare(toEngineDialect(statement)))
        fail(QStringLiteral("无法执行数据库语句"), query.lastError(), statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        fail(QStringLiteral("数据库语句执行失败"), query.lastError(), statement);
    return query;
}

void DbConnection::onLockWait(std::function<void()> started)
{
    LockWaitStarted = std::move(started);
}

void DbConnection::setLockWaitMs(int milliseconds)
{
    LockWaitMs = milliseconds;
}

sqlite3* DbConnection::sqliteHandle() const
{
    const QVariant handle = m_db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw StoreError(QStringLiteral("诗词库的连接不是 SQLite 连接。"));
    return *static_cast<sqlite3* const*>(handle.constData());
}

int DbConnection::Execute(const QString& statement, const QVariantList& values)
{
    if (m_openTransactions == 0)
        checkFileStillUsable();
    return run(statement, values).numRowsAffected();
}

void DbConnection::fail(const QString& what, const QSqlError& error, const QString& statement) const
{
    const int code = primaryCode(error);
    if (code == SqliteBusy || code == SqliteLocked)
        throw LibraryBusy(QStringLiteral("诗词库正被其他程序使用，请稍后再试。诗词库没有被修改。"),
                          QStringLiteral("%1\n%2").arg(error.text(), statement));
    throw StoreError(QStringLiteral("%1：%2").arg(what, reasonFor(error)),
                     QStringLiteral("%1\n%2").arg(error.text(), statement));
}

DbConnection::Transaction::Transaction(DbConnection& db) : m_db(db)
{
    m_db.checkFileStillUsable();
    if (!m_db.m_db.transaction())
        m_db.fail(QStringLiteral("无法开始事务"), m_db.m_db.lastError(), QStringLiteral("begin"));
    ++m_db.m_openTransactions;
}

DbConnection::Transaction::~Transaction()
{
    --m_db.m_openTransactions;
    if (!m_done)
        m_db.m_db.rollback();
}

// A commit that fails leaves the transaction open; it is rolled back when this goes
// out of scope, so the connection is ready for the next change.
void DbConnection::Transaction::commit()
{
    if (!m_db.m_db.commit())
        m_db.fail(QStringLiteral("无法提交修改"), m_db.m_db.lastError(), QStringLiteral("commit"));
    m_done = true;
}

} // namespace qelvane
