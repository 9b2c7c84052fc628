// Times the reading room as a reader meets it, in the real window (offscreen): a click
// on a poem until the poem and its heading are drawn, beside the bare read of the poem's
// row; and on a poem of 1,000 lines, a zoom step, a change of look, the verse centred,
// the columns laid out and scrolled, each until the window is drawn again; the PDF and
// the picture of that poem and of an ordinary one. Works on a copy of the library, into
// which the long poem is written.
//   reading_bench LIBRARY
#include "BareSql.h"
#include "BenchSupport.h"
#include "mainwindow/frmMain.h"
#include "platform/DesktopOpener.h"
#include "platform/MusicPlayer.h"
#include "platform/SettingsStore.h"
#include "store/DbConnection.h"
#include "store/Statements.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>

using namespace qelvane;
using namespace qelvane::bench;

namespace {

// Each round's time from the action to the window drawn again.
QList<double> drawnTimes(int rounds, QWidget& window, const std::function<void(int)>& action)
{
    QList<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer clock;
        clock.start();
        action(i);
        window.repaint();
        times << clock.nsecsElapsed() / 1e6;
    }
    return times;
}

void printTimes(const QByteArray& name, const QList<double>& times)
{
    print(name + "_p50_ms", percentile(times, 0.5));
    print(name + "_p99_ms", percentile(times, 0.99));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: reading_bench LIBRARY\n");
        return 2;
    }
    QTemporaryDir scratch;
    const QString file = scratch.filePath("library.mdb");
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), file)) {
        std::fprintf(stderr, "reading_bench: cannot read %s\n", argv[1]);
        return 1;
    }
    auto db = DbConnection::Open(file);
    const QString busiest = busiestAuthor(*db);
    // The long poem: a thousand verses of seven characters, in the busiest author's list.
    QStringList verses;
    for (int i = 0; i < 1000; ++i)
        verses << QStringLiteral("白日依山尽黄河入海流欲穷千里目更上一层楼").mid(i % 13, 7) + QStringLiteral("。");
    db->Execute("insert into ChinaPoem (PoemID, Name, Content, Note, AuthorID, Author, EpochID, Epoch, tf) "
                "select 'BENCH1000', '千行', ?, '', AuthorID, Author, EpochID, Epoch, false from ChinaPoem "
                "where AuthorID=? limit 1",
                {verses.join(QStringLiteral("\r\n")), busiest});

    SettingsStore settings(scratch.filePath("settings.ini"));
    // Documents written are not opened.
    struct Closed : DesktopOpener {
        bool openUrl(const QUrl&, LaterFailure) override { return true; }
    } opener;
    Services services;
    services.db = db.get();
    services.settings = &settings;
    services.opener = &opener;
    services.documentsFolder = scratch.filePath("Documents");
    frmMain form(services, std::make_unique<SilentMusicBackend>());
    form.Load();
    form.resize(1200, 800);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    // A reader chooses a poem a while after the start: by then the poem's face has drawn
    // the library's common characters once.
    QElapsedTimer warming;
    warming.start();
    while (!form.glyphsReady() && warming.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    print("glyph_warmup_ms", warming.elapsed(), "%.0f");

    form.tvwPoem_NodeClick(form.nodeByKey(LibrarySide::China, busiest));
    auto* list = form.findChild<QTreeWidget*>(QStringLiteral("lvwPoem"));
    const int entries = std::min(list->topLevelItemCount(), 200);
    print("poems_clicked", entries, "%.0f");
    // Every poem clicked once, so that each draws its characters as a reader's first look.
    printTimes("poem_click_drawn", drawnTimes(entries, form, [&](int i) {
                   form.lvwPoem_ItemClick(list->topLevelItem(i));
               }));
    const BareSql bare(db->sqliteHandle());
    QList<double> bareTimes;
    for (int i = 0; i < entries; ++i) {
        const QByteArray id = list->topLevelItem(i)->data(0, Qt::UserRole).toString().toUtf8();
        QElapsedTimer clock;
        clock.start();
        bare.rows(sql::ChinaPoemText, {id});
        bareTimes << clock.nsecsElapsed() / 1e6;
    }
    printTimes("poem_click_bare", bareTimes);

    form.openFoundPoem(LibrarySide::China, QStringLiteral("BENCH1000"));
    form.repaint();
    printTimes("zoom_step_1000_lines_drawn",
               drawnTimes(20, form, [&](int i) { form.zoomBy(i % 2 == 0 ? +1 : -1); }));
    const looks::Look looks[] = {looks::Look::Night, looks::Look::Paper, looks::Look::Default};
    printTimes("look_change_1000_lines_drawn",
               drawnTimes(12, form, [&](int i) { form.chooseLook(looks[i % 3]); }));
    printTimes("verse_centred_1000_lines_drawn",
               drawnTimes(10, form, [&](int i) { form.setVerseCentred(i % 2 == 0); }));
    printTimes("traditional_1000_lines_drawn",
               drawnTimes(10, form, [&](int i) { form.setTraditional(i % 2 == 0); }));

    // Columns: the 1,000 lines laid out and drawn, then scrolled a screen at a time.
    printTimes("vertical_1000_lines_drawn",
               drawnTimes(10, form, [&](int i) { form.setVertical(i % 2 == 0); }));
    form.setVertical(true);
    auto* columns = form.findChild<QAbstractScrollArea*>(QStringLiteral("txtPoemVertical"));
    printTimes("vertical_1000_lines_scrolled", drawnTimes(20, form, [&](int) {
                   columns->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
               }));
    form.setVertical(false);
    printTimes("pdf_1000_lines", drawnTimes(5, form, [&](int) { form.SavePdf(); }));
    printTimes("picture_1000_lines", drawnTimes(5, form, [&](int) { form.poemPicture(); }));
    // A poem of ordinary length: 将进酒 where the library has it, else the busiest author's first.
    const QString ordinary = Recordset(*db, "select PoemID from ChinaPoem where Name='将进酒' limit 1").Text("PoemID");
    form.openFoundPoem(LibrarySide::China, ordinary.isEmpty() ? list->topLevelItem(0)->data(0, Qt::UserRole).toString()
                                                              : ordinary);
    printTimes("pdf_one_poem", drawnTimes(10, form, [&](int) { form.SavePdf(); }));
    printTimes("picture_one_poem", drawnTimes(10, form, [&](int) { form.poemPicture(); }));
    return 0;
}
