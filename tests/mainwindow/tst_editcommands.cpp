// The main window's editor commands and its help, as a user reaches them: a node or
// a poem clicked, a command chosen, the editor filled in or cancelled, the reload
// question answered.
#include "DialogDriver.h"
#include "MainWindowHarness.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/frmMain.h"
#include "platform/HelpWindow.h"
#include "platform/MessageBox.h"
#include "store/Changes.h"
#include "store/DbConnection.h"
#include "ui/NodeData.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace qelvane;

class tst_EditCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }

    void clickNode(const QStringList& path)
    {
        QTreeWidgetItem* node = test::nodeAt(test::tvwPoem(form()), path);
        QVERIFY2(node, qPrintable(path.join('/')));
        test::tvwPoem(form())->scrollToItem(node);
        QTest::mouseClick(test::tvwPoem(form())->viewport(), Qt::LeftButton, {},
                          test::tvwPoem(form())->visualItemRect(node).center());
        QCOMPARE(test::tvwPoem(form())->currentItem(), node);
    }
    void clickEntry(const QString& title)
    {
        QTreeWidget* list = test::lvwPoem(form());
        const QList<QTreeWidgetItem*> found = list->findItems(title, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(title));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    }
    // Runs a command whose editor is answered by `answer`; tells which editor showed.
    QString runWithEditor(const QString& command, const std::function<void(QWidget*)>& answer)
    {
        QString shown;
        test::whenModalShows([&](QWidget* dialog) {
            shown = dialog->objectName();
            answer(dialog);
        });
        form()->BarMain_ToolClick(command);
        return shown;
    }
    static void cancel(QWidget* dialog) { test::clickButton(dialog, "cmdCancel"); }

private slots:
    // A library that cannot be written is read as any other; each command that would
    // change it says why it cannot, and the file stays as it was.
    void aReadOnlyLibraryTellsEveryEditingCommandWhy()
    {
        test::LibraryFixture fixture;
        fixture.db.reset();
        QFile::setPermissions(fixture.libraryFile, QFile::ReadOwner | QFile::ReadGroup);
        const QByteArray before = [&] {
            QFile file(fixture.libraryFile);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        fixture.db = DbConnection::Open(fixture.libraryFile);
        frmMain window(fixture.services(), std::make_unique<SilentMusicBackend>());
        window.Load();
        QCOMPARE(window.windowTitle(), QString("Qelvane 诗词库（只读）"));
        test::chooseNode(&window, {"中国诗词", "唐", "李白"});
        window.lvwPoem_ItemClick(test::chooseEntry(&window, "将进酒"));
        QVERIFY(!test::txtPoemDetail(&window)->toPlainText().isEmpty());
        msg::Recorder boxes;
        const QStringList commands = {"mnuAddNewAuthor", "mnuEditAuthor", "tbAdd", "tbEdit", "tbDelete",
                                      "mnuDeleteAuthor", "mnuDeleteEpoch", "tbAddFavorite", "mnuCleanFavorite"};
        for (const QString& command : commands)
            window.BarMain_ToolClick(command);
        const QString told = QString("诗词库“%1”是只读的：可以阅读，但不能修改。").arg(fixture.libraryFile);
        QCOMPARE(boxes.texts(), QStringList(commands.size(), told));
        fixture.db.reset();
        QFile file(fixture.libraryFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    void init()
    {
        h = std::make_unique<test::MainWindowHarness>();
        form()->resize(1000, 700);
        form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(form()));
    }
    void cleanup() { h.reset(); }

    void refusalsInTheFavouritesView()
    {
        form()->BarMain_ToolClick("tbFavorite");
        msg::Recorder boxes;
        form()->BarMain_ToolClick("mnuEditAuthor");
        form()->BarMain_ToolClick("tbAdd");
        QCOMPARE(boxes.texts(), QStringList({"您不能在收藏夹中更改作者资料!", "您不能在收藏夹中增加诗词!"}));
        // A new author can be added; no reload question follows here.
        boxes.clear();
        QCOMPARE(runWithEditor("mnuAddNewAuthor", cancel), QString("frmAuthor"));
        QVERIFY(boxes.shown().isEmpty());
    }

    void whatNeedsAnAuthor()
    {
        msg::Recorder boxes;
        // Nothing chosen in the tree: nothing happens.
        test::tvwPoem(form())->setCurrentItem(nullptr);
        form()->BarMain_ToolClick("mnuEditAuthor");
        form()->BarMain_ToolClick("mnuAddNewPoem");
        QVERIFY(boxes.shown().isEmpty());
        // An epoch is no author; no poem chosen is no poem.
        clickNode({"中国诗词", "唐"});
        form()->BarMain_ToolClick("mnuEditAuthor");
        form()->BarMain_ToolClick("tbAdd");
        form()->BarMain_ToolClick("tbEdit");
        QCOMPARE(boxes.texts(), QStringList({"请选择一位作者!", "请选择一位作者!", "请选择一首诗!"}));
        // A poem chosen but an epoch in the tree.
        clickNode({"中国诗词", "唐", "李白"});
        clickEntry("静夜思");
        test::tvwPoem(form())->setCurrentItem(test::nodeAt(test::tvwPoem(form()), {"中国诗词", "唐"}));
        boxes.clear();
        form()->BarMain_ToolClick("mnuEditPoem");
        QCOMPARE(boxes.texts(), QStringList({"请选择一位作者!"}));
    }

    void changingAForeignAuthor()
    {
        clickNode({"国外诗词", "法国", "雨果"});
        msg::Recorder boxes;
        QString title, name, place, biography;
        bool foreignChecked = false;
        runWithEditor("mnuEditAuthor", [&](QWidget* dialog) {
            title = dialog->windowTitle();
            name = test::named<QLineEdit>(dialog, "txtName")->text();
            place = test::named<QComboBox>(dialog, "cboEpoch")->currentText();
            biography = test::named<QPlainTextEdit>(dialog, "txtDetail")->toPlainText();
            foreignChecked = test::named<QRadioButton>(dialog, "optKind_1")->isChecked();
            cancel(dialog);
        });
        QCOMPARE(title, QString("修改作者资料"));
        QCOMPARE(name, QString("雨果"));
        QCOMPARE(place, QString("法国"));
        QCOMPARE(biography, QString("法国作家。"));
        QVERIFY(foreignChecked);
        // Asked even after a cancel; No (the default) leaves the tree.
        QCOMPARE(boxes.texts(), QStringList({"现在更新作者列表吗？"}));
        QCOMPARE(boxes.shown().at(0).defaultButton, msg::Answer::No);
        QCOMPARE(boxes.shown().at(0).icon, msg::Icon::Question);
        QCOMPARE(boxes.shown().at(0).title, QString("提示"));
    }

    void anAuthorMovedShowsUnderTheNewEpochAfterTheReload()
    {
        clickNode({"中国诗词", "唐", "杜甫"});
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Ok);  // 已经保存
        boxes.answerNext(msg::Answer::Yes); // 现在更新作者列表吗？
        runWithEditor("mnuEditAuthor", [](QWidget* dialog) {
            test::named<QComboBox>(dialog, "cboEpoch")->setCurrentText("宋");
            test::named<QLineEdit>(dialog, "txtName")->setText("杜子美");
            test::clickButton(dialog, "cmdOK");
        });
        QCOMPARE(boxes.texts(), QStringList({"已经保存", "现在更新作者列表吗？"}));
        QVERIFY(!test::nodeAt(test::tvwPoem(form()), {"中国诗词", "唐", "杜甫"}));
        // The renamed author stays current, shown as a click shows him, under his new name.
        QTreeWidgetItem* moved = test::nodeAt(test::tvwPoem(form()), {"中国诗词", "宋", "杜子美"});
        QVERIFY(moved);
        QCOMPARE(test::tvwPoem(form())->currentItem(), moved);
        QCOMPARE(test::sbStatusBar(form())->panelText(1), QString("中国诗人杜子美：共有2首作品"));
        QCOMPARE(test::lvwPoem(form())->topLevelItemCount(), 2);
        // The window is active again, its shortcuts working without a click.
        QTRY_COMPARE(QApplication::activeWindow(), form());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("txtFind"));
    }

    // The poem editor opens on the title, and its shown-only fields look so.
    void thePoemEditorAsItOpens()
    {
        clickNode({"中国诗词", "唐", "李白"});
        QWidget* focused = nullptr;
        QColor authorBackground, titleBackground;
        runWithEditor("tbAdd", [&](QWidget* dialog) {
            auto* txtName = test::named<QLineEdit>(dialog, "txtName");
            focused = QApplication::focusWidget();
            const QImage author = test::named<QLineEdit>(dialog, "txtAuthor")->grab().toImage();
            const QImage title = txtName->grab().toImage();
            authorBackground = author.pixelColor(author.width() - 6, author.height() / 2);
            titleBackground = title.pixelColor(title.width() - 6, title.height() / 2);
            QVERIFY(focused == txtName);
            cancel(dialog);
        });
        QVERIFY(focused);
        QCOMPARE(titleBackground, QApplication::palette().color(QPalette::Base));
        QCOMPARE(authorBackground, QApplication::palette().color(QPalette::Window));
    }

    void aNewPoemIsListedAndShown()
    {
        clickNode({"中国诗词", "唐", "李白"});
        msg::Recorder boxes;
        runWithEditor("tbAdd", [](QWidget* dialog) {
            test::named<QLineEdit>(dialog, "txtName")->setText("秋浦歌");
            test::named<QPlainTextEdit>(dialog, "txtDetail")->setPlainText("白发三千丈，\n缘愁似个长。");
            test::clickButton(dialog, "cmdOK");
        });
        QCOMPARE(boxes.texts(), QStringList({"已经保存"}));
        // The count shown is the count stored.
        QCOMPARE(test::sbStatusBar(form())->panelText(1), QString("中国诗人李白：共有%1首作品").arg(
            test::scalar(h->libraryFile, "select count(*) from ChinaPoem where Author='李白'").toInt()));
        clickEntry("秋浦歌");
        QCOMPARE(test::txtPoemDetail(form())->toPlainText(), QString("白发三千丈，\n缘愁似个长。"));
        QCOMPARE(test::txtPoemNote(form())->toPlainText(), QString("〖注释〗"));
    }

    // An entry the reader deselected (Ctrl+click) is no choice: the commands say so and
    // change nothing.
    void aDeselectedEntryIsNotChosen()
    {
        clickNode({"中国诗词", "唐", "李白"});
        clickEntry("静夜思");
        QTreeWidget* list = test::lvwPoem(form());
        QTreeWidgetItem* entry = list->findItems("静夜思", Qt::MatchExactly).first();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, list->visualItemRect(entry).center());
        QCOMPARE(list->currentItem(), entry);
        QVERIFY(list->selectedItems().isEmpty());
        msg::Recorder boxes;
        form()->BarMain_ToolClick("tbAddFavorite");
        form()->BarMain_ToolClick("tbDelete");
        QCOMPARE(boxes.texts(), QStringList({"当前诗词为空，请选择一首诗词再添加!", "请选择一首诗词"}));
        QCOMPARE(test::scalar(h->libraryFile, "select count(*) from ChinaPoem where Name='静夜思' and tf=false").toInt(), 1);
    }

    // Each newly chosen author's list starts at its first poem.
    void aNewAuthorsListStartsAtTheTop()
    {
        for (const QString& author : {QString("李白"), QString("杜甫")})
            for (int i = 0; i < 80; ++i)
                test::seed(h->libraryFile,
                           "insert into ChinaPoem(EpochID,Epoch,AuthorID,Author,PoemID,Name,Content,Note,tf) "
                           "select EpochID,Epoch,AuthorID,AuthorName,?,?,'x','y',false from ChinaAuthor where AuthorName=?",
                           {QString("X%1%2").arg(author).arg(i), QString("题%1").arg(i), author});
        form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(form()));
        clickNode({"中国诗词", "唐", "李白"});
        QVERIFY(test::lvwPoem(form())->topLevelItemCount() > 80);
        QScrollBar* bar = test::lvwPoem(form())->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        clickNode({"中国诗词", "唐", "杜甫"});
        QCOMPARE(bar->value(), 0);
    }

    // Another program holds the library's write lock longer than the program waits: the
    // change is refused in Chinese and nothing changes; reading goes on meanwhile (the
    // write-ahead log), and the change works once the library is free.
    void aBusyLibraryIsNeverFatal()
    {
        clickNode({"中国诗词", "唐", "李白"});
        DbConnection::setLockWaitMs(100);
        const int counter = test::scalar(h->libraryFile, "select Count from NewCount where Name='Poem'").toInt();
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "holder");
            other.setDatabaseName(h->libraryFile);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("begin exclusive"));
            // Every change waits for the lock the same way (the wait cursor shown), then refuses.
            int waits = 0;
            DbConnection::onLockWait([&] { ++waits; });
            msg::Recorder boxes;
            QTest::keyClick(form(), Qt::Key_N, Qt::ControlModifier);
            // Every change says the same: a poem deleted, a favourite added, an author
            // deleted; a poem saved by the editor is refused the same way.
            form()->lvwPoem_ItemClick(test::chooseEntry(form(), "将进酒"));
            boxes.answerNext(msg::Answer::Yes);
            form()->BarMain_ToolClick("tbDelete");
            form()->BarMain_ToolClick("tbAddFavorite");
            boxes.answerNext(msg::Answer::Yes);
            form()->BarMain_ToolClick("mnuDeleteAuthor");
            const QString busy = "诗词库正被其他程序使用，请稍后再试。诗词库没有被修改。";
            try {
                changes::updatePoem(*h->db, LibrarySide::China, form()->selectedPoem()->id, "改", "改", "");
                QFAIL("a change went through a held lock");
            } catch (const LibraryBusy& refused) {
                QCOMPARE(refused.description(), busy);
            }
            clickNode({"中国诗词", "唐", "杜甫"});
            QCOMPARE(boxes.texts(), QStringList({busy, "确实要删除当前诗词将进酒吗？", busy, busy,
                                                 "确实要删除作者李白吗？\r\n这将导致该作者的全部诗词作品（共 2 首诗词）被删除并且无法恢复!",
                                                 busy}));
            QCOMPARE(test::scalar(h->libraryFile, "select count(*) from ChinaPoem where Name='将进酒' and tf=false").toInt(), 1);
            // The author's deletion waits on its own thread, behind its progress dialog.
            QCOMPARE(waits, 4);
            DbConnection::onLockWait({});
            QCOMPARE(test::lvwPoem(form())->topLevelItemCount(),
                     test::scalar(h->libraryFile, "select count(*) from ChinaPoem where AuthorID="
                                                  "(select AuthorID from ChinaAuthor where AuthorName='杜甫')")
                         .toInt());
            QSqlQuery(other).exec("rollback");
            other.close();
        }
        QSqlDatabase::removeDatabase("holder");
        DbConnection::setLockWaitMs(10000);
        QCOMPARE(test::scalar(h->libraryFile, "select Count from NewCount where Name='Poem'").toInt(), counter);
        QCOMPARE(runWithEditor("tbAdd", cancel), QString("frmPoem"));
    }

    // A library made read-only or replaced while the program runs: the new poem's
    // editor is refused with the reason, and the window goes on.
    void aFileGoneReadOnlyRefusesTheNewPoem()
    {
        clickNode({"中国诗词", "唐", "李白"});
        QFile::setPermissions(h->libraryFile, QFile::ReadOwner | QFile::ReadGroup);
        msg::Recorder boxes;
        QTest::keyClick(form(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(boxes.texts(), QStringList({QString("操作没有完成：诗词库文件“%1”已被设为只读，修改无法保存。").arg(h->libraryFile)}));
        QFile::setPermissions(h->libraryFile, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        clickNode({"中国诗词", "唐", "杜甫"});
        QCOMPARE(test::lvwPoem(form())->topLevelItemCount(), 2);
    }

    void aFullCounterRefusesTheNewPoemAndTheWindowGoesOn()
    {
        test::seed(h->libraryFile, "update NewCount set Count=2147483647 where Name='Poem'");
        clickNode({"中国诗词", "唐", "李白"});
        const int poems = test::scalar(h->libraryFile, "select count(*) from ChinaPoem").toInt();
        msg::Recorder boxes;
        // An editor that opens all the same is closed at once and counted.
        bool editorShown = false;
        QTimer closer;
        closer.setInterval(0);
        connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                editorShown = true;
                dialog->close();
            }
        });
        closer.start();
        QTest::keyClick(form(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(!editorShown);
        QCOMPARE(boxes.texts(),
                 QStringList({"诗词库中新诗词的编号计数已用完，无法为新诗词编号。诗词库没有被修改。"}));
        QCOMPARE(test::scalar(h->libraryFile, "select count(*) from ChinaPoem").toInt(), poems);
        // Reading goes on.
        clickEntry(test::entryTexts(test::lvwPoem(form())).first());
        QVERIFY(!test::txtPoemDetail(form())->toPlainText().isEmpty());
    }

    void aChangedPoemShowsWhatWasSaved()
    {
        clickNode({"国外诗词", "英国", "O'Brien"});
        clickEntry("Morning");
        msg::Recorder boxes;
        QString loaded;
        runWithEditor("tbEdit", [&](QWidget* dialog) {
            auto* txtName = test::named<QLineEdit>(dialog, "txtName");
            loaded = txtName->text() + "|" + test::named<QLineEdit>(dialog, "txtEpoch")->text();
            txtName->setText("Dawn");
            test::named<QPlainTextEdit>(dialog, "txtDetail")->setPlainText("The sun comes up.\nAgain.");
            test::clickButton(dialog, "cmdOK");
        });
        QCOMPARE(loaded, QString("Morning|英国"));
        QCOMPARE(test::lvwPoem(form())->currentItem()->text(0), QString("Dawn"));
        QCOMPARE(test::txtPoemDetail(form())->toPlainText(), QString("The sun comes up.\nAgain."));
        clickEntry("Dawn");
        QCOMPARE(test::txtPoemDetail(form())->toPlainText(), QString("The sun comes up.\nAgain."));
    }

    void theShippedHelp()
    {
        const QString document = QStringLiteral(QELVANE_BIN_DIR "/help/index.html");
        HelpWindow help(document);
        QVERIFY(help.contents()->count() >= 10);
        QCOMPARE(help.contents()->item(0)->text(), QString("浏览诗词库"));
        // Every picture it shows is there.
        QFile file(document);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        const QRegularExpression picture("src=\"([^\"]+)\"");
        int pictures = 0;
        for (auto match = picture.globalMatch(html); match.hasNext(); ++pictures)
            QVERIFY(QFile::exists(QFileInfo(document).dir().filePath(match.next().captured(1))));
        QVERIFY(pictures >= 5);
        // Pictures are shown at their own size, readable.
        QVERIFY(!html.contains("width="));
        // What it says is true of the program: the full library is built the way that
        // works, the library's place is named, and what the favourites view refuses.
        QVERIFY(html.contains("scripts/full-library.sh") && html.contains("--checkout"));
        QVERIFY(!html.contains("--corpus 唐="));
        QVERIFY(html.contains("build/bin/data/poem.mdb") && html.contains("rm -rf build"));
        QVERIFY(html.contains("在收藏夹视图中不能修改作者资料"));
        QVERIFY(!html.contains("Microsoft") && !html.contains("Windows"));
    }

    void theHelp()
    {
        msg::Recorder boxes;
        form()->BarMain_ToolClick("tbHelp");
        QCOMPARE(boxes.texts(), QStringList({QString("找不到帮助文件“%1”。").arg(form()->helpDocument())}));
        QVERIFY(!form()->helpWindow());

        QDir().mkpath(h->folder.filePath("help"));
        QFile document(form()->helpDocument());
        QVERIFY(document.open(QIODevice::WriteOnly));
        document.write("<html><body><h1>帮助</h1><h2 id=\"browse\">浏览</h2><p>树。</p>"
                       "<h2 id=\"search\">查找</h2><p>查找诗词。</p></body></html>");
        document.close();
        QTest::keyClick(form(), Qt::Key_F1);
        HelpWindow* help = form()->helpWindow();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->contents()->count(), 2);
        QCOMPARE(help->contents()->item(1)->text(), QString("查找"));
        QVERIFY(help->browser()->toPlainText().contains("查找诗词。"));
        help->contents()->setCurrentRow(1);
        QCOMPARE(help->browser()->source().fragment(), QString("search"));
        // The menu shows the same window again.
        help->hide();
        form()->BarMain_ToolClick("mnuHelpContent");
        QCOMPARE(form()->helpWindow(), help);
        QVERIFY(help->isVisible());
        // Escape closes it, wherever the focus is in it.
        help->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        help->browser()->setFocus();
        QTest::keyClick(help->browser(), Qt::Key_Escape);
        QVERIFY(!help->isVisible());
        form()->BarMain_ToolClick("mnuHelpContent");
        QVERIFY(help->isVisible());
    }
};

QTEST_MAIN(tst_EditCommands)
#include "tst_editcommands.moc"
