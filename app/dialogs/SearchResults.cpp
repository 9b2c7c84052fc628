#include "SearchResults.h"

#include "ui/Icons.h"
#include "ui/NodeData.h"

namespace qelvane {

SearchResults::SearchResults(QObject* parent) : QAbstractListModel(parent), m_poemIcon(treeImage(QStringLiteral("Poem")))
{
}

void SearchResults::append(QList<Row> rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + rows.size() - 1));
    m_rows.append(std::move(rows));
    endInsertRows();
}

void SearchResults::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int SearchResults::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant SearchResults::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& found = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return found.title;
    case Qt::DecorationRole:
        return m_poemIcon;
    case KeyRole:
        return found.key;
    case KindRole:
        return int(found.kind);
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
