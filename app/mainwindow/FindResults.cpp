#include "FindResults.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

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

void FindResults::show(QList<findindex::Hit> hits, bool more)
{
    beginResetModel();
    // The authors first, then the poems, each in the finder's order.
    const auto firstPoem = std::stable_partition(hits.begin(), hits.end(), [](const findindex::Hit& hit) {
        return hit.part == findindex::Part::Author;
    });
    m_authors = int(firstPoem - hits.begin());
    m_hits = std::move(hits);
    m_more = more;
    m_shown = true;
    endResetModel();
}

void FindResults::clear()
{
    beginResetModel();
    m_hits.clear();
    m_authors = 0;
    m_more = false;
    m_shown = false;
    endResetModel();
}

int FindResults::poemRows() const
{
    return int(m_hits.size()) - authorRows();
}

FindResults::Kind FindResults::kind(int row) const
{
    if (m_hits.isEmpty())
        return Kind::Nothing;
    if (row >= m_hits.size())
        return Kind::More;
    return row < authorRows() ? Kind::Author : Kind::Poem;
}

int FindResults::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_shown)
        return 0;
    return m_hits.isEmpty() ? 1 : int(m_hits.size()) + (m_more ? 1 : 0);
}

Qt::ItemFlags FindResults::flags(const QModelIndex& index) const
{
    // "Nothing found" is read, not chosen.
    if (index.isValid() && kind(index.row()) == Kind::Nothing)
        return Qt::ItemIsEnabled;
    return QAbstractListModel::flags(index);
}

QVariant FindResults::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole)
        return {};
    switch (kind(index.row())) {
    case Kind::Nothing:
        return QStringLiteral("没有找到诗词");
    case Kind::More:
        return QStringLiteral("显示更多诗词……");
    case Kind::Author: {
        const findindex::Hit& author = m_hits.at(index.row());
        if (role == Qt::DisplayRole)
            return author.author;
        QString text = QStringLiteral("作者%1").arg(origin(author));
        if (author.edits > 0)
            text += QStringLiteral("（相近）");
        return text;
    }
    case Kind::Poem:
        break;
    }
    const findindex::Hit& found = m_hits.at(index.row());
    if (role == Qt::DisplayRole)
        return found.title;
    // What a screen reader reads for the row: title, author and epoch, the line.
    QString text = found.title + QStringLiteral("，") + origin(found) + QStringLiteral("：") + found.line;
    if (found.edits > 0)
        text += QStringLiteral("（相近）");
    return text;
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
    const FindResults::Kind kind = results->kind(index.row());
    if (kind == FindResults::Kind::Nothing || kind == FindResults::Kind::More) {
        painter->setPen(kind == FindResults::Kind::More ? text : faint);
        painter->drawText(first, Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        painter->restore();
        return;
    }
    const findindex::Hit& found = results->hit(index.row());
    if (kind == FindResults::Kind::Author) {
        painter->setFont(bold);
        painter->setPen(text);
        painter->drawText(first, Qt::AlignLeft | Qt::AlignVCenter, boldMetrics.elidedText(found.author, Qt::ElideRight, first.width()));
        painter->setFont(option.font);
        painter->setPen(faint);
        const QRect second(area.left(), area.top() + lineHeight, area.width(), lineHeight);
        const QString about = QStringLiteral("作者 · %1").arg(found.place);
        painter->drawText(second, Qt::AlignLeft | Qt::AlignVCenter, option.fontMetrics.elidedText(about, Qt::ElideRight, second.width()));
        painter->restore();
        return;
    }
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
    {
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

// Every row is two lines high, the one-line rows too: the list lays out all rows at the
// height of its first.
QSize FoundPoemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), option.fontMetrics.height() * 2 + Padding * 2);
}

} // namespace qelvane
