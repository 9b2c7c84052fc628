#include "Statements.h"

namespace qelvane::sql {

QString SearchPoems(bool foreign, bool limited)
{
    QString statement = QStringLiteral("select PoemID,Name,content from ");
    statement += foreign ? QStringLiteral("ForeignPoem") : QStringLiteral("ChinaPoem");
    if (limited)
        statement += foreign ? QStringLiteral(" where Country=?") : QStringLiteral(" where Epoch=?");
    return statement;
}

} // namespace qelvane::sql
