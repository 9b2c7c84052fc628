#include "VerseMarks.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include <algorithm>

namespace qelvane {

QColor faultColour(const QColor& background)
{
    return background.lightnessF() > 0.5 ? QColor(0xc6, 0x28, 0x28) : QColor(0xff, 0x8a, 0x80);
}

const VerseMark* markAt(const QList<VerseMark>& marks, int position)
{
    auto after = std::upper_bound(marks.begin(), marks.end(), position,
                                  [](int p, const VerseMark& m) { return p < m.position; });
    if (after == marks.begin())
        return nullptr;
    const VerseMark& mark = *(after - 1);
    return position < mark.position + mark.length ? &mark : nullptr;
}

namespace {

// Where each character in view stands: calls `draw(item, left, right, top, glyphBottom,
// lineHeight)` for the items (ordered by position) from the viewport's top to its bottom.
template <typename Item, typename Draw>
void forEachInView(const QTextEdit& area, const QList<Item>& items, Draw draw)
{
    if (items.isEmpty())
        return;
    const QTextDocument* document = area.document();
    const QPointF scroll(area.horizontalScrollBar()->value(), area.verticalScrollBar()->value());
    const int viewHeight = area.viewport()->height();
    const int first = area.cursorForPosition(QPoint(0, 0)).block().position();
    auto it = std::lower_bound(items.begin(), items.end(), first,
                               [](const Item& m, int p) { return m.position < p; });
    QTextBlock block;
    QPointF origin;
    for (; it != items.end(); ++it) {
        if (!block.isValid() || !block.contains(it->position)) {
            block = document->findBlock(it->position);
            if (!block.isValid() || !block.layout())
                continue;
            origin = block.layout()->position() - scroll; // inside the block's margins
        }
        const int at = it->position - block.position();
        const QTextLine line = block.layout()->lineForTextPosition(at);
        if (!line.isValid())
            continue;
        const qreal top = origin.y() + line.y();
        if (top > viewHeight)
            break;
        draw(*it, origin.x() + line.cursorToX(at), origin.x() + line.cursorToX(at + it->length), top,
             top + line.ascent() + line.descent(), line.height());
    }
}

} // namespace

void paintVerseMarks(QPainter& painter, const QTextEdit& area, const QList<VerseMark>& marks)
{
    const QColor ink = area.palette().color(QPalette::Text);
    const QColor fault = faultColour(area.palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::Antialiasing);
    forEachInView(area, marks, [&](const VerseMark& mark, qreal left, qreal right, qreal top, qreal glyphBottom,
                                   qreal lineHeight) {
        const qreal size = std::clamp(lineHeight * 0.2, 3.0, 14.0);
        const QPointF centre((left + right) / 2, glyphBottom + size * 0.75);
        const QColor colour = mark.fault ? fault : ink;
        const QRectF dot(centre.x() - size / 2, centre.y() - size / 2, size, size);
        QPen pen(colour, std::max(1.0, size / 6));
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        switch (mark.mark) {
        case metre::Mark::Level: painter.drawEllipse(dot); break;
        case metre::Mark::Oblique:
            painter.setBrush(colour);
            painter.drawEllipse(dot);
            break;
        case metre::Mark::Undecided:
            painter.drawEllipse(dot);
            painter.setBrush(colour);
            painter.drawPie(dot, 90 * 16, 180 * 16);
            break;
        case metre::Mark::Unknown:
            pen.setStyle(Qt::DotLine);
            painter.setPen(pen);
            painter.drawEllipse(dot);
            break;
        }
        if (mark.fault) {
            painter.setPen(QPen(fault, std::max(1.0, size / 5)));
            painter.drawLine(QPointF(left + 1, dot.bottom() + size / 3), QPointF(right - 1, dot.bottom() + size / 3));
        }
        if (mark.foot) {
            painter.setPen(QPen(colour, std::max(1.0, size / 6)));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(left, top, right - left, glyphBottom - top).adjusted(-1, 0, 1, 1), size / 2,
                                    size / 2);
        }
    });
}

void paintPinyin(QPainter& painter, const QTextEdit& area, const QList<PinyinMark>& readings, qreal room)
{
    const QColor ink = area.palette().color(QPalette::Text);
    const QColor faint = area.palette().color(QPalette::PlaceholderText);
    QFont font = area.font();
    font.setPixelSize(std::max(6, int(room * 0.85)));
    QFont slanted = font;
    slanted.setItalic(true);
    painter.setRenderHint(QPainter::Antialiasing);
    forEachInView(area, readings, [&](const PinyinMark& reading, qreal left, qreal right, qreal top, qreal, qreal) {
        const QFont& face = reading.uncertain ? slanted : font;
        painter.setFont(face);
        painter.setPen(reading.uncertain ? faint : ink);
        const QRectF cell(left, top - room, right - left, room);
        // A reading wider than its character is drawn narrower, not over its neighbours.
        const qreal width = QFontMetricsF(face).horizontalAdvance(reading.reading);
        painter.save();
        const qreal squeeze = width > cell.width() ? cell.width() / width : 1.0;
        painter.translate(cell.center().x(), cell.top());
        painter.scale(squeeze, 1.0);
        painter.drawText(QRectF(-width / 2, 0, width, room), Qt::AlignCenter, reading.reading);
        if (reading.uncertain) {
            painter.setPen(QPen(faint, 1, Qt::DotLine));
            painter.drawLine(QPointF(-width / 2, room - 1), QPointF(width / 2, room - 1));
        }
        painter.restore();
    });
}

} // namespace qelvane
