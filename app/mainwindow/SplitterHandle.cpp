#include "SplitterHandle.h"

#include "ui/Twips.h"

#include <QMouseEvent>

namespace qelvane {

namespace {
float xOf(const QMouseEvent* event)
{
    return static_cast<float>(event->position().x()) * TwipsPerPixel;
}
} // namespace

SplitterHandle::SplitterHandle(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("imgSplitter"));
    setCursor(Qt::SplitHCursor);
}

void SplitterHandle::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit MouseDown(xOf(event));
}

void SplitterHandle::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(xOf(event));
}

void SplitterHandle::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit MouseUp(xOf(event));
}

} // namespace qelvane
