// Deleting authors, epochs, countries and poems from the main window: the questions,
// the tables touched, the screen afterwards, and nothing half-done on a failure.
#include "MainWindowHarness.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QTreeWidget>
#include <QtTest>
#include <sqlite3.h>

using namespace qelvane;

class tst_Deletions : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }

    QTreeWidgetItem* select(const QStringList& path) { return test::chooseNode(form(), path); }
    int count(const QString& table, const QString& condition, const QVariantList& values = {})
    {
        return test::scalar(h->libraryFile, "select count(*) from " + table + " where " + condition, values).toInt();
    }
    QString id(const QString& statement) { return test::scalar(h->libraryFile, statement).toString(); }
    void breakDeletesOf(const QString& table)
    {
        test::seed(h->libraryFile, QString("create trigger broken before delete on %1 "
                                           "begin select raise(abort, 'disk full'); end").arg(table));
    }

private slots:
    void init() { h = std::make_unique<test::MainWindowHarness>(); }
    void cleanup() { h.reset(); }

    void aChineseAuthor()
    {
        const QString libai = id("select AuthorID from ChinaAuthor where AuthorName='李白'");
        select({"中国诗词", "唐", "李白"});
        QVERIFY(test::lvwPoem(form())->topLevelItemCount() > 0);
        const QString biography = test::txtAuthorDetail(form())->toPlainText();
        msg::Recorder boxes;
        // A stray Enter takes the box's default, No: nothing goes.
        form()->BarMain_ToolClick("mnuDeleteAuthor");
        QCOMPARE(count("ChinaAuthor", "AuthorID=?", {libai}), 1);
        QCOMPARE(count("ChinaPoem", "AuthorID=?", {libai}), 2);
        boxes.answerNext(msg::Answer::Yes);
        form()->BarMain_ToolClick("mnuDeleteAuthor");
        QCOMPARE(boxes.texts().at(0),
                 QString("确实要删除作者李白吗？\r\n这将导致该作者的全部诗词作品（共 2 首诗词）被删除并且无法恢复!"));
        QCOMPARE(boxes.shown().at(0).title, QString("警告"));
        QCOMPARE(boxes.shown().at(0).icon, msg::Icon::Critical);
        QCOMPARE(boxes.shown().at(0).defaultButton, msg::Answer::No);
        QCOMPARE(count("ChinaAuthor", "AuthorID=?", {libai}), 0);
        QCOMPARE(count("ChinaAuthorDetail", "AuthorID=?", {libai}), 0);
        QCOMPARE(count("ChinaPoem", "AuthorID=?", {libai}), 0);
        QCOMPARE(count("ChinaEpoch", "Epoch='唐'"), 1);
        QVERIFY(!test::nodeAt(test::tvwPoem(form()), {"中国诗词", "唐", "李白"}));
        QVERIFY(!form()->nodeByKey(LibrarySide::China, libai));
        // Nothing of him stays on the screen: the node now current is shown as a click shows it.
        QVERIFY(!test::entryTexts(test::lvwPoem(form())).contains("静夜思"));
        QVERIFY(test::txtAuthorDetail(form())->toPlainText() != biography);
        QTreeWidgetItem* now = test::tvwPoem(form())->currentItem();
        QVERIFY(now);
        QVERIFY2(test::sbStatusBar(form())->panelText(1).contains(now->text(0)), qPrintable(test::sbStatusBar(form())->panelText(1)));
    }

    void aForeignAuthorKeyedWithF()
    {
        const QString obrien = id("select AuthorID from ForeignAuthor where AuthorName='O''Brien'");
        select({"国外诗词", "英国", "O'Brien"});
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        form()->DeleteAuthor();
        QCOMPARE(count("ForeignAuthor", "AuthorID=?", {obrien}), 0);
        QCOMPARE(count("ForeignAuthorDetail", "AuthorID=?", {obrien}), 0);
        QCOMPARE(count("ForeignPoem", "AuthorID=?", {obrien}), 0);
        QVERIFY(!form()->nodeByKey(LibrarySide::Foreign, "F" + obrien));
        QVERIFY(test::nodeAt(test::tvwPoem(form()), {"国外诗词", "英国", "布莱克"}));
    }

    void whatIsNoAuthorNoEpochNoPoem()
    {
        msg::Recorder boxes;
        test::tvwPoem(form())->setCurrentItem(nullptr);
        form()->DeleteAuthor();
        form()->DeleteEpoch();
        select({"中国诗词"});
        form()->DeleteAuthor();
        form()->DeleteEpoch();
        test::lvwPoem(form())->clear();
        form()->DeletePoem();
        QCOMPARE(boxes.texts(), QStringList({"请选择一位作者!", "请选择一个年代或国家!", "请选择一位作者!",
                                             "请选择一个年代或国家！", "请选择一首诗词"}));
        const QList<msg::Box>& shown = boxes.shown();
        QCOMPARE(shown[0].title, msg::ApplicationTitle);
        QCOMPARE(shown[0].icon, msg::Icon::None);
        QCOMPARE(shown[1].icon, msg::Icon::None);
        QCOMPARE(shown[2].title, msg::ApplicationTitle);
        QCOMPARE(shown[2].icon, msg::Icon::Information);
        QCOMPARE(shown[3].title, QString("提示"));
        QCOMPARE(shown[4].title, QString("提示"));
    }

    void anEpochTakesEveryPoemOfItsName()
    {
        // A poem of 唐 whose author is listed under another epoch goes too.
        test::seed(h->libraryFile, "update ChinaPoem set AuthorID=(select AuthorID from ChinaAuthor where "
                                   "AuthorName='苏轼') where Name='春望'");
        const QString dufu = id("select AuthorID from ChinaAuthor where AuthorName='杜甫'");
        const int tangPoems = count("ChinaPoem", "Epoch='唐'");
        select({"中国诗词", "唐"});
        msg::Recorder boxes;
        form()->DeleteEpoch();
        QCOMPARE(count("ChinaEpoch", "Epoch='唐'"), 1);
        QCOMPARE(boxes.shown().at(0).defaultButton, msg::Answer::No);
        boxes.answerNext(msg::Answer::Yes);
        form()->DeleteEpoch();
        // The count is of the poems that go: every poem of the name, 春望 included.
        QCOMPARE(boxes.texts().at(0), QString("如果删除年代唐,则该年代的全部作者、作品（共 3 位作者、%1 首诗词）都会被删除。"
                                              "\r\n确实要删除吗？").arg(tangPoems));
        QCOMPARE(count("ChinaEpoch", "Epoch='唐'"), 0);
        QCOMPARE(count("ChinaAuthor", "Epoch='唐'"), 0);
        QCOMPARE(count("ChinaAuthorDetail", "AuthorID=?", {dufu}), 0);
        QCOMPARE(count("ChinaPoem", "Epoch='唐'"), 0);
        QCOMPARE(count("ChinaPoem", "Name='春望'"), 0);
        QCOMPARE(count("ChinaPoem", "Epoch='宋'"), 1);
        QVERIFY(!test::nodeAt(test::tvwPoem(form()), {"中国诗词", "唐"}));
        QVERIFY(!form()->nodeByKey(LibrarySide::China, dufu));
    }

    // A deletion runs beside the window: while it waits (here for a lock another program
    // holds) the window's timers fire and a dialog names what goes; the epoch goes once
    // the lock is given back.
    void aLongDeletionLeavesTheWindowAnswering()
    {
        const int tangPoems = count("ChinaPoem", "Epoch='唐'");
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open_v2(h->libraryFile.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
        select({"中国诗词", "唐"});
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        int ticks = 0;
        QString shown;
        bool closedHalfway = true;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] {
            ++ticks;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QProgressDialog*>(window);
                if (dialog && dialog->isVisible() && shown.isEmpty()) {
                    shown = dialog->findChild<QLabel*>()->text();
                    // The desktop asks every window to close (a logout): refused while the
                    // change runs, once, without hanging.
                    const bool formShown = form()->isVisible();
                    QApplication::closeAllWindows();
                    closedHalfway = form()->isVisible() != formShown || !dialog->isVisible();
                    sqlite3_exec(other, "commit", nullptr, nullptr, nullptr);
                }
            }
        });
        tick.start(20);
        form()->DeleteEpoch();
        tick.stop();
        sqlite3_close(other);
        QVERIFY(ticks > 1);
        QVERIFY(!closedHalfway);
        QCOMPARE(shown, QString("正在删除年代唐的 3 位作者和 %1 首诗词……").arg(tangPoems));
        QCOMPARE(count("ChinaPoem", "Epoch='唐'"), 0);
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(!test::nodeAt(test::tvwPoem(form()), {"中国诗词", "唐"}));
    }

    void aCountryAfterAQuestionAndWithAQuote()
    {
        test::seed(h->libraryFile, "update ForeignCountry set Country='L''Angleterre' where Country='英国'");
        test::seed(h->libraryFile, "update ForeignAuthor set Country='L''Angleterre' where Country='英国'");
        test::seed(h->libraryFile, "update ForeignPoem set Country='L''Angleterre' where Country='英国'");
        test::seed(h->libraryFile, "update ForeignEpoch set Country='L''Angleterre' where Country='英国'");
        form()->LoadTree();
        select({"国外诗词", "L'Angleterre"});
        const int poems = count("ForeignPoem", "Country=?", {"L'Angleterre"});
        QVERIFY(poems > 0);
        {
            // The box's own default is No: a stray Enter deletes nothing.
            msg::Recorder boxes;
            form()->BarMain_ToolClick("mnuDeleteEpoch");
            QCOMPARE(boxes.texts(), QStringList({QString("如果删除国家L'Angleterre,则该国家的全部作者、作品（共 %1 位作者、%2 首诗词）"
                                                         "都会被删除。\r\n确实要删除吗？")
                                                     .arg(count("ForeignAuthor", "Country=?", {"L'Angleterre"}))
                                                     .arg(poems)}));
            QCOMPARE(boxes.shown().first().title, QString("警告"));
            QCOMPARE(boxes.shown().first().defaultButton, msg::Answer::No);
            QCOMPARE(count("ForeignPoem", "Country=?", {"L'Angleterre"}), poems);
            QVERIFY(test::nodeAt(test::tvwPoem(form()), {"国外诗词", "L'Angleterre"}));
        }
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        form()->BarMain_ToolClick("mnuDeleteEpoch");
        QCOMPARE(count("ForeignCountry", "Country=?", {"L'Angleterre"}), 0);
        QCOMPARE(count("ForeignAuthor", "Country=?", {"L'Angleterre"}), 0);
        QCOMPARE(count("ForeignPoem", "Country=?", {"L'Angleterre"}), 0);
        // Nor is it offered any more to a new author.
        QCOMPARE(count("ForeignEpoch", "Country=?", {"L'Angleterre"}), 0);
        QCOMPARE(count("ForeignAuthorDetail", "AuthorID=(select AuthorID from ForeignAuthor where AuthorName='雨果')"),
                 1);
        QVERIFY(!test::nodeAt(test::tvwPoem(form()), {"国外诗词", "L'Angleterre"}));
    }

    void anEpochWhoseNameMatchesNothing()
    {
        select({"中国诗词", "空朝"});
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        form()->DeleteEpoch();
        QVERIFY(!test::nodeAt(test::tvwPoem(form()), {"中国诗词", "空朝"}));
        QVERIFY(test::nodeAt(test::tvwPoem(form()), {"中国诗词", "唐"}));
    }

    void aFailureInTheMiddleChangesNothing()
    {
        breakDeletesOf("ChinaAuthor");
        const QString biographies = "AuthorID in (select AuthorID from ChinaAuthor where Epoch='唐')";
        const int before = count("ChinaAuthorDetail", biographies);
        QVERIFY(before > 0);
        select({"中国诗词", "唐"});
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        form()->DeleteEpoch();
        QCOMPARE(boxes.texts().size(), 2);
        QVERIFY(boxes.texts().at(1).startsWith("删除失败，诗词库没有改变："));
        // The epoch row went first, and came back with the rest.
        QCOMPARE(count("ChinaEpoch", "Epoch='唐'"), 1);
        QCOMPARE(count("ChinaAuthorDetail", biographies), before);
        QVERIFY(test::nodeAt(test::tvwPoem(form()), {"中国诗词", "唐", "李白"}));
    }

    void aPoem()
    {
        select({"中国诗词", "唐", "李白"});
        QTreeWidgetItem* entry = test::lvwPoem(form())->findItems("将进酒", Qt::MatchExactly).first();
        test::lvwPoem(form())->setCurrentItem(entry);
        form()->lvwPoem_ItemClick(entry);
        const QString shown = test::txtPoemDetail(form())->toPlainText();
        msg::Recorder boxes;
        form()->BarMain_ToolClick("tbDelete");
        QCOMPARE(count("ChinaPoem", "Name='将进酒'"), 1);
        boxes.answerNext(msg::Answer::Yes);
        form()->BarMain_ToolClick("tbDelete");
        QCOMPARE(boxes.texts().last(), QString("确实要删除当前诗词将进酒吗？"));
        QCOMPARE(count("ChinaPoem", "Name='将进酒'"), 0);
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"静夜思"}));
        // The deleted poem leaves the reading areas; the count is the count stored.
        QVERIFY(!shown.isEmpty());
        QCOMPARE(test::txtPoemDetail(form())->toPlainText(), QString());
        QCOMPARE(test::txtPoemNote(form())->toPlainText(), QString());
        QCOMPARE(test::sbStatusBar(form())->panelText(1), QString("中国诗人李白：共有1首作品"));
        // Nothing else is chosen in its place while the panes are empty.
        QVERIFY(test::lvwPoem(form())->selectedItems().isEmpty());
    }

    void aSearchResultOfADeletedPoem()
    {
        const QString poem = id("select PoemID from ChinaPoem where Name='将进酒'");
        select({"中国诗词", "唐", "李白"});
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        form()->DeleteAuthor();
        boxes.clear();
        QString key = poem, title = "将进酒";
        form()->mQueryForm_ShowQueryResult(key, title, LibrarySide::China);
        QVERIFY(test::txtPoemDetail(form())->toPlainText().isEmpty());
        // No node of the deleted author is reached; the step that looks for it says so.
        QVERIFY(!test::tvwPoem(form())->currentItem() || test::tvwPoem(form())->currentItem()->text(0) != "李白");
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts().at(0).contains("找不到作者节点"));
    }

    // In the favourites view the reader chooses: out of the favourites (the default, the
    // library keeps the poem) or out of the library, said as such; or neither.
    void aPoemInTheFavouritesView()
    {
        test::seed(h->libraryFile, "update ChinaPoem set tf=true where Name in ('将进酒','静夜思','春望')");
        form()->BarMain_ToolClick("tbFavorite");
        select({"中国诗词", "李白"});
        const auto choose = [&](const QString& title) { form()->lvwPoem_ItemClick(test::chooseEntry(form(), title)); };
        msg::Recorder boxes;
        choose("将进酒");
        boxes.answerNext(msg::Answer::Cancel);
        form()->BarMain_ToolClick("tbDelete");
        QCOMPARE(count("ChinaPoem", "Name='将进酒' and tf=true"), 1);
        const msg::Box asked = boxes.shown().first();
        QCOMPARE(asked.text, QString("要把“将进酒”从收藏夹中移除，还是从诗词库中删除？\r\n从收藏夹中移除：这首诗词仍留在诗词库中。"
                                     "\r\n从诗词库中删除：这首诗词将被永久删除，无法恢复!"));
        QCOMPARE(asked.captions, QStringList({"从收藏夹中移除", "从诗词库中删除", "取消"}));
        QCOMPARE(asked.defaultButton, msg::Answer::Yes);

        form()->BarMain_ToolClick("tbDelete");
        QCOMPARE(count("ChinaPoem", "Name='将进酒' and tf=false"), 1);
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"静夜思"}));
        QCOMPARE(test::sbStatusBar(form())->panelText(1), QString("中国诗人李白：共有1首作品"));

        choose("静夜思");
        boxes.answerNext(msg::Answer::No);
        form()->BarMain_ToolClick("tbDelete");
        QCOMPARE(count("ChinaPoem", "Name='静夜思'"), 0);
        // 李白 has no favourite left: his node goes, and the node now current is shown.
        QVERIFY(!test::nodeAt(test::tvwPoem(form()), {"中国诗词", "李白"}));
        QTreeWidgetItem* now = test::tvwPoem(form())->currentItem();
        QVERIFY(now);
        QCOMPARE(test::entryTexts(test::lvwPoem(form())).isEmpty(), now->text(0) != "杜甫");
    }

    // A poem deleted from a search result: panel 1 counts the poems its author still has,
    // not the one-entry list.
    void aPoemOfASearchResultLeavesTheTrueCount()
    {
        const QString poem = id("select PoemID from ChinaPoem where Name='将进酒'");
        QString key = poem, title = "将进酒";
        form()->mQueryForm_ShowQueryResult(key, title, LibrarySide::China);
        form()->lvwPoem_ItemClick(test::chooseEntry(form(), "将进酒"));
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        form()->BarMain_ToolClick("tbDelete");
        QCOMPARE(count("ChinaPoem", "PoemID=?", {poem}), 0);
        QCOMPARE(test::sbStatusBar(form())->panelText(1), QString("中国诗人李白：共有1首作品"));
    }
};

QTEST_MAIN(tst_Deletions)
#include "tst_deletions.moc"
