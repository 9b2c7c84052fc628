#include "FindResults.h"

#include <QApplication>
#include <QPainter>

namespace qelvane {

namespace {
constexpr int Padding = 4;

// What the row says about where the poem is from: its author, then epoch or country.
QString origin(const findindex::Hit& hit)
{
    QStringList parts;
    if (!hit.author.isEmpty())
        parts << hit.author;
    if (!hit.place.isEmpty())
        parts << hit.place;
    return parts.join(QStringLiteral(" · "));
}
} // namespace

void FindResults::show(QList<findindex::Hit> hits)
{
    beginResetModel();
    m_hits = std::move(hits);
    endResetModel();
}

int FindResults::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_hits.size());
}

QVariant FindResults::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_hits.size())
        return {};
    const findindex::Hit& found = m_hits.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return found.title;
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: {
        // What a screen reader reads for the row: title, author and epoch, the line.
        QString text = found.title + QStringLiteral("，") + origin(found);
        if (found.part != findindex::Part::Author)
            text += QStringLiteral("：") + found.line;
        if (found.edits > 0)
            text += QStringLiteral("（相近）");
        return text;
    }
    default:
        return {};
    }
}

void FoundPoemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);

    const auto* results = qobject_cast<const FindResults*>(index.model());
    if (!results)
        return;
    const findindex::Hit& found = results->hit(index.row());
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    const QColor text = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor faint = option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::PlaceholderText);
    const QRect area = option.rect.adjusted(Padding, Padding, -Padding, -Padding);
    const int lineHeight = option.fontMetrics.height();

    painter->save();
    QFont bold = option.font;
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    QRect first(area.left(), area.top(), area.width(), lineHeight);
    const QString title = boldMetrics.elidedText(found.title, Qt::ElideRight, first.width() * 2 / 3);
    painter->setFont(bold);
    painter->setPen(text);
    painter->drawText(first, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter->setFont(option.font);
    painter->setPen(faint);
    const int after = boldMetrics.horizontalAdvance(title) + option.fontMetrics.horizontalAdvance(QLatin1Char(' ')) * 2;
    painter->drawText(first.adjusted(after, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(origin(found), Qt::ElideRight, first.width() - after));

    // The line, with the match drawn in bold on the highlight's colour (or, in a
    // selected row, underlined).
    if (found.part != findindex::Part::Author) {
        const QRect second(area.left(), area.top() + lineHeight, area.width(), lineHeight);
        const QString before = found.line.left(found.matchStart);
        const QString match = found.line.mid(found.matchStart, found.matchLength);
        const QString rest = found.line.mid(found.matchStart + found.matchLength);
        int x = second.left();
        // Each piece gets all the room left, and is cut short only when it needs more.
        const auto draw = [&](const QString& piece, const QFont& font) {
            const QFontMetrics metrics(font);
            const int room = second.right() - x;
            if (room <= 0 || piece.isEmpty())
                return;
            painter->setFont(font);
            painter->drawText(QRect(x, second.top(), room, second.height()), Qt::AlignLeft | Qt::AlignVCenter,
                              metrics.elidedText(piece, Qt::ElideRight, room));
            x += std::min(metrics.horizontalAdvance(piece), room);
        };
        painter->setPen(text);
        draw(before, option.font);
        QFont marked = bold;
        marked.setUnderline(selected);
        const QFontMetrics markedMetrics(marked);
        const QRect matchBox(x, second.top(), std::min(markedMetrics.horizontalAdvance(match), second.right() - x),
                             second.height());
        if (!selected && matchBox.width() > 0) {
            // A pale highlight under dark text, a deep one under light text.
            const QColor highlight = option.palette.color(group, QPalette::Highlight);
            const bool darkText = text.lightness() < 128;
            painter->fillRect(matchBox, darkText ? highlight.lighter(170) : highlight.darker(160));
        }
        draw(match, marked);
        draw(rest, option.font);
    }
    painter->restore();
}

QSize FoundPoemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), option.fontMetrics.height() * 2 + Padding * 2);
}

} // namespace qelvane
