// The metre-template look-up: by the list, by the typed name with the button or Enter,
// and what it says when there is nothing to show.
#include "DialogDriver.h"
#include "TestLibrary.h"
#include "dialogs/frmQueryFormat.h"
#include "tolvarin/Tolvarin.h"

#include <QAccessible>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QtTest>

using namespace qelvane;

class tst_QueryFormat : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LibraryFixture> library;
    std::unique_ptr<frmQueryFormat> dialog;

    // The dialog's widgets, by their object names.
    QListWidget* lstName() { return test::named<QListWidget>(dialog.get(), "lstName"); }
    QLineEdit* txtName() { return test::named<QLineEdit>(dialog.get(), "txtName"); }
    QPlainTextEdit* txtContent() { return test::named<QPlainTextEdit>(dialog.get(), "txtContent"); }
    tolvarin::Tolvarin* tool(const char* name) { return test::named<tolvarin::Tolvarin>(dialog.get(), name); }
    QString shown() { return txtContent()->toPlainText(); }

    void open()
    {
        dialog = std::make_unique<frmQueryFormat>(library->services());
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    void typeName(const QString& name)
    {
        txtName()->clear();
        test::typeText(txtName(), name);
    }

private slots:
    void init()
    {
        library = std::make_unique<test::LibraryFixture>();
        open();
    }
    void cleanup()
    {
        dialog.reset();
        library.reset();
    }

    void theListAtLoad()
    {
        QCOMPARE(dialog->windowTitle(), QString("诗词格式速查"));
        QCOMPARE(lstName()->count(), 2);
        QCOMPARE(lstName()->item(0)->text(), QString("五言绝句"));
        QCOMPARE(lstName()->item(1)->text(), QString("O'Neill体"));
        QVERIFY(lstName()->selectedItems().isEmpty());
        QVERIFY(shown().isEmpty());
        QVERIFY(txtContent()->isReadOnly());
        // Icon-only buttons, named for the screen reader and the tool tip.
        for (tolvarin::Tolvarin* button : {tool("cmdSearch"), tool("cmdExit")}) {
            QVERIFY((!button->ICON().isNull() && button->IconAlign() != tolvarin::Tolvarin::TVRN_None));
            QVERIFY(button->Caption().isEmpty());
            QVERIFY(!button->toolTip().isEmpty());
            QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), button->toolTip());
        }
    }

    void byTheList()
    {
        QListWidget* list = lstName();
        QListWidgetItem* first = list->item(0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(first).center());
        QCOMPARE(shown(), QString("中仄平平仄，平平仄仄平（韵）。"));
        QVERIFY(txtName()->text().isEmpty());
        // The arrow keys show each template in turn.
        QTest::keyClick(lstName(), Qt::Key_Down);
        QCOMPARE(shown(), QString("a format whose name holds a quote"));
    }

    // A screen reader reads a list's current entry as focused: once the focus leaves the
    // list, no entry is current (the one chosen stays chosen and shown), and coming back
    // makes it current again; the list and the field have names of their own.
    void oneFocusedObjectAtATime()
    {
        QListWidget* list = lstName();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
        QCOMPARE(list->currentRow(), 1);
        QTest::keyClick(list, Qt::Key_Tab);
        QTRY_VERIFY(!list->hasFocus());
        QVERIFY(!list->currentIndex().isValid());
        QCOMPARE(list->selectedItems().value(0), list->item(1));
        QCOMPARE(shown(), QString("a format whose name holds a quote"));
        list->setFocus(Qt::BacktabFocusReason);
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(shown(), QString("a format whose name holds a quote"));
        const auto name = [](QWidget* widget) {
            return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        };
        QVERIFY(name(list) != name(txtName()));
    }

    void byTheTypedName()
    {
        typeName("五言绝句");
        test::clickButton(dialog.get(), "cmdSearch");
        QCOMPARE(shown(), QString("中仄平平仄，平平仄仄平（韵）。"));
        // A quote in the name is looked up like any other character.
        typeName("O'Neill体");
        QTest::keyClick(txtName(), Qt::Key_Return);
        QCOMPARE(shown(), QString("a format whose name holds a quote"));
        QVERIFY(dialog->isVisible());
    }

    void whenThereIsNothingToShow()
    {
        typeName("七言律诗");
        QTest::keyClick(txtName(), Qt::Key_Enter);
        QCOMPARE(shown(), QString("未找到符合条件的结果"));
        typeName("");
        QTest::keyClick(txtName(), Qt::Key_Return);
        QCOMPARE(shown(), QString("未找到符合条件的结果"));
        // A template that is Null shows an empty text.
        test::seed(library->libraryFile, "update ChinaPoemFormat set Content=NULL where FormatName='五言绝句'");
        typeName("五言绝句");
        test::clickButton(dialog.get(), "cmdSearch");
        QCOMPARE(shown(), QString());
    }

    void aTemplateWithoutANameOpensFromTheList()
    {
        test::seed(library->libraryFile, "insert into ChinaPoemFormat values(NULL,'无名的格式')");
        open();
        QListWidget* list = lstName();
        QCOMPARE(list->count(), 3);
        QListWidgetItem* unnamed = list->item(2);
        QCOMPARE(unnamed->text(), QString());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(unnamed).center());
        QCOMPARE(shown(), QString("无名的格式"));
    }

    void theFirstOfSeveralRowsOfAName()
    {
        test::seed(library->libraryFile, "insert into ChinaPoemFormat values('五言绝句','第二个')");
        typeName("五言绝句");
        test::clickButton(dialog.get(), "cmdSearch");
        QCOMPARE(shown(), QString("中仄平平仄，平平仄仄平（韵）。"));
    }

    void closedByItsButton()
    {
        test::clickButton(dialog.get(), "cmdExit");
        QVERIFY(!dialog->isVisible());
    }
};

QTEST_MAIN(tst_QueryFormat)
#include "tst_queryformat.moc"
