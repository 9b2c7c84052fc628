#pragma once

#include "store/LibrarySide.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QSortFilterProxyModel>

namespace qelvane {

class DbConnection;

// The favourite poems of both sides for the favourites cleaner: title, author and
// kind, read from the two tables in one pass each. Thousands of favourites list
// without an item object each.
class FavoriteList : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Favorite {
        LibrarySide side = LibrarySide::China;
        QString key;    // the list key: the ID, "F" + ID when foreign
        QString title;  // trimmed
        QString author; // trimmed
    };

    explicit FavoriteList(QObject* parent = nullptr);

    // Reads every favourite again: the Chinese ones, then the foreign ones.
    void fill(DbConnection& db);
    const Favorite& favorite(int row) const { return m_rows.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // "中国诗词" or "国外诗词".
    static QString kindLabel(LibrarySide side);

private:
    QList<Favorite> m_rows;
    QIcon m_icon;
};

// The cleaner's order: by the clicked column, as a Chinese reader orders text.
class FavoriteOrder : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

} // namespace qelvane
