// Times the find box (the real FindBox, offscreen) from the last key of a query to the
// list of poems drawn, and the finder alone, and measures how often a remembered line with one character off
// still finds its poem among the first ten; with the index's size and build time.
//   find_bench LIBRARY [QUERIES]
// Without QUERIES: 200 queries drawn from the library's own verses (50 each of 1, 2, 4
// and 7 characters; in a third of the 4- and 7-character ones one character changed).
// QUERIES is a UTF-8 file of lines "query<TAB>title<TAB>author": each is run, and those
// whose poem is not among the first ten are listed.
#include "BenchSupport.h"
#include "mainwindow/FindBox.h"
#include "store/DbConnection.h"
#include "store/FindIndex.h"
#include "store/FindIndexUpkeep.h"
#include "store/FindText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <limits>
#include <sqlite3.h>

using namespace qelvane;
using namespace qelvane::bench;

namespace {

struct Query {
    QString text;
    QString title;  // of the poem it was drawn from, or that it should find
    QString author;
    QString poemId; // when drawn from the library
    bool changed = false;
};

// A verse of a random poem (one with a verse long enough), cut to `length` characters
// from a random start; one character replaced by a character of another poem when
// `change` is set.
std::optional<Query> drawQuery(DbConnection& db, QRandomGenerator& random, int length, bool change, int poems)
{
    Recordset rs(db, "select PoemID, Name, Content, Author from ChinaPoem limit 1 offset ?",
                 {int(random.bounded(poems))});
    if (rs.Eof())
        return std::nullopt;
    const QString content = rs.Field("Content").toString();
    QStringList verses;
    for (const QString& verse : content.split(QRegularExpression("[，。？！；：、\\n]"), Qt::SkipEmptyParts))
        if (verse.trimmed().size() >= length &&
            std::none_of(verse.cbegin(), verse.cend(), [](QChar c) { return c.isSurrogate(); }))
            verses << verse.trimmed();
    if (verses.isEmpty())
        return std::nullopt;
    const QString verse = verses[int(random.bounded(int(verses.size())))];
    const int start = int(random.bounded(verse.size() - length + 1));
    Query query{verse.mid(start, length), rs.Field("Name").toString(), rs.Field("Author").toString(),
                rs.Field("PoemID").toString(), false};
    if (change) {
        const int at = int(random.bounded(length));
        const QChar replacement = QChar(0x4E00 + int(random.bounded(0x9FA5 - 0x4E00)));
        if (replacement == query.text[at])
            return std::nullopt;
        query.text[at] = replacement;
        query.changed = true;
    }
    return query;
}

QList<Query> drawnQueries(DbConnection& db)
{
    QRandomGenerator random(20261208);
    const int poems = Recordset(db, "select count(*) as n from ChinaPoem").Field("n").toInt();
    QList<Query> queries;
    for (int length : {1, 2, 4, 7}) {
        int made = 0;
        while (made < 50) {
            const bool change = length >= 4 && made % 3 == 0;
            if (std::optional<Query> query = drawQuery(db, random, length, change, poems)) {
                queries << *query;
                ++made;
            }
        }
    }
    return queries;
}

QList<Query> readQueries(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "find_bench: cannot read %s\n", qPrintable(file));
        std::exit(2);
    }
    QList<Query> queries;
    for (const QString& line : QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split('\t');
        if (fields.size() >= 3)
            queries << Query{fields[0], fields[1], fields[2], {}, true};
    }
    return queries;
}

bool isAmongFirstTen(const QList<findindex::Hit>& hits, const Query& query)
{
    for (qsizetype i = 0; i < hits.size() && i < 10; ++i) {
        if (!query.poemId.isEmpty() ? hits[i].poemId == query.poemId
                                    : hits[i].title == query.title && hits[i].author == query.author)
            return true;
    }
    return false;
}

// The pages of the index's tables and of the whole file, in MB.
std::pair<double, double> sizesMb(sqlite3* handle, const QString& file)
{
    sqlite3_stmt* stmt = nullptr;
    double index = 0;
    if (sqlite3_prepare_v2(handle,
                           "select sum(pgsize) from dbstat where name in "
                           "('FindGram','FindPoem','idx_FindPoem_Poem','FindIndexInfo')",
                           -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        index = sqlite3_column_double(stmt, 0) / 1048576.0;
    sqlite3_finalize(stmt);
    return {index, QFileInfo(file).size() / 1048576.0};
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: find_bench LIBRARY [QUERIES]\n");
        return 2;
    }
    // A copy, so that the rebuild timed below leaves the library as it was.
    QTemporaryDir scratch;
    const QString file = scratch.filePath("library.mdb");
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), file)) {
        std::fprintf(stderr, "find_bench: cannot read %s\n", argv[1]);
        return 1;
    }
    auto db = DbConnection::Open(file);
    if (!findindex::present(db->sqliteHandle())) {
        std::fprintf(stderr, "find_bench: the library has no find index (made by qelvane-mklib)\n");
        return 1;
    }
    const QList<Query> queries = argc > 2 ? readQueries(QString::fromLocal8Bit(argv[2])) : drawnQueries(*db);

    // The finder alone, on a connection of its own (a page cache of its own, cold as the
    // window's): what the index costs, apart from drawing the list.
    QMap<int, QList<double>> indexByLength;
    {
        auto alone = DbConnection::Open(file);
        findindex::prepare();
        for (const Query& query : queries) {
            QElapsedTimer clock;
            clock.start();
            findindex::find(alone->sqliteHandle(), query.text, std::numeric_limits<int>::max());
            indexByLength[int(query.text.size())] << clock.nsecsElapsed() / 1e6;
        }
    }

    QWidget window;
    window.resize(1000, 700);
    auto* bar = new QMenuBar(&window);
    FindBox box(bar, &window, *db);
    window.show();
    QCoreApplication::processEvents();
    // As the box gets the focus before the first key.
    findindex::prepare();
    // A reader types a while after the start: by then the box has drawn the common
    // characters once, in the idle turns the window left it.
    QElapsedTimer warming;
    warming.start();
    while (!box.glyphsReady() && warming.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    print("find_glyph_warmup_ms", warming.elapsed(), "%.0f");

    // Each query typed but its last character, then the last key timed until the list
    // has been drawn.
    QList<double> latencies;
    QMap<int, QList<double>> byLength;
    QMap<int, QPair<int, int>> changedByLength; // found, of
    int changed = 0, changedFound = 0, exactFound = 0, exact = 0;
    QStringList missed;
    for (const Query& query : queries) {
        box.field()->clear();
        box.field()->setFocus();
        box.field()->setText(query.text.chopped(1));
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, query.text.right(1));
        QCoreApplication::sendEvent(box.field(), &press);
        if (box.list()->isVisible())
            box.list()->viewport()->repaint();
        const double ms = clock.nsecsElapsed() / 1e6;
        latencies << ms;
        if (qEnvironmentVariableIsSet("FIND_BENCH_TRACE"))
            std::fprintf(stderr, "%s %.2f\n", qPrintable(query.text), ms);
        byLength[int(query.text.size())] << ms;
        const QList<findindex::Hit> hits = findindex::find(db->sqliteHandle(), query.text, 10);
        const bool found = isAmongFirstTen(hits, query);
        if (query.changed) {
            ++changed;
            changedFound += found ? 1 : 0;
            changedByLength[int(query.text.size())].first += found ? 1 : 0;
            changedByLength[int(query.text.size())].second += 1;
        } else if (query.text.size() >= 4) {
            ++exact;
            exactFound += found ? 1 : 0;
        }
        if (!found && (query.changed || argc > 2))
            missed << QString("%1\t%2\t%3").arg(query.text, query.title, query.author);
    }

    print("find_queries", queries.size(), "%.0f");
    print("find_p50_ms", percentile(latencies, 0.5));
    print("find_p99_ms", percentile(latencies, 0.99));
    for (auto it = byLength.cbegin(); it != byLength.cend(); ++it) {
        print(QByteArray("find_p50_ms_") + QByteArray::number(it.key()) + "_chars", percentile(it.value(), 0.5));
        print(QByteArray("find_p99_ms_") + QByteArray::number(it.key()) + "_chars", percentile(it.value(), 0.99));
    }
    for (auto it = indexByLength.cbegin(); it != indexByLength.cend(); ++it)
        print(QByteArray("find_index_p99_ms_") + QByteArray::number(it.key()) + "_chars", percentile(it.value(), 0.99));
    print("find_recall", changed ? double(changedFound) / changed : 0, "%.3f");
    for (auto it = changedByLength.cbegin(); it != changedByLength.cend(); ++it)
        print(QByteArray("find_recall_") + QByteArray::number(it.key()) + "_chars",
              double(it.value().first) / it.value().second, "%.3f");
    if (exact)
        print("find_recall_exact_4_7_chars", double(exactFound) / exact, "%.3f");

    const auto [indexMb, fileMb] = sizesMb(db->sqliteHandle(), file);
    print("find_index_mb", indexMb, "%.1f");
    print("library_mb", fileMb, "%.1f");
    const double buildMs = medianMs(1, [&] {
        DbConnection::Transaction rebuild(*db);
        findindex::build(db->sqliteHandle());
        rebuild.commit();
    });
    print("find_index_build_ms", buildMs, "%.0f");
    for (const QString& line : missed)
        std::printf("not in the first ten: %s\n", line.toUtf8().constData());
    return 0;
}
