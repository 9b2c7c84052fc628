#pragma once

#include "FoundPoems.h"
#include "store/LibrarySide.h"

#include <QAbstractListModel>
#include <QIcon>
#include <QList>

namespace qelvane {

// The search dialog's results: one row a poem found, with its list key, its title and
// the side of the library the search read. Rows come in a batch at a time and are kept
// as the search found them (FoundPoems), so a search with hundreds of thousands of
// matches lists them without an object, or even a text, for each.
class SearchResults : public QAbstractListModel {
    Q_OBJECT
public:
    struct Row {
        QString key;
        QString title;
        LibrarySide kind = LibrarySide::China;
    };

    explicit SearchResults(QObject* parent = nullptr);

    // Rows found on one side of the library; a list holds one side's rows at a time.
    void append(FoundPoems&& rows, LibrarySide kind);
    void clear();
    Row row(int index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    FoundPoems m_found;
    LibrarySide m_kind = LibrarySide::China;
    QIcon m_poemIcon;
};

} // namespace qelvane
