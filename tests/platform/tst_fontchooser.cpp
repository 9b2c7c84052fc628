// The font chooser as the options dialog opens it: on the face the area is drawn in,
// with half sizes that can be picked or typed as they are.
#include "DialogDriver.h"
#include "platform/Choosers.h"
#include "platform/FontChooser.h"
#include "ui/Fonts.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace qelvane;

class tst_FontChooser : public QObject {
    Q_OBJECT

    // Opens the chooser as the program does and hands it to `answer`.
    std::optional<QFont> choose(const QFont& initial, const std::function<void(QWidget*)>& answer)
    {
        test::whenModalShows(answer);
        DialogChoosers choosers;
        return choosers.chooseFont(nullptr, initial);
    }

private slots:
    void initTestCase() { fonts::installReadingFonts(); }

    void opensOnTheFaceAsDrawnAndKeepsItsName()
    {
        QFont song("宋体");
        song.setPointSizeF(9);
        const QString drawn = QFontInfo(song).family();
        QString shownFamily, shownSize;
        const std::optional<QFont> chosen = choose(song, [&](QWidget* dialog) {
            shownFamily = dialog->findChild<QListWidget*>("lstFamily")->currentItem()->text();
            shownSize = dialog->findChild<QLineEdit*>("txtSize")->text();
            test::clickButton(dialog, "cmdOK");
        });
        QCOMPARE(shownFamily, drawn);
        QVERIFY(shownFamily != QString("Sans Serif"));
        QCOMPARE(shownSize, QString("9"));
        // 确定 with nothing changed changes nothing.
        QVERIFY(chosen);
        QCOMPARE(chosen->family(), QString("宋体"));
        QCOMPARE(chosen->pointSizeF(), 9.0);
    }

    void halfSizesPickedOrTyped()
    {
        QFont font("Noto Serif CJK SC");
        font.setPointSizeF(12);
        std::optional<QFont> chosen = choose(font, [](QWidget* dialog) {
            auto* size = dialog->findChild<QLineEdit*>("txtSize");
            size->selectAll();
            test::typeText(size, "10.5");
            test::clickButton(dialog, "cmdOK");
        });
        QVERIFY(chosen);
        QCOMPARE(chosen->pointSizeF(), 10.5);

        chosen = choose(font, [](QWidget* dialog) {
            auto* sizes = dialog->findChild<QListWidget*>("lstSize");
            QListWidgetItem* wuhao = sizes->findItems("10.5", Qt::MatchExactly).value(0);
            QVERIFY(wuhao);
            sizes->scrollToItem(wuhao);
            QTest::mouseClick(sizes->viewport(), Qt::LeftButton, {}, sizes->visualItemRect(wuhao).center());
            test::clickButton(dialog, "cmdOK");
        });
        QVERIFY(chosen);
        QCOMPARE(chosen->pointSizeF(), 10.5);

        // By keyboard alone: Tab into the size list chooses nothing, Enter confirms.
        chosen = choose(font, [](QWidget* dialog) {
            auto* size = dialog->findChild<QLineEdit*>("txtSize");
            size->setFocus();
            QTest::keyClick(size, Qt::Key_Tab);
            QCOMPARE(size->text(), QString("12"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QCOMPARE(size->text(), QString("14"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        QVERIFY(chosen);
        QCOMPARE(chosen->pointSizeF(), 14.0);

        // Cancel answers nothing.
        chosen = choose(font, [](QWidget* dialog) { test::clickButton(dialog, "cmdCancel"); });
        QVERIFY(!chosen);
    }
};

QTEST_MAIN(tst_FontChooser)
#include "tst_fontchooser.moc"
