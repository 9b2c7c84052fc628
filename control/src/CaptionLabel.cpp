#include "CaptionLabel.h"

#include "InputCodes.h"
#include "UserControl1.h"
#include "Tolvarin_p.h"

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
    painter.setPen(QColor(SystemColors::toRgb(SystemColors::resolve(m_foreColor, m_owner->palette()))));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, m_caption);
}

// Mouse events on the caption are the button's own, at the button's coordinates.
void CaptionLabel::mousePressEvent(QMouseEvent* event)
{
    TolvarinPrivate::get(m_owner)->mousePress(event, {left, top});
}

void CaptionLabel::mouseMoveEvent(QMouseEvent* event)
{
    TolvarinPrivate::get(m_owner)->mouseMove(event, {left, top});
}

// The owner may be deleted by its Click handler, and this label with it, so nothing
// follows the call.
void CaptionLabel::mouseReleaseEvent(QMouseEvent* event)
{
    TolvarinPrivate::get(m_owner)->mouseRelease(event, {left, top});
}

} // namespace tolvarin
