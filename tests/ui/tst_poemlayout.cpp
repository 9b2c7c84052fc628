// The page layout of a poem, on its own: where the characters of a vertical poem stand,
// where their punctuation is drawn, and how a long poem runs on over pages.
#include "ui/PoemLayout.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace qelvane;

namespace {
const PoemLayout::Sheet Quiet{"静夜思", "李白 · 唐", "床前明月光，疑是地上霜。\r\n举头望明月，低头思故乡。", "五言绝句。"};
constexpr qreal Dpi = 150;
const QSizeF A4(8.27 * Dpi, 11.69 * Dpi);

PoemLayout::Style style(bool vertical)
{
    PoemLayout::Style style;
    style.font = QFont("Noto Serif CJK SC");
    style.font.setPointSizeF(14);
    style.vertical = vertical;
    return style;
}

const PoemLayout::Cell& cellOf(const PoemLayout& layout, QChar c, int nth = 0)
{
    for (const PoemLayout::Cell& cell : layout.cells())
        if (cell.character == c && nth-- == 0)
            return cell;
    static const PoemLayout::Cell none;
    return none;
}

// The dark pixels of a box, by quadrant: top left, top right, bottom left, bottom right.
std::array<int, 4> inkByQuadrant(const QImage& page, const QRectF& box)
{
    std::array<int, 4> ink{};
    for (int y = int(box.top()); y < int(box.bottom()); ++y)
        for (int x = int(box.left()); x < int(box.right()); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                ++ink[(y >= box.center().y() ? 2 : 0) + (x >= box.center().x() ? 1 : 0)];
    return ink;
}
} // namespace

class tst_PoemLayout : public QObject {
    Q_OBJECT
private slots:
    void aVerticalPoemRunsInColumnsFromTheRight()
    {
        const PoemLayout layout(Quiet, style(true), A4, Dpi);
        QCOMPARE(layout.pageCount(), 1);
        const QRectF first = cellOf(layout, u'床').box, second = cellOf(layout, u'前').box;
        const QRectF nextVerse = cellOf(layout, u'举').box;
        // The title's column is the rightmost, then the byline's, then the verses.
        QVERIFY(cellOf(layout, u'静').box.left() > cellOf(layout, u'李').box.left());
        QVERIFY(cellOf(layout, u'李').box.left() > first.left());
        // The next character below, the next verse in the column to the left, at the top.
        QCOMPARE(second.left(), first.left());
        QVERIFY(second.top() >= first.bottom() - 0.5);
        QVERIFY(nextVerse.right() < first.left());
        QCOMPARE(nextVerse.top(), first.top());
        QCOMPARE(layout.cells().size(), 3 + 6 + 24); // title, byline, two verses (no notes)

        // Drawn: the comma's ink in the upper right of its cell, a character's all over it.
        QImage page(A4.toSize(), QImage::Format_RGB32);
        QPainter painter(&page);
        layout.paint(painter, 0);
        painter.end();
        const auto comma = inkByQuadrant(page, cellOf(layout, u'，').box);
        QVERIFY2(comma[1] > comma[0] + comma[2] + comma[3], qPrintable(QString("%1 %2 %3 %4").arg(comma[0]).arg(comma[1]).arg(comma[2]).arg(comma[3])));
        const auto bed = inkByQuadrant(page, first);
        QVERIFY(bed[0] > 0 && bed[1] > 0 && bed[2] > 0 && bed[3] > 0);
    }

    void quotationMarksAsInTheOldBooks()
    {
        const PoemLayout layout({"题", "某", "曰：“归去。”", ""}, style(true), A4, Dpi);
        QString column;
        for (const PoemLayout::Cell& cell : layout.cells())
            column += cell.character;
        QVERIFY2(column.endsWith("曰：「归去。」"), qPrintable(column));
    }

    void withoutPunctuationAsInTheOldBooks()
    {
        PoemLayout::Style bare = style(true);
        bare.noPunctuation = true;
        const PoemLayout layout(Quiet, bare, A4, Dpi);
        QString read;
        for (const PoemLayout::Cell& cell : layout.cells())
            read += cell.character;
        QCOMPARE(read, QString("静夜思李白 · 唐床前明月光疑是地上霜举头望明月低头思故乡"));
    }

    void aLongPoemRunsOnOverPages()
    {
        QStringList verses;
        for (int i = 0; i < 200; ++i)
            verses << QString("第%1句，白日依山尽。").arg(i + 1);
        const PoemLayout::Sheet long_{"长诗", "某", verses.join("\n"), ""};
        const PoemLayout across(long_, style(false), A4, Dpi);
        QVERIFY(across.pageCount() >= 5);
        const PoemLayout down(long_, style(true), A4, Dpi);
        QVERIFY(down.pageCount() >= 5);
        // Every character is laid out once, in reading order.
        QString read;
        for (const PoemLayout::Cell& cell : down.cells())
            read += cell.character;
        QVERIFY(read.endsWith(verses.join("")));
        QCOMPARE(down.cells().last().page, down.pageCount() - 1);
    }
};

QTEST_MAIN(tst_PoemLayout)
#include "tst_poemlayout.moc"
