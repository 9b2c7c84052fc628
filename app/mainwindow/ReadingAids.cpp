#include "ReadingAids.h"

#include "PoemReader.h"
#include "text/MetreWords.h"
#include "text/Pinyin.h"
#include "ui/VerseView.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

namespace qelvane {

ReadingAids::ReadingAids(PoemReader& reader, VerseView& pane, QObject* parent)
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
    m_viewport = m_pane.viewport();
    m_viewport->installEventFilter(this);
    m_pane.installEventFilter(this);
    connect(&m_reader, &PoemReader::shownChanged, this, &ReadingAids::refresh);
    connect(&m_pane, &QTextEdit::cursorPositionChanged, this, [this] {
        if (!m_verse.glyphs.isEmpty() && m_pane.hasFocus())
            emit characterChosen(readingsAt(m_pane.textCursor().position()));
    });
}

void ReadingAids::setMetreOn(bool on)
{
    m_metreOn = on;
    refresh();
}

void ReadingAids::setPinyinOn(bool on)
{
    m_pinyinOn = on;
    refresh();
}

void ReadingAids::setBook(std::optional<metre::Book> book)
{
    m_book = book;
    refresh();
}

QString ReadingAids::words() const
{
    return m_metre ? metre::describe(*m_metre) : QString();
}

void ReadingAids::refresh()
{
    const auto& poem = m_reader.poem();
    m_metre.reset();
    m_verse = {};
    QList<VerseMark> marks;
    QList<PinyinMark> readings;
    if (poem && (m_metreOn || m_pinyinOn))
        m_verse = metre::VerseText::of(poem->shown.content);
    if (m_metreOn && poem) {
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
    if (m_pinyinOn) {
        readings.reserve(m_verse.glyphs.size());
        for (const auto& glyph : m_verse.glyphs) {
            const metre::Pinyin pinyin = metre::pinyinOf(glyph.c);
            if (!pinyin.readings.isEmpty())
                readings.append({glyph.position, glyph.length, pinyin.readings.first(), pinyin.polyphone()});
        }
    }
    m_pane.setMarks(std::move(marks));
    m_pane.setPinyin(std::move(readings));
    const QString text = m_metre ? QStringLiteral("格律：") + words() : QString();
    m_words->setText(text);
    m_words->setAccessibleName(text);
    m_words->setFont(m_pane.font());
    m_words->setVisible(m_metre.has_value());
    m_pane.fitHeader();
}

QString ReadingAids::readingsAt(int position) const
{
    const auto& glyphs = m_verse.glyphs;
    // The character after the cursor, or before it at a line's end.
    for (int at : {position, position - 1}) {
        auto it = std::find_if(glyphs.begin(), glyphs.end(), [at](const auto& g) { return g.position == at; });
        if (it == glyphs.end())
            continue;
        QStringList told;
        if (m_pinyinOn) {
            const metre::Pinyin pinyin = metre::pinyinOf(it->c);
            told << (pinyin.readings.isEmpty() ? QStringLiteral("%1：无拼音").arg(QString::fromUcs4(&it->c, 1))
                                               : QStringLiteral("%1：%2").arg(QString::fromUcs4(&it->c, 1),
                                                                              pinyin.readings.join(u'、')));
        }
        if (m_metre) {
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
            told << words;
        }
        return told.join(QStringLiteral("　"));
    }
    return {};
}

bool ReadingAids::eventFilter(QObject* watched, QEvent* event)
{
    // The event's kind first: the area sends events while it is taken down, when it may no
    // longer be asked anything.
    if (event->type() == QEvent::ToolTip && watched == m_viewport && !m_verse.glyphs.isEmpty()) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString words = readingsAt(m_pane.cursorForPosition(help->pos()).position());
        if (words.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), words, m_viewport);
        return true;
    }
    // The words follow the area's font (chosen, or zoomed) and its colours.
    if ((event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) && watched == &m_pane) {
        m_words->setFont(m_pane.font());
        m_words->setPalette(m_pane.palette());
        m_pane.fitHeader();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qelvane
