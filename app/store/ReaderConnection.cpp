#include "ReaderConnection.h"

#include "StoreError.h"

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
    uri.setQuery(QStringLiteral("mode=ro"));
    const QByteArray name = uri.toString(QUrl::FullyEncoded).toUtf8();
    const int opened =
        sqlite3_open_v2(name.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (opened != SQLITE_OK) {
        const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(opened));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw StoreError(QStringLiteral("无法读取诗词库“%1”：%2").arg(path, reason));
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
