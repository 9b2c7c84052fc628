// The button as a Qt host meets it: in a uic-compiled form and its layout, clicked by
// mouse and keyboard, disabled or restyled through QWidget, read by a screen reader.
#include "ControlTestSupport.h"
#include "UserControl1.h"
#include "ui_ButtonForm.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QDialog>
#include <QLineEdit>
#include <QMetaProperty>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>
#include <stdexcept>

using namespace tolvarin;
using tolvarin::test::internals;

namespace {

class ButtonForm : public QDialog {
public:
    ButtonForm() { ui.setupUi(this); }
    Ui::ButtonForm ui;
};

bool isGrey(QRgb pixel)
{
    return qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel);
}

// The box of what is drawn on the face inside its 3-pixel frame: the pixels that are
// not the face colour (the caption's strokes, the icon).
QRect inkOnFace(Tolvarin* button)
{
    const QImage drawn = button->grab().toImage();
    const QRgb face = drawn.pixel(3, 3);
    QRect ink;
    for (int y = 3; y < drawn.height() - 3; ++y)
        for (int x = 3; x < drawn.width() - 3; ++x)
            if (drawn.pixel(x, y) != face)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace

class tst_TolvarinWidget : public QObject {
    Q_OBJECT
    std::unique_ptr<ButtonForm> form;

private slots:
    void init()
    {
        SystemColors::reset();
        form = std::make_unique<ButtonForm>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() { form.reset(); }

    // ---- In a form and its layout ----

    void theFormGivesCaptionsLooksAndSizes()
    {
        Ui::ButtonForm& ui = form->ui;
        QCOMPARE(ui.cmdOK->Caption(), QString("确定(&O)"));
        QCOMPARE(int(ui.cmdOK->Appearance()), int(Tolvarin::TVRN_Solid));
        QCOMPARE(int(ui.cmdHelp->Style()), int(Tolvarin::TVRN_SysColorPopup));
        QVERIFY(!ui.cmdCancel->ShowFocus());
        for (Tolvarin* b : {ui.cmdOK, ui.cmdCancel, ui.cmdHelp}) {
            QVERIFY2(b->height() >= 23, qPrintable(b->objectName()));
            QVERIFY2(b->width() >= 75, qPrintable(b->objectName()));
            // The caption fits inside the button it was given.
            QVERIFY(internals(b)->captionPos().x() >= 0);
            QVERIFY(internals(b)->captionPos().x() + internals(b)->captionSize().width() <= b->width());
            QVERIFY(internals(b)->captionSize().height() <= b->height());
        }
        // The larger font of the third button makes it taller than the others.
        QVERIFY(ui.cmdHelp->sizeHint().height() > ui.cmdOK->sizeHint().height());
        QCOMPARE(ui.cmdHelp->Font().pointSize(), 14);

        // Disabled in the form: disabled face, no click.
        QVERIFY(!ui.cmdCancel->isEnabled());
        QCOMPARE(internals(ui.cmdCancel)->faceState(), int(Tolvarin::Disabled));
        QSignalSpy clicks(ui.cmdCancel, &Tolvarin::Click);
        QTest::mouseClick(ui.cmdCancel, Qt::LeftButton);
        QVERIFY(clicks.isEmpty());
    }

    void theSizeHintMakesRoomForIconAndCaption()
    {
        Tolvarin* b = form->ui.cmdOK;
        const QSize plain = b->sizeHint();
        QVERIFY(plain.width() >= 75 && plain.height() >= 23);
        b->setCaption("一个长得多的按钮标题(&L)");
        QVERIFY(b->sizeHint().width() > plain.width());
        const QSize withCaption = b->sizeHint();
        b->setICON(test::squareIcon());
        b->setIconAlign(Tolvarin::TVRN_Left);
        QVERIFY(b->sizeHint().width() > withCaption.width());
        QVERIFY(b->sizeHint().width() >= 5 + 16 + 2 + internals(b)->captionSize().width() + 5);
        QVERIFY(b->minimumSizeHint().width() <= b->sizeHint().width());
    }

    void bothWaysOfCreatingGiveTheSameControl()
    {
        QWidget host;
        host.setObjectName("host");
        auto* linked = new Tolvarin(&host);
        QWidget* byName = TolvarinCreateControl("TolvarinCtl.Tolvarin", &host);
        QVERIFY(byName);
        const QMetaObject* meta = &Tolvarin::staticMetaObject;
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (QByteArray(property.name()) == "hWnd")
                continue;
            const QVariant expected = property.read(linked);
            if (expected.metaType() == QMetaType::fromType<QPixmap>())
                QVERIFY(property.read(byName).value<QPixmap>().isNull() && expected.value<QPixmap>().isNull());
            else
                QCOMPARE(property.read(byName), expected);
        }
        QCOMPARE(int(linked->IconAlign()), 0);

        // A caption from the host's name once the object has one, until one is given.
        byName->setObjectName("cmdFind");
        QCOMPARE(byName->property("Caption").toString(), QString("cmdFind"));
        linked->setCaption("查找(&F)");
        linked->setObjectName("cmdOther");
        QCOMPARE(linked->Caption(), QString("查找(&F)"));
    }

    void aHighDpiIconIsLaidOutInLogicalPixels()
    {
        Tolvarin* b = form->ui.cmdOK;
        b->resize(75, 23);
        QPixmap sharp = test::squareIcon().scaled(32, 32);
        sharp.setDevicePixelRatio(2);
        b->setICON(sharp);
        b->setIconAlign(Tolvarin::TVRN_Right);
        QCOMPARE(internals(b)->restingIcon(), QPoint(75 - 16 - 5, 4));
        QCOMPARE(internals(b)->userControl11()->size(), QSize(16, 16));
    }

    // ---- Mouse and keyboard ----

    void clickedByMouseAndKeys()
    {
        Tolvarin* b = form->ui.cmdOK;
        QSignalSpy clicks(b, &Tolvarin::Click);
        QSignalSpy ups(b, &Tolvarin::MouseUp);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(ups.count(), 1);
        // On the caption too.
        QTest::mouseClick(b, Qt::LeftButton, {}, internals(b)->captionPos().toPoint() + QPoint(2, 2));
        QCOMPARE(clicks.count(), 2);
        // A release away from the button is no click.
        QTest::mousePress(b, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(b->width() + 40, 3));
        QCOMPARE(clicks.count(), 2);

        b->setFocus();
        QTest::keyClick(b, Qt::Key_Space);
        QCOMPARE(clicks.count(), 3);
        QTest::keyClick(b, Qt::Key_Return);
        QCOMPARE(clicks.count(), 4);
        QTest::keyClick(form.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(clicks.count(), 5);
    }

    void escapeReachesTheDialog()
    {
        Tolvarin* b = form->ui.cmdOK;
        b->setFocus();
        QSignalSpy keys(b, &Tolvarin::KeyDown);
        QTest::keyClick(b, Qt::Key_Escape);
        // The button reported the key, and the dialog closed on it.
        QCOMPARE(keys.count(), 1);
        QCOMPARE(keys.at(0).at(0).toInt(), 27);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
    }

    void aClickHandlerMayDeleteTheDialog_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("mouse") << "mouse";
        QTest::newRow("mouse on the caption") << "caption";
        QTest::newRow("space") << "space";
        QTest::newRow("enter") << "enter";
        QTest::newRow("access key") << "access key";
    }

    void aClickHandlerMayDeleteTheDialog()
    {
        QFETCH(QString, how);
        QPointer<ButtonForm> dialog = form.release();
        Tolvarin* b = dialog->ui.cmdOK;
        int clicks = 0;
        connect(b, &Tolvarin::Click, this, [&] {
            ++clicks;
            delete dialog.data();
        });
        b->setFocus();
        if (how == "mouse")
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(3, 3));
        else if (how == "caption")
            QTest::mouseClick(b->findChild<QWidget*>("lbl"), Qt::LeftButton, {}, QPoint(2, 2));
        else if (how == "space")
            QTest::keyClick(b, Qt::Key_Space);
        else if (how == "enter")
            QTest::keyClick(b, Qt::Key_Return);
        else
            QTest::keyClick(dialog.data(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(clicks, 1);
        QVERIFY(dialog.isNull());
    }

    void theHoverFaceDoesNotStick()
    {
        test::ScriptedProbe probe;
        Tolvarin* b = form->ui.cmdOK;
        probe.cursor = QPoint(10, 10);
        probe.focus = b;
        internals(b)->UserControl_MouseMove(0, 0, 10, 10);
        internals(b)->Timer1_Timer();
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Hover));
        // The focus leaves while the cursor is over it: the hover stays, and so does the
        // timer that takes it back once the cursor is gone.
        probe.focus = nullptr;
        internals(b)->UserControl_ExitFocus();
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Hover));
        probe.cursor = QPoint(300, 300);
        QVERIFY(internals(b)->timerRunning());
        internals(b)->Timer1_Timer();
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Normal));

        // Leaving the widget ends the hover at once.
        probe.cursor = QPoint(10, 10);
        internals(b)->UserControl_MouseMove(0, 0, 10, 10);
        internals(b)->Timer1_Timer();
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Hover));
        QSignalSpy outs(b, &Tolvarin::MouseOut);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(b, &leave);
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Normal));
        QCOMPARE(outs.count(), 1);
        QVERIFY(!internals(b)->mouseInside());
    }

    void spaceHeldWhileTheFocusMovesIsForgotten()
    {
        test::ScriptedProbe probe;
        Tolvarin* b = form->ui.cmdOK;
        probe.focus = b;
        internals(b)->UserControl_EnterFocus();
        internals(b)->UserControl_KeyDown(32, 0);
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Pressed));
        probe.focus = form->ui.txtName;
        internals(b)->UserControl_ExitFocus();
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Normal));
        // With Space no longer counted as held, hovering starts the timer again.
        internals(b)->UserControl_MouseMove(0, 0, 5, 5);
        QVERIFY(internals(b)->timerRunning());
    }

    // ---- QWidget's own state is the control's ----

    void enabledThroughQWidgetAndTheParent()
    {
        Tolvarin* b = form->ui.cmdOK;
        QSignalSpy changes(b, &Tolvarin::PropertyChanged);
        b->setEnabled(false);
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Disabled));
        QVERIFY(!b->property("Enabled").toBool());
        QVERIFY(changes.contains(QVariantList{QString("Enabled")}));
        b->setProperty("Enabled", true);
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Normal));

        // A disabled parent disables the face; the stored flag stays the button's own.
        form->setEnabled(false);
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Disabled));
        PropertyBag bag;
        b->WriteProperties(bag);
        QVERIFY(!bag.contains("Enabled"));
        form->setEnabled(true);
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Normal));
        QSignalSpy clicks(b, &Tolvarin::Click);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(clicks.count(), 1);
    }

    void fontThroughQWidget()
    {
        Tolvarin* b = form->ui.cmdOK;
        const int before = internals(b)->captionSize().height();
        QFont big = b->font();
        big.setPointSize(20);
        b->setFont(big);
        QCOMPARE(b->Font().pointSize(), 20);
        QVERIFY(internals(b)->captionSize().height() > before);
        // The caption is placed for the new size.
        QCOMPARE(internals(b)->captionPos().y(), (b->height() - internals(b)->captionSize().height()) / 2.0);
        // The ambient font: a button with no font of its own follows its parent's.
        Tolvarin* inherits = form->ui.cmdCancel;
        QFont parentFont = form->font();
        parentFont.setPointSize(18);
        form->setFont(parentFont);
        QCOMPARE(inherits->Font().pointSize(), 18);
    }

    void aPaletteChangeRepaints()
    {
        Tolvarin* b = form->ui.cmdOK;
        QPalette palette = b->palette();
        palette.setColor(QPalette::Button, QColor(10, 200, 30));
        b->setPalette(palette);
        QCOMPARE(test::at(internals(b)->surface(), b->width() / 2, 2), QColor(10, 200, 30));
    }

    // ---- What the classic order got wrong ----

    void aDisabledButtonKeepsItsGreyIcon()
    {
        Tolvarin* b = form->ui.cmdHelp;
        b->setICON(test::squareIcon(QColor(255, 0, 0)));
        b->setEnabled(false);
        const auto iconCentre = [b] { return internals(b)->userControl11()->image().pixel(8, 8); };
        QVERIFY(isGrey(iconCentre()));
        b->resize(b->width() + 20, b->height() + 4);
        QVERIFY(isGrey(iconCentre()));
        b->setCaption("另一个标题");
        QVERIFY(isGrey(iconCentre()));
        b->setStyle(Tolvarin::TVRN_SysCplorFlat);
        QVERIFY(isGrey(iconCentre()));
        b->setEnabled(true);
        QCOMPARE(QColor(iconCentre()), QColor(255, 0, 0));
    }

    // A disabled button lays out its caption as an enabled one does: after a resize, a
    // new caption and a larger font, the drawn caption stands in the middle.
    void aDisabledButtonCentresItsCaption()
    {
        Tolvarin* b = form->ui.cmdCancel;
        b->setEnabled(false);
        const auto centred = [b] {
            const QRect ink = inkOnFace(b);
            return !ink.isEmpty() && qAbs(ink.center().x() - b->width() / 2) <= 2;
        };
        b->resize(b->width() + 80, b->height() + 10);
        QVERIFY2(
            centred(),
            qPrintable(QString("ink %1..%2 on %3").arg(inkOnFace(b).left()).arg(inkOnFace(b).right()).arg(b->width())));
        b->setCaption("一个更长的标题");
        QVERIFY(centred());
        QFont larger = b->font();
        larger.setPointSize(16);
        b->setFont(larger);
        b->resize(b->sizeHint().width() + 40, b->sizeHint().height());
        QVERIFY(centred());
        QVERIFY(inkOnFace(b).height() > 12);
    }

    // An icon without a caption stands in the middle of the face.
    void anIconWithoutACaptionIsCentred()
    {
        Tolvarin* b = form->ui.cmdHelp;
        b->setCaption(QString());
        b->setICON(test::squareIcon(QColor(255, 0, 0)));
        b->resize(75, 23);
        const QImage drawn = b->grab().toImage();
        QRect red;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (QColor(drawn.pixel(x, y)) == QColor(255, 0, 0))
                    red |= QRect(x, y, 1, 1);
        QVERIFY(!red.isEmpty());
        QVERIFY2(qAbs(red.center().x() - b->width() / 2) <= 1, qPrintable(QString::number(red.center().x())));
    }

    // Every property the control writes tells its own notification, once per change.
    void eachPropertyNotifies()
    {
        Tolvarin b;
        const QMetaObject* meta = b.metaObject();
        const QHash<QString, QVariant> changes = {{"Style", 2},
                                                  {"ICOMaskColor", 0x00112233u},
                                                  {"MousePointer", 3},
                                                  {"MouseIcon", QPixmap(test::squareIcon())},
                                                  {"ICON", QPixmap(test::squareIcon())},
                                                  {"IconAlign", 2},
                                                  {"Appearance", 1},
                                                  {"FR", 5},
                                                  {"Caption", "新标题"},
                                                  {"ShowFocus", false},
                                                  {"DisabledNewStyleB", true},
                                                  {"DisabledNewStyle", false},
                                                  {"Enabled", false}};
        for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
            const QMetaProperty property = meta->property(meta->indexOfProperty(qPrintable(it.key())));
            QVERIFY2(property.hasNotifySignal(), qPrintable(it.key()));
            QSignalSpy spy(&b, property.notifySignal());
            QVERIFY(b.setProperty(qPrintable(it.key()), it.value()));
            QVERIFY2(spy.count() >= 1, qPrintable(it.key()));
        }
        QSignalSpy font(&b, &Tolvarin::FontChanged);
        QFont larger = b.font();
        larger.setPointSize(larger.pointSize() + 3);
        b.setFont(larger);
        QVERIFY(font.count() >= 1);
    }

    // The arrow keys move the focus from button to button, as between push buttons.
    void arrowKeysMoveTheFocus()
    {
        Ui::ButtonForm& ui = form->ui;
        ui.cmdOK->setFocus();
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ui.cmdOK));
        QWidget* next = ui.cmdOK->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisible() || !next->isEnabled())
            next = next->nextInFocusChain();
        QTest::keyClick(ui.cmdOK, Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), next);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ui.cmdOK));
        QTest::keyClick(ui.cmdOK, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), next);
    }

    // An access key two buttons share moves the focus between them instead of clicking.
    void aSharedAccessKeyMovesTheFocus()
    {
        QDialog dialog;
        auto* first = new Tolvarin(&dialog);
        first->setCaption("打开(&O)");
        auto* second = new Tolvarin(&dialog);
        second->setCaption("其他(&O)");
        second->move(0, 40);
        auto* alone = new Tolvarin(&dialog);
        alone->setCaption("帮助(&H)");
        alone->move(0, 80);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QSignalSpy clicks1(first, &Tolvarin::Click), clicks2(second, &Tolvarin::Click),
            clicks3(alone, &Tolvarin::Click);
        QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused == first || focused == second);
        QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
        QVERIFY(QApplication::focusWidget() != focused);
        QVERIFY(QApplication::focusWidget() == first || QApplication::focusWidget() == second);
        QCOMPARE(clicks1.count() + clicks2.count(), 0);
        // A key of its own still clicks.
        QTest::keyClick(&dialog, Qt::Key_H, Qt::AltModifier);
        QCOMPARE(clicks3.count(), 1);
    }

    void theNormalFaceShowsNoHoverShadow()
    {
        Tolvarin* b = form->ui.cmdHelp;
        b->setICON(test::squareIcon());
        b->setAppearance(Tolvarin::TVRN_SolidB);
        internals(b)->DrawButton(Tolvarin::Hover);
        QVERIFY(internals(b)->userControl12()->isVisibleTo(b));
        internals(b)->RefreshButton();
        QVERIFY(!internals(b)->userControl12()->isVisibleTo(b));
    }

    void aFailedLoadLeavesTheButtonWorking()
    {
        Tolvarin* b = form->ui.cmdOK;
        PropertyBag bag;
        bag.WriteProperty("Caption", "载入");
        bag.WriteProperty("Style", 40000);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, b->ReadProperties(bag));
        QVERIFY(!b->IsLoading());
        b->setCaption("又能用了");
        QCOMPARE(internals(b)->captionPos().x(), (b->width() - internals(b)->captionSize().width()) / 2.0);
    }

    // ---- Screen readers ----

    void aButtonToAssistiveTechnology()
    {
        Tolvarin* b = form->ui.cmdOK;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(b);
        QVERIFY(face);
        QCOMPARE(face->role(), QAccessible::Button);
        QCOMPARE(face->text(QAccessible::Name), QString("确定(O)"));
        QCOMPARE(face->childCount(), 0);
        QAccessibleActionInterface* actions = face->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QSignalSpy clicks(b, &Tolvarin::Click);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicks.count(), 1);

        QAccessibleInterface* cancel = QAccessible::queryAccessibleInterface(form->ui.cmdCancel);
        QVERIFY(cancel->state().disabled);
        QVERIFY(!face->state().disabled);

        // An icon-only button is named by its tool tip.
        b->setCaption("");
        b->setToolTip("确定");
        QCOMPARE(face->text(QAccessible::Name), QString("确定"));
    }
};

QTEST_MAIN(tst_TolvarinWidget)
#include "tst_tolvarin_widget.moc"
