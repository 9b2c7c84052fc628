// The library's statements against a fixture library made by the library builder.
#include "TestLibrary.h"
#include "store/DbConnection.h"
#include "store/Recordset.h"
#include "store/Statements.h"
#include "store/StoreError.h"

#include <QtTest>

using namespace qelvane;

class tst_Store : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<DbConnection> m_db;

    QStringList column(const QString& statement, const QVariantList& values, const QString& field)
    {
        QStringList texts;
        for (Recordset rs(*m_db, statement, values); !rs.Eof(); rs.MoveNext())
            texts << rs.Text(field);
        return texts;
    }
    int count(const QString& statement, const QVariantList& values = {})
    {
        return Recordset(*m_db, statement, values).RecordCount();
    }

private slots:
    void init()
    {
        m_file = test::copyFixtureLibrary(m_dir.path());
        m_db = DbConnection::Open(m_file);
    }
    void cleanup() { m_db.reset(); }

    void treeReads()
    {
        QCOMPARE(column(sql::ChinaEpochTable, {}, "Epoch"), QStringList({"先秦", "唐", "宋", "空朝"}));
        QCOMPARE(column(sql::ChinaEpochTable, {}, "EpochID"), QStringList({"E1", "E2", "E3", "E4"}));
        QCOMPARE(column(sql::ForeignCountryTable, {}, "Country"), QStringList({"英国", "法国", "无人国"}));
        QCOMPARE(column(sql::ChinaAuthorsOfEpoch, {"E2"}, "AuthorName"), QStringList({"李白", "杜甫", "无名氏"}));
        QCOMPARE(column(sql::ForeignAuthorsOfCountry, {"C1"}, "AuthorName"), QStringList({"O'Brien", "布莱克"}));
        QCOMPARE(column(sql::ChinaPoemsOfAuthor, {"A1"}, "Name"), QStringList({"静夜思", "将进酒"}));
        QCOMPARE(column(sql::ForeignPoemsOfAuthor, {"WA1"}, "PoemID"), QStringList({"WP1", "WP2"}));
        QCOMPARE(column(sql::ChinaAuthorDetail, {"A1"}, "AuthorDetail"), QStringList({"李白，字太白，号青莲居士。"}));
        QCOMPARE(column(sql::ForeignAuthorDetail, {"WA1"}, "AuthorDetail"),
                 QStringList({"An author whose name has a quote."}));
    }

    void valuesWithQuotesAreBound()
    {
        QCOMPARE(column(sql::ChinaPoemText, {"P4"}, "Content"), QStringList({"a line with 'quotes'"}));
        // A name with a quote is found, stored and deleted like any other.
        m_db->Execute(sql::InsertChinaAuthor, {"E1", "先秦", "Q'1", "O'Neill"});
        QCOMPARE(column(sql::ChinaAuthorName, {"Q'1"}, "AuthorName"), QStringList({"O'Neill"}));
        m_db->Execute(sql::UpdateChinaAuthor, {"E2", "唐", "It's me", "Q'1"});
        QCOMPARE(column(sql::ChinaAuthorsOfEpoch, {"E2"}, "AuthorName").last(), QString("It's me"));
        QCOMPARE(column(sql::FormatContent, {"O'Neill体"}, "Content"), QStringList({"a format whose name holds a quote"}));
        // A value that looks like SQL stays a value.
        QCOMPARE(count(sql::ChinaPoemText, {"x' or '1'='1"}), 0);
    }

    void favouritesAndTheBooleanDialect()
    {
        QCOMPARE(count(sql::ChinaFavoriteAuthors), 0);
        m_db->Execute(sql::MarkChinaFavorite, {"P1"});
        m_db->Execute(sql::MarkChinaFavorite, {"P2"});
        m_db->Execute(sql::MarkForeignFavorite, {"WP1"});
        // One row per author, however many favourites (the distinct read).
        QCOMPARE(column(sql::ChinaFavoriteAuthors, {}, "Author"), QStringList({"李白"}));
        QCOMPARE(column(sql::ChinaFavoritePoemsOfAuthor, {"A1"}, "Name"), QStringList({"静夜思", "将进酒"}));
        QCOMPARE(count(sql::ChinaFavoritePoem, {"P1"}), 1);
        QCOMPARE(count(sql::ChinaFavoritePoem, {"P3"}), 0);
        QCOMPARE(column(sql::ForeignFavoritePoems, {}, "Author"), QStringList({"O'Brien"}));
        // The cleaner's statement spells the table and column in lower case.
        m_db->Execute(sql::UnmarkChinaFavorite, {"P1"});
        QCOMPARE(column(sql::ChinaFavoritePoems, {}, "Name"), QStringList({"将进酒"}));
        m_db->Execute(sql::UnmarkForeignFavorite, {"WP1"});
        QCOMPARE(count(sql::ForeignFavoritePoems), 0);
    }

    void favouritesKeepTheNameCopiedIntoThePoems()
    {
        m_db->Execute(sql::MarkChinaFavorite, {"P3"});
        m_db->Execute(sql::UpdateChinaAuthor, {"E2", "唐", "杜子美", "A2"});
        QCOMPARE(column(sql::ChinaFavoriteAuthors, {}, "Author"), QStringList({"杜甫"}));
        QCOMPARE(column(sql::ChinaFavoritePoems, {}, "Author"), QStringList({"杜甫"}));
    }

    void editorReads()
    {
        QCOMPARE(column(sql::ChinaAuthorEpochID, {"A4"}, "EpochID"), QStringList({"E3"}));
        QCOMPARE(column(sql::ForeignAuthorCountryID, {"WA3"}, "CountryID"), QStringList({"C2"}));
        QCOMPARE(column(sql::EpochNames, {}, "Epoch").size(), 4);
        QCOMPARE(column(sql::CountryNames, {}, "Country").size(), 3);
        QCOMPARE(column(sql::ForeignCountryChoices, {}, "Country"), QStringList({"英国", "法国", "无人国"}));
        QCOMPARE(column(sql::EpochIDOfName, {"宋"}, "EpochID"), QStringList({"E3"}));
        QCOMPARE(column(sql::CountryIDOfName, {"法国"}, "CountryID"), QStringList({"C2"}));
        QCOMPARE(column(sql::EpochNameOfID, {"E2"}, "Epoch"), QStringList({"唐"}));
        QCOMPARE(column(sql::CountryNameOfID, {"C1"}, "Country"), QStringList({"英国"}));
        QCOMPARE(column(sql::ChinaPoemForEditor, {"P6"}, "Name"), QStringList({"水调歌头"}));
        QCOMPARE(column(sql::ForeignPoemForEditor, {"WP4"}, "Name"), QStringList({"Demain, dès l'aube"}));
        QCOMPARE(column(sql::ForeignAuthorName, {"WA2"}, "AuthorName"), QStringList({"布莱克"}));
        QCOMPARE(column(sql::ChinaPoemAuthor, {"P6"}, "Author"), QStringList({"苏轼"}));
        QCOMPARE(column(sql::ForeignPoemAuthor, {"WP3"}, "Author"), QStringList({"布莱克"}));
        QCOMPARE(column(sql::ChinaPoemAuthorID, {"P3"}, "AuthorID"), QStringList({"A2"}));
        QCOMPARE(column(sql::ForeignPoemAuthorID, {"WP4"}, "AuthorID"), QStringList({"WA3"}));
        QCOMPARE(column(sql::FormatNames, {}, "FormatName"), QStringList({"五言绝句", "O'Neill体"}));
    }

    void search()
    {
        QCOMPARE(sql::SearchPoems(false, false), QString("select PoemID,Name,content from ChinaPoem"));
        QCOMPARE(sql::SearchPoems(true, true), QString("select PoemID,Name,content from ForeignPoem where Country=?"));
        QCOMPARE(count(sql::SearchPoems(false, false)), 6);
        QCOMPARE(count(sql::SearchPoems(false, true), {"宋"}), 1);
        QCOMPARE(count(sql::SearchPoems(true, true), {"英国"}), 3);
    }

    void deletingAnAuthorLeavesTheOtherSideAlone()
    {
        // A foreign author that happens to carry the ID of a Chinese one.
        m_db->Execute(sql::InsertForeignAuthor, {"C1", "英国", "A1", "Same ID"});
        m_db->Execute(sql::InsertForeignAuthorDetail, {"A1", "bio"});
        {
            DbConnection::Transaction change(*m_db);
            for (const char* statement : sql::DeleteChinaAuthor)
                m_db->Execute(statement, {"A1"});
            change.commit();
        }
        QCOMPARE(count(sql::ChinaAuthorName, {"A1"}), 0);
        QCOMPARE(count(sql::ChinaAuthorDetail, {"A1"}), 0);
        QCOMPARE(count(sql::ChinaPoemsOfAuthor, {"A1"}), 0);
        QCOMPARE(count(sql::ChinaPoemsOfAuthor, {"A2"}), 2);
        QCOMPARE(column(sql::ForeignAuthorName, {"A1"}, "AuthorName"), QStringList({"Same ID"}));
        QCOMPARE(count(sql::ForeignAuthorDetail, {"A1"}), 1);

        for (const char* statement : sql::DeleteForeignAuthor)
            m_db->Execute(statement, {"WA1"});
        QCOMPARE(count(sql::ForeignPoemsOfAuthor, {"WA1"}), 0);
        QCOMPARE(count(sql::ForeignAuthorDetail, {"WA1"}), 0);
    }

    void deletingAnEpochGoesByName()
    {
        for (const char* statement : sql::DeleteEpoch)
            m_db->Execute(statement, {"唐"});
        QCOMPARE(column(sql::EpochNames, {}, "Epoch"), QStringList({"先秦", "宋", "空朝"}));
        QCOMPARE(count(sql::ChinaAuthorsOfEpoch, {"E2"}), 0);
        // The biographies went too: their delete ran while the authors still existed.
        QCOMPARE(test::scalar(m_file, "select count(*) from ChinaAuthorDetail").toInt(), 1);
        QCOMPARE(count(sql::SearchPoems(false, false)), 1);

        // An epoch nobody belongs to takes only its own row.
        for (const char* statement : sql::DeleteEpoch)
            m_db->Execute(statement, {"空朝"});
        QCOMPARE(column(sql::EpochNames, {}, "Epoch"), QStringList({"先秦", "宋"}));
        QCOMPARE(count(sql::SearchPoems(false, false)), 1);

        for (const char* statement : sql::DeleteCountry)
            m_db->Execute(statement, {"英国"});
        QCOMPARE(column(sql::CountryNames, {}, "Country"), QStringList({"法国", "无人国"}));
        QCOMPARE(count(sql::SearchPoems(true, false)), 1);
        QCOMPARE(test::scalar(m_file, "select count(*) from ForeignAuthorDetail").toInt(), 1);

        m_db->Execute(sql::DeleteChinaPoem, {"P6"});
        m_db->Execute(sql::DeleteForeignPoem, {"WP4"});
        QCOMPARE(count(sql::SearchPoems(false, false)) + count(sql::SearchPoems(true, false)), 0);
    }

    void aFailedChangeWritesNothing()
    {
        try {
            DbConnection::Transaction change(*m_db);
            m_db->Execute(sql::DeleteChinaPoem, {"P1"});
            m_db->Execute("delete * from NoSuchTable where x=?", {"P2"});
            change.commit();
            QFAIL("the failing statement did not throw");
        } catch (const StoreError& failure) {
            // The reader is told in Chinese; the statement goes to the error stream.
            QCOMPARE(failure.description(), QString("无法执行数据库语句：诗词库的结构与程序不符，或语句有误。"));
            QVERIFY(failure.detail().contains("NoSuchTable"));
        }
        QCOMPARE(count(sql::ChinaPoemText, {"P1"}), 1);
    }

    void recordsetReadsNullsAndNamesInAnyCase()
    {
        Recordset rs(*m_db, sql::ChinaPoemText, {"P2"});
        QVERIFY(!rs.Eof());
        QVERIFY(rs.IsNull("Note"));
        QVERIFY(rs.Field("note").isNull());
        QCOMPARE(rs.Text("CONTENT"), QString("君不见黄河之水天上来，奔流到海不复回。"));
        QCOMPARE(rs.RecordCount(), 1);
        rs.MoveNext();
        QVERIFY(rs.Eof());
        QVERIFY_THROWS_EXCEPTION(StoreError, rs.Field("Content"));

        Recordset none(*m_db, sql::ChinaAuthorDetail, {"A3"});
        QVERIFY(!none.Eof());
        QVERIFY(none.IsNull("AuthorDetail"));
        QVERIFY_THROWS_EXCEPTION(StoreError, Recordset(*m_db, "select nothing from nowhere"));
        QVERIFY_THROWS_EXCEPTION(StoreError, none.Field("NoSuchField"));
    }

    void countersAreRaisedThroughTheRecordset()
    {
        for (int expected = 1; expected <= 2; ++expected) {
            EditableRecordset counter(*m_db, sql::PoemCounter.table, sql::PoemCounter.condition, {});
            QVERIFY(!counter.Eof());
            const int value = counter.Field("Count").toInt() + 1;
            counter.SetField("Count", value);
            counter.Update();
            QCOMPARE(value, expected);
        }
        QCOMPARE(test::scalar(m_file, "select Count from NewCount where Name='Poem'").toInt(), 2);
        QCOMPARE(test::scalar(m_file, "select Count from NewCount where Name='Author'").toInt(), 0);
    }

    void poemRowsAreAddedAndChanged()
    {
        EditableRecordset table(*m_db, sql::ChinaPoemTable);
        table.AddNew();
        const QStringList columns = {"Epoch", "EpochID", "Author", "AuthorID", "Name", "Content", "Note", "PoemID"};
        const QStringList values = {"唐", "E2", "李白", "A1", "Tom's poem", "text", "note", "NewPoem1"};
        for (int i = 0; i < columns.size(); ++i)
            table.SetField(columns[i], values[i]);
        table.Update();
        QCOMPARE(column(sql::ChinaPoemsOfAuthor, {"A1"}, "Name").last(), QString("Tom's poem"));
        // A new poem is not a favourite.
        QCOMPARE(count(sql::ChinaFavoritePoem, {"NewPoem1"}), 0);

        EditableRecordset row(*m_db, sql::ForeignPoemRow.table, sql::ForeignPoemRow.condition, {"WP2"});
        QVERIFY(!row.Eof());
        row.SetField("Name", "Dusk");
        row.SetField("Content", "It's late.");
        row.SetField("Note", QVariant());
        row.Update();
        Recordset check(*m_db, sql::ForeignPoemForEditor, {"WP2"});
        QCOMPARE(check.Text("Name"), QString("Dusk"));
        QCOMPARE(check.Text("Content"), QString("It's late."));
        QVERIFY(check.IsNull("Note"));
        QCOMPARE(count(sql::ForeignPoemsOfAuthor, {"WA1"}), 2);
    }

    void theDialectIsAccepted()
    {
        QCOMPARE(DbConnection::toEngineDialect("delete * from ChinaPoem where PoemID=?"),
                 QString("delete from ChinaPoem where PoemID=?"));
        QCOMPARE(DbConnection::toEngineDialect("DELETE  *  FROM x"), QString("delete from x"));
        // A value that only looks like the dialect is bound and never rewritten.
        m_db->Execute(sql::UpdateChinaAuthorDetail, {"delete * from ChinaPoem", "A1"});
        QCOMPARE(column(sql::ChinaAuthorDetail, {"A1"}, "AuthorDetail"), QStringList({"delete * from ChinaPoem"}));
        QCOMPARE(count("select * from CHINAPOEM where POEMID=?", {"P1"}), 1);
    }
};

QTEST_GUILESS_MAIN(tst_Store)
#include "tst_store.moc"
