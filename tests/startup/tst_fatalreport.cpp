// A failure nobody trapped: it is reported and the run ends with a failure status.
#include "TestLibrary.h"
#include "startup/MainSub.h"
#include "startup/QelvaneApplication.h"
#include "store/DbConnection.h"
#include "store/StoreError.h"

#include <QtTest>

using namespace qelvane;

class tst_FatalReport : public QObject {
    Q_OBJECT

private slots:
    void anEscapedFailureEndsTheRun()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        int argc = 1;
        char name[] = "tst_fatalreport";
        char* argv[] = {name, nullptr};
        QelvaneApplication app(argc, argv);

        QTemporaryDir dir;
        MainSub::DbConnection = DbConnection::Open(test::copyFixtureLibrary(dir.path()));
        QTimer::singleShot(0, [] { throw StoreError(QStringLiteral("数据库语句执行失败：磁盘已满")); });
        // Only a guard against a run that would never end: it answers with another status.
        QTimer::singleShot(30000, &app, [&app] { app.exit(7); });
        QCOMPARE(app.exec(), EXIT_FAILURE);
        // The connection was closed on the way out.
        QVERIFY(!MainSub::DbConnection);
    }
};

QTEST_APPLESS_MAIN(tst_FatalReport)
#include "tst_fatalreport.moc"
