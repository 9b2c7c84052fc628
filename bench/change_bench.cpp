// Times the program's changes on a big library beside the bare statements on the same
// rows (the library's own rows and the find index's rows for those poems), each on a copy
// of its own: a poem deleted and changed (median of five), the library's largest author
// and its largest epoch deleted; then the compaction of the index and the file's size.
//   change_bench LIBRARY
#include "BenchSupport.h"
#include "store/Changes.h"
#include "store/DbConnection.h"
#include "store/FindGrams.h"
#include "store/FindIndex.h"
#include "store/FindIndexUpkeep.h"
#include "store/FindText.h"
#include "store/Statements.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sqlite3.h>

using namespace qelvane;
using namespace qelvane::bench;

namespace {

// The bare engine: statements prepared, bound and stepped through the C API.
class Bare {
public:
    explicit Bare(sqlite3* db) : m_db(db) {}
    void exec(const char* text) const { sqlite3_exec(m_db, text, nullptr, nullptr, nullptr); }
    void run(const QString& text, const QList<QVariant>& values = {}) const
    {
        const QByteArray statement = DbConnection::toEngineDialect(text).toUtf8();
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(m_db, statement.constData(), int(statement.size()), &stmt, nullptr);
        QList<QByteArray> kept;
        for (int i = 0; i < values.size(); ++i) {
            if (values[i].typeId() == QMetaType::QByteArray) {
                kept << values[i].toByteArray();
                sqlite3_bind_blob(stmt, i + 1, kept.last().constData(), int(kept.last().size()), SQLITE_STATIC);
            } else if (values[i].typeId() == QMetaType::LongLong || values[i].typeId() == QMetaType::Int) {
                sqlite3_bind_int64(stmt, i + 1, values[i].toLongLong());
            } else {
                kept << values[i].toString().toUtf8();
                sqlite3_bind_text(stmt, i + 1, kept.last().constData(), int(kept.last().size()), SQLITE_STATIC);
            }
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
        }
        sqlite3_finalize(stmt);
    }
    template <std::size_t N>
    void runAll(const char* const (&statements)[N], const QString& value) const
    {
        for (const char* statement : statements)
            run(QString::fromLatin1(statement), {value});
    }

private:
    sqlite3* m_db;
};

double timedMs(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

double fileMb(const QString& path)
{
    return double(QFileInfo(path).size() + QFileInfo(path + "-wal").size()) / 1048576.0;
}

QStringList column(DbConnection& db, const QString& statement, const QVariantList& values)
{
    QStringList found;
    for (Recordset rs(db, statement, values); !rs.Eof(); rs.MoveNext())
        found << rs.Text("v");
    return found;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: change_bench LIBRARY\n");
        return 2;
    }
    QTemporaryDir scratch;
    const QString programFile = scratch.filePath("program.mdb");
    const QString bareFile = scratch.filePath("bare.mdb");
    for (const QString& copy : {programFile, bareFile}) {
        if (!QFile::copy(QString::fromLocal8Bit(argv[1]), copy)) {
            std::fprintf(stderr, "change_bench: cannot read %s\n", argv[1]);
            return 1;
        }
    }
    auto program = DbConnection::Open(programFile);
    auto bareDb = DbConnection::Open(bareFile);
    const Bare bare(bareDb->sqliteHandle());
    if (!findindex::present(program->sqliteHandle())) {
        std::fprintf(stderr, "change_bench: the library has no find index\n");
        return 1;
    }

    const QString author = busiestAuthor(*program);
    const QString epoch = Recordset(*program, "select Epoch, count(*) as n from ChinaPoem group by Epoch order by n desc "
                                              "limit 1")
                              .Text("Epoch");
    const QStringList others = column(*program, "select PoemID as v from ChinaPoem where AuthorID<>? and Epoch<>? "
                                                "limit 10 offset 100", {author, epoch});
    if (others.size() < 10) {
        std::fprintf(stderr, "change_bench: the library is too small\n");
        return 1;
    }
    print("poems", countOf(*program, "select count(*) as n from ChinaPoem"), "%.0f");
    print("largest_author_poems",
          Recordset(*program, sql::ChinaPoemCountOfAuthor, {author}).Field("Poems").toDouble(), "%.0f");
    print("largest_epoch_poems", Recordset(*program, sql::ChinaPoemCountOfEpoch, {epoch}).Field("Poems").toDouble(),
          "%.0f");
    const double mbBefore = fileMb(programFile);

    QList<double> ratios;
    const auto path = [&](const QByteArray& name, double programMs, double bareMs) {
        printPath(name, programMs, bareMs);
        ratios << (bareMs > 0 ? programMs / bareMs : 0);
    };

    // A poem deleted, five times.
    {
        QList<double> programMs, bareMs;
        for (int i = 0; i < 5; ++i) {
            const QString id = others[i];
            programMs << timedMs([&] { changes::deletePoem(*program, LibrarySide::China, id); });
            bareMs << timedMs([&] {
                bare.exec("begin immediate");
                bare.run("delete from FindPoem where Side=0 and PoemID=?", {id});
                bare.run(sql::DeleteChinaPoem, {id});
                bare.exec("commit");
            });
        }
        path("delete_poem", median(programMs), median(bareMs));
    }
    // A poem added, five times: the bare work writes its row, its key and its lines' entries.
    {
        QList<double> programMs, bareMs;
        const QString text = QStringLiteral("白日依山尽，黄河入海流。\n欲穷千里目，更上一层楼。");
        for (int i = 0; i < 5; ++i) {
            const QString id = QStringLiteral("BenchAdded%1").arg(i);
            programMs << timedMs([&] {
                changes::addPoem(*program, {LibrarySide::China, epoch, "E?", "王之涣", author, "登鹳雀楼", text, "", id});
            });
            bareMs << timedMs([&] {
                bare.exec("begin immediate");
                bare.run("insert into ChinaPoem(PoemID, Name, Content, Author, AuthorID, Epoch) values(?,?,?,?,?,?)",
                         {id, QStringLiteral("登鹳雀楼"), text, QStringLiteral("王之涣"), author, epoch});
                bare.run("insert into FindPoem(PoemKey,Side,PoemID,Fame,Title,Author,Place)"
                         " values((select max(PoemKey)+1 from FindPoem),0,?,0,'','','')", {id});
                findindex::Postings lists;
                findindex::collect(lists, 1, findtext::fold(QStringLiteral("登鹳雀楼")).chars, findtext::fold(text).chars,
                                   findtext::fold(QStringLiteral("王之涣")).chars);
                for (const auto& [list, entries] : lists)
                    bare.run("update FindGram set Lines=Lines||? where Gram=?",
                             {QByteArray(int(entries.size()) * 3, '\x01'), qint64(list)});
                bare.exec("commit");
            });
        }
        path("add_poem", median(programMs), median(bareMs));
    }
    // A poem's title and text changed, five times: the bare work writes its row, its key
    // anew and an entry onto each list its lines' grams go to.
    {
        QList<double> programMs, bareMs;
        for (int i = 5; i < 10; ++i) {
            const QString id = others[i];
            Recordset rs(*program, "select Name, Content, Author from ChinaPoem where PoemID=?", {id});
            const QString name = rs.Text("Name") + "·改";
            const QString content = rs.Text("Content") + "\n新添一句";
            const QString poet = rs.Text("Author");
            rs.Close();
            programMs << timedMs([&] {
                changes::updatePoem(*program, LibrarySide::China, id, name, content, std::nullopt);
            });
            bareMs << timedMs([&] {
                bare.exec("begin immediate");
                bare.run("update ChinaPoem set Name=?, Content=? where PoemID=?", {name, content, id});
                bare.run("delete from FindPoem where Side=0 and PoemID=?", {id});
                bare.run("insert into FindPoem(PoemKey,Side,PoemID,Fame) values((select max(PoemKey)+1 from FindPoem),0,?,0)",
                         {id});
                findindex::Postings lists;
                findindex::collect(lists, 1, findtext::fold(name).chars, findtext::fold(content).chars,
                                   findtext::fold(poet).chars);
                for (const auto& [list, entries] : lists)
                    bare.run("update FindGram set Lines=Lines||? where Gram=?",
                             {QByteArray(int(entries.size()) * 3, '\x01'), qint64(list)});
                bare.exec("commit");
            });
        }
        path("change_poem", median(programMs), median(bareMs));
    }
    // The largest author, then the largest epoch, with every poem.
    const auto deletion = [&](const QByteArray& name, const QString& value, const char* poemIds, auto statements,
                              const std::function<void()>& programWork) {
        const double programMs = timedMs(programWork);
        const double bareMs = timedMs([&] {
            bare.exec("begin immediate");
            bare.run(QString("delete from FindPoem where Side=0 and PoemID in (%1)").arg(poemIds), {value});
            bare.runAll(*statements, value);
            bare.exec("commit");
        });
        path(name, programMs, bareMs);
    };
    deletion("delete_author", author, sql::ChinaPoemIdsOfAuthor, &sql::DeleteChinaAuthor,
             [&] { changes::deleteAuthor(*program, LibrarySide::China, author); });
    deletion("delete_epoch", epoch, sql::PoemIdsOfEpoch, &sql::DeleteEpoch,
             [&] { changes::deletePlace(*program, LibrarySide::China, epoch); });
    print("change_ratio_max", *std::max_element(ratios.begin(), ratios.end()));

    // The tombstones swept out, and the pages given back.
    const double mbAfterDeletion = fileMb(programFile);
    print("tombstones", findindex::tombstones(program->sqliteHandle()), "%.0f");
    print("compact_ms", timedMs([&] { findindex::compact(program->sqliteHandle()); }), "%.0f");
    sqlite3_wal_checkpoint_v2(program->sqliteHandle(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    print("library_mb_before", mbBefore, "%.1f");
    print("library_mb_after_deletions", mbAfterDeletion, "%.1f");
    print("library_mb_after_compaction", fileMb(programFile), "%.1f");
    return 0;
}
