// The find index on the fixture library: what a reader's remembered words find, and an
// index that follows every change (or none, when the change fails), is built beside a
// running program, and is missing from an older library without harm.
#include "TestLibrary.h"
#include "store/Changes.h"
#include "store/DbConnection.h"
#include "store/FindIndex.h"
#include "store/FindIndexUpkeep.h"
#include "store/FindIndexWorker.h"
#include "store/FindMetre.h"

#include <QtTest>
#include <csignal>
#include <future>
#include <sqlite3.h>

using namespace qelvane;

namespace {

// Each hit as "ID e<edits>", the line and the matched text: what the list shows.
QStringList described(const QList<findindex::Hit>& hits)
{
    QStringList rows;
    for (const findindex::Hit& hit : hits)
        rows << QString("%1 e%2 %3 [%4]")
                    .arg(hit.poemId)
                    .arg(hit.edits)
                    .arg(hit.line, hit.line.mid(hit.matchStart, hit.matchLength));
    return rows;
}

QStringList ids(const QList<findindex::Hit>& hits)
{
    QStringList found;
    for (const findindex::Hit& hit : hits)
        found << hit.poemId;
    return found;
}

// What a few remembered lines find, for comparing the index before and after.
QStringList answers(sqlite3* db)
{
    QStringList rows;
    for (const char* query : {"明月", "床前明月光", "国破山河在", "明月几时有", "Tyger", "杜甫", "李白", "春"})
        rows << QString::fromUtf8(query) + ": " + ids(findindex::find(db, QString::fromUtf8(query), 30)).join(' ');
    return rows;
}

// In a child process: compacts the library and is killed by its own hand the moment the
// first list has been rewritten, inside the transaction that rewrites it.
const char* const CompactUntilKilled = "QELVANE_TEST_COMPACT_UNTIL_KILLED";

int compactUntilKilled(const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 3;
    sqlite3_update_hook(
        db,
        [](void*, int, const char*, const char* table, sqlite3_int64) {
            if (qstrcmp(table, "FindGram") == 0)
                std::raise(SIGKILL);
        },
        nullptr);
    findindex::compact(db);
    return 4; // never reached when the compaction rewrites anything
}

} // namespace

class tst_FindIndex : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LibraryFixture> f;

    sqlite3* handle() { return f->db->sqliteHandle(); }
    QList<findindex::Hit> find(const QString& query) { return findindex::find(handle(), query, 30); }
    QString authorId(const QString& name)
    {
        return test::scalar(f->libraryFile, "select AuthorID from ChinaAuthor where AuthorName=?", {name}).toString();
    }
    // The index holds exactly the library's poems, as a fresh build would.
    void expectSound()
    {
        const QStringList faults = test::findIndexFaults(*f->db);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

private slots:
    void init() { f = std::make_unique<test::LibraryFixture>(); }
    void cleanup() { f.reset(); }

    void whatARemberedLineFinds()
    {
        QVERIFY(findindex::present(handle()));
        // Exact, from a verse's start, with the line as the library holds it.
        QCOMPARE(described(find("床前明月光")), QStringList({"P1 e0 床前明月光，疑是地上霜。 [床前明月光]"}));
        // No punctuation, over a line break: the match is shown on the line it begins on.
        QCOMPARE(described(find("疑是地上霜 举头望明月")), QStringList({"P1 e0 床前明月光，疑是地上霜。 [疑是地上霜。]"}));
        // A character off, in the middle or at the end.
        QCOMPARE(described(find("床前看月光")), QStringList({"P1 e1 床前明月光，疑是地上霜。 [床前明月光]"}));
        QCOMPARE(described(find("举头望山月")), QStringList({"P1 e1 举头望明月，低头思故乡。 [举头望明月]"}));
        // Two off in a longer line; three off is another line.
        QCOMPARE(ids(find("君不见黄山之水天下来")), QStringList({"P2"}));
        QCOMPARE(ids(find("君不见白山之水天下来")), QStringList());
        // Traditional characters, letter case and spacing.
        QCOMPARE(ids(find("舉頭望明月")), QStringList({"P1"}));
        QCOMPARE(described(find("THE SUN comes")),
                 QStringList({"WP1 e0 The sun comes up. [The sun comes]", "WP2 e2 The sun goes down. [The sun goes]"}));
        QCOMPARE(ids(find("dès l'aube")), QStringList({"WP4"}));
        // Titles (a single character too) and authors' names.
        QCOMPARE(ids(find("静")), QStringList({"P1"}));
        QCOMPARE(find("静").first().part, findindex::Part::Title);
        QCOMPARE(ids(find("李白")), QStringList({"P1", "P2"}));
        QCOMPARE(find("李白").first().part, findindex::Part::Author);
        QCOMPARE(find("，。").size(), 0);
        QCOMPARE(find("").size(), 0);
    }

    // Latin letters are words: a short word found whole (or with a short ending), never
    // as another word one letter off or inside a longer one.
    void latinQueriesMatchWords()
    {
        const QString country = test::scalar(f->libraryFile, "select CountryID from ForeignCountry where Country='英国'").toString();
        const QString author = test::scalar(f->libraryFile, "select AuthorID from ForeignAuthor where AuthorName='布莱克'").toString();
        const auto add = [&](const QString& id, const QString& title, const QString& text) {
            changes::addPoem(*f->db, {LibrarySide::Foreign, "英国", country, "布莱克", author, title, text, "", id});
        };
        add("R1", "The Sick Rose", "O Rose, thou art sick.");
        add("R2", "Dawn", "The birds rise whose song is sweet.");
        add("R3", "Garden", "Red roses in the garden.");
        add("R4", "Prose", "A prosecutor spoke in prose.");
        QCOMPARE(ids(find("Rose")), QStringList({"R1", "R3"}));
        QCOMPARE(ids(find("rise")), QStringList({"R2"}));
        // From six letters a misspelt word is still found.
        QCOMPARE(ids(find("garedn")), QStringList({"R3"}));
        expectSound();
    }

    void theOrderOfWhatIsFound()
    {
        // A match at a verse's start before one inside a verse.
        QCOMPARE(ids(find("明月")), QStringList({"P6", "P1"}));
        // Exact before one off.
        QCOMPARE(described(find("明月光")),
                 QStringList({"P1 e0 床前明月光，疑是地上霜。 [明月光]", "P6 e1 明月几时有？把酒问青天。 [明月]"}));
        // A poem of an anthology the notes name goes first among equals, though it came
        // into the library (and the index) later.
        changes::updatePoem(*f->db, LibrarySide::China, "P6", "水调歌头", "把酒问青天明月几时有", "");
        QCOMPARE(ids(find("明月")), QStringList({"P1", "P6"}));
        changes::updatePoem(*f->db, LibrarySide::China, "P1", "静夜思", "床前明月光，疑是地上霜。\n举头望明月，低头思故乡。",
                            "唐诗三百首。");
        QCOMPARE(ids(find("明月")), QStringList({"P1", "P6"}));
        changes::updatePoem(*f->db, LibrarySide::China, "P1", "静夜思", "床前明月光，疑是地上霜。\n举头望明月，低头思故乡。",
                            "");
        QCOMPARE(ids(find("明月")), QStringList({"P6", "P1"}));
        expectSound();
    }

    // How many characters off a query may be, at the lengths where that changes: none
    // up to two characters (a shorter query finds only what holds it), one from three
    // to five, two from six. (A query of three two off shares no pair with its line.)
    void theCharactersAQueryMayBeOff()
    {
        changes::addPoem(*f->db, {LibrarySide::China, "唐", "E?", "无名氏", "A-new", "十干", "甲乙丙丁戊己庚辛壬癸",
                                  "", "NewPoem1"});
        QStringList found;
        for (const QString& query : QStringList{"甲乙", "甲乙子", "甲乙丙子", "甲乙子丑", "甲乙丙丁子", "甲乙丙子丑",
                                     "甲乙丙丁子丑", "甲乙丙子丑寅"}) {
            const QList<findindex::Hit> hits = find(query);
            found << query + (hits.isEmpty() ? QString(" -") : QString(" %1 e%2").arg(hits[0].poemId).arg(hits[0].edits));
        }
        QCOMPARE(found, QStringList({"甲乙 NewPoem1 e0", "甲乙子 NewPoem1 e1", "甲乙丙子 NewPoem1 e1", "甲乙子丑 -",
                                     "甲乙丙丁子 NewPoem1 e1", "甲乙丙子丑 -", "甲乙丙丁子丑 NewPoem1 e2",
                                     "甲乙丙子丑寅 -"}));
    }

    void keptCurrentByEveryChange()
    {
        expectSound();
        changes::addPoem(*f->db, {LibrarySide::China, "唐", "E?", "王之涣", "A-new", "登鹳雀楼", "白日依山尽，黄河入海流。",
                                  "", "NewPoem1"});
        QCOMPARE(ids(find("白日依山尽")), QStringList({"NewPoem1"}));
        QCOMPARE(ids(find("王之涣")), QStringList({"NewPoem1"}));
        expectSound();

        changes::updatePoem(*f->db, LibrarySide::China, "P3", "春望", "烽火连三月，家书抵万金。", "");
        QCOMPARE(ids(find("烽火连三月")), QStringList({"P3"}));
        QCOMPARE(ids(find("国破山河在")), QStringList());
        expectSound();

        changes::updateAuthor(*f->db, authorId("杜甫"), {LibrarySide::China, "唐", "杜子美", "诗圣。"});
        QCOMPARE(ids(find("杜子美")), QStringList({"P3", "P4"}));
        QVERIFY(!ids(find("杜甫")).contains("P3"));
        expectSound();
        // Moved to another epoch under the same name.
        changes::updateAuthor(*f->db, authorId("杜子美"), {LibrarySide::China, "宋", "杜子美", "诗圣。"});
        expectSound();

        changes::deletePoem(*f->db, LibrarySide::China, "P5");
        QCOMPARE(ids(find("无名之诗")), QStringList());
        expectSound();
        changes::deleteAuthor(*f->db, LibrarySide::China, authorId("李白"));
        QCOMPARE(ids(find("床前明月光")), QStringList());
        expectSound();
        changes::deletePlace(*f->db, LibrarySide::China, "宋");
        QCOMPARE(ids(find("明月几时有")), QStringList());
        expectSound();
        changes::deletePlace(*f->db, LibrarySide::Foreign, "英国");
        QCOMPARE(ids(find("Tyger")), QStringList());
        QCOMPARE(ids(find("Demain")), QStringList({"WP4"}));
        expectSound();
    }

    // Each Chinese poem's form and rhyme group stand beside it in the index, follow every
    // change (sound: as a fresh build has them), and list the poems of one metre, the
    // well-known first, but for the poem asked from.
    void poemsOfOneFormAndRhyme()
    {
        const QString stork = "白日依山尽，黄河入海流。\n欲穷千里目，更上一层楼。";
        auto add = [&](const char* id, const char* note) {
            changes::addPoem(*f->db, {LibrarySide::China, "唐", "E?", "王之涣", "A-new", "登鹳雀楼", stork, note, id});
        };
        add("NewPoem1", "");
        add("NewPoem2", "");
        add("NewPoem3", "唐诗三百首");
        const auto metreOf = [&](const char* id) {
            return test::scalar(f->libraryFile, "select m.Form||' '||m.Tune||' '||m.Rhyme from FindMetre m join FindPoem p"
                                                " on p.PoemKey=m.PoemKey where p.PoemID=?", {QString(id)}).toString();
        };
        QCOMPARE(metreOf("NewPoem1"), QString("五言绝句  下平十一尤"));
        const findmetre::Metre quatrainInYou{"五言绝句", "", "下平十一尤"};
        QCOMPARE(findmetre::parseQuery(u"五绝 下平十一尤"), std::optional(quatrainInYou));
        QCOMPARE(findmetre::parseQuery(u"体：五言绝句\u3000韵：下平十一尤"), std::optional(quatrainInYou));
        QCOMPARE(ids(findmetre::find(handle(), quatrainInYou, 10, LibrarySide::China, "NewPoem1")),
                 QStringList({"NewPoem3", "NewPoem2"}));
        QCOMPARE(ids(findmetre::find(handle(), *findmetre::parseQuery(u"韵:下平十一尤"), 2)),
                 QStringList({"NewPoem3", "NewPoem1"}));
        expectSound();

        changes::updatePoem(*f->db, LibrarySide::China, "NewPoem1", "江雪",
                            "千山鸟飞绝，万径人踪灭。\n孤舟蓑笠翁，独钓寒江雪。", std::nullopt);
        QCOMPARE(metreOf("NewPoem1"), QString("古体诗  入声九屑"));
        QCOMPARE(ids(findmetre::find(handle(), quatrainInYou, 10)), QStringList({"NewPoem3", "NewPoem2"}));
        expectSound();
        changes::deletePoem(*f->db, LibrarySide::China, "NewPoem2");
        QCOMPARE(test::scalar(f->libraryFile, "select count(*) from FindMetre where Form='五言绝句'").toInt(), 1);
        expectSound();
        changes::deletePlace(*f->db, LibrarySide::China, "唐");
        QCOMPARE(test::scalar(f->libraryFile,
                              "select count(*) from FindMetre where PoemKey not in (select PoemKey from FindPoem)").toInt(),
                 0);
        QCOMPARE(ids(findmetre::find(handle(), quatrainInYou, 10)), QStringList());
        expectSound();
        // Words, a form alone or a tune alone are queries of the words.
        QVERIFY(!findmetre::parseQuery(u"明月"));
        QVERIFY(!findmetre::parseQuery(u"五绝"));
        QVERIFY(!findmetre::parseQuery(u"浣溪沙"));
        QCOMPARE(findmetre::parseQuery(u"浣溪沙 第三部平声"), std::optional(findmetre::Metre{"词", "浣溪沙", "第三部平声"}));
    }

    // A change that fails after the index was changed inside it takes the index back
    // with it.
    void aFailedChangeLeavesTheIndexAsItWas()
    {
        const auto fingerprint = [this] {
            return test::scalar(f->libraryFile,
                                "select count(*)||'/'||sum(length(Lines)) from FindGram").toString() +
                   test::scalar(f->libraryFile, "select group_concat(PoemKey||PoemID) from FindPoem").toString() +
                   test::scalar(f->libraryFile, "select group_concat(PoemKey||Form||Rhyme) from FindMetre").toString();
        };
        const QString before = fingerprint();
        test::seed(f->libraryFile, "create trigger refuse before update on ChinaPoem begin select raise(abort, 'no'); end");
        QVERIFY_THROWS_EXCEPTION(StoreError, changes::updatePoem(*f->db, LibrarySide::China, "P1", "静夜思", "白日依山尽", ""));
        QCOMPARE(fingerprint(), before);
        QCOMPARE(ids(find("床前明月光")), QStringList({"P1"}));
        QCOMPARE(ids(find("白日依山尽")), QStringList());
        expectSound();
    }

    // Deleted and changed poems leave tombstones the finder skips; the compaction sweeps
    // them out, a change made between two of its shares is kept, and what is left answers
    // as a fresh build.
    void tombstonesTheCompactionSweepsOut()
    {
        changes::deleteAuthor(*f->db, LibrarySide::China, authorId("李白"));
        changes::updatePoem(*f->db, LibrarySide::China, "P3", "春望", "烽火连三月，家书抵万金。", "");
        QCOMPARE(findindex::tombstones(handle()), 3);
        QCOMPARE(ids(find("床前明月光")), QStringList());
        QCOMPARE(ids(find("国破山河在")), QStringList());
        QCOMPARE(ids(find("烽火连三月")), QStringList({"P3"}));
        expectSound();
        const QStringList before = answers(handle());

        findindex::compact(handle(), [&](int done, int) {
            if (done == 10)
                changes::deletePoem(*f->db, LibrarySide::China, "P5");
            return true;
        });
        // Only the poem deleted after the sweep began is still buried.
        QCOMPARE(findindex::tombstones(handle()), 1);
        QCOMPARE(ids(find("无名之诗")), QStringList());
        expectSound();
        findindex::compact(handle());
        QCOMPARE(findindex::tombstones(handle()), 0);
        QCOMPARE(answers(handle()), before);
        expectSound();
    }

    // Stopped halfway or killed inside a share, the library is whole and the index
    // answers as before; the next compaction finishes the work.
    void aCompactionStoppedOrKilledHalfway()
    {
        changes::deletePlace(*f->db, LibrarySide::China, "宋");
        changes::deletePlace(*f->db, LibrarySide::Foreign, "英国");
        const QStringList before = answers(handle());
        const int buried = findindex::tombstones(handle());
        QVERIFY_THROWS_EXCEPTION(findindex::Cancelled,
                                 findindex::compact(handle(), [](int done, int) { return done < 64; }));
        QCOMPARE(findindex::tombstones(handle()), buried);
        QCOMPARE(answers(handle()), before);
        expectSound();

        f->db->Close();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(CompactUntilKilled, f->libraryFile);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        f->db = DbConnection::Open(f->libraryFile);
        QCOMPARE(test::scalar(f->libraryFile, "pragma integrity_check").toString(), QString("ok"));
        QCOMPARE(answers(handle()), before);
        expectSound();
        findindex::compact(handle());
        QCOMPARE(findindex::tombstones(handle()), 0);
        QCOMPARE(answers(handle()), before);
        expectSound();
    }

    // A library made before the index: nothing is missed, changes go on, and a build
    // makes it whole.
    void aLibraryWithoutTheIndex()
    {
        test::seed(f->libraryFile, "drop table FindGram");
        test::seed(f->libraryFile, "drop table FindPoem");
        test::seed(f->libraryFile, "drop table FindIndexInfo");
        QVERIFY(!findindex::present(handle()));
        QVERIFY_THROWS_EXCEPTION(StoreError, find("明月"));
        changes::deletePoem(*f->db, LibrarySide::China, "P5");
        changes::updatePoem(*f->db, LibrarySide::China, "P3", "春望", "烽火连三月", "");
        {
            DbConnection::Transaction build(*f->db);
            findindex::build(handle());
            build.commit();
        }
        QVERIFY(findindex::present(handle()));
        QCOMPARE(ids(find("烽火连三月")), QStringList({"P3"}));
        QCOMPARE(ids(find("无名之诗")), QStringList());
        expectSound();
    }

    // Built beside the program: a poem the program adds while the builder reads is in the
    // index all the same (the builder reads again).
    void builtBesideTheProgram()
    {
        test::seed(f->libraryFile, "drop table FindIndexInfo");
        QVERIFY(!findindex::present(handle()));
        std::promise<QString> done;
        std::atomic<int> reads = 0;
        FindIndexWorker::Callbacks callbacks;
        callbacks.progress = [&](int doneSoFar, int) {
            // The first report comes before any poem is read: the program adds one.
            if (doneSoFar == 0 && reads++ == 0)
                test::seed(f->libraryFile, "insert into ChinaPoem(PoemID,Name,Content,Epoch,tf) "
                                           "values('P-late','晚到','白日依山尽','唐',false)");
        };
        callbacks.finished = [&](const QString& failure) { done.set_value(failure); };
        FindIndexWorker builder(f->libraryFile, FindIndexWorker::Job::Build, callbacks);
        QCOMPARE(done.get_future().get(), QString());
        QCOMPARE(reads.load(), 2);
        QVERIFY(findindex::present(handle()));
        QCOMPARE(ids(find("白日依山尽")), QStringList({"P-late"}));
        QCOMPARE(ids(find("床前明月光")), QStringList({"P1"}));
        expectSound();
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(CompactUntilKilled))
        return compactUntilKilled(qEnvironmentVariable(CompactUntilKilled));
    QCoreApplication app(argc, argv);
    tst_FindIndex test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_findindex.moc"
