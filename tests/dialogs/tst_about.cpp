// The About dialog as the user meets it: from the Help menu, read, the address
// clicked or chosen by keyboard, closed by its button, Enter or Escape.
#include "DialogDriver.h"
#include "MainWindowHarness.h"
#include "Version.h"
#include "dialogs/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "tolvarin/Tolvarin.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QPointer>
#include <QtTest>

using namespace qelvane;

class tst_About : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LibraryFixture> library;
    std::unique_ptr<frmAbout> about;

    QLabel* label(const char* name) { return test::named<QLabel>(about.get(), name); }
    tolvarin::Tolvarin* cmdOK() { return test::named<tolvarin::Tolvarin>(about.get(), "cmdOK"); }

    void open()
    {
        about = std::make_unique<frmAbout>(library->services());
        about->show();
        QVERIFY(QTest::qWaitForWindowActive(about.get()));
    }

private slots:
    void init()
    {
        library = std::make_unique<test::LibraryFixture>();
        open();
    }
    void cleanup()
    {
        about.reset();
        library.reset();
    }

    void whatItShows()
    {
        QCOMPARE(label("lblVersion")->text(),
                 QString("%1.%2.%3").arg(version::Major).arg(version::Minor).arg(version::Revision));
        QCOMPARE(frmAbout::versionText(), QString("1.0.0"));
        QCOMPARE(label("lblTips_0")->text(), QString("产品版本:"));
        QCOMPARE(label("lblTips_1")->text(), QString("发布类型:"));
        QCOMPARE(label("lblTips_2")->text(), QString("发布日期:"));
        QCOMPARE(label("lblTips_7")->text(), QString("E-Mail:"));
        QVERIFY(!about->findChild<QLabel*>("lblTips_3"));
        QCOMPARE(label("Label1")->text(), QString("Qelvane 诗词库"));
        QCOMPARE(cmdOK()->Caption(), QString("确定(&O)"));
        // Every line fits: nothing is cut off at the size the dialog opens with.
        for (const char* name : {"Label1", "lblVersion", "lblType", "lblDate", "lblEmail"}) {
            QLabel* shown = label(name);
            QVERIFY2(shown->width() >= shown->sizeHint().width(), name);
        }
        QVERIFY(cmdOK()->width() >= 75 && cmdOK()->height() >= 23);
        // A window manager's title bar shows the whole title beside its buttons.
        QFont titleFont = QApplication::font();
        titleFont.setBold(true);
        const int title = QFontMetrics(titleFont).horizontalAdvance(about->windowTitle());
        QVERIFY2(about->width() >= title + 100, qPrintable(QString("%1 for a title of %2").arg(about->width()).arg(title)));
    }

    void theAddressOpensAMail()
    {
        QLabel* lblEmail = label("lblEmail");
        // The focus starts on the button.
        QCOMPARE(QApplication::focusWidget(), cmdOK());
        QTest::mouseClick(lblEmail, Qt::LeftButton);
        QCOMPARE(library->opener.opened, QList<QUrl>({QUrl("mailto:qelvane@example.org")}));
        QCOMPARE(library->opener.opened.first().toString(), QString("mailto:") + lblEmail->text());
        // By keyboard: Tab from the button reaches the address.
        cmdOK()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), lblEmail);
        QTest::keyClick(lblEmail, Qt::Key_Return);
        QCOMPARE(library->opener.opened.size(), 2);
        // A screen reader sees a link it can press.
        QAccessibleInterface* link = QAccessible::queryAccessibleInterface(lblEmail);
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), QString("qelvane@example.org"));
        link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(library->opener.opened.size(), 3);
        library->opener.opened.removeLast();
        // Nothing is said when no mail program answers.
        library->opener.answer = false;
        QTest::keyClick(lblEmail, Qt::Key_Space);
        QCOMPARE(library->opener.opened.size(), 3);
        QVERIFY(about->isVisible());
    }

    void closedByItsButtonEnterAndEscape_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click") << "click";
        QTest::newRow("access key") << "access key";
        QTest::newRow("enter") << "enter";
        QTest::newRow("escape") << "escape";
    }

    void closedByItsButtonEnterAndEscape()
    {
        QFETCH(QString, how);
        if (how == "click")
            test::clickButton(about.get(), "cmdOK");
        else if (how == "access key")
            QTest::keyClick(about.get(), Qt::Key_O, Qt::AltModifier);
        else if (how == "enter")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!about->isVisible());
        QVERIFY(library->opener.opened.isEmpty());
    }

    void itStaysUsableWhenResizedOrWithLargerFonts()
    {
        about->resize(10, 10);
        QVERIFY(about->width() >= about->minimumSizeHint().width());
        QFont large = about->font();
        large.setPointSize(large.pointSize() * 2);
        about->setFont(large);
        about->adjustSize();
        tolvarin::Tolvarin* button = cmdOK();
        QLabel* lblEmail = label("lblEmail");
        QVERIFY(button->width() >= button->sizeHint().width());
        QVERIFY(lblEmail->width() >= lblEmail->sizeHint().width());
        QVERIFY(button->geometry().bottom() <= about->height());
    }

    void fromTheHelpMenu()
    {
        about.reset();
        test::MainWindowHarness h;
        QPointer<QWidget> shown;
        QString parentName;
        test::whenModalShows([&](QWidget* dialog) {
            shown = dialog;
            parentName = dialog->parentWidget() ? dialog->parentWidget()->objectName() : QString();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        h.form->BarMain_ToolClick("mnuAbout");
        QCOMPARE(parentName, QString("frmMain"));
        // Closed, it is gone.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(shown.isNull());
    }
};

QTEST_MAIN(tst_About)
#include "tst_about.moc"
