// Favourites as a reader keeps them: a poem added from the list, the cleaner opened
// from the menu, entries taken out one by one.
#include "DialogDriver.h"
#include "MainWindowHarness.h"
#include "dialogs/FavoriteList.h"
#include "dialogs/frmCleanFavorite.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "tolvarin/Tolvarin.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

using namespace qelvane;

class tst_Favorites : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }

    void showAuthor(const QStringList& path) { QVERIFY(test::chooseNode(form(), path)); }
    void chooseEntry(const QString& title) { QVERIFY(test::chooseEntry(form(), title)); }
    bool isFavorite(const QString& table, const QString& title)
    {
        return test::scalar(h->libraryFile, "select tf from " + table + " where Name=?", {title}).toBool();
    }
    void markFavorites(const QString& table, const QString& condition)
    {
        test::seed(h->libraryFile, "update " + table + " set tf=true where " + condition);
    }
    // The titles the library file holds as favourites, in title order.
    QStringList storedFavourites()
    {
        QStringList stored;
        for (const char* table : {"ChinaPoem", "ForeignPoem"})
            for (const QString& title : {QStringLiteral("静夜思"), QStringLiteral("春望"), QStringLiteral("Morning")})
                if (test::scalar(h->libraryFile, QStringLiteral("select count(*) from %1 where tf=true and Name=?")
                                                     .arg(QLatin1String(table)),
                                 {title})
                        .toInt() > 0)
                    stored << title;
        stored.sort();
        return stored;
    }
    QStringList titles(frmCleanFavorite* cleaner)
    {
        QStringList shown;
        QAbstractItemModel* model = test::named<QTreeView>(cleaner, "lvwFavorite")->model();
        for (int row = 0; row < model->rowCount(); ++row)
            shown << model->index(row, 0).data().toString() + "|" + model->index(row, 1).data().toString() + "|" +
                         model->index(row, 2).data().toString();
        return shown;
    }

private slots:
    void init() { h = std::make_unique<test::MainWindowHarness>(); }
    void cleanup() { h.reset(); }

    // ---- Adding ----

    void addingAPoem()
    {
        showAuthor({"中国诗词", "唐", "李白"});
        chooseEntry("静夜思");
        msg::Recorder boxes;
        form()->BarMain_ToolClick("tbAddFavorite");
        QVERIFY(isFavorite("ChinaPoem", "静夜思"));
        form()->BarMain_ToolClick("mnuAddFavorite");
        QCOMPARE(boxes.texts(), QStringList({"当前诗词：静夜思 已经被加入到您的收藏夹中", "当前诗词已经在收藏夹中了！"}));
        QCOMPARE(boxes.shown().at(0).title, QString("提示"));
        QCOMPARE(boxes.shown().at(0).icon, msg::Icon::Information);
    }

    void aForeignPoemWithSpacesInItsTitle()
    {
        test::seed(h->libraryFile, "update ForeignPoem set Name='  Evening ' where Name='Evening'");
        showAuthor({"国外诗词", "英国", "O'Brien"});
        chooseEntry("  Evening ");
        msg::Recorder boxes;
        form()->AddToFavorites();
        QCOMPARE(boxes.texts(), QStringList({"当前诗词：Evening 已经被加入到您的收藏夹中"}));
        QVERIFY(isFavorite("ForeignPoem", "  Evening "));
    }

    void whatAddingRefuses()
    {
        msg::Recorder boxes;
        test::lvwPoem(form())->clear();
        form()->AddToFavorites();
        form()->BarMain_ToolClick("tbFavorite");
        form()->AddToFavorites();
        QCOMPARE(boxes.texts(), QStringList({"当前诗词为空，请选择一首诗词再添加!",
                                             "您现在处于收藏夹中，请切换到全部诗词再添加!"}));
    }

    void aFailingUpdateLeavesThePoemUnmarked()
    {
        showAuthor({"中国诗词", "唐", "杜甫"});
        chooseEntry("春望");
        test::seed(h->libraryFile, "create trigger broken before update on ChinaPoem "
                                   "begin select raise(abort, 'disk full'); end");
        msg::Recorder boxes;
        form()->AddToFavorites();
        QCOMPARE(boxes.texts(), QStringList({"添加到收藏夹时出现错误!\n数据库语句执行失败：数据不符合诗词库的约束。"}));
        QVERIFY(!isFavorite("ChinaPoem", "春望"));
        // The connection goes on.
        test::seed(h->libraryFile, "drop trigger broken");
        boxes.clear();
        form()->AddToFavorites();
        QVERIFY(isFavorite("ChinaPoem", "春望"));
    }

    // ---- The cleaner ----

    void anEmptyCleaner()
    {
        frmCleanFavorite cleaner(h->services());
        QVERIFY(titles(&cleaner).isEmpty());
        auto* cboView = test::named<QComboBox>(&cleaner, "cboView");
        QVERIFY(!test::named<tolvarin::Tolvarin>(&cleaner, "cmdDelete")->isEnabled());
        QCOMPARE(cleaner.windowTitle(), QString("整理收藏夹"));
        QCOMPARE(cboView->currentText(), QString("详细资料"));
        QCOMPARE(cboView->count(), 4);
        QCOMPARE(test::named<QLabel>(&cleaner, "lblView")->text(), QString("显示方式"));
        QVERIFY(!cleaner.Changed());
    }

    void whatTheCleanerLists()
    {
        markFavorites("ChinaPoem", "Name in ('静夜思','春望')");
        markFavorites("ForeignPoem", "Name='Morning'");
        test::seed(h->libraryFile, "update ChinaPoem set Name=' 静夜思  ', Author='李白 ' where Name='静夜思'");
        frmCleanFavorite cleaner(h->services());
        cleaner.resize(600, 400);
        cleaner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cleaner));
        QCOMPARE(titles(&cleaner), QStringList({"静夜思|李白|中国诗词", "春望|杜甫|中国诗词", "Morning|O'Brien|国外诗词"}));
        auto* lvwFavorite = test::named<QTreeView>(&cleaner, "lvwFavorite");
        auto* lvwFavoriteIcons = test::named<QListView>(&cleaner, "lvwFavoriteIcons");
        auto* cboView = test::named<QComboBox>(&cleaner, "cboView");
        const int width = lvwFavorite->viewport()->width();
        QVERIFY(qAbs(lvwFavorite->header()->sectionSize(1) - width / 3) <= 1);
        // The keys stay the poems' IDs.
        const QString key = cleaner.favorites()->favorite(2).key;
        QCOMPARE(key, "F" + test::scalar(h->libraryFile, "select PoemID from ForeignPoem where Name='Morning'").toString());
        // The other looks show the same entries.
        cboView->setCurrentIndex(0);
        QCOMPARE(cleaner.shownView(), static_cast<QAbstractItemView*>(lvwFavoriteIcons));
        QCOMPARE(lvwFavoriteIcons->viewMode(), QListView::IconMode);
        cboView->setCurrentIndex(2);
        QCOMPARE(lvwFavoriteIcons->flow(), QListView::TopToBottom);
        // A column click sorts, first descending.
        cboView->setCurrentIndex(3);
        QTest::mouseClick(lvwFavorite->header()->viewport(), Qt::LeftButton, {},
                          QPoint(lvwFavorite->header()->sectionPosition(2) + 5, 5));
        QCOMPARE(titles(&cleaner).first().section('|', 2), QString("中国诗词"));
        QCOMPARE(titles(&cleaner).last().section('|', 2), QString("国外诗词"));
    }

    void takingPoemsOut()
    {
        markFavorites("ChinaPoem", "Name='春望'");
        markFavorites("ForeignPoem", "Name='Morning'");
        form()->BarMain_ToolClick("tbFavorite");
        QCOMPARE(test::childTexts(test::tvwPoem(form()), test::nodeAt(test::tvwPoem(form()), {"国外诗词"})), QStringList({"O'Brien"}));
        msg::Recorder boxes;
        bool changedBeforeClose = true;
        test::whenModalShows([&](QWidget* dialog) {
            auto* cleaner = static_cast<frmCleanFavorite*>(dialog);
            auto* lvwFavorite = test::named<QTreeView>(dialog, "lvwFavorite");
            // No changes nothing.
            lvwFavorite->setCurrentIndex(lvwFavorite->model()->index(1, 0));
            test::clickButton(dialog, "cmdDelete");
            changedBeforeClose = cleaner->Changed();
            boxes.answerNext(msg::Answer::Yes);
            test::clickButton(dialog, "cmdDelete");
            // The Delete key asks the same.
            boxes.answerNext(msg::Answer::Yes);
            QTest::keyClick(lvwFavorite, Qt::Key_Delete);
            QVERIFY(!test::named<tolvarin::Tolvarin>(dialog, "cmdDelete")->isEnabled());
            // The close box hides it as 关闭 does.
            dialog->close();
        });
        form()->BarMain_ToolClick("mnuCleanFavorite");
        QVERIFY(!changedBeforeClose);
        QCOMPARE(boxes.texts(), QStringList({"确实要把 Morning从收藏夹中删除吗？它不会影响诗词库中的诗词!",
                                             "确实要把 Morning从收藏夹中删除吗？它不会影响诗词库中的诗词!",
                                             "确实要把 春望从收藏夹中删除吗？它不会影响诗词库中的诗词!"}));
        QCOMPARE(boxes.shown().at(0).title, QString("警告"));
        QCOMPARE(boxes.shown().at(0).defaultButton, msg::Answer::No);
        QVERIFY(!isFavorite("ForeignPoem", "Morning") && !isFavorite("ChinaPoem", "春望"));
        // The poems stay in the library; the favourites tree was rebuilt.
        QCOMPARE(test::scalar(h->libraryFile, "select count(*) from ChinaPoem where Name='春望'").toInt(), 1);
        QVERIFY(test::childTexts(test::tvwPoem(form()), test::nodeAt(test::tvwPoem(form()), {"国外诗词"})).isEmpty());
    }

    // In every look of the list, the entry clicked is the one taken out (sorted or
    // not), and its neighbour is chosen next.
    void everyViewTakesOutTheEntryClicked_data()
    {
        QTest::addColumn<int>("view");
        QTest::newRow("大图标") << 0;
        QTest::newRow("小图标") << 1;
        QTest::newRow("列表") << 2;
        QTest::newRow("详细资料") << 3;
    }
    void everyViewTakesOutTheEntryClicked()
    {
        QFETCH(int, view);
        markFavorites("ChinaPoem", "Name in ('静夜思','春望')");
        markFavorites("ForeignPoem", "Name='Morning'");
        frmCleanFavorite cleaner(h->services());
        cleaner.resize(600, 400);
        cleaner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cleaner));
        // Sorted by title, descending: 静夜思, 春望, Morning.
        QHeaderView* header = test::named<QTreeView>(&cleaner, "lvwFavorite")->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(0) + 5, 5));
        const QStringList sorted = titles(&cleaner);
        test::named<QComboBox>(&cleaner, "cboView")->setCurrentIndex(view);
        QAbstractItemView* shown = cleaner.shownView();
        const QModelIndex middle = shown->model()->index(1, 0);
        const QString clicked = middle.data().toString();
        QTest::mouseClick(shown->viewport(), Qt::LeftButton, {}, shown->visualRect(middle).center());
        QVERIFY(test::named<tolvarin::Tolvarin>(&cleaner, "cmdDelete")->isEnabled());
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        test::clickButton(&cleaner, "cmdDelete");
        QCOMPARE(boxes.texts(), QStringList({"确实要把 " + clicked + "从收藏夹中删除吗？它不会影响诗词库中的诗词!"}));
        QCOMPARE(titles(&cleaner).size(), 2);
        QVERIFY(!titles(&cleaner).join(' ').contains(clicked));
        // The file lost exactly the poem clicked, not the one at its unsorted place.
        QStringList kept = {"静夜思", "春望", "Morning"};
        kept.removeAll(clicked);
        kept.sort();
        QCOMPARE(storedFavourites(), kept);
        // The neighbour below is chosen; the Delete key takes it out in turn.
        const QString next = sorted.at(2).section('|', 0, 0);
        boxes.answerNext(msg::Answer::Yes);
        QTest::keyClick(shown, Qt::Key_Delete);
        QCOMPARE(boxes.texts().last(), "确实要把 " + next + "从收藏夹中删除吗？它不会影响诗词库中的诗词!");
        QCOMPARE(titles(&cleaner), QStringList({sorted.at(0)}));
        QCOMPARE(storedFavourites(), QStringList({sorted.at(0).section('|', 0, 0)}));
    }

    void inTheAllPoemsViewTheTreeStays()
    {
        markFavorites("ChinaPoem", "Name='春望'");
        QTreeWidgetItem* before = test::nodeAt(test::tvwPoem(form()), {"中国诗词", "唐"});
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        test::whenModalShows([](QWidget* dialog) {
            test::clickButton(dialog, "cmdDelete");
            test::clickButton(dialog, "cmdExit");
        });
        form()->BarMain_ToolClick("mnuCleanFavorite");
        QVERIFY(!isFavorite("ChinaPoem", "春望"));
        QCOMPARE(test::nodeAt(test::tvwPoem(form()), {"中国诗词", "唐"}), before);
    }
};

QTEST_MAIN(tst_Favorites)
#include "tst_favorites.moc"
