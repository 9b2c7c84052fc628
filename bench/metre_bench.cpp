// The metre: one poem analysed as the window asks for it (p50, p99 over poems of the
// library), the 格律 marks of a poem of 1,000 lines set and drawn, a bare read of every
// poem's text beside the same read with every poem analysed (what qelvane-metre
// --library does, on one core), and the find box's list of the largest form-and-rhyme group found,
// laid out and drawn.
//   metre_bench LIBRARY
#include "BenchSupport.h"

#include "mainwindow/FindResults.h"
#include "store/FindMetre.h"
#include "store/SqliteStatement.h"
#include "text/Metre.h"
#include "ui/VerseView.h"

#include <sqlite3.h>

#include <QApplication>
#include <QListView>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace qelvane;
using namespace qelvane::bench;

namespace {

struct Poem {
    QString title, text;
};

// Every Chinese poem's title and text, read as the library tool reads them; with
// `analyse`, each analysed as it comes.
double readAll(const QString& file, QList<Poem>* keep, bool analyse)
{
    QElapsedTimer clock;
    clock.start();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.exec(QStringLiteral("select Epoch, Name, Content from ChinaPoem"));
        int n = 0;
        while (query.next()) {
            const QString title = query.value(1).toString(), text = query.value(2).toString();
            if (analyse)
                n += metre::analyse(title, text).chars.size() > 0;
            if (keep && keep->size() < 400000)
                keep->append({title, text});
        }
        Q_UNUSED(n);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: metre_bench LIBRARY\n");
        return 2;
    }
    const QString library = QString::fromLocal8Bit(argv[1]);
    metre::analyse(u"", u"热身。"); // the rhyme books and tune patterns, loaded once

    QList<Poem> poems;
    const double bare = readAll(library, &poems, false);
    const double analysed = readAll(library, nullptr, true);
    print("metre_poems", poems.size(), "%.0f");
    print("library_read_seconds", bare);
    print("one_core_read_and_metre_seconds", analysed);
    print("one_core_metre_ratio", bare > 0 ? analysed / bare : 0);

    // One poem for the window: every 50th poem of the library, timed one by one.
    QList<double> times;
    for (qsizetype i = 0; i < poems.size(); i += 50) {
        QElapsedTimer clock;
        clock.start();
        const metre::Metre m = metre::analyse(poems[i].title, poems[i].text);
        times.append(clock.nsecsElapsed() / 1e6);
        Q_UNUSED(m);
    }
    print("one_poem_p50_ms", percentile(times, 0.5), "%.3f");
    print("one_poem_p99_ms", percentile(times, 0.99), "%.3f");

    // The marks of a poem of 1,000 lines: analysed, laid on the area and drawn.
    QStringList lines;
    for (int i = 0; i < 250; ++i)
        lines << "风急天高猿啸哀，渚清沙白鸟飞回。" << "无边落木萧萧下，不尽长江滚滚来。";
    const QString text = lines.join(u'\n');
    VerseView area;
    area.resize(700, 900);
    area.setCentredBlock(true);
    area.setPlainText(text);
    area.show();
    if (!QTest::qWaitForWindowExposed(&area))
        return 1;
    const double toggle = medianMs(9, [&] { area.setMarks({}); area.repaint(); }, [&] {
        const metre::Metre m = metre::analyse(u"登高", text);
        QList<VerseMark> marks;
        marks.reserve(m.chars.size());
        for (int i = 0; i < m.chars.size(); ++i)
            marks.append({m.verse.glyphs[i].position, m.verse.glyphs[i].length, m.chars[i].mark, m.chars[i].foot,
                          m.chars[i].fault});
        area.setMarks(std::move(marks));
        area.repaint();
    });
    print("marks_1000_lines_ms", toggle);

    // The largest group of one form, tune and rhyme, as the find box lists it.
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(library.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return 1;
    {
        SqliteStatement largest(db, "select Form, Tune, Rhyme, count(*) from FindMetre group by 1, 2, 3"
                                    " order by 4 desc limit 1");
        if (largest.next()) {
            const findmetre::Metre group{largest.text(0), largest.text(1), largest.text(2)};
            print("largest_group_poems", double(largest.integer(3)), "%.0f");
            std::printf("largest_group: %s\n", qPrintable(findmetre::queryOf(group)));
            FindResults results;
            QListView list;
            list.setModel(&results);
            list.setItemDelegate(new FoundPoemDelegate(&list));
            list.setUniformItemSizes(true);
            list.resize(480, 600);
            list.show();
            if (!QTest::qWaitForWindowExposed(&list))
                return 1;
            QList<double> drawn;
            for (int round = 0; round < 21; ++round) {
                results.clear();
                list.repaint();
                QElapsedTimer clock;
                clock.start();
                QList<findindex::Hit> hits = findmetre::find(db, group, 31);
                const bool more = hits.size() > 30;
                hits.resize(std::min<qsizetype>(hits.size(), 30));
                results.show(std::move(hits), more);
                list.repaint();
                drawn.append(clock.nsecsElapsed() / 1e6);
            }
            print("same_rhyme_list_p50_ms", percentile(drawn, 0.5));
            print("same_rhyme_list_p99_ms", percentile(drawn, 0.99));
        } else {
            std::printf("same_rhyme_list: the library has no find index of this program's form\n");
        }
    }
    sqlite3_close(db);
    return 0;
}
