// The library tree in both views, and what a click on each kind of node shows.
#include "MainWindowHarness.h"
#include "platform/MessageBox.h"
#include "ui/NodeData.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/NodeKind.h"
#include "mainwindow/LibraryTreePane.h"
#include "mainwindow/frmMain.h"
#include "platform/SettingsStore.h"
#include "store/DbConnection.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

using namespace qelvane;
using test::childTexts;
using test::nodeAt;

namespace {

QString key(QTreeWidgetItem* node) { return node->data(0, KeyRole).toString(); }
// A node's kind and side, in the names the library's tables use.
QString tag(QTreeWidgetItem* node)
{
    const NodeIdentity identity = identityOf(node);
    const bool china = identity.side == LibrarySide::China;
    switch (identity.kind) {
    case NodeKind::Root:
        return china ? "ChinaPoem" : "ForeignPoem";
    case NodeKind::Place:
        return china ? "ChinaEpoch" : "ForeignCountry";
    case NodeKind::Author:
        return china ? "ChinaPoet" : "ForeignPoet";
    default:
        return {};
    }
}
QString image(QTreeWidgetItem* node) { return node->data(0, ImageRole).toString(); }

QStringList entryKeys(QTreeWidget* list)
{
    QStringList keys;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        keys << list->topLevelItem(i)->data(0, KeyRole).toString();
    return keys;
}

} // namespace

class tst_Tree : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }
    QString panel(int n) { return test::sbStatusBar(form())->panelText(n); }
    void click(const QStringList& path)
    {
        QTreeWidgetItem* node = nodeAt(test::tvwPoem(form()), path);
        QVERIFY2(node, qPrintable(path.join('/')));
        form()->tvwPoem_NodeClick(node);
    }
    void favourites(const QStringList& chinese, const QStringList& foreign)
    {
        for (const QString& id : chinese)
            test::seed(h->libraryFile, "update ChinaPoem set tf=1 where PoemID=?", {id});
        for (const QString& id : foreign)
            test::seed(h->libraryFile, "update ForeignPoem set tf=1 where PoemID=?", {id});
    }
    void showFavourites()
    {
        form()->BarMain_ToolClick("tbFavorite");
    }

private slots:
    void init() { h = std::make_unique<test::MainWindowHarness>(); }
    void cleanup() { h.reset(); }

    void theStatusBarBeforeAnyClick()
    {
        test::MainWindowHarness fresh(false);
        QCOMPARE(test::sbStatusBar(fresh.form.get())->panelText(1), QString("单击树状视图中相应项目以浏览作者和诗词"));
        QCOMPARE(test::sbStatusBar(fresh.form.get())->panel(1)->toolTip(), QString("单击树状视图中相应项目以浏览作者和诗词"));
        QCOMPARE(test::sbStatusBar(fresh.form.get())->panelText(2), QString("全部诗词"));
        QCOMPARE(test::sbStatusBar(fresh.form.get())->panelText(3), StatusBar::dateText(QDate::currentDate()));
        QCOMPARE(StatusBar::dateText(QDate(2026, 1, 7)), QString("2026/1/7"));
    }

    void theAllPoemsView()
    {
        QTreeWidget* tree = test::tvwPoem(form());
        QCOMPARE(childTexts(tree, nullptr), QStringList({"中国诗词", "国外诗词"}));
        QTreeWidgetItem* china = tree->topLevelItem(0);
        QTreeWidgetItem* foreign = tree->topLevelItem(1);
        QCOMPARE(key(china), QString("ChinaPoem"));
        QCOMPARE(tag(china), QString("ChinaPoem"));
        QCOMPARE(image(china), QString("Bag"));
        QCOMPARE(key(foreign), QString("ForeignPoem"));
        QCOMPARE(tag(foreign), QString("ForeignPoem"));
        // Epochs and countries in the order the library holds them, also those without authors.
        QCOMPARE(childTexts(tree, china), QStringList({"先秦", "唐", "宋", "空朝"}));
        QCOMPARE(childTexts(tree, foreign), QStringList({"英国", "法国", "无人国"}));
        QTreeWidgetItem* tang = nodeAt(tree, {"中国诗词", "唐"});
        QCOMPARE(tag(tang), QString("ChinaEpoch"));
        QCOMPARE(image(tang), QString("Epoch"));
        QVERIFY(key(tang).isEmpty());
        QCOMPARE(childTexts(tree, tang), QStringList({"李白", "杜甫", "无名氏"}));
        QTreeWidgetItem* libai = nodeAt(tree, {"中国诗词", "唐", "李白"});
        QCOMPARE(key(libai), QString("A1"));
        QCOMPARE(tag(libai), QString("ChinaPoet"));
        QCOMPARE(image(libai), QString("Poet"));
        QTreeWidgetItem* obrien = nodeAt(tree, {"国外诗词", "英国", "O'Brien"});
        QCOMPARE(key(obrien), QString("FWA1"));
        QCOMPARE(tag(obrien), QString("ForeignPoet"));
        QCOMPARE(tag(nodeAt(tree, {"国外诗词", "英国"})), QString("ForeignCountry"));
        QCOMPARE(form()->nodeByKey(LibrarySide::Foreign, "FWA3")->text(0), QString("雨果"));
        // The second node is selected, without the effects of a click.
        QCOMPARE(tree->currentItem(), nodeAt(tree, {"中国诗词", "先秦"}));
        QCOMPARE(panel(1), QString("单击树状视图中相应项目以浏览作者和诗词"));
    }

    void aRebuildKeepsWhatIsShown()
    {
        click({"中国诗词", "唐", "李白"});
        test::txtPoemDetail(form())->setPlainText("床前明月光");
        form()->LoadTree();
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"静夜思", "将进酒"}));
        QCOMPARE(test::txtPoemDetail(form())->toPlainText(), QString("床前明月光"));
        QCOMPARE(test::txtAuthorDetail(form())->toPlainText(), QString("李白，字太白，号青莲居士。"));
        QCOMPARE(panel(1), QString("中国诗人李白：共有2首作品"));
    }

    void clickingAChineseAuthor()
    {
        click({"中国诗词", "唐", "李白"});
        QCOMPARE(form()->listedSide(), LibrarySide::China);
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"静夜思", "将进酒"}));
        QCOMPARE(entryKeys(test::lvwPoem(form())), QStringList({"P1", "P2"}));
        QVERIFY(!test::lvwPoem(form())->topLevelItem(0)->icon(0).isNull());
        QCOMPARE(test::txtAuthorDetail(form())->toPlainText(), QString("李白，字太白，号青莲居士。"));
        QCOMPARE(panel(1), QString("中国诗人李白：共有2首作品"));
        QCOMPARE(panel(2), QString("当前位置：全部诗词"));

        // An author without a biography leaves the box empty.
        test::txtPoemNote(form())->setPlainText("old");
        click({"中国诗词", "唐", "无名氏"});
        QVERIFY(test::txtAuthorDetail(form())->toPlainText().isEmpty());
        QVERIFY(test::txtPoemNote(form())->toPlainText().isEmpty());
        QCOMPARE(panel(1), QString("中国诗人无名氏：共有1首作品"));
    }

    void clickingAForeignAuthor()
    {
        click({"国外诗词", "英国", "O'Brien"});
        QCOMPARE(form()->listedSide(), LibrarySide::Foreign);
        QCOMPARE(entryKeys(test::lvwPoem(form())), QStringList({"FWP1", "FWP2"}));
        QCOMPARE(test::txtAuthorDetail(form())->toPlainText(), QString("An author whose name has a quote."));
        QCOMPARE(panel(1), QString("外国诗人O'Brien：共有2首作品"));
    }

    void clickingGroupsAndRoots_data()
    {
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QString>("summary");
        QTest::newRow("epoch") << QStringList({"中国诗词", "唐"}) << "中国唐时期：共有3位诗词作者";
        QTest::newRow("empty epoch") << QStringList({"中国诗词", "空朝"}) << "中国空朝时期：共有0位诗词作者";
        QTest::newRow("country") << QStringList({"国外诗词", "英国"}) << "国家英国：共有2位诗词作者";
        QTest::newRow("chinese root") << QStringList({"中国诗词"}) << "中国诗词：共包括4代的作品";
        QTest::newRow("foreign root") << QStringList({"国外诗词"}) << "外国诗词：共包括3个国家的作品";
    }
    void clickingGroupsAndRoots()
    {
        QFETCH(QStringList, path);
        QFETCH(QString, summary);
        click({"中国诗词", "唐", "李白"});
        form()->lvwPoem_ItemClick(test::lvwPoem(form())->topLevelItem(0));
        QVERIFY(!test::txtPoemDetail(form())->toPlainText().isEmpty());
        click(path);
        QCOMPARE(panel(1), summary);
        QCOMPARE(panel(2), QString("当前位置：全部诗词"));
        QCOMPARE(test::lvwPoem(form())->topLevelItemCount(), 0);
        QVERIFY(test::txtAuthorDetail(form())->toPlainText().isEmpty());
        QVERIFY(test::txtPoemDetail(form())->toPlainText().isEmpty());
        QVERIFY(test::txtPoemNote(form())->toPlainText().isEmpty());
        // Only an author click changes where the listed poems come from.
        QCOMPARE(form()->listedSide(), LibrarySide::China);
    }

    void theFavouritesView()
    {
        favourites({"P1", "P3", "P4"}, {"WP2"});
        showFavourites();
        QTreeWidget* tree = test::tvwPoem(form());
        QCOMPARE(childTexts(tree, nullptr), QStringList({"中国诗词", "国外诗词"}));
        QCOMPARE(childTexts(tree, tree->topLevelItem(0)), QStringList({"李白", "杜甫"}));
        QCOMPARE(childTexts(tree, tree->topLevelItem(1)), QStringList({"O'Brien"}));
        QCOMPARE(key(nodeAt(tree, {"国外诗词", "O'Brien"})), QString("FWA1"));
        QCOMPARE(tree->currentItem(), nodeAt(tree, {"中国诗词", "李白"}));

        click({"中国诗词", "杜甫"});
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"春望", "It's 杜's 'quoted' poem"}));
        click({"中国诗词", "李白"});
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"静夜思"}));
        QCOMPARE(panel(1), QString("中国诗人李白：共有1首作品"));
        QCOMPARE(panel(2), QString("当前位置：收藏夹"));
        click({"中国诗词"});
        QCOMPARE(panel(1), QString("中国诗词：共包括2代的作品"));
    }

    void emptyFavourites()
    {
        showFavourites();
        QTreeWidget* tree = test::tvwPoem(form());
        QCOMPARE(tree->topLevelItemCount(), 2);
        QCOMPARE(tree->topLevelItem(0)->childCount() + tree->topLevelItem(1)->childCount(), 0);
        QCOMPARE(tree->currentItem(), tree->topLevelItem(1));
    }

    void oneNodePerKey()
    {
        // The same favourite author under two name copies appears once, under the first.
        favourites({"P3", "P4"}, {});
        test::seed(h->libraryFile, "update ChinaPoem set Author='杜子美' where PoemID='P4'");
        showFavourites();
        QTreeWidget* tree = test::tvwPoem(form());
        QCOMPARE(childTexts(tree, tree->topLevelItem(0)), QStringList({"杜甫"}));

        // A Chinese ID equal to "F" + a foreign one names another author: both are shown,
        // each found on its own side.
        test::seed(h->libraryFile, "insert into ChinaAuthor values('E2','唐','FWA2','冒名者')");
        form()->BarMain_ToolClick("tbAll");
        QCOMPARE(form()->nodeByKey(LibrarySide::China, "FWA2")->text(0), QString("冒名者"));
        QCOMPARE(form()->nodeByKey(LibrarySide::Foreign, "FWA2")->text(0), QString("布莱克"));
        QVERIFY(childTexts(tree, nodeAt(tree, {"国外诗词", "英国"})).contains("布莱克"));
        QCOMPARE(childTexts(tree, nodeAt(tree, {"中国诗词", "唐"})), QStringList({"李白", "杜甫", "无名氏", "冒名者"}));

        // An author whose ID is a root's key is shown too.
        test::seed(h->libraryFile, "insert into ChinaAuthor values('E2','唐','ChinaPoem','根名者')");
        test::seed(h->libraryFile, "insert into ForeignAuthor select CountryID,Country,'oreignPoem','Root' "
                                   "from ForeignCountry where Country='英国'");
        form()->LoadTree();
        QVERIFY(childTexts(tree, nodeAt(tree, {"国外诗词", "英国"})).contains("Root"));
        QVERIFY(childTexts(tree, nodeAt(tree, {"中国诗词", "唐"})).contains("根名者"));
        QCOMPARE(form()->nodeByKey(LibrarySide::China, "ChinaPoem")->text(0), QString("根名者"));

        // A foreign search result selects the foreign author, never the Chinese one.
        QString key = "F" + test::scalar(h->libraryFile, "select PoemID from ForeignPoem where AuthorID='WA2'").toString();
        QString title = "结果";
        msg::Recorder boxes;
        form()->mQueryForm_ShowQueryResult(key, title, LibrarySide::Foreign);
        QCOMPARE(tree->currentItem(), form()->nodeByKey(LibrarySide::Foreign, "FWA2"));
        QVERIFY(boxes.shown().isEmpty());
    }

    void removedNodesAreForgotten()
    {
        QTreeWidget* tree = test::tvwPoem(form());
        QTreeWidgetItem* tang = nodeAt(tree, {"中国诗词", "唐"});
        const QString libai = frmMain::keyOf(nodeAt(tree, {"中国诗词", "唐", "李白"}));
        QVERIFY(form()->nodeByKey(LibrarySide::China, libai));
        form()->removeNode(tang);
        QVERIFY(!nodeAt(tree, {"中国诗词", "唐"}));
        QVERIFY(!form()->nodeByKey(LibrarySide::China, libai));
        QVERIFY(form()->nodeByKey(LibrarySide::Foreign, "FWA2"));
    }

    // A place of many authors makes their nodes only when it is opened or one of them
    // is asked for: the reader meets the same tree.
    void aLargePlaceIsFilledWhenOpened()
    {
        form()->findChild<LibraryTreePane*>()->setEagerAuthors(2);
        form()->LoadTree();
        QTreeWidget* tree = test::tvwPoem(form());
        QTreeWidgetItem* tang = nodeAt(tree, {"中国诗词", "唐"});
        QCOMPARE(tang->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        QCOMPARE(childTexts(tree, nodeAt(tree, {"中国诗词", "宋"})).size(), 1);
        form()->tvwPoem_NodeClick(tang);
        QCOMPARE(panel(1), QString("中国唐时期：共有3位诗词作者"));

        form()->resize(900, 600);
        form()->show();
        tree->setFocus();
        tree->setCurrentItem(tang);
        QTest::keyClick(tree, Qt::Key_Right);
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(panel(1), QString("中国诗人李白：共有2首作品"));
        QCOMPARE(childTexts(tree, tang), QStringList({"李白", "杜甫", "无名氏"}));

        // Asked for by key (a search result, the find box), before the place is opened.
        form()->LoadTree();
        QTreeWidgetItem* dufu = form()->nodeByKey(LibrarySide::China, "A2");
        QVERIFY(dufu);
        QCOMPARE(dufu->parent()->text(0), QString("唐"));
        QVERIFY(!form()->nodeByKey(LibrarySide::China, "nobody"));
        // A place taken out with its authors held back forgets them.
        form()->LoadTree();
        form()->removeNode(nodeAt(tree, {"中国诗词", "唐"}));
        QVERIFY(!form()->nodeByKey(LibrarySide::China, "A1"));
    }

    void collapsingIsLikeClicking()
    {
        QTreeWidget* tree = test::tvwPoem(form());
        QTreeWidgetItem* tang = nodeAt(tree, {"中国诗词", "唐"});
        tree->expandItem(tang);
        click({"中国诗词", "唐", "李白"});
        tree->setCurrentItem(nodeAt(tree, {"中国诗词", "唐", "李白"}));
        tree->collapseItem(tang);
        QCOMPARE(panel(1), QString("中国唐时期：共有3位诗词作者"));
        QCOMPARE(test::lvwPoem(form())->topLevelItemCount(), 0);
    }

    void aRealClickOnTheTree()
    {
        form()->resize(900, 600);
        form()->show();
        QTreeWidget* tree = test::tvwPoem(form());
        QTreeWidgetItem* node = nodeAt(tree, {"国外诗词", "法国", "雨果"});
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
        QCOMPARE(panel(1), QString("外国诗人雨果：共有1首作品"));
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"Demain, dès l'aube"}));
    }

    void readingOnWithTheKeyboard()
    {
        form()->resize(900, 600);
        form()->show();
        QTreeWidget* tree = test::tvwPoem(form());
        tree->setFocus();
        tree->setCurrentItem(nodeAt(tree, {"中国诗词", "唐"}));
        QTest::keyClick(tree, Qt::Key_Right);
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(panel(1), QString("中国诗人李白：共有2首作品"));
        QTreeWidget* list = test::lvwPoem(form());
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(test::txtPoemNote(form())->toPlainText(), QString("五言绝句。"));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(test::txtPoemDetail(form())->toPlainText(), QString("君不见黄河之水天上来，奔流到海不复回。"));
    }

    void doubleClickingANonAuthorDoesNothing()
    {
        QTreeWidget* tree = test::tvwPoem(form());
        tree->setCurrentItem(tree->topLevelItem(0));
        const QString before = panel(1);
        form()->tvwPoem_DblClick();
        QCOMPARE(panel(1), before);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.begin(), windows.end(),
                             [](QWidget* w) { return w->isVisible() && w->objectName() == "frmAuthor"; }));
    }
};

QTEST_MAIN(tst_Tree)
#include "tst_tree.moc"
