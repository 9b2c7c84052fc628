// Pasting into the text fields of the editors as a reader does, with whatever the
// clipboard holds: text copied from a dialog since closed, or data the fields cannot
// take (no format at all, HTML only, a picture, nothing).
#include "DialogDriver.h"
#include "TestLibrary.h"
#include "dialogs/frmAuthor.h"
#include "dialogs/frmPoem.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QtTest>

using namespace qelvane;

class tst_Paste : public QObject {
    Q_OBJECT
    std::unique_ptr<test::LibraryFixture> library;

    static QString textOf(QWidget* field)
    {
        if (auto* line = qobject_cast<QLineEdit*>(field))
            return line->text();
        return qobject_cast<QPlainTextEdit*>(field)->toPlainText();
    }
    // Every field a reader can type into, of both editors.
    static QList<QWidget*> editableFields(QWidget* dialog)
    {
        QList<QWidget*> fields;
        for (QLineEdit* line : dialog->findChildren<QLineEdit*>())
            if (!line->isReadOnly() && line->isVisible())
                fields << line;
        for (QPlainTextEdit* text : dialog->findChildren<QPlainTextEdit*>())
            if (!text->isReadOnly())
                fields << text;
        return fields;
    }
    static void pasteBothWays(QWidget* field)
    {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
    }

private slots:
    void init() { library = std::make_unique<test::LibraryFixture>(); }
    void cleanup()
    {
        QGuiApplication::clipboard()->clear();
        library.reset();
    }

    void textCopiedInAClosedDialogPastesIntoTheNext()
    {
        {
            frmAuthor author(library->services());
            author.setAddNew(true);
            author.show();
            QVERIFY(QTest::qWaitForWindowExposed(&author));
            auto* biography = author.findChild<QPlainTextEdit*>("txtDetail");
            biography->setFocus();
            test::typeText(biography, "床前明月光");
            QTest::keyClick(biography, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(biography, Qt::Key_C, Qt::ControlModifier);
        }
        frmPoem poem(library->services());
        poem.setAddNew(false);
        poem.show();
        QVERIFY(QTest::qWaitForWindowExposed(&poem));
        const QList<QWidget*> fields = editableFields(&poem);
        QCOMPARE(fields.size(), 3); // title, text, notes
        for (QWidget* field : fields) {
            field->setFocus();
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(textOf(field), QString("床前明月光"));
        }
    }

    // What the clipboard may hold that is no text: each pastes nothing, and the
    // program goes on.
    void dataWithoutTextPastesNothing_data()
    {
        QTest::addColumn<QString>("content");
        QTest::newRow("data of no format") << "none";
        QTest::newRow("an empty clipboard") << "cleared";
        QTest::newRow("HTML only") << "html";
        QTest::newRow("a picture") << "image";
    }
    void dataWithoutTextPastesNothing()
    {
        QFETCH(QString, content);
        if (content == "cleared") {
            QGuiApplication::clipboard()->clear();
        } else {
            auto* data = new QMimeData;
            if (content == "html")
                data->setHtml("<b>粗体</b>");
            if (content == "image")
                data->setImageData(QImage(4, 4, QImage::Format_RGB32));
            QGuiApplication::clipboard()->setMimeData(data);
        }
        frmAuthor author(library->services());
        author.setAddNew(true);
        frmPoem poem(library->services());
        poem.setAddNew(true);
        for (QDialog* dialog : {static_cast<QDialog*>(&author), static_cast<QDialog*>(&poem)}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            for (QWidget* field : editableFields(dialog)) {
                const QString before = textOf(field);
                pasteBothWays(field);
                QCOMPARE(textOf(field), before);
            }
            dialog->hide();
        }
    }
};

QTEST_MAIN(tst_Paste)
#include "tst_paste.moc"
