#include "ColorSwatch.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace qelvane {

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::Box);
    setMinimumSize(48, 22);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ColorSwatch::setColour(const QColor& colour)
{
    m_colour = colour;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), m_colour);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = contentsRect().adjusted(2, 2, -2, -2);
            focus.backgroundColor = m_colour;
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
    QFrame::paintEvent(event);
}

void ColorSwatch::mouseDoubleClickEvent(QMouseEvent*)
{
    emit doubleClicked();
}

void ColorSwatch::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        emit doubleClicked();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace qelvane
