#include "DbConnection.h"

#include "Schema.h"
#include "SqliteReason.h"
#include "StoreError.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QThread>
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

// How long a statement waits for another program's lock before it fails.
constexpr int BusyTimeoutMs = 1500;
// Once the library is open, how long a change waits for a lock another program holds
// for a moment (a backup, a second copy of the program starting) before it fails.
int LockWaitMs = 10000;
constexpr int LockPollMs = 50;

std::function<void()> LockWaitStarted;

// Waits for another program's lock; the program hears once per wait that one began
// (it shows the wait cursor), when the wait is on the window's own thread.
int waitForLock(void*, int attempt)
{
    if (attempt * LockPollMs >= LockWaitMs)
        return 0;
    const QCoreApplication* application = QCoreApplication::instance();
    if (attempt == 0 && LockWaitStarted && application && QThread::currentThread() == application->thread())
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
    return sqlitereason::reasonFor(extendedCode(error));
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
    if (primaryCode(writeError) == SQLITE_CANTOPEN || primaryCode(writeError) == SQLITE_READONLY) {
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
    if (m_readOnly)
        throw LibraryReadOnly(readOnlyMessage());
    const std::optional<std::pair<quint64, quint64>> identity = fileIdentity(m_path);
    if (!identity)
        throw StoreError(QStringLiteral("诗词库文件“%1”已不存在（被删除或移走），修改无法保存。").arg(m_path));
    if (m_fileIdentity && *identity != *m_fileIdentity)
        throw StoreError(QStringLiteral("诗词库文件“%1”已被另一个文件替换，修改无法保存。请重新启动程序。").arg(m_path));
    const QFileInfo info(m_path);
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))
        throw StoreError(QStringLiteral("诗词库文件“%1”已被设为只读，修改无法保存。").arg(m_path));
}

QString DbConnection::readOnlyMessage() const
{
    return QStringLiteral("诗词库“%1”是只读的：可以阅读，但不能修改。").arg(m_path);
}

std::unique_ptr<DbConnection> DbConnection::Open(const QString& path)
{
    return open(path, true);
}

std::unique_ptr<DbConnection> DbConnection::OpenBeside(const DbConnection& db)
{
    auto beside = open(db.path(), false);
    // A file put in the place of the one `db` opened is refused as `db` refuses it.
    beside->m_fileIdentity = db.m_fileIdentity;
    return beside;
}

std::unique_ptr<DbConnection> DbConnection::open(const QString& path, bool probe)
{
    const QFileInfo info(path);
    if (!info.exists())
        refuse(path, QStringLiteral("文件不存在。"));
    if (!info.isFile())
        refuse(path, QStringLiteral("这不是一个文件。"));
    // A library the reader cannot write (marked read-only, or on read-only media) is
    // opened for reading: every change is refused before it starts. The owner's write
    // bit counts even for an administrator who could write anyway.
    const bool readOnly = !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);

    const QString name = nextConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // mode=rw opens the file for reading and writing and fails instead of creating it.
    // Where nobody can write beside the file either (read-only media), SQLite cannot
    // keep the log's shared index there: the file is read as one that does not change.
    QUrl uri = QUrl::fromLocalFile(info.absoluteFilePath());
    const bool folderWritable = QFileInfo(info.absolutePath()).isWritable();
    uri.setQuery(!readOnly ? QStringLiteral("mode=rw")
                           : (folderWritable ? QStringLiteral("mode=ro") : QStringLiteral("mode=ro&immutable=1")));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1%2")
                             .arg(BusyTimeoutMs)
                             .arg(readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));

    auto cleanUp = [&name, &db] {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    };
    try {
        if (!db.open())
            refuse(path, reasonFor(db.lastError()));
        if (probe) {
            checkTables(db, path);
            if (!readOnly) {
                checkWritable(db, path);
                useWriteAheadLog(db);
            }
        }
    } catch (...) {
        cleanUp();
        throw;
    }
    auto connection = std::unique_ptr<DbConnection>(new DbConnection(db, path));
    connection->m_readOnly = readOnly;
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

namespace {
// An ID a library from another program stores as a number (135) is the same ID as the
// program's text "135": a condition on an ID matches either, so the program finds the
// row it listed. Only conditions (after "where") change; an ID that is no number is
// looked for as it stands.
void matchIdsAsStored(QString& statement, QVariantList& values)
{
    static const QRegularExpression where(QStringLiteral("\\bwhere\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression idCondition(QStringLiteral("\\b(\\w*id)\\s*=\\s*\\?"),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression number(QStringLiteral("^(0|-?[1-9][0-9]{0,17})$"));
    const QRegularExpressionMatch conditions = where.match(statement);
    if (!conditions.hasMatch())
        return;
    QString rewritten;
    QVariantList bound;
    qsizetype copied = 0;
    int placeholder = 0;
    const auto copyUpTo = [&](qsizetype end) {
        for (qsizetype i = copied; i < end; ++i) {
            rewritten += statement[i];
            if (statement[i] == QLatin1Char('?'))
                bound << values.value(placeholder++);
        }
        copied = end;
    };
    for (auto it = idCondition.globalMatch(statement, conditions.capturedStart()); it.hasNext();) {
        const QRegularExpressionMatch id = it.next();
        copyUpTo(id.capturedStart());
        const QVariant value = values.value(placeholder++);
        rewritten += id.captured(1) + QStringLiteral(" in (?,?)");
        bound << value;
        const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
        bound << (number.match(text).hasMatch() ? QVariant(text.toLongLong()) : value);
        copied = id.capturedEnd();
    }
    copyUpTo(statement.size());
    statement = rewritten;
    values = bound;
}
} // namespace

QSqlQuery DbConnection::run(const QString& statement, const QVariantList& values, bool forwardOnly)
{
    if (!isOpen())
        throw StoreError(QStringLiteral("诗词库没有打开。"));
    QSqlQuery query(m_db);
    query.setForwardOnly(forwardOnly);
    QString engineStatement = toEngineDialect(statement);
    QVariantList engineValues = values;
    matchIdsAsStored(engineStatement, engineValues);
    if (!query.prepare(engineStatement))
        fail(QStringLiteral("无法执行数据库语句"), query.lastError(), statement);
    for (const QVariant& value : engineValues)
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
    // Some failures (a commit's) come without the engine's code: the connection has it.
    int code = extendedCode(error);
    if (code < 0 && isOpen())
        code = sqlitereason::lastCode(sqliteHandle());
    sqlitereason::fail(what, code, QStringLiteral("%1\n%2").arg(error.text(), statement));
}

DbConnection::Transaction::Transaction(DbConnection& db) : m_db(db)
{
    m_db.checkFileStillUsable();
    // The write lock is taken at the start, so that a change waits for another
    // program's lock as long as any other (the wait cursor showing) and never gives up
    // at once halfway, when its first read turns into a write.
    QSqlQuery begin(m_db.m_db);
    if (!begin.exec(QStringLiteral("begin immediate")))
        m_db.fail(QStringLiteral("无法开始事务"), begin.lastError(), QStringLiteral("begin immediate"));
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
