// Hover, press, keys and focus, driven tick by tick through scripted readings.
#include "ControlTestSupport.h"

#include <QtTest>

using namespace tolvarin;
using tolvarin::test::internals;

class tst_TolvarinInput : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ScriptedProbe> probe;
    std::unique_ptr<QWidget> window;
    Tolvarin* b = nullptr;
    std::unique_ptr<QSignalSpy> clicks, downs, ups, outs, keyDowns, keyUps, keyPresses;

    void inside() { probe->cursor = QPoint(10, 10); }
    void outside() { probe->cursor = QPoint(200, 10); }
    void hover()
    {
        inside();
        internals(b)->UserControl_MouseMove(0, 0, 10, 10);
        internals(b)->Timer1_Timer();
    }
    int face() const { return internals(b)->faceState(); }

private slots:
    void init()
    {
        test::useClassicColours();
        probe = std::make_unique<test::ScriptedProbe>();
        window = std::make_unique<QWidget>();
        b = new Tolvarin(window.get());
        b->setObjectName("cmdOK");
        b->setGeometry(10, 10, 75, 23);
        b->InitProperties();
        b->setCaption("确定(&O)");
        // As on a shown form: the surface has been shown once.
        internals(b)->UserControl_Show();
        clicks = std::make_unique<QSignalSpy>(b, &Tolvarin::Click);
        downs = std::make_unique<QSignalSpy>(b, &Tolvarin::MouseDown);
        ups = std::make_unique<QSignalSpy>(b, &Tolvarin::MouseUp);
        outs = std::make_unique<QSignalSpy>(b, &Tolvarin::MouseOut);
        keyDowns = std::make_unique<QSignalSpy>(b, &Tolvarin::KeyDown);
        keyUps = std::make_unique<QSignalSpy>(b, &Tolvarin::KeyUp);
        keyPresses = std::make_unique<QSignalSpy>(b, &Tolvarin::KeyPress);
    }
    void cleanup()
    {
        clicks.reset();
        downs.reset();
        ups.reset();
        outs.reset();
        keyDowns.reset();
        keyUps.reset();
        keyPresses.reset();
        window.reset();
        probe.reset();
        SystemColors::reset();
    }

    void hoverComesAndGoes()
    {
        QVERIFY(!internals(b)->timerRunning());
        QSignalSpy moves(b, &Tolvarin::MouseMove);
        hover();
        QVERIFY(internals(b)->timerRunning());
        QCOMPARE(face(), int(Tolvarin::Hover));
        QCOMPARE(moves.count(), 1);
        QCOMPARE(moves.first().at(2).toFloat(), 150.0f);
        outside();
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Normal));
        QCOMPARE(outs->count(), 1);
        // Not focused, face normal, focus never entered: the polling stops.
        QVERIFY(!internals(b)->timerRunning());
    }

    void pressAndReleaseInside()
    {
        hover();
        probe->press(1);
        internals(b)->UserControl_MouseDown(1, 0, 10, 10);
        QCOMPARE(face(), int(Tolvarin::Pressed));
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Pressed));
        probe->release(1);
        internals(b)->UserControl_MouseUp(1, 0, 10, 10);
        QCOMPARE(face(), int(Tolvarin::Pressed));
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Hover));
        QCOMPARE(downs->count(), 1);
        QCOMPARE(downs->first().at(0).toInt(), 1);
        QCOMPARE(downs->first().at(2).toFloat(), 150.0f);
        QCOMPARE(ups->count(), 1);
        QCOMPARE(clicks->count(), 1);
    }

    void aPressSeenFirstByTheTimer()
    {
        hover();
        probe->press(1);
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Pressed));
        // The press event that follows finds the face pressed and reports nothing more.
        internals(b)->UserControl_MouseDown(1, 0, 10, 10);
        QCOMPARE(downs->count(), 1);
    }

    // Repainting the pressed face (a palette change while held) reports no second press,
    // and a MouseDown handler may delete the button.
    void aPressIsReportedOnceAndMayDeleteTheButton()
    {
        hover();
        probe->press(1);
        internals(b)->UserControl_MouseDown(1, 0, 10, 10);
        QCOMPARE(downs->count(), 1);
        b->setPalette(QPalette(Qt::darkGreen));
        internals(b)->DrawButton(Tolvarin::Pressed);
        QCOMPARE(downs->count(), 1);

        probe->release(1);
        internals(b)->UserControl_MouseUp(1, 0, 10, 10);
        hover();
        connect(b, &Tolvarin::MouseDown, b, [this] { delete b; }, Qt::DirectConnection);
        const QPointer<Tolvarin> alive(b);
        probe->press(1);
        internals(b)->Timer1_Timer();
        QVERIFY(!alive);
        b = nullptr;
    }

    void draggingOutWhileHeld_data()
    {
        QTest::addColumn<bool>("focused");
        QTest::addColumn<int>("finally");
        QTest::newRow("focused") << true << int(Tolvarin::Focused);
        QTest::newRow("not focused") << false << int(Tolvarin::Normal);
    }
    void draggingOutWhileHeld()
    {
        QFETCH(bool, focused);
        QFETCH(int, finally);
        hover();
        probe->press(1);
        internals(b)->UserControl_MouseDown(1, 0, 10, 10);
        probe->focus = focused ? b : nullptr;
        outside();
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), focused ? int(Tolvarin::Hover) : int(Tolvarin::Normal));
        probe->release(1);
        internals(b)->UserControl_MouseUp(1, 0, 200, 10);
        QCOMPARE(clicks->count(), 0);
        QCOMPARE(ups->count(), 1);
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), finally);
    }

    void theRightButtonIsReportedByTheTimer()
    {
        // Before any move over the control the timer is not running: nothing is seen.
        inside();
        probe->press(2);
        internals(b)->UserControl_MouseDown(2, 0, 10, 10);
        QCOMPARE(downs->count(), 0);
        probe->release(2);

        hover();
        probe->press(2);
        internals(b)->UserControl_MouseDown(2, 0, 10, 10);
        internals(b)->Timer1_Timer();
        QCOMPARE(downs->count(), 1);
        QCOMPARE(downs->first().at(0).toInt(), 2);
        internals(b)->Timer1_Timer();
        QCOMPARE(downs->count(), 1);
        probe->release(2);
        internals(b)->UserControl_MouseUp(2, 0, 10, 10);
        QCOMPARE(clicks->count(), 0);
        QCOMPARE(face(), int(Tolvarin::Hover));

        probe->press(4);
        internals(b)->Timer1_Timer();
        QCOMPARE(downs->last().at(0).toInt(), 4);
    }

    void theEdgePixelCountsAsInside()
    {
        internals(b)->UserControl_MouseMove(0, 0, 10, 10);
        probe->cursor = QPoint(b->width(), b->height());
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Hover));
        probe->cursor = QPoint(b->width() + 1, 5);
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Normal));
        probe->cursor = QPoint(-1, 5);
        internals(b)->UserControl_MouseMove(0, 0, 10, 10);
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Normal));
        // A release on the edge pixel is a click.
        hover();
        probe->press(1);
        internals(b)->UserControl_MouseDown(1, 0, 10, 10);
        probe->release(1);
        probe->cursor = QPoint(b->width(), 0);
        internals(b)->UserControl_MouseUp(1, 0, 75, 0);
        QCOMPARE(clicks->count(), 1);
    }

    void spaceAndEnter()
    {
        probe->focus = b;
        QTest::keyPress(b, Qt::Key_Space);
        QCOMPARE(face(), int(Tolvarin::Pressed));
        QCOMPARE(keyDowns->count(), 1);
        QCOMPARE(keyDowns->first().at(0).toInt(), 32);
        QCOMPARE(keyPresses->count(), 1);
        QCOMPARE(clicks->count(), 0);
        QTest::keyRelease(b, Qt::Key_Space);
        QCOMPARE(keyUps->count(), 1);
        QCOMPARE(clicks->count(), 1);
        QCOMPARE(face(), int(Tolvarin::Normal));
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Focused));

        QTest::keyClick(b, Qt::Key_Return);
        QCOMPARE(clicks->count(), 2);
        QCOMPARE(keyDowns->last().at(0).toInt(), 13);
        // Another key is reported but clicks nothing.
        QTest::keyClick(b, Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(clicks->count(), 2);
        QCOMPARE(keyDowns->last().at(0).toInt(), 65);
        QCOMPARE(keyDowns->last().at(1).toInt(), 1);
    }

    void holdingSpaceKeepsTheTimerStopped()
    {
        hover();
        QVERIFY(internals(b)->timerRunning());
        internals(b)->UserControl_KeyDown(32, 0);
        QVERIFY(!internals(b)->timerRunning());
        internals(b)->UserControl_MouseMove(0, 0, 12, 12);
        QVERIFY(!internals(b)->timerRunning());
        internals(b)->UserControl_KeyUp(32, 0);
        QVERIFY(internals(b)->timerRunning());
        QCOMPARE(face(), int(Tolvarin::Hover));
    }

    void aDisabledButtonIgnoresSpace()
    {
        b->setEnabled(false);
        internals(b)->UserControl_KeyDown(32, 0);
        QCOMPARE(keyDowns->count(), 0);
        QCOMPARE(face(), int(Tolvarin::Disabled));
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Disabled));
    }

    void focusInAndOut()
    {
        probe->focus = b;
        internals(b)->UserControl_EnterFocus();
        QCOMPARE(face(), int(Tolvarin::Focused));
        QVERIFY(internals(b)->timerRunning());
        probe->focus = nullptr;
        internals(b)->UserControl_ExitFocus();
        QCOMPARE(face(), int(Tolvarin::Normal));
        QVERIFY(!internals(b)->timerRunning());
        // Entering with the cursor over the button keeps the hover look.
        hover();
        probe->focus = b;
        internals(b)->UserControl_EnterFocus();
        QCOMPARE(face(), int(Tolvarin::Hover));
        internals(b)->UserControl_ExitFocus();
        QCOMPARE(face(), int(Tolvarin::Hover));
    }

    void aKeyPressRightAfterALeftPressIsNotReported()
    {
        hover();
        probe->press(1);
        internals(b)->UserControl_MouseDown(1, 0, 10, 10);
        internals(b)->UserControl_KeyPress('x');
        QCOMPARE(keyPresses->count(), 0);
        probe->release(1);
        internals(b)->UserControl_MouseUp(1, 0, 10, 10);
        internals(b)->UserControl_KeyPress('x');
        QCOMPARE(keyPresses->count(), 1);
    }

    void theAccessKeyClicks()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(clicks->count(), 1);
        b->setCaption("关闭(&C)");
        QTest::keyClick(window.get(), Qt::Key_O, Qt::AltModifier);
        QCOMPARE(clicks->count(), 1);
        QTest::keyClick(window.get(), Qt::Key_C, Qt::AltModifier);
        QCOMPARE(clicks->count(), 2);
    }

    void realMouseEvents()
    {
        window->show();
        inside();
        QTest::mouseMove(b, QPoint(10, 10));
        internals(b)->Timer1_Timer();
        QCOMPARE(face(), int(Tolvarin::Hover));
        probe->press(1);
        QTest::mousePress(b, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(face(), int(Tolvarin::Pressed));
        probe->release(1);
        QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(clicks->count(), 1);
        QCOMPARE(downs->count(), 1);
        QCOMPARE(ups->count(), 1);
        internals(b)->Timer1_Timer();
        // A press on the caption is a press on the button, at the caption's offset.
        auto* caption = b->findChild<QWidget*>("lbl");
        probe->press(1);
        QTest::mousePress(caption, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(downs->count(), 2);
        QCOMPARE(downs->last().at(2).toFloat(), float((caption->x() + 1) * 15));
    }

    // A release on the last row or column of the button is inside it and clicks; one a
    // pixel further out (past the classic extra row) does not.
    void aReleaseOnTheEdgeRowClicks_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("clicked");
        QTest::newRow("bottom row") << QPoint(30, 22) << 1;
        QTest::newRow("right column") << QPoint(74, 10) << 1;
        QTest::newRow("bottom right corner") << QPoint(74, 22) << 1;
        QTest::newRow("below") << QPoint(30, 24) << 0;
        QTest::newRow("right of it") << QPoint(76, 10) << 0;
    }
    void aReleaseOnTheEdgeRowClicks()
    {
        QFETCH(QPoint, at);
        QFETCH(int, clicked);
        window->show();
        QCOMPARE(b->size(), QSize(75, 23));
        probe->press(1);
        QTest::mousePress(b, Qt::LeftButton, {}, QPoint(30, 10));
        probe->release(1);
        QTest::mouseRelease(b, Qt::LeftButton, {}, at);
        QCOMPARE(clicks->count(), clicked);
        QCOMPARE(ups->count(), 1);
    }
};

QTEST_MAIN(tst_TolvarinInput)
#include "tst_tolvarin_input.moc"
