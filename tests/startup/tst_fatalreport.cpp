// A failure nobody trapped: it is reported once and the run ends at once with a
// failure status, even inside a modal dialog whose caller would otherwise go on.
// The failing runs are this program again, started as a child.
#include "TestLibrary.h"
#include "startup/MainSub.h"
#include "startup/QelvaneApplication.h"
#include "store/DbConnection.h"
#include "store/StoreError.h"

#include <QDialog>
#include <QProcess>
#include <QtTest>
#include <cstdio>

using namespace qelvane;

namespace {

// The child: a failure escapes an event handler, plainly or inside a modal dialog.
int runChild(int argc, char** argv, const QByteArray& where)
{
    QelvaneApplication app(argc, argv);
    QTemporaryDir dir;
    MainSub::DbConnection = DbConnection::Open(test::copyFixtureLibrary(dir.path()));
    const auto fail = [] { throw StoreError(QStringLiteral("数据库语句执行失败：磁盘已满")); };
    if (where == "dialog") {
        QDialog dialog;
        QTimer::singleShot(0, &dialog, fail);
        dialog.exec();
        // Only reached when the report did not end the process.
        std::printf("after the dialog\n");
        std::fflush(stdout);
        MainSub::DbConnection->Execute(QStringLiteral("update NewCount set Count=Count"));
        return 3;
    }
    QTimer::singleShot(0, fail);
    app.exec();
    std::printf("after the loop\n");
    return 3;
}

} // namespace

class tst_FatalReport : public QObject {
    Q_OBJECT

    void endsTheRun(const QString& where)
    {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QELVANE_FATAL_CHILD", where);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), EXIT_FAILURE);
        QCOMPARE(errors.count("qelvane: "), 1);
        QVERIFY(errors.contains("数据库语句执行失败：磁盘已满"));
        QVERIFY(child.readAllStandardOutput().isEmpty());
    }

private slots:
    void anEscapedFailureEndsTheRun() { endsTheRun("loop"); }
    void aFailureInsideAModalDialogEndsTheRunThere() { endsTheRun("dialog"); }
};

int main(int argc, char** argv)
{
    const QByteArray where = qgetenv("QELVANE_FATAL_CHILD");
    if (!where.isEmpty())
        return runChild(argc, argv, where);
    QCoreApplication app(argc, argv);
    tst_FatalReport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fatalreport.moc"
