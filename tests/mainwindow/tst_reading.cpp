// The main window as a reader meets it: panes that come back after a small window,
// the whole splitter handle, the focus seen, the keyboard, a screen reader's names,
// the order of numbered titles, every character shown, and a lock that passes.
#include "MainWindowHarness.h"
#include "SplitterHandle.h"
#include "StatusBar.h"
#include "dialogs/frmQueryPoem.h"
#include "mainwindow/BarMain.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "store/DbConnection.h"
#include "ui/Fonts.h"
#include "ui/Text.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QtTest>
#include <thread>

using namespace qelvane;

class tst_Reading : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }

    void showAuthor(const QStringList& path) { QVERIFY(test::chooseNode(form(), path)); }

private slots:
    void init()
    {
        h = std::make_unique<test::MainWindowHarness>();
        form()->resize(1000, 700);
        form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(form()));
    }
    void cleanup() { h.reset(); }

    // ---- Layout ----

    void theChosenSplitComesBack()
    {
        SplitterHandle* handle = test::imgSplitter(form());
        const QPoint grip(handle->width() / 2, handle->height() / 2);
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(60, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(60, 0));
        const int split = handle->x();
        const int listWidth = test::lvwPoem(form())->width();
        QVERIFY(listWidth > 0);
        form()->resize(200, 120);
        QCOMPARE(test::lvwPoem(form())->width(), 0);
        form()->resize(1000, 700);
        QCOMPARE(handle->x(), split);
        QCOMPARE(test::lvwPoem(form())->width(), listWidth);
    }

    void theWholeHandleCanBeGrabbed()
    {
        SplitterHandle* handle = test::imgSplitter(form());
        for (int x : {0, handle->width() / 2, handle->width() - 1}) {
            const QPoint inWindow = handle->mapTo(form(), QPoint(x, handle->height() / 2));
            QCOMPARE(form()->childAt(inWindow), static_cast<QWidget*>(handle));
        }
        QCOMPARE(handle->cursor().shape(), Qt::SplitHCursor);
    }

    // ---- Keyboard ----

    void theFocusIsSeenInEveryPane()
    {
        showAuthor({"中国诗词", "唐", "李白"});
        for (QWidget* pane : std::initializer_list<QWidget*>{test::txtAuthorDetail(form()), test::txtPoemDetail(form()),
                                                            test::txtPoemNote(form()), test::lvwPoem(form())}) {
            test::tvwPoem(form())->setFocus();
            const QImage without = pane->grab().toImage();
            pane->setFocus();
            QVERIFY(pane->hasFocus());
            QVERIFY2(pane->grab().toImage() != without, qPrintable(pane->objectName()));
        }
    }

    void theReadingPanesMoveByKeyboard()
    {
        QPlainTextEdit* poem = test::txtPoemDetail(form());
        QVERIFY(poem->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        poem->setPlainText("一\n二\n三");
        poem->setFocus();
        QTest::keyClick(poem, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(poem->textCursor().blockNumber(), 2);
        QTest::keyClick(poem, Qt::Key_Up);
        QCOMPARE(poem->textCursor().blockNumber(), 1);
        QVERIFY(poem->isReadOnly());
    }

    void tabbingIntoTheListShowsTheEntry()
    {
        showAuthor({"中国诗词", "唐", "李白"});
        test::tvwPoem(form())->setFocus();
        QTest::keyClick(test::tvwPoem(form()), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(test::lvwPoem(form())));
        QVERIFY(test::lvwPoem(form())->currentItem());
        QVERIFY(!test::txtPoemDetail(form())->toPlainText().isEmpty());
        QTest::keyClick(test::lvwPoem(form()), Qt::Key_End);
        const QString last = test::lvwPoem(form())->topLevelItem(test::lvwPoem(form())->topLevelItemCount() - 1)->text(0);
        QCOMPARE(test::lvwPoem(form())->currentItem()->text(0), last);
        const QString lastText =
            test::scalar(h->libraryFile, "select Content from ChinaPoem where Name=?", {last}).toString();
        QCOMPARE(test::txtPoemDetail(form())->toPlainText(), lastText);
    }

    void shortcutsReachTheirCommands()
    {
        const QList<QPair<const char*, QKeySequence>> expected = {
            {"mnuFind", QKeySequence("Ctrl+F")},        {"mnuHelpContent", QKeySequence("F1")},
            {"mnuAddFavorite", QKeySequence("Ctrl+D")}, {"mnuAddNewPoem", QKeySequence("Ctrl+N")},
            {"mnuEditPoem", QKeySequence("Ctrl+E")},    {"mnuSave", QKeySequence("Ctrl+S")},
            {"mnuDeletePoem", QKeySequence("Del")}};
        for (const auto& [tool, key] : expected) {
            QAction* found = nullptr;
            for (const char* band : {"mnuEdit", "mnuFavorite", "mnuHelp"})
                if (QAction* action = test::barMain(form())->Tool(band, tool))
                    found = action;
            QVERIFY2(found, tool);
            QCOMPARE(found->shortcut(), key);
        }
        showAuthor({"中国诗词", "唐", "李白"});
        test::lvwPoem(form())->setCurrentItem(test::lvwPoem(form())->topLevelItem(0));
        test::lvwPoem(form())->setFocus();
        msg::Recorder boxes;
        QTest::keyClick(test::lvwPoem(form()), Qt::Key_D, Qt::ControlModifier);
        QTest::keyClick(test::lvwPoem(form()), Qt::Key_Delete);
        boxes.answerNext(msg::Answer::No);
        QCOMPARE(boxes.texts().size(), 2);
        QVERIFY(boxes.texts().at(0).endsWith("已经被加入到您的收藏夹中"));
        QVERIFY(boxes.texts().at(1).startsWith("确实要删除当前诗词"));
        QTest::keyClick(test::lvwPoem(form()), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(test::queryDialog(form())->isVisible());
    }

    // ---- Screen readers ----

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

    // ---- Order, characters, locks ----

    void numberedTitlesInTheirOrder()
    {
        QStringList titles = {"清平调 三", "清平调 一", "清平调 二", "其十一", "其二", "其一", "其十", "春望"};
        std::sort(titles.begin(), titles.end(), text::chineseLess);
        QCOMPARE(titles, QStringList({"春望", "其一", "其二", "其十", "其十一", "清平调 一", "清平调 二", "清平调 三"}));
        QCOMPARE(text::chineseNumber(u"二百零五"), 205);
        QCOMPARE(text::chineseNumber(u"十一"), 11);
        QCOMPARE(text::chineseNumber(u"春"), -1);
        // The first click on the column still sorts descending.
        test::seed(h->libraryFile, "update ChinaPoem set Name='其一' where Name='静夜思'");
        test::seed(h->libraryFile, "update ChinaPoem set Name='其十一' where Name='将进酒'");
        showAuthor({"中国诗词", "唐", "李白"});
        form()->lvwPoem_ColumnClick(0);
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"其十一", "其一"}));
    }

    void everyCharacterHasAFace()
    {
        fonts::installReadingFonts();
        QCOMPARE(QFontInfo(QFont("宋体")).family(), QString("Noto Serif CJK SC"));
        // 一, a character of extension B (𪛖), and one of the private use area.
        const QSet<char32_t> characters = {0x4E00, 0x2A6D6, 0xE815};
        QCOMPARE(fonts::uncovered(characters), QList<char32_t>({0xE815}));
    }

    void aPassingLockIsWaitedFor()
    {
        // Another program holds the library for a moment.
        std::atomic<bool> locked = false;
        std::thread holder([&] {
            {
                QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "holder");
                other.setDatabaseName(h->libraryFile);
                other.open();
                QSqlQuery(other).exec("begin exclusive");
                locked = true;
                std::this_thread::sleep_for(std::chrono::milliseconds(1500));
                QSqlQuery(other).exec("rollback");
                other.close();
            }
            QSqlDatabase::removeDatabase("holder");
        });
        while (!locked)
            std::this_thread::yield();
        h->db->Execute("update NewCount set Count=7 where Name='Poem'");
        holder.join();
        QCOMPARE(test::scalar(h->libraryFile, "select Count from NewCount where Name='Poem'").toInt(), 7);
    }
};

QTEST_MAIN(tst_Reading)
#include "tst_reading.moc"
