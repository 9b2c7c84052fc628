#include "PoemLayout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace qelvane {

namespace {

constexpr qreal TitleScale = 1.35, BylineScale = 0.9, NotesScale = 0.85, SmallHeadingScale = 0.75;
// Lines of verse a little apart; columns a little wider than a character.
constexpr qreal LineSpacing = 1.5, ColumnWidth = 1.7, CellHeight = 1.15;
// A vertical picture's columns hold at most this many characters.
constexpr int LongestColumn = 28;

QStringList linesOf(const QString& text)
{
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    QStringList lines = plain.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return lines;
}

// Quotation marks as the old books print them in columns.
QChar verticalForm(QChar c)
{
    switch (c.unicode()) {
    case u'“':
        return u'「';
    case u'”':
        return u'」';
    case u'‘':
        return u'『';
    case u'’':
        return u'』';
    default:
        return c;
    }
}

bool turnsInColumns(QChar c)
{
    return QStringLiteral("「」『』（）《》〈〉【】—…").contains(c);
}

} // namespace

bool PoemLayout::sitsTopRight(QChar c)
{
    return QStringLiteral("，。、！？；：").contains(c);
}

PoemLayout::PoemLayout(const Sheet& sheet, const Style& style, const QSizeF& page, qreal dpi)
    : m_sheet(sheet), m_style(style), m_page(page), m_dpi(dpi), m_margin(style.marginPoints * dpi / 72)
{
    qreal y = m_margin;
    if (m_style.vertical) {
        layOutColumns(y);
    } else {
        layOutHeading(y, 0, false);
        layOutLines(y);
        if (m_style.withNotes)
            layOutNotes(y);
        m_content = QSizeF(m_page.width(), m_page.height() > 0 ? m_page.height() : y + m_margin);
    }
}

QFont PoemLayout::sized(qreal scale, bool bold) const
{
    QFont font = m_style.font;
    const qreal points = m_style.font.pointSizeF() > 0 ? m_style.font.pointSizeF() : 12;
    font.setPixelSize(std::max(1, qRound(points * scale * m_dpi / 72)));
    font.setBold(bold);
    return font;
}

void PoemLayout::fit(qreal& y, qreal height)
{
    if (m_page.height() <= 0 || y + height <= m_page.height() - m_margin)
        return;
    ++m_pages;
    y = m_margin;
    layOutHeading(y, m_pages - 1, true);
}

void PoemLayout::layOutHeading(qreal& y, int page, bool small)
{
    const auto centred = [&](const QString& text, const QFont& font, qreal after) {
        const QFontMetricsF metrics(font);
        const qreal width = metrics.horizontalAdvance(text);
        m_runs.append({page, QPointF((m_page.width() - width) / 2, y + metrics.ascent()), text, font, false});
        y += metrics.height() * after;
    };
    if (small) {
        // A page after the first names its poem small above the rest.
        centred(m_sheet.title.trimmed() + QStringLiteral("（续）"), sized(SmallHeadingScale), 1.8);
        return;
    }
    centred(m_sheet.title.trimmed(), sized(TitleScale, true), 1.3);
    centred(m_sheet.byline, sized(BylineScale), 2.2);
}

void PoemLayout::layOutLines(qreal& y)
{
    flow(y, m_sheet.text, sized(1), LineSpacing);
}

void PoemLayout::layOutNotes(qreal& y)
{
    const QString notes = m_sheet.notes.trimmed();
    if (notes.isEmpty())
        return;
    const QFont font = sized(NotesScale);
    y += QFontMetricsF(font).height();
    flow(y, notes, font, 1.2);
}

// Each line of the text wrapped on the page's width: a line wider than the page goes on
// under itself.
void PoemLayout::flow(qreal& y, const QString& text, const QFont& font, qreal spacing)
{
    const QFontMetricsF metrics(font);
    for (const QString& line : linesOf(text)) {
        QTextLayout layout(line, font);
        layout.beginLayout();
        for (QTextLine part = layout.createLine(); part.isValid(); part = layout.createLine()) {
            part.setLineWidth(m_page.width() - 2 * m_margin);
            fit(y, metrics.height());
            m_runs.append({m_pages - 1, QPointF(m_margin, y + metrics.ascent()),
                           line.mid(part.textStart(), part.textLength()), font, false});
            y += metrics.height() * spacing;
        }
        layout.endLayout();
    }
}

// Columns from right to left: the title, the byline, a free column, then each verse in
// a column of its own (continued in the next when longer), then the notes.
void PoemLayout::layOutColumns(qreal& top)
{
    struct Column {
        QString text;
        QFont font;
        int segment = 0;
    };
    QList<Column> columns;
    const auto add = [&](const QString& text, const QFont& font) {
        columns.append({text, font, int(columns.size())});
    };
    add(m_sheet.title.trimmed(), sized(TitleScale, true));
    add(m_sheet.byline, sized(BylineScale));
    add(QString(), sized(1));
    for (const QString& verse : linesOf(m_sheet.text))
        add(verse.trimmed(), sized(1));
    if (m_style.withNotes && !m_sheet.notes.trimmed().isEmpty()) {
        add(QString(), sized(1));
        for (const QString& line : linesOf(m_sheet.notes.trimmed()))
            add(line.trimmed(), sized(NotesScale));
    }

    const qreal em = sized(1).pixelSize();
    const qreal cell = em * CellHeight * 1.0;
    int capacity = LongestColumn;
    if (m_page.height() > 0)
        capacity = std::max(1, int((m_page.height() - 2 * m_margin) / cell));
    else {
        capacity = 1;
        for (const Column& column : columns)
            capacity = std::max<int>(capacity, std::min<int>(LongestColumn, int(column.text.size())));
    }

    // Split columns longer than a page's height into several.
    QList<Column> placed;
    for (const Column& column : columns) {
        if (column.text.isEmpty()) {
            placed.append(column);
            continue;
        }
        for (qsizetype at = 0; at < column.text.size(); at += capacity)
            placed.append({column.text.mid(at, capacity), column.font, column.segment});
    }

    const qreal columnWidth = em * ColumnWidth;
    qreal width = m_page.width();
    if (m_page.height() <= 0 || m_page.width() <= 0)
        width = 2 * m_margin + columnWidth * placed.size();
    const int perPage = std::max(1, int((width - 2 * m_margin) / columnWidth));
    m_pages = int((placed.size() + perPage - 1) / perPage);
    const qreal height = m_page.height() > 0 ? m_page.height() : 2 * m_margin + cell * capacity;
    m_content = QSizeF(width, height);

    for (qsizetype index = 0; index < placed.size(); ++index) {
        const int page = int(index / perPage);
        const qreal right = width - m_margin - columnWidth * (index % perPage);
        const Column& column = placed[index];
        const qreal size = column.font.pixelSize();
        const qreal step = size * CellHeight;
        qreal y = top;
        for (QChar c : column.text) {
            if (m_style.noPunctuation && column.segment > 2 && (sitsTopRight(c) || c.isPunct()))
                continue;
            const QChar shown = verticalForm(c);
            const QRectF box(right - columnWidth + (columnWidth - size) / 2, y, size, step);
            m_cells.append({page, shown, box, column.segment});
            QPointF at(box.left(), box.top() + QFontMetricsF(column.font).ascent());
            if (sitsTopRight(c))
                at += QPointF(size * 0.55, -size * 0.6);
            m_runs.append({page, at, QString(shown), column.font, turnsInColumns(shown)});
            y += step;
        }
    }
}

int PoemLayout::cellAt(const QPointF& point) const
{
    for (qsizetype i = 0; i < m_cells.size(); ++i)
        if (m_cells[i].page == 0 && m_cells[i].box.adjusted(-m_cells[i].box.width() / 3, 0, m_cells[i].box.width() / 3, 0)
                                        .contains(point))
            return int(i);
    return -1;
}

QString PoemLayout::textOf(int first, int last) const
{
    QString text;
    for (int i = std::max(0, first); i <= last && i < m_cells.size(); ++i) {
        if (i > first && m_cells[i].segment != m_cells[i - 1].segment)
            text += QLatin1Char('\n');
        text += m_cells[i].character;
    }
    return text;
}

void PoemLayout::paint(QPainter& painter, int page, const QRectF& visible) const
{
    painter.save();
    painter.fillRect(visible.isValid() ? visible : QRectF(QPointF(0, 0), m_content), m_style.paper);
    painter.setPen(m_style.ink);
    // A run is a line or a character: those wholly outside what is shown are passed over.
    const qreal slack = m_style.font.pointSizeF() * m_dpi / 36;
    for (const Run& run : m_runs) {
        if (run.page != page)
            continue;
        if (visible.isValid() && (run.at.x() > visible.right() + slack || run.at.x() < visible.left() - 4 * slack) &&
            m_style.vertical)
            continue;
        painter.setFont(run.font);
        if (!run.turned) {
            painter.drawText(run.at, run.text);
            continue;
        }
        // Brackets and dashes turn a quarter to run along the column.
        const QFontMetricsF metrics(run.font);
        const QPointF centre(run.at.x() + run.font.pixelSize() / 2.0,
                             run.at.y() - metrics.ascent() + run.font.pixelSize() * CellHeight / 2);
        painter.save();
        painter.translate(centre);
        painter.rotate(90);
        painter.drawText(QPointF(-metrics.horizontalAdvance(run.text) / 2, metrics.ascent() / 2 - metrics.descent() / 2),
                         run.text);
        painter.restore();
    }
    painter.restore();
}

} // namespace qelvane
