#include "VerseMarks.h"

#include <QAbstractTextDocumentLayout>
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

void paintVerseMarks(QPainter& painter, const QTextEdit& area, const QList<VerseMark>& marks)
{
    if (marks.isEmpty())
        return;
    const QTextDocument* document = area.document();
    const QPointF scroll(area.horizontalScrollBar()->value(), area.verticalScrollBar()->value());
    const int viewHeight = area.viewport()->height();
    // Only the characters in view: from the first position at the viewport's top.
    const int first = area.cursorForPosition(QPoint(0, 0)).block().position();
    const QColor ink = area.palette().color(QPalette::Text);
    const QColor fault = faultColour(area.palette().color(QPalette::Base));
    painter.setRenderHint(QPainter::Antialiasing);

    auto it = std::lower_bound(marks.begin(), marks.end(), first,
                               [](const VerseMark& m, int p) { return m.position < p; });
    QTextBlock block;
    QPointF origin;
    for (; it != marks.end(); ++it) {
        if (!block.isValid() || !block.contains(it->position)) {
            block = document->findBlock(it->position);
            if (!block.isValid() || !block.layout())
                continue;
            origin = document->documentLayout()->blockBoundingRect(block).topLeft() - scroll;
        }
        const int at = it->position - block.position();
        const QTextLine line = block.layout()->lineForTextPosition(at);
        if (!line.isValid())
            continue;
        const qreal top = origin.y() + line.y();
        if (top > viewHeight)
            break;
        const qreal left = origin.x() + line.cursorToX(at);
        const qreal right = origin.x() + line.cursorToX(at + it->length);
        const qreal glyphBottom = top + line.ascent() + line.descent();
        const qreal size = std::clamp(line.height() * 0.2, 3.0, 14.0);
        const QPointF centre((left + right) / 2, glyphBottom + size * 0.75);
        const QColor colour = it->fault ? fault : ink;
        const QRectF dot(centre.x() - size / 2, centre.y() - size / 2, size, size);
        QPen pen(colour, std::max(1.0, size / 6));
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        switch (it->mark) {
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
        if (it->fault) {
            painter.setPen(QPen(fault, std::max(1.0, size / 5)));
            painter.drawLine(QPointF(left + 1, dot.bottom() + size / 3), QPointF(right - 1, dot.bottom() + size / 3));
        }
        if (it->foot) {
            painter.setPen(QPen(colour, std::max(1.0, size / 6)));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(left, top, right - left, glyphBottom - top).adjusted(-1, 0, 1, 1), size / 2,
                                    size / 2);
        }
    }
}

} // namespace qelvane
