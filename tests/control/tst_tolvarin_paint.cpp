// The button's face, pixel by pixel, in every scheme and state.
#include "ControlTestSupport.h"
#include "CaptionLabel.h"
#include "UserControl1.h"

#include <QtTest>

using namespace tolvarin;
using tolvarin::test::at;
using tolvarin::test::internals;

class tst_TolvarinPaint : public QObject {
    Q_OBJECT
    std::unique_ptr<test::ScriptedProbe> probe;
    std::unique_ptr<Tolvarin> b;

    const QImage& face() { return internals(b)->surface(); }
    void draw(int style, int state, bool focused = false)
    {
        b->setStyle(style);
        probe->focus = focused ? b.get() : nullptr;
        internals(b)->DrawButton(state);
    }

private slots:
    void init()
    {
        test::useClassicColours();
        probe = std::make_unique<test::ScriptedProbe>();
        b = std::make_unique<Tolvarin>();
        b->setObjectName("cmdOK");
        b->InitProperties();
        b->resize(75, 23);
    }
    void cleanup()
    {
        b.reset();
        probe.reset();
        SystemColors::reset();
    }

    void schemeNETNormalAndFocused()
    {
        draw(0, Tolvarin::Normal);
        for (const QPoint& p :
             {QPoint(0, 0), QPoint(74, 0), QPoint(0, 22), QPoint(74, 22), QPoint(37, 0), QPoint(0, 11)})
            QCOMPARE(at(face(), p.x(), p.y()), QColor(172, 168, 153));
        for (const QPoint& p : {QPoint(1, 1), QPoint(73, 21), QPoint(37, 11)})
            QCOMPARE(at(face(), p.x(), p.y()), QColor(236, 233, 216));

        draw(0, Tolvarin::Focused);
        for (const QPoint& p : {QPoint(0, 0), QPoint(1, 1), QPoint(73, 21), QPoint(74, 22), QPoint(1, 11)})
            QCOMPARE(at(face(), p.x(), p.y()), QColor(0, 0, 0));
        for (const QPoint& p : {QPoint(2, 2), QPoint(72, 20), QPoint(72, 2), QPoint(2, 20)})
            QCOMPARE(at(face(), p.x(), p.y()), QColor(236, 233, 216));
    }

    void schemeNETMixedFills()
    {
        draw(0, Tolvarin::Pressed);
        QCOMPARE(at(face(), 0, 0), QColor(49, 106, 197));
        QCOMPARE(at(face(), 37, 11), QColor(152, 180, 226));
        draw(0, Tolvarin::Hover);
        QCOMPARE(at(face(), 74, 22), QColor(49, 106, 197));
        QCOMPARE(at(face(), 37, 11), QColor(198, 214, 239));
        draw(0, Tolvarin::Disabled);
        QCOMPARE(at(face(), 0, 0), QColor(172, 168, 153));
        QCOMPARE(at(face(), 37, 11), QColor(245, 244, 235));
    }

    void schemeFlat()
    {
        draw(1, Tolvarin::Pressed);
        QCOMPARE(at(face(), 0, 0), QColor(0, 0, 0));
        QCOMPARE(at(face(), 37, 11), QColor(229, 229, 229));
        draw(1, Tolvarin::Hover);
        QCOMPARE(at(face(), 37, 11), QColor(212, 209, 194));
        for (int state : {Tolvarin::Normal, Tolvarin::Disabled, Tolvarin::Focused}) {
            draw(1, state);
            QCOMPARE(at(face(), 1, 1), QColor(236, 233, 216));
            QCOMPARE(at(face(), 74, 22), QColor(0, 0, 0));
        }
        // With the focus: a second dark ring and a shadow rectangle 5 pixels in.
        draw(1, Tolvarin::Normal, true);
        QCOMPARE(at(face(), 1, 1), QColor(0, 0, 0));
        QCOMPARE(at(face(), 73, 21), QColor(0, 0, 0));
        QCOMPARE(at(face(), 2, 2), QColor(236, 233, 216));
        for (const QPoint& p : {QPoint(5, 5), QPoint(69, 5), QPoint(5, 17), QPoint(40, 17), QPoint(69, 10)})
            QCOMPARE(at(face(), p.x(), p.y()), QColor(172, 168, 153));
        QCOMPARE(at(face(), 6, 6), QColor(236, 233, 216));
    }

    void schemePopup()
    {
        draw(2, Tolvarin::Normal);
        QCOMPARE(at(face(), 0, 0), QColor(172, 168, 153));
        QCOMPARE(at(face(), 1, 1), QColor(236, 233, 216));
        draw(2, Tolvarin::Pressed);
        QCOMPARE(at(face(), 0, 0), QColor(0, 0, 0));
        QCOMPARE(at(face(), 1, 1), QColor(113, 111, 100));
        QCOMPARE(at(face(), 73, 21), QColor(113, 111, 100));
        QCOMPARE(at(face(), 2, 2), QColor(236, 233, 216));
        // A raised one-pixel border: light above and left, shadow below and right.
        draw(2, Tolvarin::Hover);
        QCOMPARE(at(face(), 0, 0), QColor(255, 255, 255));
        QCOMPARE(at(face(), 0, 21), QColor(255, 255, 255));
        QCOMPARE(at(face(), 73, 0), QColor(255, 255, 255));
        QCOMPARE(at(face(), 74, 0), QColor(172, 168, 153));
        QCOMPARE(at(face(), 0, 22), QColor(172, 168, 153));
        QCOMPARE(at(face(), 1, 1), QColor(236, 233, 216));
        draw(2, Tolvarin::Hover, true);
        QCOMPARE(at(face(), 0, 0), QColor(172, 168, 153));
        QCOMPARE(at(face(), 1, 1), QColor(255, 255, 255));
        QCOMPARE(at(face(), 1, 21), QColor(172, 168, 153));
        QCOMPARE(at(face(), 72, 1), QColor(255, 255, 255));
        QCOMPARE(at(face(), 73, 1), QColor(172, 168, 153));
        draw(2, Tolvarin::Focused);
        QCOMPARE(at(face(), 1, 1), QColor(172, 168, 153));
        QCOMPARE(at(face(), 2, 2), QColor(236, 233, 216));
    }

    void anUnknownSchemeDrawsNoFrame()
    {
        draw(0, Tolvarin::Pressed);
        const QImage before = face();
        draw(7, Tolvarin::Normal);
        QCOMPARE(face(), before);
    }

    void theFocusRectangle()
    {
        // Inverted dots FR pixels in; only the pressed, hover and focused looks have it.
        draw(0, Tolvarin::Focused, true);
        QCOMPARE(at(face(), 2, 2), QColor(255 - 236, 255 - 233, 255 - 216));
        QCOMPARE(at(face(), 3, 2), QColor(236, 233, 216));
        // The rectangle runs from (FR, FR) up to, not including, (W - FR, H - FR).
        QCOMPARE(at(face(), 72, 20), QColor(255 - 236, 255 - 233, 255 - 216));
        QCOMPARE(at(face(), 71, 20), QColor(236, 233, 216));
        QCOMPARE(at(face(), 72, 2), QColor(255 - 236, 255 - 233, 255 - 216));
        QCOMPARE(at(face(), 72, 3), QColor(236, 233, 216));
        QCOMPARE(at(face(), 72, 4), QColor(255 - 236, 255 - 233, 255 - 216));
        QCOMPARE(at(face(), 10, 10), QColor(236, 233, 216));
        draw(0, Tolvarin::Pressed, true);
        QCOMPARE(at(face(), 2, 2), QColor(255 - 152, 255 - 180, 255 - 226));
        draw(0, Tolvarin::Hover, true);
        QCOMPARE(at(face(), 2, 2), QColor(255 - 198, 255 - 214, 255 - 239));
        for (int state : {Tolvarin::Normal, Tolvarin::Disabled}) {
            draw(0, state, true);
            QCOMPARE(at(face(), 2, 2), state == Tolvarin::Normal ? QColor(236, 233, 216) : QColor(245, 244, 235));
        }
        // FR moves it; ShowFocus off or no focus removes it.
        b->setFR(4);
        draw(0, Tolvarin::Focused, true);
        QCOMPARE(at(face(), 2, 2), QColor(236, 233, 216));
        QCOMPARE(at(face(), 4, 4), QColor(255 - 236, 255 - 233, 255 - 216));
        draw(0, Tolvarin::Focused, false);
        QCOMPARE(at(face(), 4, 4), QColor(236, 233, 216));
        b->setShowFocus(false);
        draw(0, Tolvarin::Focused, true);
        QCOMPARE(at(face(), 4, 4), QColor(236, 233, 216));
    }

    void theCaptionColour()
    {
        auto* caption = b->findChild<CaptionLabel*>("lbl");
        const QList<QPair<int, quint32>> expected = {{Tolvarin::Normal, 0x80000012u},
                                                    {Tolvarin::Pressed, 0x8000000Eu},
                                                    {Tolvarin::Hover, 0x80000007u},
                                                    {Tolvarin::Focused, 0x80000012u},
                                                    {Tolvarin::Disabled, 0x80000011u}};
        for (const auto& [state, colour] : expected) {
            draw(0, state);
            QCOMPARE(caption->foreColor(), colour);
        }
        // Only the NET scheme changes the caption colour for pressed and hover.
        draw(2, Tolvarin::Pressed);
        QCOMPARE(caption->foreColor(), 0x80000012u);
    }

    void appearanceSolidMovesOnPress()
    {
        b->setAppearance(Tolvarin::TVRN_Solid);
        b->setICON(test::squareIcon());
        b->setIconAlign(Tolvarin::TVRN_Left);
        const QPoint caption = internals(b)->restingCaption();
        const QPoint icon = internals(b)->restingIcon();
        internals(b)->DrawButton(Tolvarin::Pressed);
        QCOMPARE(b->findChild<QWidget*>("lbl")->pos(), caption + QPoint(1, 1));
        QCOMPARE(internals(b)->userControl11()->pos(), icon + QPoint(1, 1));
        for (int state : {Tolvarin::Normal, Tolvarin::Hover, Tolvarin::Focused, Tolvarin::Disabled}) {
            internals(b)->DrawButton(state);
            QCOMPARE(b->findChild<QWidget*>("lbl")->pos(), caption);
            QCOMPARE(internals(b)->userControl11()->pos(), icon);
        }
    }

    void appearanceSolidBCastsAShadowOnHover()
    {
        b->setAppearance(Tolvarin::TVRN_SolidB);
        b->setICON(test::squareIcon());
        b->setIconAlign(Tolvarin::TVRN_Left);
        const QPoint icon = internals(b)->restingIcon();
        QCOMPARE(icon, QPoint(5, 4));
        internals(b)->DrawButton(Tolvarin::Hover);
        QCOMPARE(internals(b)->userControl11()->pos(), icon - QPoint(1, 1));
        UserControl1* shadow = internals(b)->userControl12();
        QVERIFY(shadow->isVisibleTo(b.get()));
        QCOMPARE(shadow->pos(), icon + QPoint(1, 1));
        // The shadow is the grey text lightened: 60 + t * 195 / 255 per channel.
        QCOMPARE(QColor(shadow->image().pixel(6, 6)), QColor(192, 188, 177));
        QVERIFY(shadow->transparentAt(0, 0));
        QVERIFY(!shadow->transparentAt(6, 6));
        internals(b)->DrawButton(Tolvarin::Normal);
        QVERIFY(!shadow->isVisibleTo(b.get()));
        QCOMPARE(internals(b)->userControl11()->pos(), icon);
    }

    void aDisabledIconTurnsGrey()
    {
        b->setICON(test::squareIcon(QColor(255, 0, 0)));
        b->setIconAlign(Tolvarin::TVRN_Left);
        b->setEnabled(false);
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Disabled));
        UserControl1* icon = internals(b)->userControl11();
        QCOMPARE(QColor(icon->image().pixel(6, 6)), QColor(76, 76, 76));
        // The new style keeps the colour icon's transparency.
        QVERIFY(icon->transparentAt(0, 0));
        QVERIFY(!icon->transparentAt(6, 6));
        b->setEnabled(true);
        QCOMPARE(QColor(icon->image().pixel(6, 6)), QColor(255, 0, 0));

        // The classic style paints the grey text colour.
        b->setDisabledNewStyle(false);
        b->setEnabled(false);
        QCOMPARE(QColor(icon->image().pixel(6, 6)), QColor(172, 168, 153));
        QVERIFY(icon->transparentAt(0, 0));
    }

    void theIconIsSeenThroughItsMask()
    {
        b->setICON(test::squareIcon(QColor(255, 0, 0)));
        b->setIconAlign(Tolvarin::TVRN_Left);
        internals(b)->DrawButton(Tolvarin::Normal);
        const QImage seen = internals(b)->rendered();
        const QPoint icon = internals(b)->restingIcon();
        QCOMPARE(at(seen, icon.x() + 6, icon.y() + 6), QColor(255, 0, 0));
        // Where the icon has its mask colour, the face shows through.
        QCOMPARE(at(seen, icon.x() + 1, icon.y() + 1), QColor(236, 233, 216));
    }
};

QTEST_MAIN(tst_TolvarinPaint)
#include "tst_tolvarin_paint.moc"
