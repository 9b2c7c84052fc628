// Times what a reader waits for in the main window, each path beside the bare engine
// work it cannot avoid (the same statements stepped through SQLite's C API on the same
// connection), on a library and on a copy four times its size.
//   bench_library LIBRARY.mdb
#include "BareSql.h"
#include "BenchSupport.h"
#include "ScaleLibrary.h"
#include "dialogs/frmCleanFavorite.h"
#include "mainwindow/frmMain.h"
#include "platform/MusicPlayer.h"
#include "platform/SettingsStore.h"
#include "store/DbConnection.h"
#include "store/Recordset.h"
#include "store/Statements.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

using namespace qelvane;
using namespace qelvane::bench;

namespace {

// `favourites` Chinese poems spread evenly over the library made favourites, the rest not.
int spreadFavourites(DbConnection& db, int poems, int favourites)
{
    DbConnection::Transaction change(db);
    db.Execute("update ChinaPoem set tf=(rowid in (select rowid from ChinaPoem where rowid % ? = 0 limit ?))",
               {qMax(1, poems / qMax(1, favourites)), favourites});
    change.commit();
    return countOf(db, "select count(*) as n from ChinaPoem where tf=true");
}

void bareFavouritesTree(const BareSql& bare)
{
    bare.rows(sql::ChinaFavoriteAuthors);
    bare.rows(sql::ForeignFavoriteAuthors);
}

// The figures of one library, by name, for the growth lines at the end.
using Figures = QList<std::pair<QByteArray, double>>;

Figures run(DbConnection& db, const QString& settingsFile)
{
    Figures figures;
    auto path = [&](const QByteArray& name, int rounds, const std::function<void()>& program,
                    const std::function<void()>& bareWork) {
        const double programMs = medianMs(rounds, program);
        const double bareMs = medianMs(rounds, bareWork);
        printPath(name, programMs, bareMs);
        figures.append({name, programMs});
    };

    SettingsStore settings(settingsFile);
    const BareSql bare(db.sqliteHandle());
    const int poems = countOf(db, "select count(*) as n from ChinaPoem") +
                      countOf(db, "select count(*) as n from ForeignPoem");
    const QString busiestId = busiestAuthor(db);
    print("poems", poems, "%.0f");
    print("chinese_authors", countOf(db, "select count(*) as n from ChinaAuthor"), "%.0f");
    print("busiest_author_poems", Recordset(db, "select count(*) as n from ChinaPoem where AuthorID=?", {busiestId})
                                      .Field("n").toInt(), "%.0f");
    spreadFavourites(db, poems, 0);

    Services services;
    services.db = &db;
    services.settings = &settings;
    frmMain form(services, std::make_unique<SilentMusicBackend>());
    path("window_load", 1, [&] { form.Load(); }, [&] { bareAllPoemsTree(bare); });
    path("load_tree_all", 20, [&] { form.LoadTree(); }, [&] { bareAllPoemsTree(bare); });

    QTreeWidget* list = form.findChild<QTreeWidget*>(QStringLiteral("lvwPoem"));
    // The busiest author's epoch opened: a large place's authors get their nodes then,
    // not at load.
    path("load_tree_and_open_busiest_epoch", 10, [&] {
        form.LoadTree();
        form.nodeByKey(LibrarySide::China, busiestId);
    }, [&] { bareAllPoemsTree(bare); });
    QTreeWidgetItem* author = form.nodeByKey(LibrarySide::China, busiestId);
    print("busiest_epoch_authors", author->parent()->childCount(), "%.0f");
    const QByteArray busiestUtf8 = busiestId.toUtf8();
    auto bareAuthorClick = [&] {
        bare.rows(sql::ChinaAuthorDetail, {busiestUtf8});
        bare.rows(sql::ChinaPoemsOfAuthor, {busiestUtf8});
    };
    path("busiest_author_click", 30, [&] { form.tvwPoem_NodeClick(author); }, bareAuthorClick);
    form.lvwPoem_ColumnClick(0);
    path("busiest_author_click_sorted", 30, [&] { form.tvwPoem_NodeClick(author); }, bareAuthorClick);

    QTreeWidgetItem* entry = list->topLevelItem(list->topLevelItemCount() / 2);
    const QByteArray poemId = entry->data(0, Qt::UserRole).toString().toUtf8();
    path("poem_click", 50, [&] { form.lvwPoem_ItemClick(entry); }, [&] { bare.rows(sql::ChinaPoemText, {poemId}); });

    QString id = entry->data(0, Qt::UserRole).toString(), name = entry->text(0);
    path("search_result_shown", 20, [&] { form.mQueryForm_ShowQueryResult(id, name, LibrarySide::China); }, [&] {
        bare.rows(sql::ChinaPoemText, {poemId});
        bare.rows(sql::ChinaAuthorDetail, {bare.rows(sql::ChinaPoemAuthorID, {poemId}).value(0)});
    });

    // A reader with ten thousand favourites spread over the library.
    print("favourites", spreadFavourites(db, poems, 10000), "%.0f");
    form.switchView(true);
    path("load_tree_favourites", 5, [&] { form.LoadTree(); }, [&] { bareFavouritesTree(bare); });
    // The command the reader gives: the tool bar's favourites button, from the all-poems
    // view (each round goes back to it first, untimed).
    {
        const double programMs = medianMs(5, [&] { form.switchView(false); }, [&] { form.BarMain_ToolClick("tbFavorite"); });
        const double bareMs = medianMs(5, [&] { bareFavouritesTree(bare); });
        printPath("favourites_view_switch", programMs, bareMs);
        figures.append({"favourites_view_switch", programMs});
    }
    form.switchView(false);

    path("favourites_cleaner", 5, [&] { frmCleanFavorite cleaner(services); }, [&] {
        bare.rows(sql::ChinaFavoritePoems);
        bare.rows(sql::ForeignFavoritePoems);
    });
    spreadFavourites(db, poems, 0);
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_library LIBRARY.mdb\n");
        return 2;
    }
    // The benchmark changes favourites: it works on copies.
    QTemporaryDir dir;
    const QString copy = dir.filePath("library.mdb");
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), copy)) {
        std::fprintf(stderr, "bench_library: cannot read %s\n", argv[1]);
        return 1;
    }
    auto db = DbConnection::Open(copy);
    std::printf("library: %s\n", argv[1]);
    const Figures once = run(*db, dir.filePath("settings.ini"));

    multiply(*db, 4);
    std::printf("\nlibrary: %s, four times over\n", argv[1]);
    const Figures fourfold = run(*db, dir.filePath("settings.ini"));

    // How much longer each path takes on four times the rows: 4 or less is linear.
    std::printf("\n");
    for (qsizetype i = 0; i < once.size() && i < fourfold.size(); ++i)
        if (once[i].second > 0)
            print("growth_x4_" + once[i].first, fourfold[i].second / once[i].second);
    return 0;
}
