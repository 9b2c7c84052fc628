#include "SearchResults.h"

#include "ui/Icons.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"

namespace qelvane {

SearchResults::SearchResults(QObject* parent) : QAbstractListModel(parent), m_poemIcon(treeImage(QStringLiteral("Poem")))
{
}

void SearchResults::append(FoundPoems&& rows, LibrarySide kind)
{
    if (rows.isEmpty())
        return;
    m_kind = kind;
    beginInsertRows({}, int(m_found.size()), int(m_found.size() + rows.size() - 1));
    m_found.append(std::move(rows));
    endInsertRows();
}

void SearchResults::clear()
{
    beginResetModel();
    m_found.clear();
    endResetModel();
}

SearchResults::Row SearchResults::row(int index) const
{
    return {keys::keyOf(m_kind, m_found.id(index)), m_found.title(index), m_kind};
}

int SearchResults::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_found.size());
}

QVariant SearchResults::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_found.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_found.title(index.row());
    case Qt::DecorationRole:
        return m_poemIcon;
    case KeyRole:
        return keys::keyOf(m_kind, m_found.id(index.row()));
    case KindRole:
        return int(m_kind);
    default:
        return {};
    }
}

QVariant SearchResults::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("作品名称");
    return {};
}

} // namespace qelvane
