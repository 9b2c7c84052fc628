#pragma once

#include "store/FindIndex.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>

namespace qelvane {

// What the find box found: the authors whose name matches (a row each, opening the
// author), the poems with their title, author, epoch or country and the matching line
// with the match marked, and a last row that shows more when there are more. Nothing
// found is a row of its own that says so.
class FindResults : public QAbstractListModel {
    Q_OBJECT
public:
    enum class Kind { Poem, Author, More, Nothing };

    using QAbstractListModel::QAbstractListModel;

    void show(QList<findindex::Hit> hits, bool more);
    void clear();
    Kind kind(int row) const;
    // The poem or author of a row of those kinds.
    const findindex::Hit& hit(int row) const { return m_hits.at(row); }
    int poemRows() const;
    int authorRows() const { return m_authors; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<findindex::Hit> m_hits;
    int m_authors = 0;
    bool m_more = false;
    bool m_shown = false;
};

// Draws a found poem on two lines: the title in bold beside author and epoch, then the
// matching line with the match in the selection's colours; an author as his name and
// epoch; the rows for more and for nothing with one line of text.
class FoundPoemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace qelvane
