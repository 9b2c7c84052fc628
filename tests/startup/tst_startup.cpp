// The start-up sequence, the close question and the shutdown.
#include "MainWindowHarness.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmQueryPoem.h"
#include "dialogs/frmSplash.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "startup/MainSub.h"
#include "startup/ProgramFiles.h"
#include "store/StoreError.h"
#include "store/DbConnection.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QLabel>
#include <QScreen>
#include <QtTest>

using namespace qelvane;

namespace {

// Watches for the main window being made, to look at the screen while its tree is built.
class TreeBuildWatcher : public QObject {
public:
    bool splashVisible = false;
    bool mainVisible = true;
    int builds = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded && !m_connected && watched->objectName() == "frmMain") {
            if (auto* form = qobject_cast<frmMain*>(watched)) {
                m_connected = true;
                connect(form, &frmMain::treeLoaded, this, [this, form] {
                    ++builds;
                    mainVisible = form->isVisible();
                    for (QWidget* window : QApplication::topLevelWidgets())
                        if (window->objectName() == "frmSplash")
                            splashVisible = window->isVisible();
                });
            }
        }
        return false;
    }

private:
    bool m_connected = false;
};

bool splashShown()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "frmSplash" && window->isVisible())
            return true;
    return false;
}

} // namespace

class tst_Startup : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    QStringList m_music;
    QPointer<frmMain> m_form;

    void start()
    {
        MainSub::Environment environment;
        environment.applicationFolder = m_dir->path();
        environment.settings = m_settings.get();
        environment.makeMusicBackend = [this] { return std::make_unique<test::RecordingMusicBackend>(&m_music); };
        MainSub::Start(environment);
        m_form = MainSub::MainForm;
        QVERIFY(m_form);
    }

    QString setting(const QString& key) { return SettingsStore(m_dir->filePath("settings.ini")).GetSetting(key, "-"); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        test::copyFixtureLibrary(m_dir->filePath("data"));
        m_settings = std::make_unique<SettingsStore>(m_dir->filePath("settings.ini"));
        m_music.clear();
    }
    void cleanup()
    {
        delete m_form;
        MainSub::Finish();
        m_settings.reset();
        m_dir.reset();
    }

    void theLibraryIsTheOneBesideTheProgram()
    {
        QCOMPARE(MainSub::libraryPath("/opt/qelvane"), QString("/opt/qelvane/data/poem.mdb"));
        // At the root the separator doubles, and the path is used as it stands.
        QCOMPARE(MainSub::libraryPath("/"), QString("//data/poem.mdb"));
    }

    // Installed: the program in P/bin, its files in P/share/qelvane. The library is the
    // user's own copy, made once, writable, and nothing is written under the prefix.
    void anInstalledProgramGivesEachUserALibrary()
    {
        const QString prefix = m_dir->filePath("prefix");
        QDir().mkpath(prefix + "/bin");
        const QString shipped = test::copyFixtureLibrary(prefix + "/share/qelvane/data");
        QFile::setPermissions(shipped, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        const QString user = m_dir->filePath("home/data");

        const ProgramFiles files = locateProgramFiles(prefix + "/bin", user);
        QCOMPARE(files.dataFolder, prefix + "/share/qelvane");
        QCOMPARE(files.libraryFile, user + "/poem.mdb");
        QCOMPARE(files.shippedLibrary, shipped);

        MainSub::Environment environment;
        environment.applicationFolder = prefix + "/bin";
        environment.userDataFolder = user;
        environment.settings = m_settings.get();
        MainSub::Start(environment);
        m_form = MainSub::MainForm;
        QCOMPARE(MainSub::ConnectionString, user + "/poem.mdb");
        QCOMPARE(test::tvwPoem(m_form)->topLevelItemCount(), 2);
        QVERIFY(QFileInfo(user + "/poem.mdb").permissions() & QFile::WriteOwner);
        QCOMPARE(QDir(prefix + "/share/qelvane/data").entryList(QDir::Files), QStringList({"poem.mdb"}));
        // Beside the library, only its write-ahead log while it is open.
        QCOMPARE(QDir(user).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"poem.mdb", "poem.mdb-shm", "poem.mdb-wal"}));
        delete m_form;
        MainSub::Finish();

        // A library already there is used as it is, not copied over.
        QFile mark(user + "/poem.mdb");
        QVERIFY(mark.open(QIODevice::Append));
        mark.write("mark");
        mark.close();
        const qint64 marked = QFileInfo(mark).size();
        provideLibrary(files);
        QCOMPARE(QFileInfo(user + "/poem.mdb").size(), marked);
    }

    // A copy that cannot be made is reported with the file's name, and leaves nothing.
    void aFailedCopyIsReportedAndLeavesNothing()
    {
        QFile blocker(m_dir->filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const ProgramFiles files{m_dir->path(), m_dir->filePath("blocker/user/poem.mdb"),
                                 m_dir->filePath("data/poem.mdb")};
        try {
            provideLibrary(files);
            QFAIL("no error");
        } catch (const StoreError& error) {
            QVERIFY2(error.description().startsWith(QStringLiteral("无法为您建立诗词库“%1”")
                                                        .arg(QDir::toNativeSeparators(files.libraryFile))),
                     qPrintable(error.description()));
        }
        QVERIFY(!QFileInfo::exists(files.libraryFile));
    }

    void firstRun()
    {
        TreeBuildWatcher watcher;
        qApp->installEventFilter(&watcher);
        start();
        qApp->removeEventFilter(&watcher);

        // The splash stood through the whole tree build and is gone now.
        QCOMPARE(watcher.builds, 1);
        QVERIFY(watcher.splashVisible);
        QVERIFY(!watcher.mainVisible);
        QVERIFY(!splashShown());
        QVERIFY(m_form->isVisible());
        QCOMPARE(MainSub::ConnectionString, m_dir->filePath("data/poem.mdb"));

        // 1000, 1000, 6500 x 6500 twips at 15 twips per pixel.
        QCOMPARE(m_form->pos(), QPoint(67, 67));
        QCOMPARE(m_form->size(), QSize(433, 433));
        QCOMPARE(test::lvwPoem(m_form)->headerItem()->text(0), QString("作品名称"));
        QCOMPARE(test::sbStatusBar(m_form)->panelText(2), QString("当前位置：全部诗词"));
        QCOMPARE(test::tvwPoem(m_form)->topLevelItemCount(), 2);
        QVERIFY(test::optionsDialog(m_form) && !test::optionsDialog(m_form)->isVisible());
        QVERIFY(test::queryDialog(m_form) && !test::queryDialog(m_form)->isVisible());
        // No music file chosen: nothing is opened and nothing is said.
        QVERIFY(m_music.isEmpty());
    }

    void theMusicStartsWithTheWindow()
    {
        m_settings->SaveSetting("MusicFile", "/music/tune.mid");
        start();
        QCOMPARE(m_music, QStringList({"open /music/tune.mid", "play"}));
    }

    void aDeclinedCloseChangesNothing()
    {
        m_settings->SaveSetting("MusicFile", "/music/tune.mid");
        start();
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::No);
        QVERIFY(!m_form->close());
        QCOMPARE(boxes.shown().size(), 1);
        const msg::Box& box = boxes.shown().first();
        QCOMPARE(box.text, QString("是否退出？"));
        QCOMPARE(box.title, QString("提示"));
        QCOMPARE(box.icon, msg::Icon::Question);
        QCOMPARE(box.buttons, msg::Buttons::YesNo);
        QCOMPARE(box.defaultButton, msg::Answer::No);
        QVERIFY(m_form->isVisible());
        QCOMPARE(m_music, QStringList({"open /music/tune.mid", "play"}));
        QVERIFY(MainSub::DbConnection->isOpen());
        QVERIFY(!m_settings->contains("MainLeft"));
    }

    void aConfirmedCloseSavesAndShutsDown()
    {
        m_settings->SaveSetting("MusicFile", "/music/tune.mid");
        start();
        QPointer<QWidget> queryForm = test::queryDialog(m_form);
        auto* other = new QWidget;
        other->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<QWidget> otherWindow = other;
        other->show();
        m_form->move(100, 120);
        m_form->resize(500, 400);

        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        QVERIFY(m_form->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        QCOMPARE(m_music.last(), QString("close"));
        QVERIFY(!MainSub::DbConnection->isOpen());
        QVERIFY(!otherWindow);
        QVERIFY(!queryForm);
        QVERIFY(!m_form);
        QCOMPARE(setting("MainLeft"), QString("1500"));
        QCOMPARE(setting("MainTop"), QString("1800"));
        QCOMPARE(setting("MainWidth"), QString("7500"));
        QCOMPARE(setting("MainHeight"), QString("6000"));
        QCOMPARE(setting("MusicFile"), QString("/music/tune.mid"));
    }

    void anUnmovedWindowSavesItsPlacementAsItWas()
    {
        m_settings->SaveSetting("MainLeft", "1000");
        m_settings->SaveSetting("MainWidth", "7001");
        start();
        QCOMPARE(m_form->width(), 467);
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        QVERIFY(m_form->close());
        QCOMPARE(setting("MainLeft"), QString("1000"));
        QCOMPARE(setting("MainTop"), QString("1000"));
        QCOMPARE(setting("MainWidth"), QString("7001"));
        QCOMPARE(setting("MainHeight"), QString("6500"));
    }

    void aMinimizedWindowSavesNoPlacement()
    {
        m_settings->SaveSetting("MainLeft", "2000");
        m_settings->SaveSetting("MainTop", "3000");
        m_settings->SaveSetting("MainWidth", "9000");
        m_settings->SaveSetting("MainHeight", "8000");
        start();
        QCOMPARE(m_form->pos(), QPoint(133, 200));
        m_form->showMinimized();
        m_form->move(10, 10);
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        QVERIFY(m_form->close());
        QCOMPARE(setting("MainLeft"), QString("2000"));
        QCOMPARE(setting("MainTop"), QString("3000"));
        QCOMPARE(setting("MainWidth"), QString("9000"));
        QCOMPARE(setting("MainHeight"), QString("8000"));
    }

    void theSplashIsOnScreenBeforeTheLoadBegins()
    {
        // The load hands out no events: the splash must have been painted already.
        const auto splash = MainSub::showSplash();
        QVERIFY(splash->isVisible());
        QVERIFY(splash->hasBeenPainted());
        QVERIFY(splash->lblTip->isVisible());
        QCOMPARE(splash->lblTip->text(), QString("正在载入数据，请稍候……"));
        QVERIFY(splash->geometry().contains(splash->lblTip->geometry().translated(splash->pos())));
    }

    void aLibraryThatCannotBeOpenedShowsNoWindow()
    {
        test::seed(m_dir->filePath("data/poem.mdb"), "drop table ForeignAuthor");
        test::seed(m_dir->filePath("data/poem.mdb"), "create table ForeignAuthor (CountryID text)");
        MainSub::Environment environment;
        environment.applicationFolder = m_dir->path();
        environment.settings = m_settings.get();
        QVERIFY_THROWS_EXCEPTION(std::exception, MainSub::Start(environment));
        QVERIFY(!MainSub::MainForm);
        QVERIFY(!splashShown());
    }

    void theDisplaySettingsRoundTrip()
    {
        start();
        // First start: white, black, 宋体 9 point everywhere.
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        m_form->setFontSize(test::txtPoemDetail(m_form), "10.5");
        QVERIFY(m_form->close());
        QCOMPARE(setting("NameBackColor"), QString("16777215"));
        QCOMPARE(setting("NoteForeColor"), QString("0"));
        QCOMPARE(setting("AuthorFont"), QString("宋体"));
        QCOMPARE(setting("NameSize"), QString("9"));
        QCOMPARE(setting("PoemSize"), QString("10.5"));
        QCOMPARE(setting("MusicFile"), QString(""));

        m_settings = std::make_unique<SettingsStore>(m_dir->filePath("settings.ini"));
        m_settings->SaveSetting("NoteBackColor", QString::number(0x00336699));
        m_settings->SaveSetting("NameForeColor", QString::number(qint32(0x80000012)));
        m_settings->SaveSetting("AuthorSize", "not a size");
        MainSub::Finish();
        start();
        QCOMPARE(test::txtPoemDetail(m_form)->font().pointSizeF(), 10.5);
        QCOMPARE(test::txtPoemNote(m_form)->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
        QCOMPARE(frmMain::foreColor(test::lvwPoem(m_form)), qint32(0x80000012));
        QCOMPARE(test::txtAuthorDetail(m_form)->font().pointSizeF(), 9.0);
        boxes.answerNext(msg::Answer::Yes);
        QVERIFY(m_form->close());
        QCOMPARE(setting("NoteBackColor"), QString::number(0x00336699));
        QCOMPARE(setting("NameForeColor"), QString("-2147483630"));
    }

    // Hand-edited settings no screen can take: the window comes onto the desktop at
    // most its size, and the reading areas keep a size their text is drawn in.
    void settingsBeyondReason()
    {
        m_settings->SaveSetting("MainLeft", "-1e12");
        m_settings->SaveSetting("MainTop", "1e30");
        m_settings->SaveSetting("MainWidth", "1e9");
        m_settings->SaveSetting("MainHeight", "nan");
        m_settings->SaveSetting("NameSize", "nan");
        m_settings->SaveSetting("PoemSize", "inf");
        m_settings->SaveSetting("NoteSize", "1e9");
        start();
        const QRect desktop = QGuiApplication::primaryScreen()->availableVirtualGeometry();
        QVERIFY2(m_form->width() <= desktop.width(), qPrintable(QString::number(m_form->width())));
        QVERIFY(m_form->height() <= desktop.height());
        QVERIFY(desktop.contains(m_form->pos()));
        for (QWidget* area : {static_cast<QWidget*>(test::lvwPoem(m_form)), static_cast<QWidget*>(test::txtPoemDetail(m_form)),
                              static_cast<QWidget*>(test::txtPoemNote(m_form))})
            QCOMPARE(area->font().pointSizeF(), 9.0);
        test::txtPoemDetail(m_form)->setPlainText("床前明月光");
        const QImage drawn = test::txtPoemDetail(m_form)->viewport()->grab().toImage();
        bool ink = false;
        for (int y = 0; y < drawn.height() && !ink; ++y)
            for (int x = 0; x < drawn.width() && !ink; ++x)
                ink = qGray(drawn.pixel(x, y)) < 128;
        QVERIFY(ink);
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        QVERIFY(m_form->close());
        QVERIFY(setting("MainWidth").toFloat() <= desktop.width() * 15);
    }

    void settingsThatCannotBeWrittenAreReported()
    {
        // A folder that cannot be made (a file stands in its place), for any user.
        QFile blocker(m_dir->filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_settings = std::make_unique<SettingsStore>(m_dir->filePath("blocker/settings.ini"));
        start();
        msg::Recorder boxes;
        boxes.answerNext(msg::Answer::Yes);
        QVERIFY(m_form->close());
        QCOMPARE(boxes.texts().size(), 2);
        QVERIFY2(boxes.texts().last().startsWith("无法保存设置：文件“" + m_dir->filePath("blocker/settings.ini")),
                 qPrintable(boxes.texts().last()));
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
