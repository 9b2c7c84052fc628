// What a screen reader says of the main window's parts.
#include "ReadingWindow.h"
#include "SplitterHandle.h"
#include "StatusBar.h"
#include "mainwindow/frmMain.h"
#include "platform/HelpWindow.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
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

    // The main and help windows are frames; the find box is in the window's tree of
    // objects, where a screen reader walks, under a name of its own.
    void windowsAndTheFindBoxAsAScreenReaderMeetsThem()
    {
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form());
        QCOMPARE(window->role(), QAccessible::Window);
        QTemporaryDir folder;
        QFile page(folder.filePath("index.html"));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body>帮助</body></html>");
        page.close();
        HelpWindow help(page.fileName(), form());
        QCOMPARE(QAccessible::queryAccessibleInterface(&help)->role(), QAccessible::Window);

        // Up from the field, every object lists the one below it, up to the window.
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(form()->findChild<QObject*>("txtFind"));
        QVERIFY(field);
        QCOMPARE(field->text(QAccessible::Name), QString("查找诗句"));
        QAccessibleInterface* node = field;
        while (node && node->object() != form()) {
            QAccessibleInterface* parent = node->parent();
            QVERIFY2(parent && parent->indexOfChild(node) >= 0,
                     qPrintable(QString("%1 is not among its parent's children").arg(node->object()->objectName())));
            node = parent;
        }
        QVERIFY(node);
    }
};

QTEST_MAIN(tst_Names)
#include "tst_names.moc"
