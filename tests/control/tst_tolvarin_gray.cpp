// The grey conversions and the masked picture control they work on.
#include "ControlTestSupport.h"
#include "UserControl1.h"

#include <QtTest>

using namespace tolvarin;
using tolvarin::test::internals;

namespace {

// A masked picture control showing one row of the given colours (0x00BBGGRR).
std::unique_ptr<UserControl1> row(const QList<quint32>& colours)
{
    auto control = std::make_unique<UserControl1>();
    control->resize(int(colours.size()), 1);
    control->SetEnabled(true);
    QImage image(int(colours.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < colours.size(); ++x)
        image.setPixel(x, 0, SystemColors::toRgb(colours[x]));
    control->SetPicture(QPixmap::fromImage(image));
    return control;
}

quint32 pixel(const UserControl1& control, int x)
{
    return UserControl1::GetPixel(control.hdc(), x, 0);
}

quint32 rgb(int r, int g, int b)
{
    return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16);
}

} // namespace

class tst_TolvarinGray : public QObject {
    Q_OBJECT
    std::unique_ptr<Tolvarin> b;

private slots:
    void init()
    {
        test::useClassicColours();
        b = std::make_unique<Tolvarin>();
    }
    void cleanup()
    {
        b.reset();
        SystemColors::reset();
    }

    void colourBytes()
    {
        QCOMPARE(Tolvarin::GetRValue(0x00123456), 0x56);
        QCOMPARE(Tolvarin::GetGValue(0x00123456), 0x34);
        QCOMPARE(Tolvarin::GetBValue(0x00123456), 0x12);
    }

    void theNewStyle()
    {
        auto control = row({rgb(255, 0, 0), 0xFFFFFF, 0x000000, rgb(0, 255, 0)});
        b->DrawGrayBitmap(control->hdc(), 0, 0, 3, 0, -1, 0x00D30000, true);
        QCOMPARE(pixel(*control, 0), rgb(76, 76, 76));
        QCOMPARE(pixel(*control, 1), 0xFFFFFFu);
        QCOMPARE(pixel(*control, 2), 0x000000u);
        QCOMPARE(pixel(*control, 3), rgb(150, 150, 150));
    }

    void theNewStyleWithTint()
    {
        b->setDisabledNewStyleB(true);
        auto control = row({0x000000, 0xFFFFFF, rgb(255, 0, 0)});
        b->DrawGrayBitmap(control->hdc(), 0, 0, 2, 0, -1, 0x00D30000, true);
        QCOMPARE(pixel(*control, 0), rgb(19, 15, 0));
        QCOMPARE(pixel(*control, 1), 0xFFFFFFu);
        // 76 on the ramp from the tint to white.
        QCOMPARE(pixel(*control, 2), rgb(89, 87, 76));
    }

    void theClassicStyle()
    {
        const quint32 imc = 0x00D30000;
        const QList<quint32> kept = {0xFFFFFF, 0x00FFFF, 0xC0C0C0, 0xFF00FF, imc};
        auto control = row(kept + QList<quint32>{rgb(255, 0, 0), 0x000000});
        // The button's own icon control is the one whose mask follows the classic look.
        UserControl1* icon = internals(b)->userControl11();
        icon->resize(7, 1);
        icon->SetEnabled(true);
        icon->SetPicture(control->Image());
        b->DrawGrayBitmap(icon->hdc(), 0, 0, 7, 1, -1, qint32(imc), false);
        for (int x = 0; x < 5; ++x) {
            QCOMPARE(UserControl1::GetPixel(icon->hdc(), x, 0), imc);
            QVERIFY(icon->transparentAt(x, 0));
        }
        QCOMPARE(UserControl1::GetPixel(icon->hdc(), 5, 0), rgb(172, 168, 153));
        QCOMPARE(UserControl1::GetPixel(icon->hdc(), 6, 0), rgb(172, 168, 153));
        QVERIFY(!icon->transparentAt(5, 0));
    }

    void theShadow()
    {
        SystemColors::set(17, rgb(128, 128, 128));
        auto control = row({rgb(255, 0, 0), 0xFFFFFF, 0x00D30000, 0x000000});
        b->DrawGrayBitmap2(control->hdc(), 0, 0, 3, 0, -1, 0x00D30000, true);
        QCOMPARE(pixel(*control, 0), rgb(158, 158, 158));
        QCOMPARE(pixel(*control, 1), 0x00D30000u);
        QCOMPARE(pixel(*control, 2), 0x00D30000u);
        QCOMPARE(pixel(*control, 3), rgb(158, 158, 158));
    }

    void aPixelOfTheMaskColourIsNeverTouched()
    {
        auto control = row({rgb(255, 0, 0), rgb(10, 20, 30)});
        b->ChangetoGray(control->hdc(), 1, 0, qint32(rgb(10, 20, 30)), -1, true);
        QCOMPARE(pixel(*control, 1), rgb(10, 20, 30));
        b->ChangetoGray2(control->hdc(), 0, 0, qint32(rgb(255, 0, 0)), -1, true);
        QCOMPARE(pixel(*control, 0), rgb(255, 0, 0));
        // The pass runs one column and one row past the picture; those points read as
        // invalid and are left alone.
        b->DrawGrayBitmap(control->hdc(), 0, 0, 2, 1, -1, -1, true);
        QCOMPARE(pixel(*control, 0), rgb(76, 76, 76));
        QCOMPARE(UserControl1::GetPixel(control->hdc(), 2, 0), 0xFFFFFFFFu);
        QCOMPARE(UserControl1::GetPixel(12345, 0, 0), 0xFFFFFFFFu);
    }

    void theMaskedPictureControl()
    {
        UserControl1 control;
        control.resize(16, 16);
        // Until enabled, pictures are ignored and read as nothing.
        control.SetPicture(test::squareIcon());
        QVERIFY(!control.Picture().isValid());
        QVERIFY(!control.Image().isValid());
        QCOMPARE(control.hdc(), qintptr(0));
        QVERIFY(control.transparentAt(6, 6));

        control.SetEnabled(true);
        QSignalSpy changes(&control, &UserControl1::PropertyChanged);
        control.SetPicture(test::squareIcon());
        QCOMPARE(changes.takeFirst().at(0).toString(), QString("Picture"));
        QVERIFY(control.Picture().isValid());
        QVERIFY(control.hdc() != 0);
        QVERIFY(control.transparentAt(0, 0));
        QVERIFY(!control.transparentAt(6, 6));

        // Picture recomputes the transparency; PictureB keeps it.
        QImage solid(16, 16, QImage::Format_RGB32);
        solid.fill(QColor(0, 200, 0));
        control.SetPictureB(QPixmap::fromImage(solid));
        QCOMPARE(QColor(control.image().pixel(0, 0)), QColor(0, 200, 0));
        QVERIFY(control.transparentAt(0, 0));
        control.SetPicture(QPixmap::fromImage(solid));
        QVERIFY(!control.transparentAt(0, 0));

        control.SetMaskColor(0x0000C800);
        QVERIFY(control.transparentAt(0, 0));
        QCOMPARE(control.MaskColor(), 0x0000C800u);
    }
};

QTEST_MAIN(tst_TolvarinGray)
#include "tst_tolvarin_gray.moc"
