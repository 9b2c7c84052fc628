#include "ReaderConnection.h"

#include "SqliteReason.h"
#include "StoreError.h"

#include <QFileInfo>
#include <QUrl>
#include <sqlite3.h>

namespace qelvane {

namespace {
// A reader only waits while a writer recovers or checkpoints the log, a moment; the
// wait is polled so that an interruption ends it.
constexpr int LockPollMs = 2;
constexpr int LockWaitMs = 2000;
} // namespace

ReaderConnection::ReaderConnection(const QString& path)
{
    // mode=ro never creates the file; the URI form keeps any character of the path.
    QUrl uri = QUrl::fromLocalFile(path);
    // On read-only media SQLite cannot keep the log's shared index beside the file: it
    // is read as a file that does not change, as the window's connection reads it.
    const bool folderWritable = QFileInfo(QFileInfo(path).absolutePath()).isWritable();
    uri.setQuery(folderWritable ? QStringLiteral("mode=ro") : QStringLiteral("mode=ro&immutable=1"));
    const QByteArray name = uri.toString(QUrl::FullyEncoded).toUtf8();
    const int opened =
        sqlite3_open_v2(name.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (opened != SQLITE_OK) {
        const int code = m_db ? sqlitereason::lastCode(m_db) : opened;
        sqlite3_close(m_db);
        m_db = nullptr;
        sqlitereason::fail(QStringLiteral("无法读取诗词库“%1”").arg(path), code, QString::fromUtf8(sqlite3_errstr(opened)));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_handler(m_db, &ReaderConnection::waitForLock, this);
}

ReaderConnection::~ReaderConnection()
{
    sqlite3_close(m_db);
}

void ReaderConnection::interrupt()
{
    m_interrupted.store(true, std::memory_order_relaxed);
    sqlite3_interrupt(m_db);
}

int ReaderConnection::waitForLock(void* self, int attempt)
{
    if (static_cast<ReaderConnection*>(self)->interrupted() || attempt * LockPollMs >= LockWaitMs)
        return 0;
    sqlite3_sleep(LockPollMs);
    return 1;
}

} // namespace qelvane
