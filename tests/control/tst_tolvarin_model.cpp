// The button's properties, their defaults and side effects, and its persistence.
#include "ControlTestSupport.h"
#include "UserControl1.h"

#include <QMetaEnum>
#include <QtTest>
#include <stdexcept>

using namespace tolvarin;
using tolvarin::test::internals;

class tst_TolvarinModel : public QObject {
    Q_OBJECT
    std::unique_ptr<QWidget> host;
    std::unique_ptr<test::ScriptedProbe> probe;

    Tolvarin* newButton(const QString& name = "cmdFind")
    {
        auto* b = new Tolvarin(host.get());
        b->setObjectName(name);
        b->resize(75, 23);
        b->InitProperties();
        return b;
    }

private slots:
    void init()
    {
        test::useClassicColours();
        probe = std::make_unique<test::ScriptedProbe>();
        host = std::make_unique<QWidget>();
        QFont font("Noto Sans CJK SC");
        font.setPointSizeF(9);
        host->setFont(font);
    }
    void cleanup()
    {
        host.reset();
        probe.reset();
        SystemColors::reset();
    }

    void theLibrarysIdentity()
    {
        QCOMPARE(QString(TypeLibraryName), QString("TolvarinCtl"));
        QCOMPARE(VersionMajor * 10 + VersionMinor, 30);
        QCOMPARE(QString(ProgId), QString("TolvarinCtl.Tolvarin"));
        const QMetaEnum styles = QMetaEnum::fromType<Tolvarin::STYLES>();
        QCOMPARE(styles.keyToValue("TVRN_SysCplorFlat"), 1);
        QCOMPARE(QMetaEnum::fromType<Tolvarin::Appe>().keyToValue("TVRN_SolidB"), 2);
        QCOMPARE(QMetaEnum::fromType<Tolvarin::Alignment>().keyToValue("TVRN_Right"), 2);
        QCOMPARE(QMetaEnum::fromType<Tolvarin::BackS>().keyToValue("TVRN_Opaque"), 1);
        QCOMPARE(Tolvarin::propertyHelp("Style"), QString("返回/设置外观样式。"));
        QCOMPARE(Tolvarin::propertyHelp("ICON"), QString("返回/设置一个图片，作为按钮的图标。"));
        QCOMPARE(Tolvarin::propertyHelp("DisabledNewStyleB"),
                 QString("一种新的“不可用图标处理样式”，返回/设置当DisabledNewStyle属性为True且不可用时，"
                         "是否在对图标灰度变换的基础上同时进行色调变换。"));
        const QStringList names = {"hWnd", "Style", "ICOMaskColor", "MousePointer", "MouseIcon", "ICON", "IconAlign",
                                   "Appearance", "FR", "Caption", "Font", "ShowFocus", "DisabledNewStyleB",
                                   "DisabledNewStyle", "Enabled"};
        for (const QString& name : names) {
            QVERIFY2(Tolvarin::staticMetaObject.indexOfProperty(name.toLatin1()) >= 0, qPrintable(name));
            QVERIFY2(!Tolvarin::propertyHelp(name.toLatin1()).isEmpty(), qPrintable(name));
        }
    }

    void aNewButton()
    {
        Tolvarin* b = newButton();
        QCOMPARE(b->Caption(), QString("cmdFind"));
        QCOMPARE(b->Font(), host->font());
        QCOMPARE(int(b->Style()), 0);
        QCOMPARE(int(b->Appearance()), 0);
        QCOMPARE(int(b->IconAlign()), 0);
        QCOMPARE(b->FR(), 2);
        QVERIFY(Tolvarin::staticMetaObject.property(Tolvarin::staticMetaObject.indexOfProperty("Style")).isEnumType());
        QVERIFY(b->ShowFocus() && b->DisabledNewStyle() && !b->DisabledNewStyleB() && b->Enabled());
        QCOMPARE(b->ICOMaskColor(), 0x00D30000u);
        QVERIFY(!internals(b)->hasIcon());
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Normal));
        // The caption is centred.
        QCOMPARE(internals(b)->captionPos().x(), (75 - internals(b)->captionSize().width()) / 2.0);
        QCOMPARE(internals(b)->captionPos().y(), (23 - internals(b)->captionSize().height()) / 2.0);

        PropertyBag bag;
        b->WriteProperties(bag);
        // The caption is the host's name for the button, its default, so it is not stored.
        QCOMPARE(bag.names(), QStringList({"IconAlign", "Icon"}));
        QCOMPARE(bag.ReadProperty("IconAlign").toInt(), 0);
        QVERIFY(bag.ReadProperty("Icon").value<QPixmap>().isNull());
    }

    void iconAlignFollowsEvenWithoutAnIcon()
    {
        Tolvarin* b = newButton();
        b->setIconAlign(Tolvarin::TVRN_Right);
        QVERIFY(internals(b)->hasIcon());
        QCOMPARE(internals(b)->captionPos().x(), double(75 - 16 - 7 - internals(b)->captionSize().width()));
    }

    void assigningIcons()
    {
        Tolvarin* b = newButton();
        QSignalSpy changes(b, &Tolvarin::PropertyChanged);
        // An empty picture changes nothing and marks nothing.
        b->setICON(QPixmap());
        QVERIFY(changes.isEmpty());
        QVERIFY(!internals(b)->hasIcon());

        b->setICON(test::squareIcon());
        QCOMPARE(changes.takeFirst().at(0).toString(), QString("Icon"));
        QVERIFY(internals(b)->hasIcon());
        b->setIconAlign(Tolvarin::TVRN_Left);
        QCOMPARE(internals(b)->restingIcon(), QPoint(5, 4));
        QCOMPARE(internals(b)->captionPos().x(), 16.0 + 7);
        QVERIFY(internals(b)->userControl11()->isVisibleTo(b));
        QCOMPARE(internals(b)->userControl11()->geometry(), QRect(5, 4, 16, 16));

        b->setIconAlign(Tolvarin::TVRN_Right);
        QCOMPARE(internals(b)->restingIcon(), QPoint(75 - 16 - 5, 4));
        QCOMPARE(internals(b)->captionPos().x() + internals(b)->captionSize().width(), double(75 - 16 - 7));

        // No picture at all turns the icon off and centres the caption.
        b->setICON(QPixmap());
        QVERIFY(!internals(b)->hasIcon());
        QCOMPARE(internals(b)->captionPos().x(), (75 - internals(b)->captionSize().width()) / 2.0);
        QVERIFY(!internals(b)->userControl11()->isVisibleTo(b));
    }

    void sideEffects()
    {
        Tolvarin* b = newButton();
        QSignalSpy changes(b, &Tolvarin::PropertyChanged);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, b->setStyle(40000));
        QCOMPARE(int(b->Style()), 0);
        QVERIFY(changes.isEmpty());
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, b->setFR(-40000));
        b->setStyle(2);
        QCOMPARE(changes.takeFirst().at(0).toString(), QString("Style"));

        // These take effect at the next paint, not before.
        internals(b)->DrawButton(Tolvarin::Pressed);
        const QImage before = internals(b)->surface();
        b->setShowFocus(false);
        b->setDisabledNewStyle(false);
        b->setDisabledNewStyleB(true);
        QCOMPARE(internals(b)->surface(), before);

        b->setICOMaskColor(0x00FF00FF);
        QCOMPARE(b->ICOMaskColor(), 0x00FF00FFu);
        QCOMPARE(internals(b)->userControl12()->MaskColor(), 0x00FF00FFu);

        b->setEnabled(false);
        QVERIFY(!b->isEnabled());
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Disabled));
        b->setEnabled(true);
        QCOMPARE(internals(b)->faceState(), int(Tolvarin::Normal));

        b->setMousePointer(11);
        QCOMPARE(b->cursor().shape(), Qt::WaitCursor);
    }

    void theBagMatchesNamesInAnyCase()
    {
        PropertyBag bag;
        bag.WriteProperty("IconAlign", 2, 1);
        QCOMPARE(bag.ReadProperty("iconalign", 1).toInt(), 2);
        bag.WriteProperty("ICONALIGN", 1, 1);
        QVERIFY(!bag.contains("IconAlign"));
        bag.WriteProperty("caption", "确定(&O)");
        QCOMPARE(bag.ReadProperty("Caption").toString(), QString("确定(&O)"));
        QCOMPARE(bag.ReadProperty("Missing", 7).toInt(), 7);
    }

    void theBagAsText()
    {
        PropertyBag bag;
        QFont font("Noto Serif CJK SC");
        font.setPointSizeF(10.5);
        bag.WriteProperty("Caption", "It's \"quoted\"");
        bag.WriteProperty("ShowFocus", false, true);
        bag.WriteProperty("FR", 3, 2);
        bag.WriteProperty("Font", font);
        bag.WriteProperty("Icon", test::squareIcon(), 0);
        bag.WriteProperty("Nothing", QVariant(), 1);
        bool ok = false;
        const PropertyBag back = PropertyBag::fromText(bag.toText(), &ok);
        QVERIFY(ok);
        QCOMPARE(back.names(), bag.names());
        QCOMPARE(back.ReadProperty("caption").toString(), QString("It's \"quoted\""));
        QCOMPARE(back.ReadProperty("ShowFocus", true).toBool(), false);
        QCOMPARE(back.ReadProperty("FR").toInt(), 3);
        QCOMPARE(back.ReadProperty("Font").value<QFont>().pointSizeF(), 10.5);
        QCOMPARE(back.ReadProperty("Icon").value<QPixmap>().toImage(), test::squareIcon().toImage());
        QVERIFY(!back.ReadProperty("Nothing", 5).isValid());
        PropertyBag::fromText("not a bag", &ok);
        QVERIFY(!ok);
    }

    void savingAndLoadingAButton()
    {
        Tolvarin* b = newButton();
        b->setCaption("查找(&Q)");
        b->setAppearance(Tolvarin::TVRN_SolidB);
        b->setShowFocus(false);
        b->setFR(3);
        b->setStyle(Tolvarin::TVRN_SysColorPopup);
        b->setICON(test::squareIcon());
        b->setIconAlign(Tolvarin::TVRN_Right);
        b->setDisabledNewStyleB(true);
        PropertyBag bag;
        b->WriteProperties(bag);
        // Only what differs from the defaults, in the order of writing.
        QCOMPARE(bag.names(), QStringList({"DisabledNewStyleB", "IconAlign", "Icon", "Caption", "ShowFocus", "FR",
                                           "Appearance", "Style"}));
        QVERIFY(!b->IsLoading());

        auto* loaded = new Tolvarin(host.get());
        loaded->setObjectName("cmdFind");
        loaded->resize(75, 23);
        loaded->ReadProperties(PropertyBag::fromText(bag.toText()));
        QVERIFY(!loaded->IsLoading());
        QCOMPARE(loaded->Caption(), QString("查找(&Q)"));
        QCOMPARE(int(loaded->Appearance()), 2);
        QCOMPARE(loaded->ShowFocus(), false);
        QCOMPARE(loaded->FR(), 3);
        QCOMPARE(int(loaded->Style()), 2);
        QCOMPARE(int(loaded->IconAlign()), 2);
        QVERIFY(loaded->DisabledNewStyleB());
        QVERIFY(internals(loaded)->hasIcon());
        QCOMPARE(internals(loaded)->restingIcon(), internals(b)->restingIcon());
        QCOMPARE(internals(loaded)->captionPos(), internals(b)->captionPos());
        QCOMPARE(loaded->Font(), host->font());
    }

    void loadingAHostsForm()
    {
        // The program's stored forms hold lower-case keys and no "IconAlign" for most buttons.
        PropertyBag bag;
        bag.WriteProperty("caption", "关闭(&E)");
        bag.WriteProperty("appearance", 2);
        bag.WriteProperty("showfocus", false);
        bag.WriteProperty("icon", QPixmap());
        auto* b = new Tolvarin(host.get());
        b->resize(75, 23);
        b->ReadProperties(bag);
        QCOMPARE(b->Caption(), QString("关闭(&E)"));
        QCOMPARE(int(b->IconAlign()), 1);
        QCOMPARE(int(b->Appearance()), 2);
        QVERIFY(!b->ShowFocus());
        QVERIFY(!internals(b)->hasIcon());

        PropertyBag empty;
        auto* blank = new Tolvarin(host.get());
        blank->setObjectName("Tolvarin1");
        blank->ReadProperties(empty);
        QCOMPARE(blank->Caption(), QString("Tolvarin1"));
        QCOMPARE(int(blank->IconAlign()), 1);
    }
};

QTEST_MAIN(tst_TolvarinModel)
#include "tst_tolvarin_model.moc"
