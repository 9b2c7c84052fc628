// The button's property pages as a designer uses them, and the Qt Designer plugin as
// Designer loads it.
#include "tolvarin/PropertyPages.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFrame>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPluginLoader>
#include <QTabWidget>
#include <QBuffer>
#include <QRegularExpression>
#include <QtTest>
#ifdef TOLVARIN_DESIGNER_PLUGIN
#include <QtUiTools/QUiLoader>
#endif
#include <stdexcept>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

using namespace tolvarin;

class tst_TolvarinPages : public QObject {
    Q_OBJECT

    static std::unique_ptr<Tolvarin> button(int style, int appearance, int iconAlign)
    {
        auto b = std::make_unique<Tolvarin>();
        b->setStyle(style);
        b->setAppearance(appearance);
        b->setIconAlign(iconAlign);
        b->setFR(2);
        b->setDisabledNewStyleB(false);
        return b;
    }

private slots:
    void theOptionsPageShowsTheFirstControl()
    {
        auto first = button(2, 0, 1);
        auto second = button(0, 2, 2);
        OptionsPage page;
        page.SelectionChanged({first.get(), second.get()});
        QCOMPARE(page.Combo1->currentText(), QString("TVRN_SysColorPopup = 2"));
        QCOMPARE(page.Combo2->currentText(), QString("TVRN_Flat = 0"));
        QCOMPARE(page.Combo4->currentText(), QString("TVRN_Left = 1"));
        QCOMPARE(page.Text1->text(), QString("2"));
        QVERIFY(page.chkDisabledNewStyle->isChecked());
        QVERIFY(!page.Check1->isChecked());
        QVERIFY(page.chkShowFocus->isChecked());
        // Filled for the first time: nothing changed yet.
        QVERIFY(!page.Changed());
        QCOMPARE(page.Text1->geometry(), QRect(40, 96, 57, 18));
        QCOMPARE(page.Combo1->count(), 3);
    }

    void theListsAreNotTypedInto()
    {
        auto b = button(0, 0, 0);
        OptionsPage page;
        page.SelectionChanged({b.get()});
        page.show();
        QTest::keyClick(page.Combo1, Qt::Key_T);
        QTest::keyClicks(page.Combo2, "x");
        QCOMPARE(page.Combo1->currentIndex(), 0);
        QCOMPARE(page.Combo2->currentIndex(), 0);
        QVERIFY(!page.Changed());
        // Nor into an open one.
        page.Combo1->showPopup();
        QTest::keyClicks(page.Combo1->view(), "TVRN_SysColorP");
        QTest::keyClick(page.Combo1->view(), Qt::Key_Return);
        QCOMPARE(page.Combo1->currentIndex(), 0);
        QTest::mouseClick(page.chkShowFocus, Qt::LeftButton, {}, QPoint(6, page.chkShowFocus->height() / 2));
        QVERIFY(page.Changed());
    }

    void applyingInOrderAndTheFrFailure()
    {
        auto first = button(0, 0, 0);
        auto second = button(0, 0, 0);
        OptionsPage page;
        page.SelectionChanged({first.get(), second.get()});
        page.Combo1->setCurrentIndex(1);
        page.Combo2->setCurrentIndex(2);
        page.Combo4->setCurrentIndex(2);
        page.Check1->setChecked(true);
        page.chkShowFocus->setChecked(false);
        page.chkDisabledNewStyle->setChecked(false);
        page.Text1->setText("5");
        QStringList order;
        const PropertyWriter record = [&](QObject* control, const char* name, const QVariant& value) {
            order << name;
            control->setProperty(name, value);
        };
        QCOMPARE(page.ApplyChanges({first.get(), second.get()}, record), QString());
        QCOMPARE(order, QStringList({"Style", "Appearance", "IconAlign", "DisabledNewStyleB", "ShowFocus",
                                     "DisabledNewStyle", "FR"}));
        QCOMPARE(int(first->Style()), 1);
        QCOMPARE(int(first->Appearance()), 2);
        QCOMPARE(int(first->IconAlign()), 2);
        QVERIFY(first->DisabledNewStyleB() && !first->ShowFocus() && !first->DisabledNewStyle());
        QCOMPARE(first->FR(), 5);
        // Only the first control is written.
        QCOMPARE(int(second->Style()), 0);

        for (const char* bad : {"abc", "40000"}) {
            page.Combo1->setCurrentIndex(2);
            page.Text1->setText(bad);
            const QString failure = page.ApplyChanges({first.get()});
            QVERIFY(failure.contains(bad));
            QCOMPARE(int(first->Style()), 2);
            QCOMPARE(first->FR(), 5);
        }
    }

    // One Apply is one change for the host (one undo step in Designer), and holds only
    // the properties that changed.
    void oneApplyIsOneChange()
    {
        auto b = button(0, 0, 0);
        QStringList log;
        const PropertyWriter record = [&](QObject* control, const char* name, const QVariant& value) {
            log << name;
            control->setProperty(name, value);
        };
        PropertyPagesDialog pages({b.get()}, record);
        pages.setApplyBracket([&] { log << "begin"; }, [&] { log << "end"; });
        pages.options()->Combo2->setCurrentIndex(1);
        pages.options()->chkShowFocus->setChecked(false);
        QVERIFY(pages.apply());
        QCOMPARE(log, QStringList({"begin", "Appearance", "ShowFocus", "end"}));
        QCOMPARE(int(b->Appearance()), 1);
    }

    // A value outside a list is shown for what it is, and only what the user changes
    // is written: never a value the user did not choose.
    void anOutOfRangeValueIsShownAndKept()
    {
        auto b = button(0, 0, 0);
        b->setStyle(7);
        b->setAppearance(9);
        b->setIconAlign(-4);
        OptionsPage page;
        page.SelectionChanged({b.get()});
        QCOMPARE(page.Combo1->currentText(), QString("7（超出范围）"));
        QCOMPARE(page.Combo2->currentText(), QString("9（超出范围）"));
        QCOMPARE(page.Combo4->currentText(), QString("-4（超出范围）"));
        QStringList written;
        const PropertyWriter record = [&](QObject* control, const char* name, const QVariant& value) {
            written << name;
            control->setProperty(name, value);
        };
        page.chkShowFocus->setChecked(!page.chkShowFocus->isChecked());
        QCOMPARE(page.ApplyChanges({b.get()}, record), QString());
        QCOMPARE(written, QStringList({"ShowFocus"}));
        QCOMPARE(int(b->Style()), 7);
        QCOMPARE(int(b->Appearance()), 9);
        QCOMPARE(int(b->IconAlign()), -4);
        // A listed value chosen is written; read again, the list holds only its own entries.
        page.Combo1->setCurrentIndex(1);
        QCOMPARE(page.ApplyChanges({b.get()}, record), QString());
        QCOMPARE(written, QStringList({"ShowFocus", "Style"}));
        QCOMPARE(int(b->Style()), 1);
        page.SelectionChanged({b.get()});
        QCOMPARE(page.Combo1->count(), 3);
        QCOMPARE(page.Combo1->currentIndex(), 1);
    }

    void theDialogAndTheAboutPage()
    {
        auto b = button(1, 1, 1);
        PropertyPagesDialog pages({b.get()});
        QCOMPARE(pages.tabs()->tabText(0), QString("关于"));
        QCOMPARE(pages.tabs()->count(), 2);
        QCOMPARE(pages.about()->palette().color(QPalette::Window), QColor(Qt::white));
        QList<QUrl> opened;
        AboutPage about([&](const QUrl& url) { opened << url; });
        about.show();
        QTest::mouseClick(about.LabelC, Qt::LeftButton);
        about.LabelD->setFocus();
        QTest::keyClick(about.LabelD, Qt::Key_Return);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0].scheme(), QString("mailto"));
        QCOMPARE(opened[0].path(), about.LabelC->text());
        QCOMPARE(opened[1].toString(), about.LabelD->text());
        // Only the left button released on the link opens it.
        QTest::mouseClick(about.LabelC, Qt::RightButton);
        QTest::mousePress(about.LabelC, Qt::LeftButton);
        QTest::mouseRelease(about.LabelC, Qt::LeftButton, {}, QPoint(about.LabelC->width() + 20, 5));
        QCOMPARE(opened.size(), 2);
    }

    // Its pictures are drawn: a small one of the button by the name, the button enabled
    // and disabled, in a frame, with a line above the links.
    void theAboutPagePictures()
    {
        AboutPage about([](const QUrl&) {});
        about.resize(420, 360);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* small = about.findChild<QLabel*>("Image1");
        QVERIFY(small);
        QCOMPARE(small->pixmap().size(), QSize(16, 15));
        const QImage page = about.grab().toImage();
        for (const char* name : {"Image2", "Image3"}) {
            auto* picture = about.findChild<QLabel*>(name);
            QVERIFY2(picture && picture->isVisible(), name);
            const QRect place(picture->mapTo(&about, QPoint(0, 0)), picture->size());
            int notWhite = 0;
            for (int y = place.top(); y <= place.bottom(); ++y)
                for (int x = place.left(); x <= place.right(); ++x)
                    notWhite += page.pixel(x, y) != qRgb(255, 255, 255);
            QVERIFY2(notWhite > place.width() * place.height() / 2, name);
        }
        QVERIFY(about.findChild<QFrame*>("Shape1")->isVisible());
        QCOMPARE(about.findChild<QFrame*>("Line1")->frameShape(), QFrame::HLine);
    }

    // Under a dark desktop palette the white page keeps dark text: it is drawn readable.
    void theAboutPageUnderADarkPalette()
    {
        const QPalette before = QApplication::palette();
        QPalette dark = before;
        dark.setColor(QPalette::Window, QColor(30, 30, 30));
        dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
        dark.setColor(QPalette::Text, QColor(240, 240, 240));
        QApplication::setPalette(dark);
        AboutPage about([](const QUrl&) {});
        about.resize(400, 300);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QImage drawn = about.findChild<QLabel*>("LabelA")->grab().toImage();
        QApplication::setPalette(before);
        int darkInk = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                darkInk += qGray(drawn.pixel(x, y)) < 100;
        QVERIFY2(darkInk > 10, qPrintable(QString::number(darkInk)));
        QCOMPARE(qGray(drawn.pixel(drawn.width() - 1, 0)), 255);
    }

    // Through the property system (Designer's property editor, QUiLoader, setProperty)
    // a value out of range is refused with a warning, the property unchanged; no
    // exception crosses Qt's meta-object calls. C++ callers still get the exception.
    void anOutOfRangeValueThroughThePropertySystem()
    {
        Tolvarin b;
        b.setFR(3);
        b.setStyle(1);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("FR 70000 is outside"));
        b.setProperty("FR", 70000);
        QCOMPARE(b.FR(), 3);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Style 70000 is outside"));
        b.setProperty("Style", 70000);
        QCOMPARE(int(b.Style()), 1);
        QVERIFY_THROWS_EXCEPTION(std::overflow_error, b.setFR(70000));
        QCOMPARE(b.FR(), 3);

#ifdef TOLVARIN_DESIGNER_PLUGIN
        // A form holding the value, loaded as Designer and QUiLoader load forms.
        QUiLoader loader;
        loader.clearPluginPaths();
        loader.addPluginPath(QFileInfo(QStringLiteral(TOLVARIN_DESIGNER_PLUGIN)).absolutePath());
        QByteArray form = R"(<ui version="4.0"><class>Form</class><widget class="QWidget" name="Form">
            <widget class="tolvarin::Tolvarin" name="cmdOK"><property name="FR"><number>70000</number></property>
            <property name="Caption"><string>确定</string></property></widget></widget>
            <customwidgets><customwidget><class>tolvarin::Tolvarin</class><extends>QWidget</extends>
            <header>tolvarin/Tolvarin.h</header></customwidget></customwidgets></ui>)";
        QBuffer buffer(&form);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("FR 70000 is outside"));
        std::unique_ptr<QWidget> loaded(loader.load(&buffer));
        QVERIFY2(loaded, qPrintable(loader.errorString()));
        auto* button = loaded->findChild<Tolvarin*>("cmdOK");
        QVERIFY(button);
        QCOMPARE(button->Caption(), QString("确定"));
        QCOMPARE(button->FR(), Tolvarin().FR());
#endif
    }

    void theDesignerPlugin()
    {
        QPluginLoader loader(QStringLiteral(TOLVARIN_DESIGNER_PLUGIN));
        QObject* instance = loader.instance();
        QVERIFY2(instance, qPrintable(loader.errorString()));
        auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(instance);
        QVERIFY(plugin);
        QCOMPARE(plugin->name(), QString("tolvarin::Tolvarin"));
        QCOMPARE(plugin->includeFile(), QString("tolvarin/Tolvarin.h"));
        QVERIFY(plugin->domXml().contains("tolvarin::Tolvarin"));
        QVERIFY(plugin->domXml().contains("<width>75</width>"));
        QVERIFY(plugin->whatsThis().contains("返回/设置按钮的文本。"));
        QVERIFY(!plugin->icon().isNull());
        QWidget host;
        QWidget* created = plugin->createWidget(&host);
        QVERIFY(created);
        QCOMPARE(QString(created->metaObject()->className()), QString("tolvarin::Tolvarin"));
    }
};

QTEST_MAIN(tst_TolvarinPages)
#include "tst_tolvarin_pages.moc"
