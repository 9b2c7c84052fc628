// The menu and tool bars: their tools, the one dispatcher, and the two views.
#include "MainWindowHarness.h"
#include "dialogs/frmQueryPoem.h"
#include "mainwindow/BarMain.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "DialogDriver.h"

#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace qelvane;

namespace {

// Closes the next modal dialog as soon as it shows and tells its name.
QString closeNextModal(const std::function<void()>& open)
{
    QString seen;
    QTimer::singleShot(0, [&seen] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            seen = dialog->objectName() + (dialog->parentWidget() ? "@" + dialog->parentWidget()->objectName() : "");
            dialog->close();
        }
    });
    open();
    return seen;
}

QStringList toolRows(BarMain* bar, const QString& band, bool withTips = true)
{
    QStringList rows;
    for (QAction* tool : bar->bandTools(band)) {
        QString row = tool->objectName();
        if (!tool->isSeparator())
            row += "|" + tool->text() + (withTips ? "|" + tool->toolTip() : QString());
        rows << row;
    }
    return rows;
}

} // namespace

class tst_Commands : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }
    BarMain* bar() { return test::barMain(form()); }
    bool checked(const char* band, const char* tool) { return bar()->Tool(band, tool)->isChecked(); }
    // The favourites view as the reader sees it: its tool pressed, its place in the status bar.
    bool favouritesShown()
    {
        return checked("tbMain", "tbFavorite") &&
               test::sbStatusBar(form())->panelText(2) == QStringLiteral("当前位置：收藏夹");
    }

private slots:
    void init() { h = std::make_unique<test::MainWindowHarness>(); }
    void cleanup() { h.reset(); }

    void theToolBar()
    {
        QCOMPARE(bar()->bandCaption("tbMain"), QString("标准"));
        QCOMPARE(toolRows(bar(), "tbMain"),
                 QStringList({"tbAll|全部|全部诗词内容", "tbFavorite|收藏|收藏夹内容", "tbSec", "tbAdd|添加|添加新诗词",
                              "tbEdit|编辑|修改当前诗词", "tbDelete|删除|删除当前诗词",
                              "tbSave|输出|将当前诗词输出为文档，用文字处理程序打开", "tbSec", "tbFind|查找|查找诗词",
                              "tbAddFavorite|加入收藏|将您喜爱的这首诗加入收藏夹", "tbSec", "tbHelp|帮助|系统帮助文件",
                              "tbSec", "tbExit|退出|退出程序"}));
        for (QAction* tool : bar()->bandTools("tbMain"))
            QVERIFY(tool->isSeparator() || !tool->icon().isNull());
    }

    void theMenus()
    {
        QCOMPARE(bar()->bandCaption("mnuMain"), QString("主菜单"));
        QStringList headers;
        for (QAction* header : bar()->menuBar()->actions())
            headers << header->objectName() + "|" + header->text();
        QCOMPARE(headers, QStringList({"mnuFile|文件(&F)", "mnuEdit|编辑(&E)", "mnuView|查看(&V)",
                                       "mnuFavorite|收藏(&G)", "mnuTools|工具(&T)", "mnuHelp|帮助(&H)"}));
        QCOMPARE(toolRows(bar(), "mnuFile", false),
                 QStringList({"mnuAllPoems|全部诗词(&A)", "mnuFavoritePoems|收藏夹诗词(&F)", "mnuSec",
                              "mnuPrint|打印(&P)...", "mnuPrintNotes|打印和输出时包括注释", "mnuSec",
                              "mnuExit|退出(&X)..."}));
        QCOMPARE(bar()->bandCaption("mnuEdit"), QString("编辑"));
        QStringList edit;
        for (QAction* tool : bar()->bandTools("mnuEdit"))
            edit << (tool->isSeparator() ? "-" : tool->text());
        QCOMPARE(edit, QStringList({"查找(&S)...", "-", "添加作者...", "添加诗词...", "-", "修改作者...", "修改诗词...", "-",
                                    "删除作者...", "删除诗词...", "删除年代(国家)...", "-", "输出为文档...", "输出为 PDF...",
                                    "保存为图片...", "-", "复制诗词(&C)", "复制为图片"}));
        QCOMPARE(bar()->Tool("mnuFavorite", "mnuCleanFavorite")->text(), QString("整理收藏夹..."));
        QCOMPARE(bar()->Tool("mnuTools", "mnuOptions")->text(), QString("系统设置(&O)..."));
        QCOMPARE(bar()->Tool("mnuHelp", "mnuAbout")->text(), QString("关于(&A)..."));
        QVERIFY(!bar()->Tool("mnuFile", "tbAll"));
        QVERIFY(!bar()->Tool("noBand", "mnuAbout"));
    }

    void switchingViews()
    {
        QSignalSpy rebuilds(form(), &frmMain::treeLoaded);
        QVERIFY(checked("tbMain", "tbAll") && checked("mnuFile", "mnuAllPoems"));
        QVERIFY(!checked("tbMain", "tbFavorite") && !checked("mnuFile", "mnuFavoritePoems"));

        // Already in the all-poems view: nothing is rebuilt and nothing changes.
        test::sbStatusBar(form())->setPanelText(2, "unchanged");
        bar()->Tool("tbMain", "tbAll")->trigger();
        form()->BarMain_ToolClick("mnuAllPoems");
        QCOMPARE(rebuilds.count(), 0);
        QCOMPARE(test::sbStatusBar(form())->panelText(2), QString("unchanged"));
        QVERIFY(checked("tbMain", "tbAll"));

        bar()->Tool("mnuFile", "mnuFavoritePoems")->trigger();
        QVERIFY(favouritesShown());
        QCOMPARE(rebuilds.count(), 1);
        QCOMPARE(test::sbStatusBar(form())->panelText(2), QString("当前位置：收藏夹"));
        QVERIFY(checked("tbMain", "tbFavorite") && checked("mnuFile", "mnuFavoritePoems"));
        QVERIFY(!checked("tbMain", "tbAll") && !checked("mnuFile", "mnuAllPoems"));

        bar()->Tool("tbMain", "tbFavorite")->trigger();
        QCOMPARE(rebuilds.count(), 1);
        QVERIFY(checked("tbMain", "tbFavorite"));

        bar()->Tool("tbMain", "tbAll")->trigger();
        QVERIFY(!favouritesShown());
        QCOMPARE(rebuilds.count(), 2);
        QCOMPARE(test::sbStatusBar(form())->panelText(2), QString("当前位置：全部诗词"));
        QVERIFY(checked("tbMain", "tbAll") && checked("mnuFile", "mnuAllPoems"));
        QVERIFY(!checked("tbMain", "tbFavorite") && !checked("mnuFile", "mnuFavoritePoems"));
    }

    void aRealClickOnTheToolBar()
    {
        form()->resize(1000, 600);
        form()->show();
        auto* button = qobject_cast<QToolButton*>(bar()->toolBar()->widgetForAction(bar()->Tool("tbMain", "tbFavorite")));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(favouritesShown());
        QVERIFY(button->isChecked());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(favouritesShown());
        QVERIFY(button->isChecked());
    }

    // After a view switch the tree's current node, the list, the panes and the status
    // bar agree, and a command acts on what they show.
    void aViewSwitchShowsWhatTheTreeHasCurrent()
    {
        test::seed(h->libraryFile, "update ChinaPoem set tf=true where Name in ('将进酒','春望')");
        test::chooseNode(form(), {"中国诗词", "唐", "李白"});
        form()->lvwPoem_ItemClick(test::chooseEntry(form(), "静夜思"));

        // 静夜思 is no favourite: the favourites view shows 李白 with his one favourite.
        form()->BarMain_ToolClick("tbFavorite");
        QTreeWidgetItem* now = test::tvwPoem(form())->currentItem();
        QVERIFY(now);
        QCOMPARE(now->text(0), QString("李白"));
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"将进酒"}));
        QCOMPARE(test::sbStatusBar(form())->panelText(1), QString("中国诗人李白：共有1首作品"));
        QVERIFY(test::txtPoemDetail(form())->toPlainText().isEmpty());
        QVERIFY(!form()->selectedPoem());

        // Back in the whole library, with 将进酒 chosen there: the same author and poem.
        form()->lvwPoem_ItemClick(test::chooseEntry(form(), "将进酒"));
        const QString poem = test::txtPoemDetail(form())->toPlainText();
        form()->BarMain_ToolClick("tbAll");
        QCOMPARE(test::tvwPoem(form())->currentItem()->text(0), QString("李白"));
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"静夜思", "将进酒"}));
        QCOMPARE(test::txtPoemDetail(form())->toPlainText(), poem);
        QCOMPARE(test::sbStatusBar(form())->panelText(1), QString("中国诗人李白：共有2首作品"));
        const std::optional<ChosenPoem> chosen = form()->selectedPoem();
        QVERIFY(chosen);
        QCOMPARE(chosen->entry->text(0), QString("将进酒"));

        // A poem that is no favourite, chosen before the switch, is chosen again on the way back.
        form()->lvwPoem_ItemClick(test::chooseEntry(form(), "静夜思"));
        form()->BarMain_ToolClick("tbFavorite");
        form()->BarMain_ToolClick("tbAll");
        QCOMPARE(form()->selectedPoem()->entry->text(0), QString("静夜思"));
        QCOMPARE(test::txtPoemDetail(form())->toPlainText().section('\n', 0, 0), QString("床前明月光，疑是地上霜。"));

        // An author the favourites view lacks gives way to the node it has current.
        test::chooseNode(form(), {"中国诗词", "宋", "苏轼"});
        form()->BarMain_ToolClick("tbFavorite");
        now = test::tvwPoem(form())->currentItem();
        QVERIFY(now && now->text(0) != "苏轼");
        QVERIFY2(test::sbStatusBar(form())->panelText(1).contains(now->text(0)),
                 qPrintable(test::sbStatusBar(form())->panelText(1)));
        QVERIFY(!test::txtAuthorDetail(form())->toPlainText().contains("苏轼"));
        // And back in the whole library the reader is at 苏轼 again.
        form()->BarMain_ToolClick("tbAll");
        QCOMPARE(test::tvwPoem(form())->currentItem()->text(0), QString("苏轼"));
    }

    void headersAndSeparatorsRunNothing()
    {
        msg::Recorder boxes;
        QSignalSpy rebuilds(form(), &frmMain::treeLoaded);
        for (const char* name : {"mnuFile", "mnuEdit", "mnuFavorite", "mnuTools", "mnuHelp", "mnuSec", "tbSec",
                                 "mnuMain", "tbmain", "TBALL", "tbexit", ""})
            form()->BarMain_ToolClick(name);
        QVERIFY(boxes.shown().isEmpty());
        QCOMPARE(rebuilds.count(), 0);
        QVERIFY(!favouritesShown());
        QVERIFY(!test::queryDialog(form())->isVisible());
    }

    void findShowsTheOneSearchDialogBesideTheWindow()
    {
        form()->show();
        frmQueryPoem* dialog = test::queryDialog(form());
        form()->BarMain_ToolClick("tbFind");
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->parentWidget(), form());
        QVERIFY(!QApplication::activeModalWidget());
        dialog->setWindowTitle("kept");
        dialog->hide();
        form()->BarMain_ToolClick("mnuFind");
        QCOMPARE(test::queryDialog(form()), dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QString("kept"));
    }

    void dialogCommandsOpenModally()
    {
        form()->show();
        QCOMPARE(closeNextModal([this] { form()->BarMain_ToolClick("mnuPoemFormat"); }),
                 QString("frmQueryFormat@frmMain"));
        QCOMPARE(closeNextModal([this] { form()->BarMain_ToolClick("mnuAbout"); }), QString("frmAbout@frmMain"));
        // The about box unloads itself when it is closed.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form()->findChild<QWidget*>("frmAbout"));
        QCOMPARE(closeNextModal([this] { form()->BarMain_ToolClick("mnuCleanFavorite"); }),
                 QString("frmCleanFavorite@frmMain"));
        // The cleaner is made for each use and released after it.
        QVERIFY(!form()->findChild<QWidget*>("frmCleanFavorite"));
    }

    void exitGoesThroughTheCloseQuestion()
    {
        form()->show();
        for (const char* name : {"mnuExit", "tbExit"}) {
            msg::Recorder boxes;
            boxes.answerNext(msg::Answer::No);
            form()->BarMain_ToolClick(name);
            QCOMPARE(boxes.texts(), QStringList({"是否退出？"}));
            QVERIFY(form()->isVisible());
        }
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        form()->BarMain_ToolClick("tbExit");
        QVERIFY(!form()->isVisible());
    }

    // The program closed while a search runs: the search ends with the window, and the
    // library's file is free (nothing reads it any more).
    void exitWhileSearching()
    {
        test::seed(h->libraryFile, "insert into ChinaPoem(PoemID,Name,Content,Epoch,tf) "
                                   "with recursive n(i) as (select 1 union all select i+1 from n where i<400000) "
                                   "select 'X'||i, '月'||i, '明月照'||i, '唐', false from n");
        form()->show();
        form()->BarMain_ToolClick("tbFind");
        frmQueryPoem* dialog = test::queryDialog(form());
        QPointer<frmQueryPoem> watched(dialog);
        auto* bar = test::named<QProgressBar>(dialog, "xpBar");
        QEventLoop running;
        connect(bar, &QProgressBar::valueChanged, &running, [&](int value) {
            if (value > 0)
                running.quit();
        });
        test::clickButton(dialog, "cmdOK");
        running.exec();
        QVERIFY(dialog->searching());

        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        form()->BarMain_ToolClick("tbExit");
        QVERIFY(!form()->isVisible());
        QVERIFY(watched.isNull());
        // Whatever the search had posted before it ended reaches no one.
        QCoreApplication::sendPostedEvents();
        QCOMPARE(boxes.texts(), QStringList({"是否退出？"}));
        // Leaving the write-ahead log needs the only connection to the file.
        QCOMPARE(test::scalar(h->libraryFile, "pragma journal_mode=delete").toString(), QString("delete"));
    }
};

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
