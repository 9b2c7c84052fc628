// The library's changes made of several statements: each is written whole or not at
// all, and a failure leaves the connection ready for the next change.
#include "TestLibrary.h"
#include "store/Changes.h"
#include "store/Library.h"
#include "store/DbConnection.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <functional>

using namespace qelvane;

class tst_Changes : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LibraryFixture> library;

    QVariant scalar(const QString& statement, const QVariantList& values = {})
    {
        return test::scalar(library->libraryFile, statement, values);
    }
    int count(const QString& table, const QString& condition, const QVariantList& values)
    {
        return scalar("select count(*) from " + table + " where " + condition, values).toInt();
    }
    // Makes every insert into (or delete from) a table fail, as a full disk would.
    void breakTable(const QString& table, const QString& operation)
    {
        test::seed(library->libraryFile, QString("create trigger broken_%1 before %2 on %1 begin "
                                                 "select raise(abort, 'disk full'); end")
                                             .arg(table, operation));
    }

    // The find index follows every change, or none: it holds exactly the library's
    // poems, as a fresh build would.
    void expectIndexSound()
    {
        const QStringList faults = test::findIndexFaults(*library->db);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

private slots:
    void initTestCase() { DbConnection::setLockWaitMs(300); }
    void init() { library = std::make_unique<test::LibraryFixture>(); }
    void cleanup() { library.reset(); }

    // A library from elsewhere may give two poems or two authors one ID: a change by
    // that ID is refused, naming it, and touches neither row.
    void sharedIdsAreNeverChangedTogether()
    {
        DbConnection& db = *library->db;
        const QString poem = scalar("select PoemID from ChinaPoem where Name='静夜思'").toString();
        test::seed(library->libraryFile, "insert into ChinaPoem(PoemID,EpochID,Epoch,AuthorID,Author,Name,Content) "
                                         "select PoemID,EpochID,Epoch,AuthorID,Author,'重号诗乙',Content from ChinaPoem "
                                         "where Name='静夜思'");
        const QString rows = "select group_concat(Name||':'||tf, ',') from (select Name, tf from ChinaPoem where PoemID=? order by rowid)";
        const QString before = scalar(rows, {poem}).toString();
        const QString poemRefusal = QString("诗词库中有 2 首诗词的编号都是“%1”，无法只修改您选中的那一首。诗词库没有被修改。").arg(poem);
        const QString dufu = scalar("select AuthorID from ChinaAuthor where AuthorName='杜甫'").toString();
        test::seed(library->libraryFile, "insert into ChinaAuthor(EpochID,Epoch,AuthorID,AuthorName) "
                                         "select EpochID,'宋',AuthorID,'另一人' from ChinaAuthor where AuthorName='杜甫'");
        const QString authorRefusal = QString("诗词库中有 2 位作者的编号都是“%1”，无法只修改您选中的那一位。诗词库没有被修改。").arg(dufu);
        const QList<QPair<QString, std::function<void()>>> attempts = {
            {poemRefusal, [&] { changes::deletePoem(db, LibrarySide::China, poem); }},
            {poemRefusal, [&] { changes::updatePoem(db, LibrarySide::China, poem, "改", std::nullopt, std::nullopt); }},
            {poemRefusal, [&] { changes::markFavorite(db, LibrarySide::China, poem); }},
            {poemRefusal, [&] { changes::unmarkFavorite(db, LibrarySide::China, poem); }},
            {authorRefusal, [&] { changes::updateAuthor(db, dufu, {LibrarySide::China, "唐", "杜甫", "诗圣。"}); }},
            {authorRefusal, [&] { changes::deleteAuthor(db, LibrarySide::China, dufu); }},
        };
        for (const auto& [refusal, attempt] : attempts) {
            try {
                attempt();
                QFAIL(qPrintable("went through: " + refusal));
            } catch (const StoreError& refused) {
                QCOMPARE(refused.description(), refusal);
            }
        }
        QCOMPARE(scalar(rows, {poem}).toString(), before);
        QCOMPARE(scalar("select group_concat(AuthorName||'/'||Epoch, ',') from (select AuthorName, Epoch from ChinaAuthor "
                        "where AuthorID=? order by rowid)", {dufu}).toString(),
                 QString("杜甫/唐,另一人/宋"));
        QCOMPARE(count("ChinaPoem", "AuthorID=?", {dufu}), 2);
    }

    // A library whose ID column holds numbers (another program's, with no type on the
    // column): the poem it lists as "135" is read, marked, changed and deleted as 135.
    void idsStoredAsNumbers()
    {
        test::seed(library->libraryFile,
                   "create table Numbered (PoemID, Name text, Content text, Note text, AuthorID text, Author text, "
                   "EpochID text, Epoch text, tf boolean not null default false)");
        test::seed(library->libraryFile, "insert into Numbered select * from ChinaPoem");
        test::seed(library->libraryFile, "drop table ChinaPoem");
        test::seed(library->libraryFile, "alter table Numbered rename to ChinaPoem");
        test::seed(library->libraryFile, "update ChinaPoem set PoemID=135 where Name='静夜思'");
        QCOMPARE(scalar("select typeof(PoemID) from ChinaPoem where Name='静夜思'").toString(), QString("integer"));
        DbConnection& db = *library->db;
        const QString author = scalar("select AuthorID from ChinaPoem where PoemID=135").toString();
        QStringList listed;
        for (const library::PoemTitle& poem : library::poemsOf(db, LibrarySide::China, author, false))
            listed << poem.id;
        QVERIFY(listed.contains("135"));
        QVERIFY(library::poemText(db, LibrarySide::China, "135"));
        QVERIFY(changes::markFavorite(db, LibrarySide::China, "135"));
        QCOMPARE(scalar("select tf from ChinaPoem where PoemID=135").toInt(), 1);
        changes::updatePoem(db, LibrarySide::China, "135", "夜思", std::nullopt, std::nullopt);
        QCOMPARE(scalar("select Name from ChinaPoem where PoemID=135").toString(), QString("夜思"));
        changes::deletePoem(db, LibrarySide::China, "135");
        QCOMPARE(count("ChinaPoem", "PoemID=?", {135}), 0);
        QCOMPARE(count("ChinaPoem", "Name=?", {"将进酒"}), 1);
    }

    // A counter table made WITHOUT ROWID (another program's library): numbering works.
    void aCounterTableWithoutRowid()
    {
        test::seed(library->libraryFile, "create table Counters (Name text primary key, Count integer) without rowid");
        test::seed(library->libraryFile, "insert into Counters select Name, Count from NewCount");
        test::seed(library->libraryFile, "drop table NewCount");
        test::seed(library->libraryFile, "alter table Counters rename to NewCount");
        const QString id = changes::addAuthor(*library->db, {LibrarySide::China, "唐", "某人", "某人的简介。"});
        QCOMPARE(scalar("select AuthorName from ChinaAuthor where AuthorID=?", {id}).toString(), QString("某人"));
        QCOMPARE(scalar("select Count from NewCount where Name='Author'").toInt(), 1);
        QCOMPARE(changes::newPoemId(*library->db), QString("NewPoem1"));
        QCOMPARE(scalar("select Count from NewCount where Name='Poem'").toInt(), 1);
    }

    void addingAnAuthor()
    {
        changes::Author author{LibrarySide::China, "唐", "O'Neil 李", "第一行\n第二行，含'引号'。"};
        const QString id = changes::addAuthor(*library->db, author);
        QCOMPARE(id, QString("NewAuthor1"));
        QCOMPARE(scalar("select Count from NewCount where Name='Author'").toInt(), 1);
        QCOMPARE(scalar("select AuthorName from ChinaAuthor where AuthorID=?", {id}).toString(), author.name);
        QCOMPARE(scalar("select Epoch from ChinaAuthor where AuthorID=?", {id}).toString(), QString("唐"));
        QCOMPARE(scalar("select EpochID from ChinaAuthor where AuthorID=?", {id}),
                 scalar("select EpochID from ChinaEpoch where Epoch='唐'"));
        QCOMPARE(scalar("select AuthorDetail from ChinaAuthorDetail where AuthorID=?", {id}).toString(),
                 author.biography);

        const QString foreign =
            changes::addAuthor(*library->db, {LibrarySide::Foreign, "法国", "Verlaine", "法国诗人。"});
        QCOMPARE(foreign, QString("NewAuthor2"));
        QCOMPARE(scalar("select Country from ForeignAuthor where AuthorID=?", {foreign}).toString(), QString("法国"));
        QCOMPARE(count("ForeignAuthorDetail", "AuthorID=?", {foreign}), 1);
    }

    void anAuthorIsAddedWholeOrNotAtAll()
    {
        // A place the library does not hold: nothing written, the number not used up.
        QVERIFY_THROWS_EXCEPTION(changes::UnknownPlace,
                                 changes::addAuthor(*library->db, {LibrarySide::China, "未知朝", "某人", "简介"}));
        QCOMPARE(scalar("select Count from NewCount where Name='Author'").toInt(), 0);
        QCOMPARE(count("ChinaAuthor", "AuthorName=?", {"某人"}), 0);

        // The biography cannot be written: neither is the author, nor the counter.
        breakTable("ChinaAuthorDetail", "insert");
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 changes::addAuthor(*library->db, {LibrarySide::China, "唐", "某人", "简介"}));
        QCOMPARE(scalar("select Count from NewCount where Name='Author'").toInt(), 0);
        QCOMPARE(count("ChinaAuthor", "AuthorName=?", {"某人"}), 0);

        // The connection goes on working.
        QCOMPARE(changes::addAuthor(*library->db, {LibrarySide::Foreign, "英国", "Keats", "英国诗人。"}),
                 QString("NewAuthor1"));
    }

    void changingAnAuthorMovesHisPoems()
    {
        const QString id = changes::addAuthor(*library->db, {LibrarySide::China, "唐", "某人", "旧简介"});
        changes::addPoem(*library->db, {LibrarySide::China, "唐", "E?", "某人", id, "诗", "内容", "注释", "P-x"});
        changes::updateAuthor(*library->db, id, {LibrarySide::China, "宋", "某某", "新简介"});
        QCOMPARE(scalar("select Epoch from ChinaAuthor where AuthorID=?", {id}).toString(), QString("宋"));
        QCOMPARE(scalar("select AuthorName from ChinaAuthor where AuthorID=?", {id}).toString(), QString("某某"));
        QCOMPARE(scalar("select AuthorDetail from ChinaAuthorDetail where AuthorID=?", {id}).toString(),
                 QString("新简介"));
        // The poems go with their author: place and name.
        QCOMPARE(scalar("select Epoch from ChinaPoem where PoemID='P-x'").toString(), QString("宋"));
        QCOMPARE(scalar("select EpochID from ChinaPoem where PoemID='P-x'"),
                 scalar("select EpochID from ChinaEpoch where Epoch='宋'"));
        QCOMPARE(scalar("select Author from ChinaPoem where PoemID='P-x'").toString(), QString("某某"));
        expectIndexSound();
        // Deleting the old epoch leaves him and his poems; deleting the new one takes both.
        changes::deletePlace(*library->db, LibrarySide::China, "唐");
        QCOMPARE(count("ChinaPoem", "PoemID='P-x'", {}), 1);
        expectIndexSound();
        changes::deletePlace(*library->db, LibrarySide::China, "宋");
        QCOMPARE(count("ChinaPoem", "AuthorID=?", {id}), 0);
        QCOMPARE(count("ChinaAuthor", "AuthorID=?", {id}), 0);
        expectIndexSound();
    }

    void aChangeThatFindsNothingIsAFailure()
    {
        const QString id = changes::addAuthor(*library->db, {LibrarySide::China, "唐", "某人", "旧简介"});
        changes::addPoem(*library->db, {LibrarySide::China, "唐", "E?", "某人", id, "诗", "内容", "注释", "P-x"});
        // An author whose biography row is missing: nothing of the change is kept.
        test::seed(library->libraryFile, "delete from ChinaAuthorDetail where AuthorID=?", {id});
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 changes::updateAuthor(*library->db, id, {LibrarySide::China, "宋", "改名", "新"}));
        QCOMPARE(scalar("select AuthorName from ChinaAuthor where AuthorID=?", {id}).toString(), QString("某人"));
        QCOMPARE(scalar("select Epoch from ChinaPoem where PoemID='P-x'").toString(), QString("唐"));
        QVERIFY_THROWS_EXCEPTION(StoreError, changes::updateAuthor(*library->db, "NoSuchAuthor",
                                                                    {LibrarySide::China, "唐", "x", "y"}));
        // A biography and poems left behind by an author deleted elsewhere: no author,
        // so neither is changed.
        test::seed(library->libraryFile, "insert into ChinaAuthorDetail(AuthorID,AuthorDetail) values('Gone','旧')");
        test::seed(library->libraryFile, "update ChinaPoem set AuthorID='Gone' where PoemID='P-x'");
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 changes::updateAuthor(*library->db, "Gone", {LibrarySide::China, "宋", "改名", "新"}));
        QCOMPARE(scalar("select AuthorDetail from ChinaAuthorDetail where AuthorID='Gone'").toString(), QString("旧"));
        QCOMPARE(scalar("select Author from ChinaPoem where PoemID='P-x'").toString(), QString("某人"));
        expectIndexSound();
        // A poem deleted meanwhile can be neither marked, unmarked nor deleted.
        test::seed(library->libraryFile, "delete from ChinaPoem where PoemID='P-x'");
        QVERIFY_THROWS_EXCEPTION(StoreError, changes::markFavorite(*library->db, LibrarySide::China, "P-x"));
        QVERIFY_THROWS_EXCEPTION(StoreError, changes::unmarkFavorite(*library->db, LibrarySide::China, "P-x"));
        QVERIFY_THROWS_EXCEPTION(StoreError, changes::deletePoem(*library->db, LibrarySide::Foreign, "P-x"));
        QVERIFY_THROWS_EXCEPTION(StoreError, changes::deleteAuthor(*library->db, LibrarySide::China, "NoSuchAuthor"));
        QVERIFY_THROWS_EXCEPTION(StoreError, changes::deletePlace(*library->db, LibrarySide::Foreign, "无此国"));
    }

    // A counter that cannot give a number refuses the one change, names why, and
    // leaves the library as it was.
    void aBrokenCounterRefusesOnlyNumbering_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "delete from NewCount where Name=?" << "缺失";
        QTest::newRow("null") << "update NewCount set Count=NULL where Name=?" << "已损坏";
        QTest::newRow("not a number") << "update NewCount set Count='x' where Name=?" << "已损坏";
        QTest::newRow("full") << "update NewCount set Count=2147483647 where Name=?" << "已用完";
    }
    void aBrokenCounterRefusesOnlyNumbering()
    {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        for (const QString& name : {QString("Poem"), QString("Author")})
            test::seed(library->libraryFile, damage, {name});
        const QVariant poemsBefore = scalar("select count(*) from ChinaPoem");
        try {
            changes::newPoemId(*library->db);
            QFAIL("a poem was numbered");
        } catch (const changes::NumberingUnavailable& refused) {
            QVERIFY2(refused.description().contains(reason), qPrintable(refused.description()));
            QVERIFY(refused.description().contains("诗词库没有被修改"));
        }
        QVERIFY_THROWS_EXCEPTION(changes::NumberingUnavailable,
                                 changes::addAuthor(*library->db, {LibrarySide::China, "唐", "某人", "简介"}));
        QCOMPARE(count("ChinaAuthor", "AuthorName=?", {"某人"}), 0);
        QCOMPARE(scalar("select count(*) from ChinaPoem"), poemsBefore);
        // Everything else goes on.
        changes::deletePlace(*library->db, LibrarySide::China, "宋");
    }

    void aNumberAlreadyTakenIsPassedOver()
    {
        changes::addPoem(*library->db, {LibrarySide::China, "唐", "E?", "某人", "A", "诗", "内容", "注释", "NewPoem1"});
        changes::addPoem(*library->db, {LibrarySide::Foreign, "法国", "F?", "某人", "B", "诗", "内容", "注释", "NewPoem7"});
        changes::addAuthor(*library->db, {LibrarySide::China, "唐", "甲", "简介"});
        test::seed(library->libraryFile, "update NewCount set Count=0");
        test::seed(library->libraryFile, "insert into ForeignAuthorDetail(AuthorID,AuthorDetail) values('NewAuthor2','x')");
        QCOMPARE(changes::newPoemId(*library->db), QString("NewPoem8"));
        QCOMPARE(changes::newPoemId(*library->db), QString("NewPoem9"));
        // NewAuthor1 is an author, NewAuthor2 an orphaned biography: both are taken.
        QCOMPARE(changes::addAuthor(*library->db, {LibrarySide::China, "唐", "乙", "简介"}), QString("NewAuthor3"));
        QCOMPARE(count("ChinaAuthor", "AuthorID='NewAuthor1'", {}), 1);
    }

    void changingAnAuthorFailsWhole()
    {
        const QString id = changes::addAuthor(*library->db, {LibrarySide::China, "唐", "某人", "旧简介"});
        changes::updateAuthor(*library->db, id, {LibrarySide::China, "宋", "某某", "新简介"});
        breakTable("ChinaAuthorDetail", "update");
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 changes::updateAuthor(*library->db, id, {LibrarySide::China, "唐", "三改", "x"}));
        QCOMPARE(scalar("select AuthorName from ChinaAuthor where AuthorID=?", {id}).toString(), QString("某某"));
        expectIndexSound();
    }

    void poems()
    {
        QCOMPARE(changes::newPoemId(*library->db), QString("NewPoem1"));
        QCOMPARE(changes::newPoemId(*library->db), QString("NewPoem2"));
        changes::addPoem(*library->db,
                         {LibrarySide::Foreign, "法国", "C2", "雨果", "WA3", "L'été", "Texte", "注", "NewPoem2"});
        QCOMPARE(scalar("select Country from ForeignPoem where PoemID='NewPoem2'").toString(), QString("法国"));
        QCOMPARE(scalar("select tf from ForeignPoem where PoemID='NewPoem2'").toBool(), false);
        changes::updatePoem(*library->db, LibrarySide::Foreign, "NewPoem2", "L'hiver", "Neige", "冬");
        QCOMPARE(scalar("select Name from ForeignPoem where PoemID='NewPoem2'").toString(), QString("L'hiver"));
        QCOMPARE(scalar("select Author from ForeignPoem where PoemID='NewPoem2'").toString(), QString("雨果"));
        expectIndexSound();
    }

    void favourites()
    {
        const QString poem = scalar("select PoemID from ChinaPoem limit 1").toString();
        QVERIFY(changes::markFavorite(*library->db, LibrarySide::China, poem));
        QVERIFY(!changes::markFavorite(*library->db, LibrarySide::China, poem));
        QCOMPARE(scalar("select tf from ChinaPoem where PoemID=?", {poem}).toBool(), true);
        changes::unmarkFavorite(*library->db, LibrarySide::China, poem);
        QCOMPARE(scalar("select tf from ChinaPoem where PoemID=?", {poem}).toBool(), false);
    }

    void deletions()
    {
        const QString libai = scalar("select AuthorID from ChinaAuthor where AuthorName='李白'").toString();
        QVERIFY(count("ChinaPoem", "AuthorID=?", {libai}) > 0);
        // A deletion that fails half-way leaves everything in place.
        breakTable("ChinaPoem", "delete");
        QVERIFY_THROWS_EXCEPTION(StoreError, changes::deleteAuthor(*library->db, LibrarySide::China, libai));
        QCOMPARE(count("ChinaAuthor", "AuthorID=?", {libai}), 1);
        QCOMPARE(count("ChinaAuthorDetail", "AuthorID=?", {libai}), 1);
        expectIndexSound();
        test::seed(library->libraryFile, "drop trigger broken_ChinaPoem");

        changes::deleteAuthor(*library->db, LibrarySide::China, libai);
        QCOMPARE(count("ChinaAuthor", "AuthorID=?", {libai}), 0);
        QCOMPARE(count("ChinaAuthorDetail", "AuthorID=?", {libai}), 0);
        QCOMPARE(count("ChinaPoem", "AuthorID=?", {libai}), 0);
        expectIndexSound();

        changes::deletePlace(*library->db, LibrarySide::China, "宋");
        QCOMPARE(count("ChinaPoem", "Epoch=?", {"宋"}), 0);
        expectIndexSound();
        changes::deletePlace(*library->db, LibrarySide::Foreign, "英国");
        QCOMPARE(count("ForeignCountry", "Country=?", {"英国"}), 0);
        QCOMPARE(count("ForeignAuthor", "Country=?", {"英国"}), 0);
        QCOMPARE(count("ForeignPoem", "Country=?", {"英国"}), 0);
        QCOMPARE(count("ForeignAuthorDetail", "AuthorID in ('WA1','WA2')", {}), 0);
        QVERIFY(count("ForeignPoem", "Country=?", {"法国"}) > 0);
        expectIndexSound();

        const QString poem = scalar("select PoemID from ForeignPoem limit 1").toString();
        changes::deletePoem(*library->db, LibrarySide::Foreign, poem);
        QCOMPARE(count("ForeignPoem", "PoemID=?", {poem}), 0);
        expectIndexSound();
    }

    void aFailedCommitLeavesTheConnectionUsable()
    {
        // Another program reads the file, and the library is in its rollback journal (as
        // on a file system that cannot keep a write-ahead log): the change cannot be
        // committed.
        library->db->Execute("pragma journal_mode=delete");
        QSqlDatabase reader = QSqlDatabase::addDatabase("QSQLITE", "reader");
        reader.setDatabaseName(library->libraryFile);
        QVERIFY(reader.open());
        QSqlQuery reading(reader);
        QVERIFY(reading.exec("begin"));
        QVERIFY(reading.exec("select count(*) from ChinaPoem") && reading.next());
        {
            DbConnection::Transaction change(*library->db);
            library->db->Execute("update NewCount set Count=41 where Name='Poem'");
            QVERIFY_THROWS_EXCEPTION(StoreError, change.commit());
        }
        reading.finish();
        QSqlQuery(reader).exec("rollback");
        reader.close();
        reader = QSqlDatabase();
        QSqlDatabase::removeDatabase("reader");

        QCOMPARE(scalar("select Count from NewCount where Name='Poem'").toInt(), 0);
        QCOMPARE(changes::newPoemId(*library->db), QString("NewPoem1"));
    }
};

QTEST_GUILESS_MAIN(tst_Changes)
#include "tst_changes.moc"
