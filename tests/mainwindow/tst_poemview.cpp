// The poem list: sorting, showing a poem, and a poem handed over by the search dialog.
#include "MainWindowHarness.h"
#include "dialogs/frmQueryPoem.h"
#include "ui/NodeData.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"

#include <QFile>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

using namespace qelvane;
using test::entryTexts;
using test::nodeAt;

class tst_PoemView : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }
    void click(const QStringList& path) { form()->tvwPoem_NodeClick(nodeAt(test::tvwPoem(form()), path)); }
    void clickEntry(int row) { form()->lvwPoem_ItemClick(test::lvwPoem(form())->topLevelItem(row)); }
    QString poemText() { return test::txtPoemDetail(form())->toPlainText(); }
    QString noteText() { return test::txtPoemNote(form())->toPlainText(); }
    void showResult(QString id, QString name, LibrarySide side) { form()->mQueryForm_ShowQueryResult(id, name, side); }

private slots:
    void init() { h = std::make_unique<test::MainWindowHarness>(); }
    void cleanup() { h.reset(); }

    void sortingFlipsAndStays()
    {
        click({"中国诗词", "唐", "李白"});
        // In the order the library holds them until the first click.
        QCOMPARE(entryTexts(test::lvwPoem(form())), QStringList({"静夜思", "将进酒"}));
        QVERIFY(!form()->listSorted());
        // The first click sorts descending; titles sort by their pinyin (jiang before jing).
        form()->lvwPoem_ColumnClick(0);
        QCOMPARE(form()->listSortOrder(), Qt::DescendingOrder);
        QCOMPARE(entryTexts(test::lvwPoem(form())), QStringList({"静夜思", "将进酒"}));
        form()->lvwPoem_ColumnClick(0);
        QCOMPARE(entryTexts(test::lvwPoem(form())), QStringList({"将进酒", "静夜思"}));
        // Later fills come in the chosen order.
        click({"中国诗词", "唐", "杜甫"});
        QCOMPARE(entryTexts(test::lvwPoem(form())), QStringList({"春望", "It's 杜's 'quoted' poem"}));
        form()->lvwPoem_ColumnClick(0);
        click({"中国诗词", "唐", "李白"});
        QCOMPARE(entryTexts(test::lvwPoem(form())), QStringList({"静夜思", "将进酒"}));
    }

    // A third click gives the library's order back; through every order the chosen poem
    // stays chosen and in view.
    void theThirdClickGivesTheLibrarysOrderBack()
    {
        for (int i = 0; i < 60; ++i)
            test::seed(h->libraryFile, QString("insert into ChinaPoem(PoemID,EpochID,Epoch,AuthorID,Author,Name,Content) "
                                               "select 'X%1',EpochID,Epoch,AuthorID,Author,'%2',Content from ChinaPoem "
                                               "where Name='静夜思'")
                                           .arg(i)
                                           .arg(QChar(0x4E00 + (i * 37) % 500) + QString::number(i)));
        form()->resize(900, 500);
        form()->show();
        click({"中国诗词", "唐", "李白"});
        const QStringList stored = entryTexts(test::lvwPoem(form()));
        QTreeWidget* list = test::lvwPoem(form());
        QTreeWidgetItem* chosen = list->topLevelItem(stored.size() - 1);
        list->scrollToItem(chosen);
        list->setCurrentItem(chosen);
        form()->lvwPoem_ItemClick(chosen);
        const QString title = chosen->text(0);
        const auto inView = [&] {
            const QRect row = list->visualItemRect(form()->selectedPoem()->entry);
            return !row.isEmpty() && list->viewport()->rect().contains(row);
        };
        for (int click = 1; click <= 3; ++click) {
            form()->lvwPoem_ColumnClick(0);
            QCOMPARE(form()->selectedPoem()->entry->text(0), title);
            QVERIFY2(inView(), qPrintable(QString("after click %1").arg(click)));
        }
        QVERIFY(!form()->listSorted());
        QCOMPARE(entryTexts(list), stored);
        QVERIFY(!list->header()->isSortIndicatorShown());
        // And round again: descending first.
        form()->lvwPoem_ColumnClick(0);
        QCOMPARE(form()->listSortOrder(), Qt::DescendingOrder);
    }

    // A damaged page of the file is met when a click reads it: the reader is told so in
    // Chinese (not shown a list cut short) and the window goes on.
    void aDamagedPageIsTold()
    {
        QStringList pages;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "pages");
            db.setDatabaseName(h->libraryFile);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec("select pageno from dbstat where name='ChinaPoem' and pagetype='leaf'"));
            while (query.next())
                pages << query.value(0).toString();
        }
        QSqlDatabase::removeDatabase("pages");
        QVERIFY(!pages.isEmpty());
        QFile file(h->libraryFile);
        QVERIFY(file.open(QIODevice::ReadWrite));
        for (const QString& page : pages) {
            file.seek((page.toLongLong() - 1) * 4096);
            file.write(QByteArray(4096, char(0xff)));
        }
        file.close();
        form()->resize(900, 600);
        form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(form()));
        QTreeWidget* tree = test::tvwPoem(form());
        const auto clickOn = [&](const QStringList& path) {
            QTreeWidgetItem* node = nodeAt(tree, path);
            tree->scrollToItem(node);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
        };
        msg::Recorder boxes;
        clickOn({"中国诗词", "唐", "李白"});
        QCOMPARE(boxes.texts(), QStringList({"操作没有完成：数据库语句执行失败：诗词库文件已损坏。"}));
        clickOn({"国外诗词", "英国", "布莱克"});
        QVERIFY(test::lvwPoem(form())->topLevelItemCount() > 0);
    }

    void clickingTheHeader()
    {
        form()->resize(900, 600);
        form()->show();
        click({"中国诗词", "唐", "李白"});
        QHeaderView* header = test::lvwPoem(form())->header();
        const QPoint section(header->sectionViewportPosition(0) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, section);
        QCOMPARE(form()->listSortOrder(), Qt::DescendingOrder);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, section);
        QCOMPARE(form()->listSortOrder(), Qt::AscendingOrder);
        QCOMPARE(entryTexts(test::lvwPoem(form())), QStringList({"将进酒", "静夜思"}));
    }

    void showingAChinesePoem()
    {
        click({"中国诗词", "唐", "李白"});
        clickEntry(0);
        QCOMPARE(poemText(), QString("床前明月光，疑是地上霜。\n举头望明月，低头思故乡。"));
        QCOMPARE(noteText(), QString("五言绝句。"));
        // Null notes leave the notes box empty; the biography and status stay.
        clickEntry(1);
        QCOMPARE(poemText(), QString("君不见黄河之水天上来，奔流到海不复回。"));
        QVERIFY(noteText().isEmpty());
        QCOMPARE(test::txtAuthorDetail(form())->toPlainText(), QString("李白，字太白，号青莲居士。"));
        QCOMPARE(test::sbStatusBar(form())->panelText(1), QString("中国诗人李白：共有2首作品"));

        test::seed(h->libraryFile, "update ChinaPoem set Content=null where PoemID='P1'");
        clickEntry(0);
        QVERIFY(poemText().isEmpty());
        QCOMPARE(noteText(), QString("五言绝句。"));
    }

    void showingAForeignPoem()
    {
        // A Chinese poem that carries the foreign poem's ID must not be read.
        test::seed(h->libraryFile, "insert into ChinaPoem(PoemID,Name,Content) values('WP1','冒名','错的')");
        click({"国外诗词", "英国", "O'Brien"});
        clickEntry(0);
        QCOMPARE(poemText(), QString("The sun comes up.\n\nThe day begins."));
        QCOMPARE(noteText(), QString("A note."));
    }

    void aRealClickOnAnEntry()
    {
        form()->resize(900, 600);
        form()->show();
        click({"中国诗词", "宋", "苏轼"});
        QTreeWidget* list = test::lvwPoem(form());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
        QCOMPARE(poemText(), QString("明月几时有？把酒问青天。"));
        QCOMPARE(noteText(), QString("中秋作。"));
    }

    void aChineseSearchResult()
    {
        msg::Recorder boxes;
        click({"中国诗词", "唐", "李白"});
        const QString summary = test::sbStatusBar(form())->panelText(1);
        showResult("P3", "春望", LibrarySide::China);
        QCOMPARE(entryTexts(test::lvwPoem(form())), QStringList({"春望"}));
        QCOMPARE(test::lvwPoem(form())->currentItem(), test::lvwPoem(form())->topLevelItem(0));
        QCOMPARE(form()->listedSide(), LibrarySide::China);
        QCOMPARE(poemText(), QString("国破山河在，城春草木深。"));
        QCOMPARE(noteText(), QString("作于安史之乱中。"));
        QCOMPARE(test::tvwPoem(form())->currentItem(), nodeAt(test::tvwPoem(form()), {"中国诗词", "唐", "杜甫"}));
        QCOMPARE(test::txtAuthorDetail(form())->toPlainText(), QString("杜甫，字子美，自号少陵野老。"));
        QCOMPARE(test::sbStatusBar(form())->panelText(2), QString("当前状态：查找诗词结果"));
        QCOMPARE(test::sbStatusBar(form())->panelText(1), summary);
        QVERIFY(boxes.shown().isEmpty());
    }

    void aForeignResultNeverSelectsAChineseAuthor()
    {
        msg::Recorder boxes;
        test::seed(h->libraryFile, "insert into ChinaAuthor values('E2','唐','WA2','同号者')");
        test::seed(h->libraryFile, "insert into ChinaAuthorDetail values('WA2','错的小传')");
        form()->LoadTree();
        QString id = "FWP3", name = "The Tyger";
        emit test::queryDialog(form())->ShowQueryResult(id, name, LibrarySide::Foreign);
        QCOMPARE(test::tvwPoem(form())->currentItem(), nodeAt(test::tvwPoem(form()), {"国外诗词", "英国", "布莱克"}));
        QCOMPARE(test::txtAuthorDetail(form())->toPlainText(), QString("英国诗人。"));
        QCOMPARE(poemText(), QString("Tyger Tyger, burning bright,"));
        QCOMPARE(form()->listedSide(), LibrarySide::Foreign);
        QVERIFY(boxes.shown().isEmpty());
    }

    void aResultWhosePoemIsGone()
    {
        msg::Recorder boxes;
        test::txtAuthorDetail(form())->setPlainText("old");
        test::txtPoemDetail(form())->setPlainText("old");
        showResult("P999", "失传之作", LibrarySide::China);
        QCOMPARE(entryTexts(test::lvwPoem(form())), QStringList({"失传之作"}));
        QVERIFY(poemText().isEmpty());
        QVERIFY(test::txtAuthorDetail(form())->toPlainText().isEmpty());
        // The failed look-up of the author "不详" is reported, and the rest still runs.
        QCOMPARE(boxes.shown().size(), 1);
        QVERIFY(boxes.shown().first().text.contains("不详"));
        QCOMPARE(boxes.shown().first().title, QString("提示"));
        QCOMPARE(boxes.shown().first().icon, msg::Icon::Information);
        QCOMPARE(test::sbStatusBar(form())->panelText(2), QString("当前状态：查找诗词结果"));
    }

    void aResultWhoseAuthorIsNotInTheTree()
    {
        msg::Recorder boxes;
        form()->BarMain_ToolClick("tbFavorite");
        showResult("P1", "静夜思", LibrarySide::China);
        QCOMPARE(boxes.shown().size(), 1);
        QVERIFY(boxes.shown().first().text.contains("A1"));
        QCOMPARE(poemText(), QString("床前明月光，疑是地上霜。\n举头望明月，低头思故乡。"));
        QCOMPARE(test::txtAuthorDetail(form())->toPlainText(), QString("李白，字太白，号青莲居士。"));
    }

    void aResultWithoutABiography()
    {
        msg::Recorder boxes;
        test::txtAuthorDetail(form())->setPlainText("old");
        showResult("P5", "无题", LibrarySide::China);
        QVERIFY(test::txtAuthorDetail(form())->toPlainText().isEmpty());
        QVERIFY(boxes.shown().isEmpty());
        QCOMPARE(test::tvwPoem(form())->currentItem()->text(0), QString("无名氏"));
    }
};

QTEST_MAIN(tst_PoemView)
#include "tst_poemview.moc"
