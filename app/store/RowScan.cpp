#include "RowScan.h"

#include "DbConnection.h"
#include "SqliteReason.h"
#include "StoreError.h"

#include <sqlite3.h>

namespace qelvane {

namespace {
[[noreturn]] void scanFailed(sqlite3* db, const QString& statement)
{
    sqlitereason::fail(QStringLiteral("数据库语句执行失败"), sqlitereason::lastCode(db),
                       QStringLiteral("%1\n%2").arg(QString::fromUtf8(sqlite3_errmsg(db)), statement));
}
} // namespace

RowScan::RowScan(DbConnection& db, const QString& statement, const QVariantList& values)
    : RowScan(db.sqliteHandle(), statement, values)
{
}

RowScan::RowScan(sqlite3* handle, const QString& statement, const QVariantList& values) : m_statement(statement)
{
    const QByteArray text = DbConnection::toEngineDialect(statement).toUtf8();
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &m_stmt, nullptr) != SQLITE_OK)
        scanFailed(handle, statement);
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray value = values[i].toString().toUtf8();
        const int bound = values[i].isNull()
                              ? sqlite3_bind_null(m_stmt, i + 1)
                              : sqlite3_bind_text(m_stmt, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
        if (bound != SQLITE_OK) {
            finish();
            scanFailed(handle, statement);
        }
    }
}

RowScan::~RowScan()
{
    finish();
}

bool RowScan::next()
{
    if (!m_stmt)
        return false;
    switch (sqlite3_step(m_stmt)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        finish();
        return false;
    default: {
        sqlite3* handle = sqlite3_db_handle(m_stmt);
        const int code = sqlitereason::lastCode(handle);
        const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
        finish();
        sqlitereason::fail(QStringLiteral("数据库语句执行失败"), code, QStringLiteral("%1\n%2").arg(message, m_statement));
    }
    }
}

QByteArrayView RowScan::utf8(int column) const
{
    if (!m_stmt)
        return {};
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    if (!bytes)
        return {};
    return QByteArrayView(bytes, sqlite3_column_bytes(m_stmt, column));
}

bool RowScan::isNull(int column) const
{
    return !m_stmt || sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

void RowScan::finish()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
}

} // namespace qelvane
