#include "FavoriteList.h"

#include "store/Library.h"
#include "ui/Icons.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"
#include "ui/Text.h"

namespace qelvane {

FavoriteList::FavoriteList(QObject* parent) : QAbstractTableModel(parent), m_icon(treeImage(QStringLiteral("Poem")))
{
}

QString FavoriteList::kindLabel(LibrarySide side)
{
    return side == LibrarySide::China ? QStringLiteral("中国诗词") : QStringLiteral("国外诗词");
}

void FavoriteList::fill(DbConnection& db)
{
    QList<Favorite> rows;
    for (LibrarySide side : {LibrarySide::China, LibrarySide::Foreign}) {
        for (const library::FavoritePoem& poem : library::favoritePoems(db, side))
            rows.append({side, keys::keyOf(side, poem.id), text::trimSpaces(poem.title), text::trimSpaces(poem.author)});
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int FavoriteList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int FavoriteList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant FavoriteList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Favorite& favorite = m_rows.at(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return favorite.title;
        case 1:
            return favorite.author;
        default:
            return kindLabel(favorite.side);
        }
    }
    if (role == Qt::DecorationRole && index.column() == 0)
        return m_icon;
    if (role == KeyRole)
        return favorite.key;
    return {};
}

QVariant FavoriteList::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList titles = {QStringLiteral("诗词名称"), QStringLiteral("作者"), QStringLiteral("类别")};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < titles.size())
        return titles.at(section);
    return {};
}

bool FavoriteOrder::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    return text::chineseLess(left.data().toString(), right.data().toString());
}

} // namespace qelvane
