#pragma once

#include "store/LibrarySide.h"

#include <QAbstractListModel>
#include <QIcon>
#include <QList>

namespace qelvane {

// The search dialog's results: one row a poem found, with its list key, its title and
// the side of the library the search read. Rows come in a slice at a time, so a
// search with tens of thousands of matches lists them without an item object each.
class SearchResults : public QAbstractListModel {
    Q_OBJECT
public:
    struct Row {
        QString key;
        QString title;
        LibrarySide kind = LibrarySide::China;
    };

    explicit SearchResults(QObject* parent = nullptr);

    void append(QList<Row> rows);
    void clear();
    const Row& row(int index) const { return m_rows.at(index); }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<Row> m_rows;
    QIcon m_poemIcon;
};

} // namespace qelvane
