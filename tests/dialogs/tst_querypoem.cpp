// The poem search as a user drives it: options chosen, text typed, 查找 and 停止
// clicked, results clicked or stepped through; and the rules it searches by.
#include "DialogDriver.h"
#include "MainWindowHarness.h"
#include "TestLibrary.h"
#include "dialogs/PoemSearch.h"
#include "dialogs/SearchResults.h"
#include "dialogs/frmQueryPoem.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "store/Changes.h"
#include "store/DbConnection.h"
#include "tolvarin/Tolvarin.h"

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeView>
#include <QtTest>

using namespace qelvane;

namespace {

struct Result {
    QString id, name;
    LibrarySide type;
};

} // namespace

class tst_QueryPoem : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LibraryFixture> library;
    std::unique_ptr<frmQueryPoem> dialog;
    QList<Result> shown;

    // The dialog's widgets, by their object names.
    template <typename T>
    T* find(const QByteArray& name)
    {
        return test::named<T>(dialog.get(), name.constData());
    }
    QGroupBox* Frame1() { return find<QGroupBox>("Frame1"); }
    QComboBox* cboFind() { return find<QComboBox>("cboFind"); }
    QComboBox* cboEpoch() { return find<QComboBox>("cboEpoch"); }
    QRadioButton* optFind_0() { return find<QRadioButton>("optFind_0"); }
    QRadioButton* optFind_1() { return find<QRadioButton>("optFind_1"); }
    QLineEdit* txtName() { return find<QLineEdit>("txtName"); }
    QLineEdit* txtContent() { return find<QLineEdit>("txtContent"); }
    QTreeView* lvwPoem() { return find<QTreeView>("lvwPoem"); }
    QProgressBar* xpBar() { return find<QProgressBar>("xpBar"); }
    QLabel* lblTip(int index) { return find<QLabel>("lblTip_" + QByteArray::number(index)); }
    tolvarin::Tolvarin* cmdOK() { return find<tolvarin::Tolvarin>("cmdOK"); }
    tolvarin::Tolvarin* cmdCancel() { return find<tolvarin::Tolvarin>("cmdCancel"); }
    tolvarin::Tolvarin* cmdExit() { return find<tolvarin::Tolvarin>("cmdExit"); }

    void open()
    {
        dialog = std::make_unique<frmQueryPoem>(library->services());
        connect(dialog.get(), &frmQueryPoem::ShowQueryResult, this,
                [this](QString& id, QString& name, LibrarySide type) { shown.append({id, name, type}); });
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    // Clicks 查找 and waits for the finishing step.
    void search()
    {
        QSignalSpy finished(dialog.get(), &frmQueryPoem::searchFinished);
        test::clickButton(dialog.get(), "cmdOK");
        if (finished.isEmpty())
            QVERIFY(finished.wait(20000));
    }

    void typeInto(QLineEdit* field, const QString& text)
    {
        field->clear();
        test::typeText(field, text);
    }

    QStringList results()
    {
        QStringList titles;
        for (int i = 0; i < dialog->results()->rowCount(); ++i)
            titles << dialog->results()->row(i).title;
        return titles;
    }

    void clickResult(int row)
    {
        QTreeView* list = lvwPoem();
        const QRect place = list->visualRect(dialog->results()->index(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    }

    QStringList items(QComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }

    // Enough poems that a search hands its results over in several batches; each title
    // and text holds 月.
    void seedManyPoems(int count = 400000)
    {
        test::seed(library->libraryFile,
                   QString("insert into ChinaPoem(PoemID,Name,Content,Epoch,tf) "
                           "with recursive n(i) as (select 1 union all select i+1 from n where i<%1) "
                           "select 'X'||i, '月'||i, '明月照'||i, '唐', false from n")
                       .arg(count));
    }

    // Clicks 查找 and runs `midway` once the search has handed over its first rows.
    void searchAndMidway(const std::function<void()>& midway)
    {
        bool done = false;
        auto connection = connect(xpBar(), &QProgressBar::valueChanged, this, [&](int value) {
            if (value > 0 && !done) {
                done = true;
                QVERIFY(dialog->searching());
                midway();
            }
        });
        QSignalSpy finished(dialog.get(), &frmQueryPoem::searchFinished);
        test::clickButton(dialog.get(), "cmdOK");
        if (finished.isEmpty())
            QVERIFY(finished.wait(20000));
        disconnect(connection);
        QVERIFY(done);
    }

    QStringList resultKeys()
    {
        QStringList keys;
        for (int i = 0; i < dialog->results()->rowCount(); ++i)
            keys << dialog->results()->row(i).key;
        return keys;
    }

    void expectIdle()
    {
        QVERIFY(cmdOK()->isEnabled());
        QVERIFY(!cmdCancel()->isEnabled());
        QVERIFY(cmdExit()->isEnabled());
    }

private slots:
    void init()
    {
        library = std::make_unique<test::LibraryFixture>();
        shown.clear();
        open();
    }
    void cleanup()
    {
        dialog.reset();
        PoemSearch::beforeEachRow = {};
        library.reset();
    }

    // ---- The rules, on values ----

    void theStatementForEachRange()
    {
        const library::SearchQuery all = library::searchQuery(LibrarySide::China, "不限");
        QCOMPARE(all.statement, QString("select PoemID,Name,content from ChinaPoem"));
        QVERIFY(all.values.isEmpty());
        const library::SearchQuery tang = library::searchQuery(LibrarySide::China, "唐");
        QCOMPARE(tang.statement, QString("select PoemID,Name,content from ChinaPoem where Epoch=?"));
        QCOMPARE(tang.values, QVariantList({"唐"}));
        const library::SearchQuery england = library::searchQuery(LibrarySide::Foreign, "O'Land");
        QCOMPARE(england.statement, QString("select PoemID,Name,content from ForeignPoem where Country=?"));
        QCOMPARE(england.values, QVariantList({"O'Land"}));
    }

    void theMatchingRule()
    {
        QVERIFY(search::matches("床前明月光", QByteArray("明月")));
        QVERIFY(!search::matches("床前明 月光", QByteArray("明月")));
        QVERIFY(search::matches("The Tyger", QByteArray("Tyger")));
        QVERIFY(!search::matches("The Tyger", QByteArray("tyger")));
        // An empty text matches what is not empty; empty and Null never match.
        QVERIFY(search::matches("x", QByteArray()));
        QVERIFY(!search::matches(QByteArrayView(""), QByteArray()));
        QVERIFY(!search::matches(QByteArrayView(), QByteArray()));
        QVERIFY(!search::matches(QByteArrayView(), QByteArray("x")));
        // Spaces are part of the text as typed.
        QVERIFY(!search::matches("明月", QByteArray(" 明月")));
    }

    // ---- The dialog ----

    void whatItShowsWhenLoaded()
    {
        QCOMPARE(dialog->windowTitle(), QString("查找诗词"));
        QCOMPARE(Frame1()->title(), QString("选项"));
        QCOMPARE(items(cboFind()), QStringList({"中国诗词", "国外诗词"}));
        QCOMPARE(items(cboEpoch()), QStringList({"不限", "先秦", "唐", "宋", "空朝"}));
        QCOMPARE(cboEpoch()->currentText(), QString("不限"));
        QCOMPARE(dialog->FindRange(), LibrarySide::China);
        QVERIFY(optFind_0()->isChecked());
        QCOMPARE(optFind_0()->text(), QString("按标题查找"));
        QCOMPARE(optFind_1()->text(), QString("按内容查找"));
        QVERIFY(txtName()->isEnabled() && !txtContent()->isEnabled());
        QCOMPARE(lblTip(0)->text(), QString("查找内容"));
        QCOMPARE(lblTip(1)->text(), QString("年代或国家"));
        QVERIFY(lblTip(2)->text().isEmpty());
        QCOMPARE(lblTip(3)->text(), QString("建议选择具体的年代或国家以缩短查找时间。"));
        QCOMPARE(lvwPoem()->model()->headerData(0, Qt::Horizontal).toString(), QString("作品名称"));
        QCOMPARE(cmdOK()->Caption(), QString("查找(&Q)"));
        QCOMPARE(cmdCancel()->Caption(), QString("停止(&S)"));
        QCOMPARE(cmdExit()->Caption(), QString("关闭(&E)"));
        // The labels name their fields for a screen reader.
        QCOMPARE(lblTip(0)->buddy(), cboFind());
        QCOMPARE(lblTip(1)->buddy(), cboEpoch());
    }

    void kindAndModeChanges()
    {
        cboFind()->setCurrentIndex(1);
        QCOMPARE(dialog->FindRange(), LibrarySide::Foreign);
        QCOMPARE(items(cboEpoch()), QStringList({"不限", "英国", "法国", "无人国"}));
        QTest::mouseClick(optFind_1(), Qt::LeftButton);
        QVERIFY(!txtName()->isEnabled() && txtContent()->isEnabled());
        QTest::mouseClick(optFind_0(), Qt::LeftButton);
        QVERIFY(txtName()->isEnabled() && !txtContent()->isEnabled());
    }

    void searchingTitles()
    {
        typeInto(txtName(), "静");
        search();
        QCOMPARE(results(), QStringList({"静夜思"}));
        QCOMPARE(lblTip(2)->text(), QString("查找结束，共有1首诗词"));
        const int poems = test::scalar(library->libraryFile, "select count(*) from ChinaPoem").toInt();
        QCOMPARE(xpBar()->maximum(), poems);
        QCOMPARE(xpBar()->value(), poems);
        QCOMPARE(dialog->QuerySql(), QString("select PoemID,Name,content from ChinaPoem"));
        expectIdle();

        // An empty text lists every poem with a title; nothing matches in the wrong case.
        typeInto(txtName(), "");
        search();
        QCOMPARE(results().size(), poems);
        cboFind()->setCurrentIndex(1);
        typeInto(txtName(), "tyger");
        search();
        QCOMPARE(results(), QStringList());
        QCOMPARE(lblTip(2)->text(), QString("查找结束，共有0首诗词"));
        typeInto(txtName(), "Tyger");
        search();
        QCOMPARE(results(), QStringList({"The Tyger"}));
    }

    void searchingTextsInARange()
    {
        QTest::mouseClick(optFind_1(), Qt::LeftButton);
        typeInto(txtContent(), "明月");
        search();
        QCOMPARE(results(), QStringList({"静夜思", "水调歌头"}));
        cboEpoch()->setCurrentText("宋");
        search();
        QCOMPARE(results(), QStringList({"水调歌头"}));
        QCOMPARE(dialog->queryValues(), QVariantList({"宋"}));
        QCOMPARE(xpBar()->maximum(), 1);
        // Enter in the text searches too.
        cboEpoch()->setCurrentText("唐");
        QSignalSpy finished(dialog.get(), &frmQueryPoem::searchFinished);
        QTest::keyClick(txtContent(), Qt::Key_Return);
        QVERIFY(finished.count() == 1 || finished.wait(20000));
        QCOMPARE(results(), QStringList({"静夜思"}));
    }

    void aRangeWithAQuoteIsSearched()
    {
        test::seed(library->libraryFile, "insert into ForeignCountry values('C9', 'O''Land')");
        test::seed(library->libraryFile, "insert into ForeignPoem(PoemID,Name,Content,Country,tf) "
                                         "values('WP9','Isle','sea','O''Land',false)");
        cboFind()->setCurrentIndex(1);
        cboEpoch()->setCurrentText("O'Land");
        msg::Recorder boxes;
        search();
        QVERIFY(boxes.shown().isEmpty());
        QCOMPARE(results(), QStringList({"Isle"}));
    }

    void aFailingSearchIsReportedAndFinishes()
    {
        test::seed(library->libraryFile, "alter table ChinaPoem rename to ChinaPoemGone");
        msg::Recorder boxes;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("(?s)the search could not go on:.*ChinaPoem"));
        search();
        QCOMPARE(boxes.texts(), QStringList({"无法继续查找过程!"}));
        QCOMPARE(boxes.shown().at(0).title, QString("提示"));
        QCOMPARE(lblTip(2)->text(), QString("查找结束，共有0首诗词"));
        expectIdle();
    }

    void stoppingASearch()
    {
        seedManyPoems();
        typeInto(txtName(), "月");
        searchAndMidway([this] {
            // While searching: 查找 and 关闭 are off, 停止 is on.
            QVERIFY(!cmdOK()->isEnabled() && cmdCancel()->isEnabled() && !cmdExit()->isEnabled());
            test::clickButton(dialog.get(), "cmdCancel");
            // The click itself ends the search.
            QVERIFY(!dialog->searching());
        });
        const int found = dialog->results()->rowCount();
        QVERIFY(found > 0);
        QVERIFY(xpBar()->value() < xpBar()->maximum());
        QCOMPARE(lblTip(2)->text(), QString("查找结束，共有%1首诗词").arg(found));
        expectIdle();
    }

    // 停止 at any row lists everything found up to it: exactly the matches among the rows
    // the bar counts as examined, the last of them too. The search is held before it
    // reads the next row, and stopped there, which interrupts that reading; it has then
    // examined the rows before it (one more when the stop comes before the first row,
    // whose reading the engine does not interrupt).
    void aStopListsEverythingFoundBeforeIt()
    {
        const int poems = 3000;
        test::seed(library->libraryFile,
                   QString("insert into ChinaPoem(PoemID,Name,Content,Epoch,tf) "
                           "with recursive n(i) as (select 1 union all select i+1 from n where i<%1) "
                           "select 'X'||i, case when i%3=0 or i%7=0 then '月'||i else '星'||i end, '', '唐', false "
                           "from n")
                       .arg(poems));
        // The rows in the order the search reads them, and which of them match.
        const QStringList order =
            test::scalar(library->libraryFile, "select group_concat(PoemID, '|') from (select PoemID from ChinaPoem "
                                               "order by rowid)").toString().split('|');
        const QString matching =
            test::scalar(library->libraryFile, "select group_concat(instr(Name, '月') > 0, '') from (select Name "
                                               "from ChinaPoem order by rowid)").toString();
        QCOMPARE(order.size(), matching.size());
        const int rows = int(order.size());
        typeInto(txtName(), "月");

        QList<int> stops = {0, 1, 2, 63, 64, 65, 128, rows - 1, rows};
        for (int i = 1; stops.size() < 40; ++i)
            stops << i * rows / 32;
        int stopAt = -1;
        QSemaphore held;
        PoemSearch::beforeEachRow = [&](PoemSearch& search, int examined) {
            if (examined == stopAt) {
                held.release();
                search.waitForStop();
            }
        };
        for (int stop : stops) {
            stopAt = stop;
            test::clickButton(dialog.get(), "cmdOK");
            QVERIFY(held.tryAcquire(1, 20000));
            test::clickButton(dialog.get(), "cmdCancel");
            QCoreApplication::sendPostedEvents();
            const int examined = stop == 0 ? 1 : stop;
            QCOMPARE(xpBar()->value(), examined);
            QStringList expected;
            for (int row = 0; row < examined; ++row)
                if (matching[row] == '1')
                    expected << order[row];
            QCOMPARE(resultKeys(), expected);
            QCOMPARE(lblTip(2)->text(), QString("查找结束，共有%1首诗词").arg(expected.size()));
            expectIdle();
        }
    }

    // A range without a poem: the search ends at once, with a full bar rather than a
    // busy one.
    void anEmptyRangeEndsWithAFullBar()
    {
        cboEpoch()->setCurrentText("空朝");
        typeInto(txtName(), "");
        search();
        QCOMPARE(lblTip(2)->text(), QString("查找结束，共有0首诗词"));
        QVERIFY(xpBar()->maximum() > xpBar()->minimum());
        QCOMPARE(xpBar()->value(), xpBar()->maximum());
    }

    // Shown again, the range list is the library's as it is now; the range chosen stays
    // chosen while it is still there.
    void theRangeListFollowsTheLibrary()
    {
        cboEpoch()->setCurrentText("宋");
        dialog->hide();
        changes::deletePlace(*library->db, LibrarySide::China, "空朝");
        dialog->show();
        QCOMPARE(items(cboEpoch()), QStringList({"不限", "先秦", "唐", "宋"}));
        QCOMPARE(cboEpoch()->currentText(), QString("宋"));
        dialog->hide();
        changes::deletePlace(*library->db, LibrarySide::China, "宋");
        dialog->show();
        QCOMPARE(items(cboEpoch()), QStringList({"不限", "先秦", "唐"}));
        QCOMPARE(cboEpoch()->currentText(), QString("不限"));

        cboFind()->setCurrentIndex(1);
        cboEpoch()->setCurrentText("法国");
        dialog->hide();
        changes::deletePlace(*library->db, LibrarySide::Foreign, "无人国");
        test::seed(library->libraryFile, "insert into ForeignCountry values('C9', 'O''Land')");
        dialog->show();
        QCOMPARE(items(cboEpoch()), QStringList({"不限", "英国", "法国", "O'Land"}));
        QCOMPARE(cboEpoch()->currentText(), QString("法国"));
    }

    // A result chosen while another program holds the library locked: the reader is
    // told, the program goes on, and the result shows once the library is free.
    void aResultChosenWhileTheLibraryIsLocked()
    {
        dialog.reset();
        test::MainWindowHarness h;
        h.form->show();
        h.form->BarMain_ToolClick("tbFind");
        frmQueryPoem* found = test::queryDialog(h.form.get());
        auto* name = test::named<QLineEdit>(found, "txtName");
        name->clear();
        test::typeText(name, "静");
        QSignalSpy finished(found, &frmQueryPoem::searchFinished);
        test::clickButton(found, "cmdOK");
        QVERIFY(finished.count() == 1 || finished.wait(20000));
        auto* list = test::named<QTreeView>(found, "lvwPoem");
        const QPoint first = list->visualRect(found->results()->index(0)).center();

        // As on a file system that keeps no write-ahead log, where a writer's lock keeps
        // readers out too.
        h.db->Execute("pragma journal_mode=delete");
        DbConnection::setLockWaitMs(100);
        msg::Recorder boxes;
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "holder");
            other.setDatabaseName(h.libraryFile);
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec("begin exclusive"));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
            QSqlQuery(other).exec("rollback");
            other.close();
        }
        QSqlDatabase::removeDatabase("holder");
        DbConnection::setLockWaitMs(10000);
        QCOMPARE(boxes.texts(), QStringList({"诗词库正被其他程序使用，请稍后再试。诗词库没有被修改。"}));
        QVERIFY(test::txtPoemDetail(h.form.get())->toPlainText().isEmpty());

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
        QVERIFY(test::txtPoemDetail(h.form.get())->toPlainText().contains("床前明月光"));
        QCOMPARE(boxes.texts().size(), 1);
    }

    // A search stopped and a new one started at once: whatever the first had still on
    // its way is not listed with the second's results.
    void aNewSearchRightAfterAStopListsOnlyItsOwn()
    {
        seedManyPoems();
        typeInto(txtName(), "月");
        QSignalSpy finished(dialog.get(), &frmQueryPoem::searchFinished);
        searchAndMidway([this] {
            test::clickButton(dialog.get(), "cmdCancel");
            typeInto(txtName(), "静");
            test::clickButton(dialog.get(), "cmdOK");
        });
        if (finished.count() < 2)
            QVERIFY(finished.wait(20000));
        QCOMPARE(results(), QStringList({"静夜思"}));
        QCOMPARE(lblTip(2)->text(), QString("查找结束，共有1首诗词"));
        const int poems = test::scalar(library->libraryFile, "select count(*) from ChinaPoem").toInt();
        QCOMPARE(xpBar()->maximum(), poems);
        QCOMPARE(xpBar()->value(), poems);
        // Nothing more arrives afterwards either.
        QCoreApplication::sendPostedEvents();
        QCOMPARE(results(), QStringList({"静夜思"}));
    }

    // The window goes on writing while a search reads: the change is made at once and
    // the search finishes without a word, listing the library as it was when it began.
    void aChangeWhileSearchingLeavesBothSound()
    {
        seedManyPoems();
        const int before = test::scalar(library->libraryFile, "select count(*) from ChinaPoem where instr(Name, '月')").toInt();
        typeInto(txtName(), "月");
        msg::Recorder boxes;
        searchAndMidway([this] {
            changes::deletePoem(*library->db, LibrarySide::China, "X7");
            test::seed(library->libraryFile, "update ChinaPoem set Name='改' where PoemID='X8'");
        });
        QVERIFY(boxes.shown().isEmpty());
        QCOMPARE(test::scalar(library->libraryFile, "select count(*) from ChinaPoem where PoemID='X7'").toInt(), 0);
        QCOMPARE(dialog->results()->rowCount(), before);
        QCOMPARE(results().at(resultKeys().indexOf("X8")), QString("月8"));
    }

    // The dialog (and with it the program) goes while a search runs: the search ends,
    // and the news it had posted reaches no one.
    void destroyedWhileSearching()
    {
        seedManyPoems();
        typeInto(txtName(), "月");
        bool destroyed = false;
        QEventLoop loop;
        connect(xpBar(), &QProgressBar::valueChanged, this, [&](int value) {
            if (value > 0 && !destroyed) {
                destroyed = true;
                // Not inside the dialog's own signal: after it, as a closing window is.
                QMetaObject::invokeMethod(this, [&] {
                    dialog.reset();
                    loop.quit();
                }, Qt::QueuedConnection);
            }
        });
        test::clickButton(dialog.get(), "cmdOK");
        loop.exec();
        QVERIFY(!dialog);
        QCoreApplication::sendPostedEvents();
        // Leaving the write-ahead log needs the only connection to the file.
        library->db->Close();
        QCOMPARE(test::scalar(library->libraryFile, "pragma journal_mode=delete").toString(), QString("delete"));
    }

    // The search cannot read the library (its file was moved away since the program
    // opened it): the user is told, and the dialog is ready for the next search.
    void aLibraryTheSearchCannotReadIsReported()
    {
        const QString moved = library->libraryFile + ".moved";
        QVERIFY(QFile::rename(library->libraryFile, moved));
        msg::Recorder boxes;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("the search could not go on:.*poem.mdb"));
        search();
        QVERIFY(QFile::rename(moved, library->libraryFile));
        QCOMPARE(boxes.texts(), QStringList({"无法继续查找过程!"}));
        QCOMPARE(lblTip(2)->text(), QString("查找结束，共有0首诗词"));
        expectIdle();
        typeInto(txtName(), "静");
        search();
        QCOMPARE(results(), QStringList({"静夜思"}));
    }

    // What the search lists is what SQL's instr() finds, in the library's order: both
    // columns, both sides, a range, letters and characters.
    void resultsAreWhatSqlFinds()
    {
        struct Case {
            int kind;
            QString range;
            bool byTitle;
            QString text;
        };
        const QList<Case> cases = {{0, "不限", true, "'"},   {0, "不限", false, "月"}, {0, "不限", false, "。"},
                                   {0, "唐", false, "明"},    {0, "宋", true, "调"},    {1, "不限", true, "e"},
                                   {1, "不限", false, "sun"}, {1, "英国", false, "T"}};
        for (const Case& c : cases) {
            cboFind()->setCurrentIndex(c.kind);
            cboEpoch()->setCurrentText(c.range);
            QTest::mouseClick(c.byTitle ? optFind_0() : optFind_1(), Qt::LeftButton);
            typeInto(c.byTitle ? txtName() : txtContent(), c.text);
            search();
            const QString table = c.kind == 0 ? "ChinaPoem" : "ForeignPoem";
            const QString rangeColumn = c.kind == 0 ? "Epoch" : "Country";
            const QString column = c.byTitle ? "Name" : "Content";
            QString sql = QString("select group_concat(PoemID, '|') from (select PoemID from %1 where instr(%2, ?) > 0")
                              .arg(table, column);
            QVariantList values{c.text};
            if (c.range != "不限") {
                sql += QString(" and %1 = ?").arg(rangeColumn);
                values << c.range;
            }
            sql += " order by rowid)";
            QStringList expected =
                test::scalar(library->libraryFile, sql, values).toString().split('|', Qt::SkipEmptyParts);
            if (c.kind == 1)
                for (QString& id : expected)
                    id.prepend('F');
            QVERIFY2(!expected.isEmpty(), qPrintable(c.text));
            QCOMPARE(resultKeys(), expected);
        }
    }

    // 查找 pressed from the keyboard hands the focus to 停止, and the end of the search
    // hands it back, not to the next control of the dialog.
    void theFocusFollowsTheButtonsByKeyboard()
    {
        typeInto(txtName(), "静");
        QSignalSpy finished(dialog.get(), &frmQueryPoem::searchFinished);
        cmdOK()->setFocus();
        QTest::keyClick(cmdOK(), Qt::Key_Space);
        if (finished.isEmpty()) {
            QVERIFY(cmdCancel()->hasFocus());
            QVERIFY(finished.wait(20000));
        }
        QVERIFY(cmdOK()->hasFocus());
        QCOMPARE(results(), QStringList({"静夜思"}));
    }

    void clickingAndSteppingThroughResults()
    {
        cboFind()->setCurrentIndex(1);
        typeInto(txtName(), "");
        search();
        QVERIFY(results().size() >= 2);
        const QString firstTitle = results().at(0);
        const QString firstId =
            "F" + test::scalar(library->libraryFile, "select PoemID from ForeignPoem where Name=?", {firstTitle})
                      .toString();
        clickResult(0);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].id, firstId);
        QCOMPARE(shown[0].name, firstTitle);
        QCOMPARE(shown[0].type, LibrarySide::Foreign);

        // The arrow keys show each result in turn.
        QTest::keyClick(lvwPoem(), Qt::Key_Down);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].name, results().at(1));

        // A foreign result stays foreign after the kind was changed.
        cboFind()->setCurrentIndex(0);
        clickResult(0);
        QCOMPARE(shown.last().type, LibrarySide::Foreign);
        QCOMPARE(shown.last().id, firstId);

        optFind_0()->setChecked(true);
        typeInto(txtName(), "静");
        search();
        clickResult(0);
        QCOMPARE(shown.last().type, LibrarySide::China);
        QCOMPARE(shown.last().id, test::scalar(library->libraryFile,
                                               "select PoemID from ChinaPoem where Name='静夜思'").toString());
    }

    // By keyboard alone: the dialog opens typing, Tab reaches the results and shows the
    // first, and a single result opens with Return, Space or an arrow key's no-move.
    void resultsByKeyboardAlone()
    {
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(txtName()));
        test::typeText(txtName(), "静");
        QSignalSpy finished(dialog.get(), &frmQueryPoem::searchFinished);
        QTest::keyClick(txtName(), Qt::Key_Return);
        if (finished.isEmpty())
            QVERIFY(finished.wait(20000));
        QCOMPARE(results(), QStringList({"静夜思"}));
        // A screen reader reads the status line's text.
        QCOMPARE(QAccessible::queryAccessibleInterface(lblTip(2))->text(QAccessible::Name),
                 QString("查找结束，共有1首诗词"));
        for (int tab = 0; tab < 20 && QApplication::focusWidget() != lvwPoem(); ++tab)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(lvwPoem()));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.last().name, QString("静夜思"));
        QVERIFY(lvwPoem()->selectionModel()->isSelected(dialog->results()->index(0)));
        QTest::keyClick(lvwPoem(), Qt::Key_Return);
        QTest::keyClick(lvwPoem(), Qt::Key_Space);
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.last().name, QString("静夜思"));
        // Shown again later (as Ctrl+F shows it), it opens typing once more.
        lvwPoem()->setFocus();
        dialog->hide();
        dialog->show();
        QCOMPARE(dialog->focusWidget(), static_cast<QWidget*>(txtName()));
    }

    void hidingKeepsEverything()
    {
        cboFind()->setCurrentIndex(1);
        cboEpoch()->setCurrentText("法国");
        typeInto(txtName(), "");
        search();
        const QStringList before = results();
        const QString status = lblTip(2)->text();
        // Escape hides, as the close box and 关闭 do.
        QTest::keyClick(txtName(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        dialog->show();
        test::clickButton(dialog.get(), "cmdExit");
        QVERIFY(!dialog->isVisible());
        dialog->show();
        dialog->close();
        QVERIFY(!dialog->isVisible());
        dialog->show();
        QCOMPARE(results(), before);
        QCOMPARE(lblTip(2)->text(), status);
        QCOMPARE(cboFind()->currentIndex(), 1);
        QCOMPARE(cboEpoch()->currentText(), QString("法国"));
    }

    void aHiddenSearchGoesOn()
    {
        QSignalSpy finished(dialog.get(), &frmQueryPoem::searchFinished);
        typeInto(txtName(), "");
        test::clickButton(dialog.get(), "cmdOK");
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QVERIFY(finished.count() == 1 || finished.wait(20000));
        QVERIFY(results().size() > 0);
    }
};

QTEST_MAIN(tst_QueryPoem)
#include "tst_querypoem.moc"
