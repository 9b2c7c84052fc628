// The find box as a reader uses it: reached by Ctrl+L or "/", typed into, the list of
// poems read (also as a screen reader reads it), gone through by keys, a poem opened as
// the tree and list would open it; and a library that has no index yet.
#include "DialogDriver.h"
#include "MainWindowHarness.h"
#include "mainwindow/BarMain.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "store/Changes.h"
#include "store/DbConnection.h"
#include "store/FindIndex.h"

#include <QAccessible>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QToolButton>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

using namespace qelvane;

class tst_FindBox : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }
    QLineEdit* field() { return test::named<QLineEdit>(form(), "txtFind"); }
    QListView* list() { return test::named<QListView>(form(), "lstFound"); }

    void open(bool load = true)
    {
        h = std::make_unique<test::MainWindowHarness>(load);
        form()->resize(1000, 700);
        form()->show();
        QVERIFY(QTest::qWaitForWindowActive(form()));
    }

    // What a screen reader reads for each row of the list.
    QStringList rowsRead()
    {
        QStringList rows;
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list());
        for (int i = 0; i < view->childCount(); ++i)
            if (QAccessibleInterface* row = view->child(i); row && row->role() == QAccessible::ListItem)
                rows << row->text(QAccessible::Name);
        return rows;
    }

    void typeFind(const QString& text)
    {
        QTest::keyClick(form(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(field()->hasFocus());
        test::typeText(field(), text);
    }

    // The reader's place after opening a poem: the author node, the list entry, the poem.
    QString shown()
    {
        QTreeWidgetItem* node = test::tvwPoem(form())->currentItem();
        QTreeWidgetItem* entry = test::lvwPoem(form())->currentItem();
        return QString("%1 / %2%3 / %4")
            .arg(node ? node->text(0) : "-", entry ? entry->text(0) : "-", entry && entry->isSelected() ? "*" : "",
                 test::txtPoemDetail(form())->toPlainText().section('\n', 0, 0));
    }

private slots:
    void cleanup() { h.reset(); }

    void aRememberedLineFoundAndOpened()
    {
        open();
        QVERIFY(!list()->isVisible());
        typeFind("床前看月光");
        QVERIFY(list()->isVisible());
        QCOMPARE(rowsRead(), QStringList({"静夜思，李白 · 唐：床前明月光，疑是地上霜。（相近）"}));
        QCOMPARE(QAccessible::queryAccessibleInterface(list())->text(QAccessible::Name), QString("找到 1 首诗词"));

        QTest::keyClick(field(), Qt::Key_Return);
        QVERIFY(!list()->isVisible());
        QCOMPARE(shown(), QString("李白 / 静夜思* / 床前明月光，疑是地上霜。"));
        QCOMPARE(test::txtAuthorDetail(form())->toPlainText(), QString("李白，字太白，号青莲居士。"));
        QVERIFY(test::sbStatusBar(form())->panelText(1).contains("李白"));
        QVERIFY(test::lvwPoem(form())->hasFocus());
    }

    void throughTheListByKeyboard()
    {
        open();
        typeFind("明月");
        QCOMPARE(rowsRead(), QStringList({"水调歌头，苏轼 · 宋：明月几时有？把酒问青天。",
                                          "静夜思，李白 · 唐：床前明月光，疑是地上霜。"}));
        // The match in a row not chosen is drawn on the highlight's light colour.
        const QColor marked = list()->palette().color(QPalette::Normal, QPalette::Highlight).lighter(170);
        const QImage drawn = list()->viewport()->grab().toImage();
        const QRect second = list()->visualRect(list()->model()->index(1, 0));
        int markedPixels = 0;
        for (int y = second.top(); y <= second.bottom(); ++y)
            for (int x = second.left(); x <= second.right(); ++x)
                markedPixels += drawn.pixel(x, y) == marked.rgb() ? 1 : 0;
        QVERIFY2(markedPixels > 20, qPrintable(QString::number(markedPixels)));

        QTest::keyClick(field(), Qt::Key_Down);
        QVERIFY(list()->hasFocus());
        QCOMPARE(list()->currentIndex().row(), 0);
        QTest::keyClick(list(), Qt::Key_Down);
        QCOMPARE(list()->currentIndex().row(), 1);
        QTest::keyClick(list(), Qt::Key_Up);
        QTest::keyClick(list(), Qt::Key_Up);
        QVERIFY(field()->hasFocus());
        QTest::keyClick(field(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(shown(), QString("李白 / 静夜思* / 床前明月光，疑是地上霜。"));

        // Escape leaves for the tree; "/" comes back, and types itself in the field.
        typeFind("明月");
        QTest::keyClick(field(), Qt::Key_Escape);
        QVERIFY(!list()->isVisible());
        QVERIFY(test::tvwPoem(form())->hasFocus());
        QTest::keyClick(test::tvwPoem(form()), Qt::Key_Slash);
        QVERIFY(field()->hasFocus());
        QCOMPARE(field()->selectedText(), QString("明月"));
        QTest::keyClick(field(), Qt::Key_Slash);
        QCOMPARE(field()->text(), QString("/"));
        // Nothing found is said, in the list and to a screen reader; Enter opens nothing.
        QVERIFY(list()->isVisible());
        QCOMPARE(list()->model()->rowCount(), 1);
        QCOMPARE(list()->model()->index(0, 0).data(Qt::AccessibleTextRole).toString(), QString("没有找到诗词"));
        QCOMPARE(QAccessible::queryAccessibleInterface(list())->text(QAccessible::Name), QString("没有找到诗词"));
        QTest::keyClick(field(), Qt::Key_Return);
        QTest::keyClick(field(), Qt::Key_Down);
        QVERIFY(field()->hasFocus());
        QCOMPARE(shown(), QString("李白 / 静夜思* / 床前明月光，疑是地上霜。"));
    }

    // While the reader types, no row of the list is current (a list view tells a screen
    // reader its current row has the focus): the first is only marked; going into the
    // list makes it current. Typing there goes on with the query, and Up goes back with
    // the caret at its end.
    void theFocusAsAScreenReaderHearsIt()
    {
        open();
        typeFind("明月");
        QVERIFY(!list()->currentIndex().isValid());
        QCOMPARE(list()->selectionModel()->selectedIndexes().value(0).row(), 0);
        QTest::keyClick(field(), Qt::Key_Down);
        QVERIFY(list()->hasFocus());
        QCOMPARE(list()->currentIndex().row(), 0);

        test::typeText(list(), "几");
        QVERIFY(field()->hasFocus());
        QCOMPARE(field()->text(), QString("明月几"));
        QCOMPARE(rowsRead().value(0), QString("水调歌头，苏轼 · 宋：明月几时有？把酒问青天。"));
        QTest::keyClick(field(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Up);
        QVERIFY(field()->hasFocus());
        test::typeText(field(), "时");
        QCOMPARE(field()->text(), QString("明月几时"));
    }

    // The list stays under the box when the window grows or shrinks.
    void theListFollowsTheBox()
    {
        open();
        typeFind("明月");
        for (int width : {1270, 900}) {
            form()->resize(width, 700);
            QCoreApplication::sendPostedEvents();
            QTRY_COMPARE(list()->x() + list()->width(), field()->mapTo(form(), QPoint(field()->width(), 0)).x());
        }
    }

    void clickingAFoundPoem()
    {
        open();
        typeFind("tyger");
        const QRect row = list()->visualRect(list()->model()->index(0, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(shown(), QString("布莱克 / The Tyger* / Tyger Tyger, burning bright,"));
    }

    // Every menu keeps its room at every width the window can take: the field shrinks,
    // then folds to a button that opens it under the menu bar.
    void theMenusStayVisibleAtEveryWidth()
    {
        open();
        auto* bar = form()->findChild<QMenuBar*>();
        auto* opener = test::named<QToolButton>(form(), "cmdOpenFind");
        for (int width : {1000, 433, 360, 0}) {
            form()->resize(width, 500);
            QCoreApplication::sendPostedEvents();
            QApplication::processEvents();
            const bool folded = opener->isVisible();
            QCOMPARE(field()->isVisible(), !folded);
            QWidget* shown = folded ? static_cast<QWidget*>(opener) : field();
            const int findLeft = shown->mapTo(form(), QPoint(0, 0)).x();
            for (QAction* menu : bar->actions()) {
                const QRect place = bar->actionGeometry(menu);
                QVERIFY2(!place.isEmpty() && place.right() < findLeft,
                         qPrintable(QString("%1 at width %2").arg(menu->text()).arg(form()->width())));
            }
            QVERIFY(shown->mapTo(form(), QPoint(shown->width(), 0)).x() <= form()->width());
            if (auto* extension = bar->findChild<QToolButton*>("qt_menubar_ext_button"))
                QVERIFY(!extension->isVisible());
        }
        // At the narrowest the button opens the field; it goes when the focus leaves.
        QVERIFY(opener->isVisible());
        QTest::mouseClick(opener, Qt::LeftButton);
        QVERIFY(field()->isVisible() && field()->hasFocus());
        test::typeText(field(), "明月");
        QVERIFY(list()->isVisible());
        QTest::keyClick(field(), Qt::Key_Escape);
        QVERIFY(!field()->isVisible());
        QTest::keyClick(form(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(field()->isVisible() && field()->hasFocus());
    }

    // An author's name gives one row that opens the author; a long list ends in a row
    // that shows more, until every poem found is listed.
    void authorsAndMorePoems()
    {
        open();
        typeFind("李白");
        QCOMPARE(rowsRead().value(0), QString("作者李白 · 唐"));
        QTest::keyClick(field(), Qt::Key_Return);
        QCOMPARE(test::tvwPoem(form())->currentItem()->text(0), QString("李白"));
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"静夜思", "将进酒"}));
        QVERIFY(test::tvwPoem(form())->hasFocus());

        const QString author = test::scalar(h->libraryFile, "select AuthorID from ChinaAuthor where AuthorName='杜甫'").toString();
        const QString epoch = test::scalar(h->libraryFile, "select EpochID from ChinaEpoch where Epoch='唐'").toString();
        for (int i = 0; i < 40; ++i)
            changes::addPoem(*h->db, {LibrarySide::China, "唐", epoch, "杜甫", author, QString("望月%1").arg(i),
                                      QString("今夜明月第%1回。").arg(i), "", QString("M%1").arg(i)});
        typeFind("明月");
        QCOMPARE(list()->model()->rowCount(), 31);
        QCOMPARE(rowsRead().last(), QString("显示更多诗词……"));
        QCOMPARE(QAccessible::queryAccessibleInterface(list())->text(QAccessible::Name), QString("找到 30 首诗词，还有更多"));
        QTest::keyClick(field(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_End);
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(list()->model()->rowCount(), 42);
        QCOMPARE(QAccessible::queryAccessibleInterface(list())->text(QAccessible::Name), QString("找到 42 首诗词"));
        QCOMPARE(list()->currentIndex().row(), 30);
    }

    // A rhyme group in the box lists that metre's poems; from a poem, the command lists
    // the others of its form and rhyme under their query, and opens one as a find does.
    void poemsOfOneFormAndRhyme()
    {
        open();
        const QString author = test::scalar(h->libraryFile, "select AuthorID from ChinaAuthor where AuthorName='杜甫'").toString();
        const QString epoch = test::scalar(h->libraryFile, "select EpochID from ChinaEpoch where Epoch='唐'").toString();
        // Two more 古体 quatrains rhyming in 下平七阳: 静夜思's words under other titles.
        for (const char* title : {"望乡", "思乡"})
            changes::addPoem(*h->db, {LibrarySide::China, "唐", epoch, "杜甫", author, title,
                                      "床前明月光，疑是地上霜。\n举头望明月，低头思故乡。", "", title});
        typeFind("韵:下平七阳");
        QCOMPARE(rowsRead(), QStringList({"静夜思，李白 · 唐：古体诗 · 下平七阳", "望乡，杜甫 · 唐：古体诗 · 下平七阳",
                                          "思乡，杜甫 · 唐：古体诗 · 下平七阳"}));

        test::chooseNode(form(), {"中国诗词", "唐", "李白"});
        test::chooseEntry(form(), "静夜思");
        test::barMain(form())->Tool("mnuView", "mnuSameMetre")->trigger();
        QCOMPARE(field()->text(), QString("体:古体诗 韵:下平七阳"));
        // Read from the rows' own text: without a screen reader attached, Qt keeps the rows'
        // accessible objects of the list's last reading.
        QStringList rows;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            rows << list()->model()->index(row, 0).data(Qt::AccessibleTextRole).toString();
        QCOMPARE(rows, QStringList({"望乡，杜甫 · 唐：古体诗 · 下平七阳", "思乡，杜甫 · 唐：古体诗 · 下平七阳"}));
        QTest::keyClick(field(), Qt::Key_Return);
        QCOMPARE(shown(), QString("杜甫 / 望乡* / 床前明月光，疑是地上霜。"));
        // A poem with no rhyme to list by says so.
        test::chooseEntry(form(), "春望");
        test::barMain(form())->Tool("mnuView", "mnuSameMetre")->trigger();
        QCOMPARE(test::sbStatusBar(form())->panelText(2), QString("这首诗词没有可以比照的韵部"));
    }

    // In the favourites view a poem that is no favourite is shown in the all-poems view.
    void aPoemOutsideTheFavourites()
    {
        open();
        test::seed(h->libraryFile, "update ChinaPoem set tf=true where PoemID='P2'");
        form()->switchView(true);
        typeFind("舉頭望明月");
        QTest::keyClick(field(), Qt::Key_Return);
        QCOMPARE(shown(), QString("李白 / 静夜思* / 床前明月光，疑是地上霜。"));
        QCOMPARE(test::sbStatusBar(form())->panelText(2), QString("当前位置：全部诗词"));
    }

    // A library made before the index: the box says so, offers to build it, builds it in
    // the background and then finds.
    void aLibraryWithoutTheIndex()
    {
        open(false);
        test::seed(h->libraryFile, "drop table FindIndexInfo");
        form()->Load();
        QCOMPARE(field()->placeholderText(), QString("查找索引尚未建立"));
        {
            msg::Recorder boxes;
            boxes.answerNext(msg::Answer::No);
            typeFind("明");
            QCOMPARE(boxes.texts().size(), 1);
            QVERIFY(boxes.texts().first().startsWith("这个诗词库还没有查找索引"));
            QVERIFY(!list()->isVisible());
            // Asked once a session, not at every key.
            test::typeText(field(), "月");
            QCOMPARE(boxes.texts().size(), 1);
        }
        h.reset();
        open(false);
        test::seed(h->libraryFile, "drop table FindIndexInfo");
        form()->Load();
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        typeFind("明月");
        QTRY_COMPARE_WITH_TIMEOUT(field()->placeholderText(), QString("查找诗句、标题、作者，或如 韵:下平七阳（Ctrl+L）"), 20000);
        QVERIFY(findindex::present(h->db->sqliteHandle()));
        QCOMPARE(rowsRead().size(), 2);
    }
};

QTEST_MAIN(tst_FindBox)
#include "tst_findbox.moc"
