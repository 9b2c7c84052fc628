#include "Statements.h"

namespace qelvane::sql {

namespace {
QString fromPoems(const QString& columns, bool foreign, bool limited)
{
    QString statement = QStringLiteral("select %1 from ").arg(columns);
    statement += foreign ? QStringLiteral("ForeignPoem") : QStringLiteral("ChinaPoem");
    if (limited)
        statement += foreign ? QStringLiteral(" where Country=?") : QStringLiteral(" where Epoch=?");
    return statement;
}
} // namespace

QString SearchPoems(bool foreign, bool limited)
{
    return fromPoems(QStringLiteral("PoemID,Name,content"), foreign, limited);
}

QString CountSearchPoems(bool foreign, bool limited)
{
    return fromPoems(QStringLiteral("count(*)"), foreign, limited);
}

QString BuryFindPoemsOf(const char* poemIds)
{
    return QStringLiteral("insert into FindGone(PoemKey) select PoemKey from FindPoem where Side=? and PoemID in (%1)")
        .arg(QString::fromLatin1(poemIds));
}

QString ForgetFindMetresOf(const char* poemIds)
{
    return QStringLiteral("delete from FindMetre where PoemKey in (select PoemKey from FindPoem where Side=? and PoemID in (%1))")
        .arg(QString::fromLatin1(poemIds));
}

QString ForgetFindPoemsOf(const char* poemIds)
{
    return QStringLiteral("delete from FindPoem where Side=? and PoemID in (%1)").arg(QString::fromLatin1(poemIds));
}

QString PlaceFindPoemsOf(const char* poemIds)
{
    return QStringLiteral("update FindPoem set Place=? where Side=? and PoemID in (%1)").arg(QString::fromLatin1(poemIds));
}

} // namespace qelvane::sql
