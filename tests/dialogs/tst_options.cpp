// The options dialog as the main window fills it and the user changes it: fonts,
// colours and music chosen through the (answered) choosers, applied, confirmed or
// cancelled; and the main window taking what it reports.
#include "DialogDriver.h"
#include "MainWindowHarness.h"
#include "dialogs/frmOptions.h"
#include "mainwindow/frmMain.h"
#include "platform/SettingsStore.h"
#include "ui/ColorSwatch.h"
#include "ui/Colours.h"
#include "platform/MessageBox.h"
#include "tolvarin/Tolvarin.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTreeWidget>
#include <QAccessible>
#include <QtTest>

using namespace qelvane;

namespace {
constexpr qint32 Red = 0x0000FF;   // 00BBGGRR
constexpr qint32 Green = 0x00FF00;
constexpr qint32 PaleBlue = 0xFFE0C0;
} // namespace

class tst_Options : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LibraryFixture> library;
    std::unique_ptr<frmOptions> dialog;

    // The dialog's widgets, by their object names.
    template <typename T>
    T* find(const QByteArray& name)
    {
        return test::named<T>(dialog.get(), name.constData());
    }
    QTabWidget* SSTab() { return find<QTabWidget>("SSTab"); }
    QCheckBox* chkMusic() { return find<QCheckBox>("chkMusic"); }
    QLineEdit* txtMusic() { return find<QLineEdit>("txtMusic"); }
    tolvarin::Tolvarin* cmdApply() { return find<tolvarin::Tolvarin>("cmdApply"); }
    tolvarin::Tolvarin* cmdSearch() { return find<tolvarin::Tolvarin>("cmdSearch"); }
    QLineEdit* txtFont(int index) { return find<QLineEdit>("txtFont_" + QByteArray::number(index)); }
    tolvarin::Tolvarin* cmdFont(int index) { return find<tolvarin::Tolvarin>("cmdFont_" + QByteArray::number(index)); }
    ColorSwatch* picColor(int index) { return find<ColorSwatch>("picColor_" + QByteArray::number(index)); }
    QLabel* lblTip(int index) { return find<QLabel>("lblTip_" + QByteArray::number(index)); }

    void fillAsTheMainWindowDoes()
    {
        for (int i = 1; i <= 4; ++i) {
            dialog->SetFontName(i, "宋体");
            dialog->SetFontSize(i, "9");
            dialog->SetFontColor(i, 0);
            dialog->SetBackColor(i - 1, 16777215);
        }
        dialog->SetMusicName("");
        cmdApply()->setEnabled(false);
    }

private slots:
    void init()
    {
        library = std::make_unique<test::LibraryFixture>();
        dialog = std::make_unique<frmOptions>(library->services());
    }
    void cleanup()
    {
        dialog.reset();
        library.reset();
    }

    void theFormAsDesigned()
    {
        QCOMPARE(dialog->windowTitle(), QString("选项"));
        QCOMPARE(SSTab()->count(), 3);
        QCOMPARE(SSTab()->tabText(0), QString("系统字体"));
        QCOMPARE(SSTab()->tabText(1), QString("背景颜色"));
        QCOMPARE(SSTab()->tabText(2), QString("背景音乐"));
        QCOMPARE(lblTip(0)->text(), QString("诗词名称字体："));
        QCOMPARE(lblTip(3)->text(), QString("诗词解释字体："));
        QCOMPARE(lblTip(5)->text(), QString("诗词名称背景色："));
        QCOMPARE(lblTip(8)->text(), QString("诗词解释背景色："));
        QCOMPARE(lblTip(9)->text(), QString("选择背景音乐："));
        QCOMPARE(chkMusic()->text(), QString("播放背景音乐"));
        QVERIFY(!chkMusic()->isChecked());
        QCOMPARE(cmdFont(2)->Caption(), QString("..."));
        QCOMPARE(cmdApply()->Caption(), QString("应用(&A)"));
        QVERIFY(!cmdApply()->isEnabled());
        QVERIFY(cmdSearch()->Caption().isEmpty() &&
                (!cmdSearch()->ICON().isNull() && cmdSearch()->IconAlign() != tolvarin::Tolvarin::TVRN_None));
        QCOMPARE(QAccessible::queryAccessibleInterface(cmdSearch())->text(QAccessible::Name), QString("选择音乐文件"));
        QCOMPARE(picColor(1)->accessibleName(), QString("作者简介背景色"));
    }

    void settersGettersAndTheAreasTheyColour()
    {
        dialog->SetBackColor(0, Red);
        QCOMPARE(dialog->GetBackColor(0), Red);
        QCOMPARE(picColor(0)->colour(), QColor(255, 0, 0));
        QCOMPARE(txtFont(1)->palette().color(QPalette::Base), QColor(255, 0, 0));
        dialog->SetFontColor(1, Green);
        QCOMPARE(dialog->GetFontColor(1), Green);
        QCOMPARE(txtFont(1)->palette().color(QPalette::Text), QColor(0, 255, 0));
        // A system colour is kept as it is.
        const qint32 buttonFace = qint32(0x8000000F);
        dialog->SetBackColor(3, buttonFace);
        QCOMPARE(dialog->GetBackColor(3), buttonFace);

        dialog->SetFontName(2, "Noto Serif CJK SC");
        dialog->SetFontSize(2, "10.5");
        QCOMPARE(dialog->GetFontName(2), QString("Noto Serif CJK SC"));
        QCOMPARE(dialog->GetFontSize(2), QString("10.5"));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(txtFont(2)->text(), QString("Noto Serif CJK SC 10.5号"));

        dialog->SetMusicName("/music/a.mid");
        QCOMPARE(dialog->GetMusicName().toString(), QString("/music/a.mid"));
        QVERIFY(chkMusic()->isChecked());
        QVERIFY(cmdSearch()->isEnabled());
        QCOMPARE(txtMusic()->text(), QString("/music/a.mid"));
        QVERIFY(cmdApply()->isEnabled());
    }

    void choosingAFontAndItsColour()
    {
        fillAsTheMainWindowDoes();
        QFont chosen("Noto Sans CJK SC");
        chosen.setPointSizeF(10.5);
        library->choosers.fonts << chosen;
        library->choosers.colours << QColor(0, 0, 255);
        test::clickButton(dialog.get(), "cmdFont_3");
        QCOMPARE(txtFont(3)->text(), QString("Noto Sans CJK SC 10.5号"));
        QCOMPARE(dialog->GetFontName(3), QString("Noto Sans CJK SC"));
        QCOMPARE(dialog->GetFontSize(3), QString("10.5"));
        QCOMPARE(dialog->GetFontColor(3), qint32(0xFF0000));
        QVERIFY(cmdApply()->isEnabled());
        // Whole sizes are written without a decimal part.
        QCOMPARE(frmOptions::sizeText(12), QString("12"));

        // Cancelled: nothing changes, not even the pending flag.
        cmdApply()->setEnabled(false);
        test::clickButton(dialog.get(), "cmdFont_1");
        QCOMPARE(dialog->GetFontName(1), QString("宋体"));
        QVERIFY(!cmdApply()->isEnabled());
    }

    void choosingBackgroundsByMouseAndKeyboard()
    {
        fillAsTheMainWindowDoes();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        SSTab()->setCurrentIndex(1);
        library->choosers.colours << QColor(192, 224, 255);
        QTest::mouseDClick(picColor(2), Qt::LeftButton);
        QCOMPARE(dialog->GetBackColor(2), PaleBlue);
        QCOMPARE(picColor(2)->colour(), QColor(192, 224, 255));
        QVERIFY(cmdApply()->isEnabled());
        library->choosers.colours << QColor(0, 255, 0);
        picColor(0)->setFocus();
        QTest::keyClick(picColor(0), Qt::Key_Space);
        QCOMPARE(dialog->GetBackColor(0), Green);
        // Cancelled: as it was.
        cmdApply()->setEnabled(false);
        QTest::keyClick(picColor(0), Qt::Key_Return);
        QCOMPARE(dialog->GetBackColor(0), Green);
        QVERIFY(!cmdApply()->isEnabled());
    }

    void choosingMusic()
    {
        fillAsTheMainWindowDoes();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        SSTab()->setCurrentIndex(2);
        QVERIFY(!cmdSearch()->isEnabled());
        QTest::mouseClick(chkMusic(), Qt::LeftButton, {}, QPoint(6, chkMusic()->height() / 2));
        QVERIFY(cmdSearch()->isEnabled());
        QVERIFY(cmdApply()->isEnabled());
        cmdApply()->setEnabled(false);
        // Cancelled: nothing to apply.
        test::clickButton(dialog.get(), "cmdSearch");
        QVERIFY(!cmdApply()->isEnabled());
        library->choosers.files << "/music/茉莉花.mid";
        test::clickButton(dialog.get(), "cmdSearch");
        QCOMPARE(dialog->GetMusicName().toString(), QString("/music/茉莉花.mid"));
        QCOMPARE(txtMusic()->text(), QString("/music/茉莉花.mid"));
        QVERIFY(cmdApply()->isEnabled());
        // Unchecked: no music, the name stays shown.
        QTest::mouseClick(chkMusic(), Qt::LeftButton, {}, QPoint(6, chkMusic()->height() / 2));
        QVERIFY(dialog->GetMusicName().toString().isEmpty());
        QVERIFY(!cmdSearch()->isEnabled());
        QCOMPARE(txtMusic()->text(), QString("/music/茉莉花.mid"));
        // Ticked again: the tune shown plays, without choosing it anew.
        QTest::mouseClick(chkMusic(), Qt::LeftButton, {}, QPoint(6, chkMusic()->height() / 2));
        QCOMPARE(dialog->GetMusicName().toString(), QString("/music/茉莉花.mid"));
    }

    // Where no sound can be made (no sound device), a tune newly chosen is told to
    // be silent, naming it; a file that cannot be read is told as such.
    void musicThatCannotPlayIsTold()
    {
        dialog.reset();
        frmMain window(library->services(), std::make_unique<SilentMusicBackend>());
        window.Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString tune = library->folder.filePath("tune.mid");
        {
            QFile file(tune);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("MThd");
        }
        msg::Recorder boxes;
        for (const QString& chosen : {tune, library->folder.filePath("missing.mid")}) {
            library->choosers.files << chosen;
            test::whenModalShows([&](QWidget* shown) {
                test::named<QTabWidget>(shown, "SSTab")->setCurrentIndex(2);
                auto* chkMusic = test::named<QCheckBox>(shown, "chkMusic");
                if (chkMusic->isChecked())
                    QTest::mouseClick(chkMusic, Qt::LeftButton, {}, QPoint(6, chkMusic->height() / 2));
                QTest::mouseClick(chkMusic, Qt::LeftButton, {}, QPoint(6, chkMusic->height() / 2));
                test::clickButton(shown, "cmdSearch");
                test::clickButton(shown, "cmdOK");
            });
            window.BarMain_ToolClick("mnuOptions");
        }
        QCOMPARE(boxes.texts(), QStringList({QString("无法打开声音输出设备，背景音乐“%1”没有播放。").arg(tune),
                                             QString("无法读取音乐文件“%1”，背景音乐没有播放。")
                                                 .arg(library->folder.filePath("missing.mid"))}));
    }

    void applyOkAndCancel()
    {
        fillAsTheMainWindowDoes();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QSignalSpy changed(dialog.get(), &frmOptions::OptionChanged);
        // OK with nothing pending hides without a report.
        test::clickButton(dialog.get(), "cmdOK");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(changed.count(), 0);

        dialog->show();
        library->choosers.colours << QColor(255, 0, 0);
        picColor(1)->setFocus();
        QTest::keyClick(picColor(1), Qt::Key_Return);
        test::clickButton(dialog.get(), "cmdApply");
        QCOMPARE(changed.count(), 1);
        QVERIFY(!cmdApply()->isEnabled());
        QVERIFY(dialog->isVisible());

        library->choosers.colours << QColor(0, 255, 0);
        QTest::keyClick(picColor(1), Qt::Key_Return);
        test::clickButton(dialog.get(), "cmdOK");
        QCOMPARE(changed.count(), 2);
        QVERIFY(!dialog->isVisible());

        dialog->show();
        library->choosers.colours << QColor(0, 0, 255);
        picColor(1)->setFocus();
        QTest::keyClick(picColor(1), Qt::Key_Return);
        test::clickButton(dialog.get(), "cmdCancel");
        QCOMPARE(changed.count(), 2);
        QVERIFY(!dialog->isVisible());
        // The close box hides too.
        dialog->show();
        dialog->close();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(changed.count(), 2);
    }

    // ---- With the main window ----

    void theMainWindowChangesOnApply()
    {
        dialog.reset();
        test::MainWindowHarness h;
        frmMain* form = h.form.get();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        h.musicLog.clear();
        QFont chosen("Noto Serif CJK SC");
        chosen.setPointSizeF(10.5);
        h.choosers.fonts << chosen;
        h.choosers.colours << QColor(128, 0, 0) << QColor(255, 255, 224);
        h.choosers.files << h.folder.filePath("music/送别.mid");
        QString musicBefore;
        test::whenModalShows([&](QWidget* shown) {
            auto* options = static_cast<frmOptions*>(shown);
            // What the window holds, by area: the list is background 0 and font 1.
            QCOMPARE(options->GetBackColor(0), qint32(16777215));
            QCOMPARE(options->GetFontSize(4), QString("9"));
            test::clickButton(shown, "cmdFont_3");
            auto* tabs = test::named<QTabWidget>(shown, "SSTab");
            auto* chkMusic = test::named<QCheckBox>(shown, "chkMusic");
            tabs->setCurrentIndex(1);
            auto* picColor0 = test::named<ColorSwatch>(shown, "picColor_0");
            picColor0->setFocus();
            QTest::keyClick(picColor0, Qt::Key_Return);
            tabs->setCurrentIndex(2);
            QTest::mouseClick(chkMusic, Qt::LeftButton, {}, QPoint(6, chkMusic->height() / 2));
            test::clickButton(shown, "cmdSearch");
            test::clickButton(shown, "cmdApply");
            // At once, with the dialog still open.
            musicBefore = h.musicLog.join(",");
            QCOMPARE(test::txtPoemDetail(form)->font().pointSizeF(), 10.5);
            test::clickButton(shown, "cmdCancel");
        });
        form->BarMain_ToolClick("mnuOptions");
        QCOMPARE(test::txtPoemDetail(form)->font().family(), QString("Noto Serif CJK SC"));
        QCOMPARE(frmMain::foreColor(test::txtPoemDetail(form)), colours::fromQColor(QColor(128, 0, 0)));
        QCOMPARE(frmMain::backColor(test::lvwPoem(form)), colours::fromQColor(QColor(255, 255, 224)));
        // Drawn at once, as the fonts are, not after a restart.
        const QImage drawn = test::lvwPoem(form)->viewport()->grab().toImage();
        QCOMPARE(QColor(drawn.pixel(drawn.width() - 4, drawn.height() - 4)), QColor(255, 255, 224));
        // The music starts again with the new tune.
        QCOMPARE(musicBefore, "open " + h.folder.filePath("music/送别.mid") + ",play");

        // It reaches the store at shutdown, 10.5 as 10.5.
        form->SaveSettings();
        h.settings->sync();
        SettingsStore store(h.folder.filePath("settings.ini"));
        QCOMPARE(store.GetSetting("PoemSize", "-"), QString("10.5"));
        QCOMPARE(store.GetSetting("PoemFont", "-"), QString("Noto Serif CJK SC"));
        QCOMPARE(store.GetSetting("NameBackColor", "-"), QString::number(colours::fromQColor(QColor(255, 255, 224))));
        QCOMPARE(store.GetSetting("MusicFile", "-"), h.folder.filePath("music/送别.mid"));
        form->setFontSize(test::txtPoemNote(form), store.GetSetting("PoemSize", "9"));
        QCOMPARE(test::txtPoemNote(form)->font().pointSizeF(), 10.5);
    }

    void theMusicLoopsAndRestarts()
    {
        dialog.reset();
        test::MainWindowHarness h;
        frmMain* form = h.form.get();
        const auto chooseTune = [&] {
            h.settings->SaveSetting("MusicFile", "/music/a.mid");
            form->LoadSettings();
        };
        chooseTune();
        h.musicLog.clear();
        form->StartMusic();
        form->MusicPlayer_Done(2);
        form->MusicPlayer_Done(1);
        form->mOptionForm_OptionChanged();
        QCOMPARE(h.musicLog, QStringList({"open /music/a.mid", "play", "rewind", "play", "stop", "close"}));
        // The options reported no music: the tune stops for good.
        h.musicLog.clear();
        chooseTune();
        form->StartMusic();
        test::optionsDialog(form)->SetMusicName("");
        form->mOptionForm_OptionChanged();
        QCOMPARE(h.musicLog, QStringList({"open /music/a.mid", "play", "stop", "close"}));
        form->SaveSettings();
        QVERIFY(h.settings->GetSetting("MusicFile", "-").isEmpty());
    }
};

QTEST_MAIN(tst_Options)
#include "tst_options.moc"
