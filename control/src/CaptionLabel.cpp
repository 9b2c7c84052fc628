#include "CaptionLabel.h"

#include "InputCodes.h"
#include "UserControl1.h"
#include "tolvarin/Tolvarin.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>

namespace tolvarin {


CaptionLabel::CaptionLabel(Tolvarin* owner) : QWidget(owner), m_owner(owner)
{
    setObjectName(QStringLiteral("lbl"));
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setCaption(QStringLiteral("Command"));
}

void CaptionLabel::setCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    autoSize();
    update();
    emit changed();
}

void CaptionLabel::setForeColor(quint32 colour)
{
    m_foreColor = colour;
    update();
}

void CaptionLabel::setCaptionFont(const QFont& font)
{
    setFont(font);
    autoSize();
}

void CaptionLabel::autoSize()
{
    const QFontMetrics metrics(font());
    const QString shown = QString(m_caption).remove(QRegularExpression(QStringLiteral("&(?!&)")));
    resize(std::max(1, metrics.horizontalAdvance(shown)), metrics.height());
}

void CaptionLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(fromOle(SystemColors::resolve(m_foreColor, m_owner->palette()))));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, m_caption);
}

void CaptionLabel::mousePressEvent(QMouseEvent* event)
{
    m_owner->m_pressDelivered = event->button() == Qt::LeftButton;
    m_owner->UserControl_MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()),
                                   float(event->position().x()) + left, float(event->position().y()) + top);
    m_owner->m_pressDelivered = false;
}

void CaptionLabel::mouseMoveEvent(QMouseEvent* event)
{
    m_owner->UserControl_MouseMove(heldButtons(event->buttons()), shiftCode(event->modifiers()),
                                   float(event->position().x()) + left, float(event->position().y()) + top);
}

// The release is judged where it happened; the owner may be deleted by its Click
// handler, and this label with it, so nothing follows the call.
void CaptionLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position() + QPointF(left, top);
    m_owner->mouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(at.x()), float(at.y()),
                     at.toPoint());
}

} // namespace tolvarin
