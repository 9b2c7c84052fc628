// A lock another program holds on the library for a moment: the change waits for it
// and then goes through.
#include "TestLibrary.h"
#include "store/DbConnection.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <atomic>
#include <future>
#include <thread>

using namespace qelvane;

class tst_LockWait : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LibraryFixture> f;

private slots:
    void init() { f = std::make_unique<test::LibraryFixture>(); }
    void cleanup() { f.reset(); }

    void aPassingLockIsWaitedFor()
    {
        // Another program holds the library until the program starts waiting for it.
        std::atomic<bool> locked = false;
        std::promise<void> waiting;
        DbConnection::onLockWait([&] { waiting.set_value(); });
        std::thread holder([&] {
            {
                QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "holder");
                other.setDatabaseName(f->libraryFile);
                other.open();
                QSqlQuery(other).exec("begin exclusive");
                locked = true;
                // Bounded, so that a program that never waits cannot hang the test.
                waiting.get_future().wait_for(std::chrono::seconds(30));
                QSqlQuery(other).exec("rollback");
                other.close();
            }
            QSqlDatabase::removeDatabase("holder");
        });
        while (!locked)
            std::this_thread::yield();
        f->db->Execute("update NewCount set Count=7 where Name='Poem'");
        holder.join();
        DbConnection::onLockWait({});
        QCOMPARE(test::scalar(f->libraryFile, "select Count from NewCount where Name='Poem'").toInt(), 7);
    }
};

QTEST_MAIN(tst_LockWait)
#include "tst_lockwait.moc"
