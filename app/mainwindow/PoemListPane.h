#pragma once

#include "store/Library.h"

#include <QObject>
#include <QString>
#include <optional>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace qelvane {

// A poem the reader chose in the list: its side, its ID and its entry.
struct ChosenPoem {
    LibrarySide side = LibrarySide::China;
    QString id;
    QTreeWidgetItem* entry = nullptr;
};

// The poem list (lvwPoem): an author's poems, or a search result, from one side of the
// library; sorted by title once its column was clicked, in the order last chosen.
class PoemListPane : public QObject {
    Q_OBJECT
public:
    explicit PoemListPane(QWidget* parent);

    // The view, for the window's layout and display settings.
    QWidget* widget() const;
    // The title column as the loaded window shows it.
    void showTitleColumn();

    // The poems of one side, replacing nothing: the window clears first.
    void fill(const QList<library::PoemTitle>& poems, LibrarySide side);
    // The listed poem with that key made current and selected, as a click makes it;
    // nullptr when it is not listed.
    QTreeWidgetItem* choose(const QString& key);
    // One poem alone, made current: a search result.
    QTreeWidgetItem* showOnly(const QString& key, const QString& title, LibrarySide side);
    // A poem added to the listed author, in the list's order.
    void add(const QString& key, const QString& title);
    // Takes a poem's entry out; no other entry is chosen in its place.
    void remove(QTreeWidgetItem* entry);
    void clear();
    int count() const;

    // The entry the reader chose (the selected one; the current entry alone is no
    // choice), or none.
    std::optional<ChosenPoem> selected() const;
    ChosenPoem poemOf(QTreeWidgetItem* entry) const;
    // The side the listed poems come from.
    LibrarySide side() const { return m_side; }

    // The column's click: the first sorts descending, the second ascending, the third
    // gives back the library's order.
    void sortByColumn(int column);
    bool sorted() const { return m_sorted; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

signals:
    void entryChosen(QTreeWidgetItem* entry);
    void columnClicked(int column);

private:
    void keepOrder();
    void restoreLibraryOrder();
    // Marks an entry with its place in the library's order.
    QTreeWidgetItem* numbered(QTreeWidgetItem* entry);

    QTreeWidget* m_list;
    LibrarySide m_side = LibrarySide::China;
    bool m_sorted = false;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    qint64 m_nextOrdinal = 0;
};

} // namespace qelvane
