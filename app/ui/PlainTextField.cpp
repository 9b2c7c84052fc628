#include "PlainTextField.h"

#include <QMimeData>

namespace qelvane {

PlainTextField::PlainTextField(QWidget* parent) : QPlainTextEdit(parent) {}

void PlainTextField::setHeader(QWidget* header)
{
    m_header = header;
    header->setParent(this);
    fitHeader();
}

void PlainTextField::fitHeader()
{
    if (!m_header)
        return;
    const QRect room = contentsRect();
    const int height = m_header->isHidden() ? 0 : m_header->heightForWidth(room.width());
    setViewportMargins(0, std::max(0, height), 0, 0);
    m_header->setGeometry(room.left(), room.top(), room.width(), std::max(0, height));
}

void PlainTextField::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    fitHeader();
}

bool PlainTextField::canInsertFromMimeData(const QMimeData* source) const
{
    return source && source->hasText();
}

void PlainTextField::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !canInsertFromMimeData(source))
        return;
    const QString text = source->text();
    if (!text.isEmpty())
        insertPlainText(text);
}

} // namespace qelvane
