// Message boxes recorded and answered in place of the user; recorders nest.
#include "platform/MessageBox.h"

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
};

QTEST_MAIN(tst_MessageBox)
#include "tst_messagebox.moc"
