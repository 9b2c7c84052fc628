#include "PlainTextField.h"

#include <QFontMetricsF>
#include <QMimeData>
#include <QTextBlock>

namespace qelvane {

PlainTextField::PlainTextField(QWidget* parent) : QPlainTextEdit(parent)
{
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_centred)
            fitHeader();
    });
}

void PlainTextField::setCentredBlock(bool centred)
{
    m_centred = centred;
    fitHeader();
}

int PlainTextField::centringMargin() const
{
    if (!m_centred)
        return 0;
    const QFontMetricsF metrics(font());
    qreal widest = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        widest = std::max(widest, metrics.horizontalAdvance(block.text()));
    // The document's own margin and the cursor's width on either side.
    const qreal room = contentsRect().width() - 2 * document()->documentMargin() - cursorWidth() - 2;
    return std::max(0, int((room - widest) / 2));
}

bool PlainTextField::event(QEvent* event)
{
    const bool handled = QPlainTextEdit::event(event);
    if (event->type() == QEvent::FontChange && m_centred)
        fitHeader();
    return handled;
}

void PlainTextField::setHeader(QWidget* header)
{
    m_header = header;
    header->setParent(this);
    // The margins around the text are the field's own: painted in its background.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    fitHeader();
}

void PlainTextField::fitHeader()
{
    if (!m_header && !m_centred && viewportMargins().isNull())
        return;
    const QRect room = contentsRect();
    const int height = !m_header || m_header->isHidden() ? 0 : std::max(0, m_header->heightForWidth(room.width()));
    const QMargins margins(centringMargin(), height, 0, 0);
    if (margins != viewportMargins())
        setViewportMargins(margins);
    if (m_header)
        m_header->setGeometry(room.left(), room.top(), room.width(), height);
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
