#include "SqliteStatement.h"

#include "DbConnection.h"
#include "SqliteReason.h"

#include <sqlite3.h>

namespace qelvane {

SqliteStatement::SqliteStatement(sqlite3* db, const char* text) : m_db(db), m_text(QString::fromUtf8(text))
{
    if (sqlite3_prepare_v2(db, text, -1, &m_stmt, nullptr) != SQLITE_OK)
        failed();
}

SqliteStatement::SqliteStatement(sqlite3* db, const QString& statement, const QVariantList& values)
    : m_db(db), m_text(statement)
{
    const QByteArray text = DbConnection::toEngineDialect(statement).toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, nullptr) != SQLITE_OK)
        failed();
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& value = values[i];
        if (value.isNull())
            bindNull(i + 1);
        else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong)
            bind(i + 1, value.toLongLong());
        else
            bind(i + 1, value.toString());
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

void SqliteStatement::execute(sqlite3* db, const char* statements)
{
    char* message = nullptr;
    if (sqlite3_exec(db, statements, nullptr, nullptr, &message) == SQLITE_OK)
        return;
    const int code = sqlitereason::lastCode(db);
    const QString reason = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlitereason::fail(QStringLiteral("数据库语句执行失败"), code,
                       QStringLiteral("%1\n%2").arg(reason, QString::fromUtf8(statements)));
}

void SqliteStatement::failed() const
{
    const int code = sqlitereason::lastCode(m_db);
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (m_stmt)
        sqlite3_reset(m_stmt);
    sqlitereason::fail(QStringLiteral("数据库语句执行失败"), code, QStringLiteral("%1\n%2").arg(message, m_text));
}

void SqliteStatement::check(int result) const
{
    if (result != SQLITE_OK)
        failed();
}

SqliteStatement& SqliteStatement::bind(int index, qint64 value)
{
    check(sqlite3_bind_int64(m_stmt, index, value));
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const QString& value)
{
    const QByteArray bytes = value.toUtf8();
    check(sqlite3_bind_text(m_stmt, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, QByteArrayView value)
{
    check(sqlite3_bind_blob(m_stmt, index, value.data(), int(value.size()), SQLITE_TRANSIENT));
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index)
{
    check(sqlite3_bind_null(m_stmt, index));
    return *this;
}

bool SqliteStatement::next()
{
    const int result = sqlite3_step(m_stmt);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        failed();
    sqlite3_reset(m_stmt);
    return false;
}

int SqliteStatement::run()
{
    while (next()) {
    }
    return sqlite3_changes(m_db);
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

qint64 SqliteStatement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QByteArrayView SqliteStatement::utf8(int column) const
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    if (!bytes)
        return {};
    return QByteArrayView(bytes, sqlite3_column_bytes(m_stmt, column));
}

QByteArrayView SqliteStatement::blob(int column) const
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
    return QByteArrayView(bytes, sqlite3_column_bytes(m_stmt, column));
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

} // namespace qelvane
