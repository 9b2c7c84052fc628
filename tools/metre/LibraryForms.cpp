#include "LibraryForms.h"

#include "text/Metre.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace qelvane::metre {

namespace {

const QStringList& formColumns()
{
    static const QStringList columns = {"五言绝句", "七言绝句", "五言律诗", "七言律诗", "五言排律", "七言排律",
                                        "古体诗", "词", "其他"};
    return columns;
}

// The table's columns line up in a terminal: a Chinese character takes two cells.
QString padded(const QString& text, int cells)
{
    int width = 0;
    for (QChar c : text)
        width += c.unicode() >= 0x2E80 ? 2 : 1;
    return text + QString(std::max(1, cells - width), u' ');
}

} // namespace

int printLibraryForms(const QString& file, QTextStream& out, QTextStream& err)
{
    if (!QFileInfo(file).isFile()) {
        err << "qelvane-metre: no library at " << file << "\n";
        return 1;
    }
    int code = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("metre"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QElapsedTimer clock;
        clock.start();
        QStringList epochs;
        QHash<QString, QHash<QString, int>> forms; // epoch → form → poems
        int poems = 0;
        QSqlQuery query(db);
        if (!db.open() || !query.exec(QStringLiteral("select Epoch from ChinaEpoch order by EpochID"))) {
            err << "qelvane-metre: cannot read " << file << ": " << (db.isOpen() ? query.lastError() : db.lastError()).text()
                << "\n";
            code = 1;
        } else {
            while (query.next())
                epochs.append(query.value(0).toString());
            query.setForwardOnly(true);
            query.exec(QStringLiteral("select Epoch, Name, Content from ChinaPoem"));
            while (query.next()) {
                const QString epoch = query.value(0).toString();
                const Metre metre = analyse(query.value(1).toString(), query.value(2).toString());
                ++forms[epoch][metre.form];
                ++poems;
                if (!epochs.contains(epoch))
                    epochs.append(epoch);
            }
            const double seconds = clock.nsecsElapsed() / 1e9;
            out << padded(QStringLiteral("朝代"), 8);
            for (const QString& form : formColumns())
                out << padded(form, 10);
            out << QStringLiteral("合计") << "\n";
            QHash<QString, int> totals;
            for (const QString& epoch : epochs) {
                int all = 0;
                out << padded(epoch, 8);
                for (const QString& form : formColumns()) {
                    const int n = forms[epoch].value(form);
                    all += n;
                    totals[form] += n;
                    out << padded(QString::number(n), 10);
                }
                out << all << "\n";
            }
            out << padded(QStringLiteral("合计"), 8);
            for (const QString& form : formColumns())
                out << padded(QString::number(totals[form]), 10);
            out << poems << "\n";
            out << "metre_seconds: " << QString::number(seconds, 'f', 2) << "\n";
            out << "metre_poems: " << poems << "\n";
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("metre"));
    return code;
}

} // namespace qelvane::metre
