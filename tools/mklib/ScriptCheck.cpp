#include "ScriptCheck.h"

#include "BuildError.h"
#include "store/Simplified.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace qelvane::mklib {

QMap<QString, int> traditionalOnlyCharacters(const QString& libraryFile, const Simplified& simplified)
{
    QMap<QString, int> found;
    const QString name = QStringLiteral("mklib-script-check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(libraryFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            throw BuildError(QStringLiteral("%1：无法读取以检查繁体字").arg(libraryFile));
        for (const char* statement :
             {"select AuthorName from ChinaAuthor", "select AuthorDetail from ChinaAuthorDetail",
              "select Name from ChinaPoem", "select Content from ChinaPoem", "select Note from ChinaPoem",
              "select Author from ChinaPoem"}) {
            QSqlQuery rows(db);
            rows.setForwardOnly(true);
            rows.exec(QString::fromLatin1(statement));
            while (rows.next()) {
                // A placeholder ("{上/貝}") describes a character Unicode lacks by its
                // parts, as the data set wrote them: it is no text.
                int depth = 0;
                for (const uint code : rows.value(0).toString().toUcs4()) {
                    const char32_t c = code;
                    depth += c == U'{' ? 1 : c == U'}' && depth > 0 ? -1 : 0;
                    if (depth == 0 && simplified.isTraditionalOnly(c))
                        ++found[QString::fromUcs4(&c, 1)];
                }
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return found;
}

} // namespace qelvane::mklib
