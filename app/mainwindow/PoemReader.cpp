#include "PoemReader.h"

#include "ReadingPanes.h"
#include "store/ChineseConversion.h"
#include "store/DbConnection.h"
#include "ui/VerseView.h"
#include "ui/VerticalVerse.h"

#include <QEvent>
#include <QLabel>
#include <QMimeData>

namespace qelvane {

namespace {

// The title is drawn this much larger than the poem's own text.
constexpr double TitleScale = 1.35;

} // namespace

PoemReader::PoemReader(ReadingPanes& panes, DbConnection& db, QObject* parent)
    : QObject(parent), m_panes(panes), m_db(db), m_poemPane(panes.poemPane()),
      m_heading(new QLabel), m_vertical(new VerticalVerse(panes.poemPane()))
{
    m_vertical->hide();
    m_heading->setObjectName(QStringLiteral("lblPoemHeading"));
    m_heading->setWordWrap(true);
    m_heading->setTextFormat(Qt::RichText);
    m_heading->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse |
                                       Qt::LinksAccessibleByKeyboard);
    // Drawn in the poem area's own colours, as part of it.
    m_heading->setAutoFillBackground(true);
    m_heading->setBackgroundRole(QPalette::Base);
    m_heading->setForegroundRole(QPalette::Text);
    m_heading->setContentsMargins(6, 6, 6, 4);
    m_heading->hide();
    m_poemPane->setHeader(m_heading);
    m_poemPane->installEventFilter(this);
    connect(m_heading, &QLabel::linkActivated, this, [this] {
        if (m_poem)
            emit authorWanted(m_poem->side, m_poem->id);
    });
}

PoemReader::~PoemReader() = default;

QString PoemReader::authorOf(const library::PoemText& text)
{
    return text.author.trimmed().isEmpty() ? QStringLiteral("佚名") : text.author.trimmed();
}

QString PoemReader::bylineOf(const library::PoemText& text)
{
    const QString place = text.place.trimmed();
    return place.isEmpty() ? authorOf(text) : authorOf(text) + QStringLiteral(" · ") + place;
}

library::PoemText PoemReader::shownForm(const library::PoemText& stored) const
{
    if (!m_traditional)
        return stored;
    library::PoemText shown = stored;
    const ChineseConversion& convert = *m_toTraditional;
    shown.title = convert(stored.title);
    shown.content = convert(stored.content);
    shown.notes = convert(stored.notes);
    return shown;
}

void PoemReader::setTraditional(bool traditional)
{
    if (traditional && !m_toTraditional)
        m_toTraditional = std::make_unique<ChineseConversion>("s2t.json");
    m_traditional = traditional;
    if (!m_poem)
        return;
    m_poem->shown = shownForm(m_poem->text);
    m_panes.showPoem(m_poem->shown);
    refreshHeading();
    showVerticalOrNot();
    emit shownChanged();
}

void PoemReader::setVertical(bool vertical)
{
    m_verticalWanted = vertical;
    showVerticalOrNot();
}

void PoemReader::setNoPunctuation(bool none)
{
    m_noPunctuation = none;
    m_vertical->setNoPunctuation(none);
    showVerticalOrNot();
}

void PoemReader::showVerticalOrNot()
{
    const bool columns = m_verticalWanted && m_poem && m_poem->side == LibrarySide::China;
    if (!columns) {
        m_vertical->hide();
        return;
    }
    const library::PoemText& shown = m_poem->shown;
    // In the area's face (zoom included) and colours.
    m_vertical->setFont(m_poemPane->font());
    m_vertical->setPalette(m_poemPane->palette());
    m_vertical->setGeometry(m_poemPane->contentsRect());
    m_vertical->setSheet({shown.title, bylineOf(shown), shown.content, {}});
    // Over the whole area, the heading included: the columns begin with it.
    m_vertical->show();
    m_vertical->raise();
}

void PoemReader::setVerseCentred(bool centred)
{
    m_heading->setAlignment(centred ? Qt::AlignHCenter : Qt::AlignLeft);
    m_poemPane->setCentredBlock(centred);
}

bool PoemReader::verseCentred() const
{
    return m_poemPane->centredBlock();
}

bool PoemReader::show(LibrarySide side, const QString& id)
{
    std::optional<library::PoemText> text = library::poemText(m_db, side, id);
    if (!text) {
        clear();
        return false;
    }
    m_poem = Poem{side, id, *text, shownForm(*text)};
    m_panes.showPoem(m_poem->shown);
    refreshHeading();
    showVerticalOrNot();
    if (!m_goingThrough)
        record({side, id});
    emit shownChanged();
    return true;
}

void PoemReader::clear()
{
    m_poem.reset();
    m_panes.clearPoem();
    refreshHeading();
    showVerticalOrNot();
    emit shownChanged();
}

void PoemReader::refreshHeading()
{
    if (!m_poem) {
        m_heading->clear();
        m_heading->setAccessibleName(QString());
        m_heading->hide();
        m_poemPane->fitHeader();
        return;
    }
    const library::PoemText& text = m_poem->shown;
    const QString converted = m_traditional ? QStringLiteral(" · 繁体（由简体转换）") : QString();
    const QFont font = m_poemPane->font();
    const double titlePoints = font.pointSizeF() > 0 ? font.pointSizeF() * TitleScale : 12;
    m_heading->setFont(font);
    m_heading->setText(
        QStringLiteral("<div style=\"font-size:%1pt; font-weight:bold\">%2</div><div>%3</div>")
            .arg(titlePoints, 0, 'f', 1)
            .arg(text.title.trimmed().toHtmlEscaped(),
                 // The author is a link in the area's own ink, underlined.
                 QStringLiteral("<a href=\"author\" style=\"color:%1\">%2</a>")
                     .arg(m_poemPane->palette().color(QPalette::Text).name(), bylineOf(text).toHtmlEscaped()) +
                     converted.toHtmlEscaped()));
    // A screen reader reads the heading as the reader sees it.
    m_heading->setAccessibleName(text.title.trimmed() + QStringLiteral("，") + bylineOf(text) + converted);
    m_heading->show();
    m_poemPane->fitHeader();
}

bool PoemReader::eventFilter(QObject* watched, QEvent* event)
{
    // The heading follows the poem area's font: chosen in the settings, or zoomed.
    if (watched == m_poemPane && event->type() == QEvent::FontChange) {
        refreshHeading();
        m_vertical->setFont(m_poemPane->font());
    }
    if (watched == m_poemPane && event->type() == QEvent::Resize)
        m_vertical->setGeometry(m_poemPane->contentsRect());
    // And its colours, whichever way they change (the settings, a look).
    if (watched == m_poemPane && event->type() == QEvent::PaletteChange) {
        m_heading->setPalette(m_poemPane->palette());
        m_vertical->setPalette(m_poemPane->palette());
        refreshHeading();
    }
    return QObject::eventFilter(watched, event);
}

QString PoemReader::copiedText() const
{
    if (!m_poem)
        return {};
    const library::PoemText& text = m_poem->shown;
    const QString author = authorOf(text);
    const QString byline =
        text.place.trimmed().isEmpty() ? author : author + QStringLiteral("（") + text.place.trimmed() + QStringLiteral("）");
    QString body = text.content;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.title.trimmed() + QLatin1Char('\n') + byline + QStringLiteral("\n\n") + body;
}

QMimeData* PoemReader::copiedData() const
{
    if (!m_poem)
        return nullptr;
    const QStringList lines = copiedText().split(QLatin1Char('\n'));
    QString html = QStringLiteral("<h3>%1</h3><p>%2</p><p>").arg(lines.value(0).toHtmlEscaped(),
                                                                 lines.value(1).toHtmlEscaped());
    QStringList body;
    for (qsizetype i = 3; i < lines.size(); ++i)
        body << lines[i].toHtmlEscaped();
    html += body.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
    auto* data = new QMimeData;
    data->setText(copiedText());
    data->setHtml(html);
    return data;
}

void PoemReader::record(const Place& place)
{
    if (m_at >= 0 && m_history[m_at] == place)
        return;
    m_history.resize(m_at + 1);
    m_history.append(place);
    m_at = m_history.size() - 1;
    emit historyChanged();
}

bool PoemReader::exists(const Place& place) const
{
    return library::authorIdOfPoem(m_db, place.side, place.id).has_value();
}

std::optional<PoemReader::Place> PoemReader::step(int direction)
{
    for (qsizetype at = m_at + direction; at >= 0 && at < m_history.size();) {
        if (exists(m_history[at])) {
            m_at = at;
            emit historyChanged();
            return m_history[at];
        }
        // Deleted meanwhile: forgotten, and the next one in that direction is tried.
        m_history.removeAt(at);
        if (at < m_at)
            --m_at;
        if (direction < 0)
            --at;
    }
    emit historyChanged();
    return std::nullopt;
}

std::optional<PoemReader::Place> PoemReader::stepBack()
{
    return step(-1);
}

std::optional<PoemReader::Place> PoemReader::stepForward()
{
    return step(+1);
}

} // namespace qelvane
