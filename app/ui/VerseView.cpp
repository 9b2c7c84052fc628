#include "VerseView.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>

namespace qelvane {

VerseView::VerseView(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    // The margins around the text are the area's own: painted in its background.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    connect(this, &QTextEdit::textChanged, this, [this] {
        // A new text comes without the verse's setting.
        if (!m_setting) {
            m_margin = -1;
            setVerse();
        }
    });
}

void VerseView::setHeader(QWidget* header)
{
    m_header = header;
    header->setParent(this);
    fitHeader();
}

void VerseView::setFooter(QWidget* footer)
{
    m_footer = footer;
    footer->setParent(this);
    fitHeader();
}

void VerseView::fitHeader()
{
    const QRect room = contentsRect();
    auto heightOf = [&](QWidget* w) { return !w || w->isHidden() ? 0 : std::max(0, w->heightForWidth(room.width())); };
    const int height = heightOf(m_header);
    const int footerHeight = heightOf(m_footer);
    if (viewportMargins().top() != height || viewportMargins().bottom() != footerHeight)
        setViewportMargins(0, height, 0, footerHeight);
    if (m_header)
        m_header->setGeometry(room.left(), room.top(), room.width(), height);
    if (m_footer)
        m_footer->setGeometry(room.left(), room.bottom() + 1 - footerHeight, room.width(), footerHeight);
}

void VerseView::setMarks(QList<VerseMark> marks)
{
    const bool hadMarks = !m_marks.isEmpty();
    m_marks = std::move(marks);
    // The marks sit in the room the roomier lines leave below each line of characters.
    if (hadMarks != !m_marks.isEmpty() && !m_centred) {
        m_margin = -1;
        setVerse();
    }
    viewport()->update();
}

void VerseView::setPinyin(QList<PinyinMark> readings)
{
    const bool had = !m_pinyin.isEmpty();
    m_pinyin = std::move(readings);
    if (had != !m_pinyin.isEmpty()) {
        m_margin = -1;
        setVerse();
    }
    viewport()->update();
}

qreal VerseView::pinyinRoom() const
{
    return QFontMetricsF(font()).height() * 0.6;
}

void VerseView::paintEvent(QPaintEvent* event)
{
    QTextEdit::paintEvent(event);
    if (m_marks.isEmpty() && m_pinyin.isEmpty())
        return;
    QPainter painter(viewport());
    paintVerseMarks(painter, *this, m_marks);
    paintPinyin(painter, *this, m_pinyin, pinyinRoom());
}

void VerseView::setCentredBlock(bool centred)
{
    m_centred = centred;
    m_margin = -1;
    setVerse();
}

int VerseView::centringMargin() const
{
    if (!m_centred)
        return 0;
    const QFontMetricsF metrics(font());
    qreal widest = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        widest = std::max(widest, metrics.horizontalAdvance(block.text()));
    const qreal room = viewport()->width() - 2 * document()->documentMargin() - 2;
    return std::max(0, int((room - widest) / 2));
}

void VerseView::setVerse()
{
    const int margin = centringMargin();
    if (margin == m_margin)
        return;
    m_margin = margin;
    m_setting = true;
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLeftMargin(margin);
    format.setLineHeight(m_centred || !m_marks.isEmpty() ? CentredLineHeight : 100, QTextBlockFormat::ProportionalHeight);
    format.setTopMargin(m_pinyin.isEmpty() ? 0 : pinyinRoom());
    all.mergeBlockFormat(format);
    // The first line's room above is the document's own: a frame's first block has no top margin.
    QTextFrameFormat frame = document()->rootFrame()->frameFormat();
    frame.setTopMargin(document()->documentMargin() + format.topMargin());
    document()->rootFrame()->setFrameFormat(frame);
    m_setting = false;
}

void VerseView::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    fitHeader();
    setVerse();
}

bool VerseView::event(QEvent* event)
{
    const bool handled = QTextEdit::event(event);
    if (event->type() == QEvent::FontChange) {
        m_margin = -1; // the room for the readings follows the font too
        setVerse();
    }
    return handled;
}

} // namespace qelvane
