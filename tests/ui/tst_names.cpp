// What a screen reader says of the main window's parts.
#include "ReadingWindow.h"
#include "SplitterHandle.h"
#include "StatusBar.h"
#include "mainwindow/frmMain.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

using namespace qelvane;

class tst_Names : public test::ReadingWindow {
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void namesForAListener()
    {
        const auto name = [](QObject* object) {
            return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
        };
        QCOMPARE(name(test::tvwPoem(form())), QString("诗词库"));
        QCOMPARE(name(test::lvwPoem(form())), QString("作品名称"));
        QCOMPARE(name(test::txtAuthorDetail(form())), QString("作者简介"));
        QCOMPARE(name(test::txtPoemDetail(form())), QString("诗词内容"));
        QCOMPARE(name(test::txtPoemNote(form())), QString("诗词注释"));
        QCOMPARE(name(test::imgSplitter(form())), QString("分隔条"));
        QCOMPARE(test::tvwPoem(form())->headerItem()->text(0), QString("诗词库"));
        // A panel that reports a state is read by its text, its role the description.
        QCOMPARE(test::sbStatusBar(form())->panel(2)->accessibleDescription(), QString("当前位置"));
        showAuthor({"中国诗词", "唐", "李白"});
        QCOMPARE(name(test::sbStatusBar(form())->panel(1)), QString("中国诗人李白：共有2首作品"));
    }
};

QTEST_MAIN(tst_Names)
#include "tst_names.moc"
