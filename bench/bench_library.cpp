// Times what a reader waits for on a library of any size: the start-up tree, a click
// on the author with the most poems, a poem, the favourites view and a search result.
//   bench_library LIBRARY.mdb
#include "ScaleLibrary.h"
#include "dialogs/frmCleanFavorite.h"
#include "mainwindow/frmMain.h"
#include "platform/MusicPlayer.h"
#include "platform/SettingsStore.h"
#include "store/DbConnection.h"
#include "store/Recordset.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

using namespace qelvane;

namespace {

// Runs the work `rounds` times and prints the median in milliseconds.
void measure(const char* what, int rounds, const std::function<void()>& work)
{
    QList<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    std::printf("%-46s median %8.2f ms  (min %.2f, max %.2f, %d rounds)\n", what, times[times.size() / 2],
                times.first(), times.last(), rounds);
}

QTreeWidgetItem* findByKey(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            return *it;
    return nullptr;
}

} // namespace

void run(DbConnection& db_, const QString& settingsFile)
{
    DbConnection* db = &db_;
    SettingsStore settings(settingsFile);

    const int poems = Recordset(*db, "select count(*) as n from ChinaPoem").Field("n").toInt() +
                      Recordset(*db, "select count(*) as n from ForeignPoem").Field("n").toInt();
    const int authors = Recordset(*db, "select count(*) as n from ChinaAuthor").Field("n").toInt();
    Recordset busiest(*db, "select AuthorID, count(*) as n from ChinaPoem group by AuthorID order by n desc limit 1");
    const QString busiestId = busiest.Text("AuthorID");
    const int busiestCount = busiest.Field("n").toInt();
    std::printf("library: %d poems, %d Chinese authors; busiest author %s with %d poems\n", poems, authors,
                qPrintable(busiestId), busiestCount);

    Services services;
    services.db = db;
    services.settings = &settings;
    frmMain form(services, std::make_unique<SilentMusicBackend>());
    measure("window load (placement, tree, settings)", 1, [&] { form.Load(); });
    measure("all-poems tree rebuild", 5, [&] { form.LoadTree(); });

    QTreeWidgetItem* author = findByKey(form.tvwPoem, busiestId);
    measure("click on the busiest author (list + biography)", 10, [&] { form.tvwPoem_NodeClick(author); });
    form.lvwPoem_ColumnClick(0);
    measure("same click with the list sorted by title", 10, [&] { form.tvwPoem_NodeClick(author); });
    QTreeWidgetItem* entry = form.lvwPoem->topLevelItem(form.lvwPoem->topLevelItemCount() / 2);
    measure("click on a poem (text + notes)", 50, [&] { form.lvwPoem_ItemClick(entry); });

    // A reader with a thousand favourites spread over the library.
    {
        DbConnection::Transaction change(*db);
        db->Execute("update ChinaPoem set tf=true where rowid % ? = 0", {qMax(1, poems / 1000)});
        change.commit();
    }
    form.FavoritesMode = true;
    measure("favourites tree rebuild (about 1000 favourites)", 5, [&] { form.LoadTree(); });
    form.FavoritesMode = false;
    form.LoadTree();

    // A reader with ten thousand favourites opens the cleaner.
    {
        DbConnection::Transaction change(*db);
        db->Execute("update ChinaPoem set tf=(rowid % ? = 0)", {qMax(1, poems / 10000)});
        change.commit();
    }
    const int favourites = Recordset(*db, "select count(*) as n from ChinaPoem where tf=true").Field("n").toInt();
    measure(qPrintable(QString("favourites cleaner opened and filled (%1)").arg(favourites)), 5,
            [&] { frmCleanFavorite cleaner(services); });
    measure("  bare: its two statements stepped in SQLite", 5, [&] {
        sqlite3* handle = db->sqliteHandle();
        for (const char* statement : {"select PoemID,Name,Author from ChinaPoem where tf=1",
                                      "select PoemID,Name,Author from ForeignPoem where tf=1"}) {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(handle, statement, -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                for (int column = 0; column < 3; ++column)
                    sqlite3_column_text(stmt, column);
            sqlite3_finalize(stmt);
        }
    });

    QString id = entry->data(0, Qt::UserRole).toString(), name = entry->text(0), type = "C";
    measure("search result shown (poem, author node, biography)", 20,
            [&] { form.mQueryForm_ShowQueryResult(id, name, type); });
    {
        DbConnection::Transaction change(*db);
        db->Execute("update ChinaPoem set tf=false where tf=true");
        change.commit();
    }
}

// The most memory the process has held (VmHWM), in MB.
double peakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_library LIBRARY.mdb\n");
        return 2;
    }
    QTemporaryDir dir;
    {
        auto db = DbConnection::Open(QString::fromLocal8Bit(argv[1]));
        run(*db, dir.filePath("settings.ini"));
    }
    // The same on four times the library, in a copy.
    const QString copy = dir.filePath("scaled.mdb");
    QFile::copy(QString::fromLocal8Bit(argv[1]), copy);
    auto db = DbConnection::Open(copy);
    multiply(*db, 4);
    std::printf("\n");
    run(*db, dir.filePath("settings.ini"));
    std::printf("\npeak memory of the process: %.1f MB\n", peakMemoryMb());
    return 0;
}
