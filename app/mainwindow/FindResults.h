#pragma once

#include "store/FindIndex.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>

namespace qelvane {

// The poems the find box found: each row a poem with its title, author, epoch or
// country, and the matching line with the match marked.
class FindResults : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void show(QList<findindex::Hit> hits);
    const findindex::Hit& hit(int row) const { return m_hits.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QList<findindex::Hit> m_hits;
};

// Draws a found poem on two lines: the title in bold beside author and epoch, then the
// matching line with the match in the selection's colours.
class FoundPoemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace qelvane
