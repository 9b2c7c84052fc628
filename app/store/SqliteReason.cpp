#include "SqliteReason.h"

#include "StoreError.h"

#include <sqlite3.h>

namespace qelvane::sqlitereason {

QString busyMessage()
{
    return QStringLiteral("诗词库正被其他程序使用，请稍后再试。诗词库没有被修改。");
}

QString reasonFor(int code)
{
    switch (code) {
    case SQLITE_READONLY_DBMOVED:
        return QStringLiteral("诗词库文件已被删除、移走或替换，修改无法写入。请重新启动程序。");
    case SQLITE_READONLY_DIRECTORY:
        return QStringLiteral("文件所在的文件夹不可写入，诗词库必须可以写入。");
    default:
        break;
    }
    switch (code & 0xff) {
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满，诗词库无法写入。");
    case SQLITE_NOTADB:
        return QStringLiteral("文件不是有效的数据库文件。");
    case SQLITE_CORRUPT:
        return QStringLiteral("诗词库文件已损坏。");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("文件正被其他程序锁定，请关闭该程序后重试。");
    case SQLITE_READONLY:
        return QStringLiteral("文件是只读的，修改无法写入。");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开文件。");
    case SQLITE_IOERR:
        return QStringLiteral("读写文件时出错。");
    case SQLITE_NOMEM:
        return QStringLiteral("内存不足。");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("没有访问文件的权限。");
    case SQLITE_INTERRUPT:
        return QStringLiteral("操作已中断。");
    case SQLITE_CONSTRAINT:
        return QStringLiteral("数据不符合诗词库的约束。");
    case SQLITE_TOOBIG:
        return QStringLiteral("数据太大。");
    case SQLITE_ERROR:
        return QStringLiteral("诗词库的结构与程序不符，或语句有误。");
    default:
        return QStringLiteral("数据库错误（错误码 %1）。").arg(code);
    }
}

int lastCode(sqlite3* db)
{
    return db ? sqlite3_extended_errcode(db) : SQLITE_ERROR;
}

void fail(const QString& what, int code, const QString& detail)
{
    const int primary = code & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw LibraryBusy(busyMessage(), detail);
    throw StoreError(QStringLiteral("%1：%2").arg(what, reasonFor(code)), detail);
}

} // namespace qelvane::sqlitereason
