#include "Compaction.h"

#include "BuildError.h"
#include "store/FindIndex.h"
#include "store/FindIndexUpkeep.h"
#include "store/SqliteStatement.h"
#include "store/StoreError.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>
#include <sqlite3.h>

namespace qelvane::mklib {

std::pair<qint64, qint64> compactLibrary(const QString& path, const std::function<void(int percent)>& progress)
{
    const QFileInfo file(path);
    if (!file.isFile())
        throw BuildError(QStringLiteral("%1：文件不存在").arg(path));
    const qint64 before = file.size();
    QUrl uri = QUrl::fromLocalFile(file.absoluteFilePath());
    uri.setQuery(QStringLiteral("mode=rw"));
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(uri.toString(QUrl::FullyEncoded).toUtf8().constData(), &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr);
    const auto close = qScopeGuard([&] { sqlite3_close(db); });
    if (opened != SQLITE_OK)
        throw BuildError(QStringLiteral("%1：无法打开（%2）").arg(path, QString::fromUtf8(sqlite3_errmsg(db))));
    sqlite3_busy_timeout(db, 10000);
    try {
        if (!findindex::present(db))
            throw BuildError(QStringLiteral("%1：没有查找索引").arg(path));
        findindex::compact(db, [&](int done, int total) {
            if (progress && total > 0)
                progress(done * 100 / total);
            return true;
        });
        // A library made before the pages were kept apart: once over the whole file, with
        // the rollback journal (the setting takes effect only there), then back to the log.
        SqliteStatement mode(db, "pragma auto_vacuum");
        const bool inSteps = mode.next() && mode.integer(0) == 2;
        mode.reset();
        if (!inSteps)
            SqliteStatement::execute(db, "pragma journal_mode=delete; pragma auto_vacuum=incremental; vacuum;"
                                         "pragma journal_mode=wal;");
    } catch (const StoreError& error) {
        throw BuildError(QStringLiteral("%1：%2").arg(path, error.description()));
    }
    sqlite3_close(db);
    db = nullptr;
    return {before, QFileInfo(path).size()};
}

} // namespace qelvane::mklib
