// The main window by keyboard: the focus is seen in every pane, the panes move by
// keys, tabbing into the list shows its entry, every shortcut reaches its command.
#include "ReadingWindow.h"
#include "dialogs/frmQueryPoem.h"
#include "mainwindow/BarMain.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>

using namespace qelvane;

class tst_Keyboard : public test::ReadingWindow {
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

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
        QTextEdit* poem = test::txtPoemDetail(form());
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
};

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
