// Message boxes recorded and answered in place of the user (recorders nest), and the
// real box answered by the keyboard.
#include "platform/MessageBox.h"
#include "startup/FatalReport.h"

#include <QApplication>
#include <QMessageBox>

#include <QtTest>

using namespace qelvane;

class tst_MessageBox : public QObject {
    Q_OBJECT

private slots:
    void recordersNest()
    {
        msg::Recorder outer;
        outer.answerNext(msg::Answer::Yes);
        {
            msg::Recorder inner;
            // The inner recorder records and answers; the outer one's answer waits.
            QCOMPARE(msg::question(nullptr, "是否退出？", "提示"), msg::Answer::No);
            msg::notice(nullptr, "已经保存");
            QCOMPARE(inner.texts(), QStringList({"是否退出？", "已经保存"}));
            QCOMPARE(inner.shown().at(0).icon, msg::Icon::Question);
            QCOMPARE(inner.shown().at(1).title, QString("提示"));
        }
        QVERIFY(outer.shown().isEmpty());
        QCOMPARE(msg::question(nullptr, "现在更新作者列表吗？", "提示"), msg::Answer::Yes);
        QCOMPARE(outer.texts(), QStringList({"现在更新作者列表吗？"}));
        QCOMPARE(msg::warning(nullptr, "删除？"), msg::Answer::Yes);
        QCOMPARE(outer.shown().last().title, QString("警告"));
    }

    // The real box, answered by the keyboard: Escape on a Yes/No question means No,
    // even where Yes is the default; Enter takes the default.
    void theRealBoxByKeyboard()
    {
        const auto answerWith = [](Qt::Key key) {
            QTimer::singleShot(0, [key] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QTest::keyClick(box, key);
            });
        };
        answerWith(Qt::Key_Escape);
        QCOMPARE(msg::warning(nullptr, "删除这首诗？"), msg::Answer::No);
        answerWith(Qt::Key_Return);
        QCOMPARE(msg::warning(nullptr, "删除这首诗？"), msg::Answer::Yes);
        answerWith(Qt::Key_Escape);
        QCOMPARE(msg::question(nullptr, "现在更新作者列表吗？", "提示"), msg::Answer::No);
    }

    // The report of a failure that ends the program is a box like the others.
    void theFatalReportIsRecorded()
    {
        msg::Recorder recorder;
        reportFatal(QStringLiteral("磁盘已满"));
        QCOMPARE(recorder.texts(), QStringList({"程序遇到无法继续的错误，即将退出。\n\n磁盘已满"}));
        QCOMPARE(recorder.shown().at(0).icon, msg::Icon::Critical);
        QCOMPARE(recorder.shown().at(0).title, msg::ApplicationTitle);
    }
};

QTEST_MAIN(tst_MessageBox)
#include "tst_messagebox.moc"
