#include "MetreView.h"

#include "PoemReader.h"
#include "text/MetreWords.h"
#include "ui/VerseView.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

namespace qelvane {

MetreView::MetreView(PoemReader& reader, VerseView& pane, QObject* parent)
    : QObject(parent), m_reader(reader), m_pane(pane), m_words(new QLabel)
{
    m_words->setObjectName(QStringLiteral("lblMetre"));
    m_words->setWordWrap(true);
    m_words->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_words->setAutoFillBackground(true);
    m_words->setBackgroundRole(QPalette::Base);
    m_words->setForegroundRole(QPalette::Text);
    m_words->setContentsMargins(6, 4, 6, 6);
    m_words->hide();
    m_pane.setFooter(m_words);
    m_pane.viewport()->installEventFilter(this);
    m_pane.installEventFilter(this);
    connect(&m_reader, &PoemReader::shownChanged, this, &MetreView::refresh);
    connect(&m_pane, &QTextEdit::cursorPositionChanged, this, [this] {
        if (m_metre && m_pane.hasFocus())
            emit characterChosen(readingsAt(m_pane.textCursor().position()));
    });
}

void MetreView::setOn(bool on)
{
    m_on = on;
    refresh();
}

void MetreView::setBook(std::optional<metre::Book> book)
{
    m_book = book;
    refresh();
}

QString MetreView::words() const
{
    return m_metre ? metre::describe(*m_metre) : QString();
}

void MetreView::refresh()
{
    const auto& poem = m_reader.poem();
    m_metre.reset();
    QList<VerseMark> marks;
    if (m_on && poem) {
        // The text as shown (in Traditional characters, say: the variant forms read them),
        // the title as stored, where a 词's tune is named. A foreign poem comes out 其他.
        m_metre = metre::analyse(poem->text.title, poem->shown.content, {m_book});
        marks.reserve(m_metre->chars.size());
        for (int i = 0; i < m_metre->chars.size(); ++i) {
            const metre::CharMetre& c = m_metre->chars[i];
            const auto& glyph = m_metre->verse.glyphs[i];
            marks.append({glyph.position, glyph.length, c.mark, c.foot, c.fault});
        }
    }
    m_pane.setMarks(std::move(marks));
    const QString text = m_metre ? QStringLiteral("格律：") + words() : QString();
    m_words->setText(text);
    m_words->setAccessibleName(text);
    m_words->setFont(m_pane.font());
    m_words->setVisible(m_metre.has_value());
    m_pane.fitHeader();
}

QString MetreView::readingsAt(int position) const
{
    if (!m_metre)
        return {};
    const auto& glyphs = m_metre->verse.glyphs;
    // The character after the cursor, or before it at a line's end.
    for (int at : {position, position - 1}) {
        auto it = std::find_if(glyphs.begin(), glyphs.end(), [at](const auto& g) { return g.position == at; });
        if (it == glyphs.end())
            continue;
        const int index = int(it - glyphs.begin());
        const metre::CharMetre& c = m_metre->chars[index];
        QString words = metre::readingsOf(it->c, m_metre->book);
        if (c.byPosition)
            words += QStringLiteral("；此处读%1（由位置定）").arg(c.mark == metre::Mark::Level ? u"平" : u"仄");
        if (!c.expected.isNull())
            words += QStringLiteral("；格律：%1").arg(c.expected);
        for (const metre::Fault& fault : m_metre->faults)
            if (m_metre->verse.phrases[fault.line - 1].first + fault.column - 1 == index)
                words += QStringLiteral("；") + fault.kind;
        return words;
    }
    return {};
}

bool MetreView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pane.viewport() && event->type() == QEvent::ToolTip && m_metre) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString words = readingsAt(m_pane.cursorForPosition(help->pos()).position());
        if (words.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), words, m_pane.viewport());
        return true;
    }
    // The words follow the area's font (chosen, or zoomed) and its colours.
    if (watched == &m_pane && (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)) {
        m_words->setFont(m_pane.font());
        m_words->setPalette(m_pane.palette());
        m_pane.fitHeader();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qelvane
