// Message boxes recorded and answered in place of the user (recorders nest), and the
// real box answered by the keyboard.
#include "platform/MessageBox.h"
#include "startup/FatalReport.h"

#include <QApplication>
#include <QAbstractButton>
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
        QCOMPARE(msg::warning(nullptr, "删除？"), msg::Answer::No);
        QCOMPARE(outer.shown().last().title, QString("警告"));
    }

    // The real box, answered by the keyboard: Escape on a Yes/No question means No, and
    // Enter takes the default, which on a warning is No too; a box of three named
    // choices shows their captions, and Escape there means Cancel.
    void theRealBoxByKeyboard()
    {
        QStringList captions;
        const auto answerWith = [&captions](Qt::Key key) {
            QTimer::singleShot(0, [key, &captions] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                captions.clear();
                for (QAbstractButton* button : box->buttons())
                    captions << button->text();
                QTest::keyClick(box, key);
            });
        };
        answerWith(Qt::Key_Escape);
        QCOMPARE(msg::warning(nullptr, "删除这首诗？"), msg::Answer::No);
        answerWith(Qt::Key_Return);
        QCOMPARE(msg::warning(nullptr, "删除这首诗？"), msg::Answer::No);
        answerWith(Qt::Key_Escape);
        QCOMPARE(msg::question(nullptr, "现在更新作者列表吗？", "提示"), msg::Answer::No);

        const msg::Box choices{"移除还是删除？", "警告", msg::Icon::Critical, msg::Buttons::YesNoCancel, msg::Answer::Yes,
                               {"从收藏夹中移除", "从诗词库中删除", "取消"}};
        answerWith(Qt::Key_Return);
        QCOMPARE(msg::show(nullptr, choices), msg::Answer::Yes);
        QStringList expected{"从收藏夹中移除", "从诗词库中删除", "取消"};
        expected.sort();
        captions.sort();
        QCOMPARE(captions, expected);
        answerWith(Qt::Key_Escape);
        QCOMPARE(msg::show(nullptr, choices), msg::Answer::Cancel);
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
