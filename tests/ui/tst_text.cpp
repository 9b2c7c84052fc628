// Text as a reader meets it: numbered titles in their order, a face for every
// character.
#include "ReadingWindow.h"
#include "mainwindow/frmMain.h"
#include "ui/Fonts.h"
#include "ui/Text.h"

#include <QtTest>

using namespace qelvane;

class tst_Text : public test::ReadingWindow {
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void numberedTitlesInTheirOrder()
    {
        QStringList titles = {"清平调 三", "清平调 一", "清平调 二", "其十一", "其二", "其一", "其十", "春望"};
        std::sort(titles.begin(), titles.end(), text::chineseLess);
        QCOMPARE(titles, QStringList({"春望", "其一", "其二", "其十", "其十一", "清平调 一", "清平调 二", "清平调 三"}));
        QCOMPARE(text::chineseNumber(u"二百零五"), 205);
        QCOMPARE(text::chineseNumber(u"十一"), 11);
        QCOMPARE(text::chineseNumber(u"春"), -1);
        // The first click on the column still sorts descending.
        test::seed(h->libraryFile, "update ChinaPoem set Name='其一' where Name='静夜思'");
        test::seed(h->libraryFile, "update ChinaPoem set Name='其十一' where Name='将进酒'");
        showAuthor({"中国诗词", "唐", "李白"});
        form()->lvwPoem_ColumnClick(0);
        QCOMPARE(test::entryTexts(test::lvwPoem(form())), QStringList({"其十一", "其一"}));
    }

    void everyCharacterHasAFace()
    {
        fonts::installReadingFonts();
        QCOMPARE(QFontInfo(QFont("宋体")).family(), QString("Noto Serif CJK SC"));
        // 一, a character of extension B (𪛖), and one of the private use area.
        const QSet<char32_t> characters = {0x4E00, 0x2A6D6, 0xE815};
        QCOMPARE(fonts::uncovered(characters), QList<char32_t>({0xE815}));
    }
};

QTEST_MAIN(tst_Text)
#include "tst_text.moc"
