#include "VerticalVerse.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace qelvane {

namespace {
// The free room around the columns, in points.
constexpr qreal MarginPoints = 14;
} // namespace

VerticalVerse::VerticalVerse(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("txtPoemVertical"));
    setAccessibleName(QStringLiteral("诗词内容（竖排）"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
}

void VerticalVerse::setSheet(const PoemLayout::Sheet& sheet)
{
    m_sheet = sheet;
    m_anchor = m_end = -1;
    relayout();
    // Reading begins at the right.
    horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
}

void VerticalVerse::relayout()
{
    PoemLayout::Style style;
    style.font = font();
    style.ink = palette().color(QPalette::Text);
    style.paper = palette().color(QPalette::Base);
    style.vertical = true;
    style.noPunctuation = m_noPunctuation;
    style.marginPoints = MarginPoints;
    const qreal fromRight = horizontalScrollBar()->maximum() - horizontalScrollBar()->value();
    // The resolution at which the face's points give the pixels it is drawn in here.
    const qreal points = font().pointSizeF() > 0 ? font().pointSizeF() : 12;
    const qreal dpi = QFontInfo(font()).pixelSize() * 72.0 / points;
    m_layout.emplace(m_sheet, style, QSizeF(0, viewport()->height()), dpi);
    const int overflow = std::max(0, int(m_layout->contentSize().width()) - viewport()->width());
    horizontalScrollBar()->setRange(0, overflow);
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(int(font().pointSizeF() * logicalDpiY() / 72 * 1.7));
    horizontalScrollBar()->setValue(overflow - int(fromRight));
    m_shift = std::max(0.0, viewport()->width() - m_layout->contentSize().width());
    // A screen reader reads the poem as it is read: heading, then verse by verse.
    setAccessibleDescription(m_layout->textOf(0, int(m_layout->cells().size()) - 1));
    viewport()->update();
}

qreal VerticalVerse::offset() const
{
    return horizontalScrollBar()->value() - m_shift;
}

QRectF VerticalVerse::cellOnScreen(int cell) const
{
    if (!m_layout || cell < 0 || cell >= m_layout->cells().size())
        return {};
    return m_layout->cells()[cell].box.translated(-offset(), 0);
}

QString VerticalVerse::selectedText() const
{
    if (!m_layout || m_anchor < 0 || m_end < 0)
        return {};
    return m_layout->textOf(std::min(m_anchor, m_end), std::max(m_anchor, m_end));
}

void VerticalVerse::paintEvent(QPaintEvent*)
{
    if (!m_layout)
        return;
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    painter.translate(-offset(), 0);
    m_layout->paint(painter, 0, QRectF(offset(), 0, viewport()->width(), viewport()->height()));
    // The selection over the characters, translucent.
    if (m_anchor >= 0 && m_end >= 0) {
        QColor mark = palette().color(QPalette::Highlight);
        mark.setAlpha(90);
        for (int i = std::min(m_anchor, m_end); i <= std::max(m_anchor, m_end); ++i)
            painter.fillRect(m_layout->cells()[i].box, mark);
    }
}

void VerticalVerse::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
}

int VerticalVerse::cellUnder(const QPoint& at) const
{
    return m_layout ? m_layout->cellAt(QPointF(at) + QPointF(offset(), 0)) : -1;
}

void VerticalVerse::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_anchor = m_end = cellUnder(event->position().toPoint());
        viewport()->update();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void VerticalVerse::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && m_anchor >= 0) {
        if (const int cell = cellUnder(event->position().toPoint()); cell >= 0 && cell != m_end) {
            m_end = cell;
            viewport()->update();
        }
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void VerticalVerse::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) && !selectedText().isEmpty()) {
        QApplication::clipboard()->setText(selectedText());
        return;
    }
    if (event->matches(QKeySequence::SelectAll) && m_layout) {
        m_anchor = 0;
        m_end = int(m_layout->cells().size()) - 1;
        viewport()->update();
        return;
    }
    // Left reads on, Right goes back.
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        horizontalScrollBar()->triggerAction(event->key() == Qt::Key_Left ? QAbstractSlider::SliderSingleStepSub
                                                                          : QAbstractSlider::SliderSingleStepAdd);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void VerticalVerse::wheelEvent(QWheelEvent* event)
{
    // The wheel turned down reads on, leftwards.
    if (event->modifiers() & Qt::ControlModifier) {
        event->ignore();
        return;
    }
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - event->angleDelta().y() / 2);
    event->accept();
}

void VerticalVerse::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    // The area's zoom and look reach the columns.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        relayout();
}

} // namespace qelvane
