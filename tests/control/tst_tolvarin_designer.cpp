// The button's Designer tasks as a designer uses them, on a form that records what is
// written: one change per Apply or colour choice, holding only what the user changed.
#include "TolvarinTaskMenu.h"
#include "tolvarin/PropertyPages.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>
#include <functional>

using namespace tolvarin;

namespace {

// A form that applies what is written to the widget and keeps a line per call.
class RecordingEdits : public FormEdits {
public:
    RecordingEdits(QStringList& log, QList<QWidget*> chosen) : m_log(log), m_chosen(std::move(chosen)) {}

    QList<QWidget*> chosenWidgets() const override { return m_chosen; }
    QWidget* dialogParent() const override { return nullptr; }
    void beginChange(const QString&) override { m_log << "begin"; }
    void write(QWidget* widget, const QString& property, const QVariant& value) override
    {
        m_log << QStringLiteral("%1.%2=%3").arg(widget->objectName(), property, value.toString());
        widget->setProperty(property.toLatin1().constData(), value);
    }
    void endChange() override { m_log << "end"; }

private:
    QStringList& m_log;
    QList<QWidget*> m_chosen;
};

// Runs `answer` on the modal dialog the next action opens.
void whenModal(std::function<void(QWidget*)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        answer(modal);
    });
}

QPushButton* standardButton(QWidget* dialog, QDialogButtonBox::StandardButton which)
{
    return dialog->findChild<QDialogButtonBox*>()->button(which);
}

} // namespace

class tst_TolvarinDesigner : public QObject {
    Q_OBJECT

    QWidget form;
    Tolvarin* first = nullptr;
    Tolvarin* second = nullptr;
    QStringList log;
    std::unique_ptr<TolvarinTaskMenu> menu;

private slots:
    void init()
    {
        first = new Tolvarin(&form);
        first->setObjectName("cmdOK");
        second = new Tolvarin(&form);
        second->setObjectName("cmdCancel");
        auto* label = new QWidget(&form);
        log.clear();
        menu = std::make_unique<TolvarinTaskMenu>(first, nullptr, [this, label](QWidget*) {
            return std::make_unique<RecordingEdits>(log, QList<QWidget*>{second, label});
        });
    }
    void cleanup()
    {
        menu.reset();
        qDeleteAll(form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    }

    void thePagesWriteOneChangePerApply()
    {
        QCOMPARE(menu->taskActions().size(), 2);
        QCOMPARE(menu->preferredEditAction()->text(), QString("编辑属性页..."));
        whenModal([](QWidget* dialog) {
            auto* pages = qobject_cast<PropertyPagesDialog*>(dialog);
            QVERIFY(pages);
            // Chinese whatever the host's language.
            QCOMPARE(standardButton(pages, QDialogButtonBox::Apply)->text(), QString("应用(&A)"));
            QCOMPARE(standardButton(pages, QDialogButtonBox::Cancel)->text(), QString("取消"));
            QTest::keyClick(pages->options()->Combo2, Qt::Key_Down);
            QTest::mouseClick(pages->options()->chkShowFocus, Qt::LeftButton, {}, QPoint(6, 6));
            QTest::mouseClick(standardButton(pages, QDialogButtonBox::Apply), Qt::LeftButton);
            QTest::keyClick(pages->options()->Combo1, Qt::Key_Down);
            QTest::keyClick(pages->options()->Combo1, Qt::Key_Down);
            QTest::mouseClick(standardButton(pages, QDialogButtonBox::Ok), Qt::LeftButton);
        });
        menu->preferredEditAction()->trigger();
        QCOMPARE(log, QStringList({"begin", "cmdOK.Appearance=1", "cmdOK.ShowFocus=false", "end", "begin",
                                   "cmdOK.Style=2", "end"}));
        QCOMPARE(int(first->Appearance()), 1);
        QCOMPARE(int(first->Style()), 2);
        QVERIFY(!first->ShowFocus());
    }

    void theMaskColourIsChosenAsAColourAndStoredAsANumber()
    {
        QAction* colour = menu->taskActions().at(1);
        QCOMPARE(colour->text(), QString("图标屏蔽色..."));
        QColor shown;
        whenModal([&shown](QWidget* dialog) {
            auto* chooser = qobject_cast<QColorDialog*>(dialog);
            QVERIFY(chooser);
            shown = chooser->currentColor();
            chooser->setCurrentColor(QColor(0, 255, 0));
            chooser->accept();
        });
        colour->trigger();
        QCOMPARE(shown, QColor(0, 0, 211));
        QCOMPARE(log, QStringList({"begin", "cmdOK.ICOMaskColor=65280", "end"}));
        QCOMPARE(first->ICOMaskColor(), quint32(0x0000FF00));

        // Cancelled, or the same colour chosen: nothing is written.
        log.clear();
        whenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
        colour->trigger();
        whenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->accept(); });
        colour->trigger();
        QCOMPARE(log, QStringList());
    }
};

QTEST_MAIN(tst_TolvarinDesigner)
#include "tst_tolvarin_designer.moc"
