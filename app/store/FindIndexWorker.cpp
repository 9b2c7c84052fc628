#include "FindIndexWorker.h"

#include "FindIndexUpkeep.h"

#include <QUrl>
#include <sqlite3.h>

namespace qelvane {

namespace {
// A build started over this many times because the library kept changing gives up.
constexpr int Attempts = 5;
// How long the writing waits for a change of the window to be committed.
constexpr int LockWaitMs = 10000;

QString errorOf(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}
} // namespace

FindIndexWorker::FindIndexWorker(const QString& libraryPath, Job job, Callbacks callbacks)
    : m_path(libraryPath), m_job(job), m_callbacks(std::move(callbacks))
{
    m_thread = std::thread([this] { run(); });
}

FindIndexWorker::~FindIndexWorker()
{
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
}

bool FindIndexWorker::report(int done, int total)
{
    if (m_callbacks.progress)
        m_callbacks.progress(done, total);
    return !m_stopping.load();
}

void FindIndexWorker::run()
{
    QUrl uri = QUrl::fromLocalFile(m_path);
    uri.setQuery(QStringLiteral("mode=rw"));
    sqlite3* db = nullptr;
    QString failure;
    if (sqlite3_open_v2(uri.toString(QUrl::FullyEncoded).toUtf8().constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        failure = db ? errorOf(db) : QStringLiteral("无法打开诗词库");
    } else {
        sqlite3_busy_timeout(db, LockWaitMs);
        sqlite3_extended_result_codes(db, 1);
        failure = m_job == Job::Build ? build(db) : compact(db);
    }
    sqlite3_close(db);
    if (m_callbacks.finished)
        m_callbacks.finished(failure);
}

QString FindIndexWorker::build(sqlite3* db)
{
    QString failure = QStringLiteral("诗词库一直在修改中");
    for (int attempt = 0; attempt < Attempts && !m_stopping; ++attempt) {
        sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
        try {
            findindex::build(db, [this](int done, int total) { return report(done, total); });
            if (sqlite3_exec(db, "commit", nullptr, nullptr, nullptr) == SQLITE_OK)
                return {};
            failure = errorOf(db);
        } catch (const findindex::Cancelled&) {
            failure = QStringLiteral("已停止");
        } catch (const StoreError& error) {
            failure = error.description();
        }
        const int code = sqlite3_extended_errcode(db);
        sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
        // The window committed a change after the poems were read: read them again.
        if (code != SQLITE_BUSY_SNAPSHOT)
            break;
    }
    return failure;
}

QString FindIndexWorker::compact(sqlite3* db)
{
    try {
        findindex::compact(db, [this](int done, int total) { return report(done, total); });
        return {};
    } catch (const findindex::Cancelled&) {
        return QStringLiteral("已停止");
    } catch (const StoreError& error) {
        return error.description();
    }
}

} // namespace qelvane
