// Opening a library file: what is refused, why, and that the file is left as it was.
#include "TestLibrary.h"
#include "store/Changes.h"
#include "store/DbConnection.h"
#include "store/Library.h"
#include "store/StoreError.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <functional>

using namespace qelvane;

namespace {

QByteArray contents(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString refusal(const QString& file)
{
    try {
        DbConnection::Open(file);
    } catch (const StoreError& failure) {
        return failure.description();
    }
    return {};
}

} // namespace

class tst_LibraryOpen : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void aGoodLibraryOpens()
    {
        const QString file = test::copyFixtureLibrary(m_dir.path(), "good.mdb");
        auto db = DbConnection::Open(file);
        QVERIFY(db->isOpen());
        db->Close();
        QVERIFY(!db->isOpen());
    }

    void aMissingFileIsNeverCreated()
    {
        const QString file = m_dir.filePath("missing/poem.mdb");
        const QString reason = refusal(file);
        QVERIFY(reason.contains(file));
        QVERIFY(reason.contains("文件不存在"));
        QVERIFY(!QFile::exists(file));
    }

    void filesThatAreNoLibrary_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty file") << QByteArray() << "缺少数据表";
        QByteArray noise(8192, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("random bytes") << noise << "不是有效的数据库文件";
        QTest::newRow("text file") << QByteArray("床前明月光\n") << "不是有效的数据库文件";
    }
    void filesThatAreNoLibrary()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString file = m_dir.filePath(QString("bad-%1.mdb").arg(QTest::currentDataTag()));
        writeFile(file, bytes);
        const QString refused = refusal(file);
        QVERIFY2(refused.contains(reason), qPrintable(refused));
        QVERIFY(refused.contains(file));
        QCOMPARE(contents(file), bytes);
    }

    void aDatabaseWithoutTheTables()
    {
        const QString file = m_dir.filePath("other.sqlite");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery(db).exec("create table ChinaEpoch (EpochID text, Epoch text)");
            db.close();
        }
        QSqlDatabase::removeDatabase("other");
        const QByteArray before = contents(file);
        const QString refused = refusal(file);
        QVERIFY2(refused.contains("缺少数据表 ForeignCountry"), qPrintable(refused));
        QCOMPARE(contents(file), before);
    }

    void aTableWithoutAColumn()
    {
        const QString file = test::copyFixtureLibrary(m_dir.path(), "nocolumn.mdb");
        test::seed(file, "drop index idx_ChinaPoem_tf");
        test::seed(file, "alter table ChinaPoem drop column tf");
        QVERIFY2(refusal(file).contains("数据表 ChinaPoem 缺少列 tf"), qPrintable(refusal(file)));
    }

    // A library on read-only media or marked read-only is read; every change is refused
    // with one sentence, and the file stays as it was.
    void aReadOnlyFileIsReadNotChanged()
    {
        const QString file = test::copyFixtureLibrary(m_dir.path(), "readonly.mdb");
        DbConnection::Open(file); // as the program leaves a library: in its write-ahead log
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const QByteArray before = contents(file);
        std::unique_ptr<DbConnection> db = DbConnection::Open(file);
        QVERIFY(db->isReadOnly());
        QVERIFY(!library::places(*db, LibrarySide::China).isEmpty());
        const QString poem = library::poemsOf(*db, LibrarySide::China, library::authorsOf(*db, LibrarySide::China,
                                              library::places(*db, LibrarySide::China).at(1).id).at(0).id, false)
                                 .at(0)
                                 .id;
        QVERIFY(library::poemText(*db, LibrarySide::China, poem));
        const QString told = QString("诗词库“%1”是只读的：可以阅读，但不能修改。").arg(file);
        for (const auto& change : std::initializer_list<std::function<void()>>{
                 [&] { changes::deletePoem(*db, LibrarySide::China, poem); },
                 [&] { changes::markFavorite(*db, LibrarySide::China, poem); },
                 [&] { changes::newPoemId(*db); }}) {
            try {
                change();
                QFAIL("a change of a read-only library went through");
            } catch (const LibraryReadOnly& refused) {
                QCOMPARE(refused.description(), told);
            }
        }
        db.reset();
        QCOMPARE(contents(file), before);
    }

    void aFileAnotherProgramHoldsLocked()
    {
        const QString file = test::copyFixtureLibrary(m_dir.path(), "locked.mdb");
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(file);
        QVERIFY(holder.open());
        QVERIFY(QSqlQuery(holder).exec("begin exclusive"));
        const QString refused = refusal(file);
        QVERIFY2(refused.contains("锁定"), qPrintable(refused));
        QSqlQuery(holder).exec("rollback");
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
        // Once the other program lets go, the library opens.
        QVERIFY(DbConnection::Open(file)->isOpen());
    }

    void aPathWithSpecialCharacters()
    {
        const QString file = test::copyFixtureLibrary(m_dir.filePath("诗 词#1?x=y%20"), "poem.mdb");
        QVERIFY(DbConnection::Open(file)->isOpen());
        QVERIFY(!QFile::exists(m_dir.filePath("诗 词#1")));
    }

    // What becomes of the file while the program runs: each change is refused with the
    // real reason, and nothing is written.
    void theFileChangesUnderTheRunningProgram_data()
    {
        QTest::addColumn<QString>("happening");
        QTest::addColumn<QString>("reason");
        QTest::newRow("made read-only") << "readonly" << "已被设为只读";
        QTest::newRow("deleted") << "deleted" << "已不存在";
        QTest::newRow("replaced") << "replaced" << "已被另一个文件替换";
    }
    void theFileChangesUnderTheRunningProgram()
    {
        QFETCH(QString, happening);
        QFETCH(QString, reason);
        const QString file = test::copyFixtureLibrary(m_dir.filePath(happening), "poem.mdb");
        auto db = DbConnection::Open(file);
        if (happening == "readonly") {
            QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup);
        } else {
            const QString other = test::copyFixtureLibrary(m_dir.filePath(happening + "-other"), "poem.mdb");
            QVERIFY(QFile::remove(file));
            if (happening == "replaced")
                QVERIFY(QFile::rename(other, file));
        }
        const QByteArray before = contents(file);
        for (const auto& change : {std::function<void()>([&] { db->Execute("delete from ChinaPoem"); }),
                                   std::function<void()>([&] { DbConnection::Transaction t(*db); })}) {
            try {
                change();
                QFAIL("the change was made");
            } catch (const StoreError& failure) {
                QVERIFY2(failure.description().contains(reason), qPrintable(failure.description()));
            }
        }
        QCOMPARE(contents(file), before);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    }

    void aFullDiskIsNamed()
    {
        const QString file = test::copyFixtureLibrary(m_dir.filePath("full"), "poem.mdb");
        auto db = DbConnection::Open(file);
        // No page may be added: SQLite answers as it does on a full disk.
        db->run("pragma max_page_count = " + QString::number(QFileInfo(file).size() / 4096));
        try {
            db->Execute("insert into ChinaPoemFormat values(?, ?)", {"满", QString(100000, QChar('x'))});
            QFAIL("the row was written");
        } catch (const StoreError& failure) {
            QVERIFY2(failure.description().contains("磁盘已满"), qPrintable(failure.description()));
        }
    }
};

QTEST_GUILESS_MAIN(tst_LibraryOpen)
#include "tst_libraryopen.moc"
