#include "LibraryForms.h"

#include "text/Metre.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <thread>
#include <vector>

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

struct Poem {
    QString epoch, title, text;
    QString form;
};

constexpr size_t BatchSize = 8192;

// The batch with each poem's form, found on every core.
std::vector<Poem>& formsOf(std::vector<Poem>& batch)
{
    const size_t workers = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (size_t w = 0; w < workers; ++w)
        threads.emplace_back([&batch, w, workers] {
            for (size_t i = w; i < batch.size(); i += workers)
                batch[i].form = analyse(batch[i].title, batch[i].text).form;
        });
    for (std::thread& thread : threads)
        thread.join();
    return batch;
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
            // Read in batches on this thread; each batch analysed on every core.
            std::vector<Poem> batch;
            batch.reserve(BatchSize);
            auto count = [&] {
                for (const Poem& poem : formsOf(batch)) {
                    ++forms[poem.epoch][poem.form];
                    ++poems;
                    if (!epochs.contains(poem.epoch))
                        epochs.append(poem.epoch);
                }
                batch.clear();
            };
            while (query.next()) {
                batch.push_back({query.value(0).toString(), query.value(1).toString(), query.value(2).toString(), {}});
                if (batch.size() == BatchSize)
                    count();
            }
            count();
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
