// The poem list: its entries, their order and the one the reader chose.
#include "PoemListPane.h"

#include "ui/LibraryKeys.h"
#include "ui/NavigableTree.h"
#include "ui/NodeData.h"
#include "ui/PoemEntry.h"
#include "ui/Twips.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

namespace qelvane {

PoemListPane::PoemListPane(QWidget* parent) : QObject(parent)
{
    auto* list = new NavigableTree(parent);
    m_list = list;
    m_list->setObjectName(QStringLiteral("lvwPoem"));
    m_list->setAccessibleName(QStringLiteral("作品名称"));
    // Tabbing into the list shows the entry that gets the focus, as a click would.
    list->setShowsCurrentOnFocus(true);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({QString()});
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setStretchLastSection(true);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &PoemListPane::columnClicked);
    connect(m_list, &QTreeWidget::itemClicked, this, &PoemListPane::entryChosen);
    connect(list, &NavigableTree::itemReachedByKeyboard, this, &PoemListPane::entryChosen);
}

QWidget* PoemListPane::widget() const
{
    return m_list;
}

void PoemListPane::showTitleColumn()
{
    m_list->setHeaderLabels({QStringLiteral("作品名称")});
    m_list->setColumnWidth(0, std::max(0, m_list->width() - toPixels(100)));
}

void PoemListPane::fill(const QList<library::PoemTitle>& poems, LibrarySide side)
{
    m_side = side;
    QList<QTreeWidgetItem*> entries;
    entries.reserve(poems.size());
    for (const library::PoemTitle& poem : poems)
        entries << numbered(new PoemEntry(keys::keyOf(side, poem.id), poem.title));
    m_list->addTopLevelItems(entries);
    keepOrder();
    // Each author's list is read from its first entry, not at the last one's scroll position.
    m_list->scrollToTop();
}

QTreeWidgetItem* PoemListPane::choose(const QString& key)
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* entry = m_list->topLevelItem(i);
        if (entry->data(0, KeyRole).toString() == key) {
            m_list->setCurrentItem(entry);
            entry->setSelected(true);
            m_list->scrollToItem(entry);
            return entry;
        }
    }
    return nullptr;
}

QTreeWidgetItem* PoemListPane::showOnly(const QString& key, const QString& title, LibrarySide side)
{
    m_side = side;
    m_list->clear();
    m_nextOrdinal = 0;
    auto* entry = numbered(new PoemEntry(key, title));
    m_list->addTopLevelItem(entry);
    m_list->setCurrentItem(entry);
    return entry;
}

void PoemListPane::add(const QString& key, const QString& title)
{
    m_list->addTopLevelItem(numbered(new PoemEntry(key, title)));
    keepOrder();
}

void PoemListPane::remove(QTreeWidgetItem* entry)
{
    delete entry;
    m_list->clearSelection();
}

void PoemListPane::clear()
{
    m_list->clear();
    m_nextOrdinal = 0;
}

QTreeWidgetItem* PoemListPane::numbered(QTreeWidgetItem* entry)
{
    entry->setData(0, OrdinalRole, m_nextOrdinal++);
    return entry;
}

int PoemListPane::count() const
{
    return m_list->topLevelItemCount();
}

ChosenPoem PoemListPane::poemOf(QTreeWidgetItem* entry) const
{
    return {m_side, keys::idOf(m_side, entry->data(0, KeyRole).toString()), entry};
}

std::optional<ChosenPoem> PoemListPane::selected() const
{
    const QList<QTreeWidgetItem*> chosen = m_list->selectedItems();
    if (chosen.isEmpty())
        return std::nullopt;
    return poemOf(chosen.first());
}

void PoemListPane::sortByColumn(int column)
{
    // The list starts in the library's order; the first click sorts descending, the
    // second ascending, the third gives the library's order back. Sorting stays on
    // between authors: later fills come in the chosen order.
    if (m_sorted && m_sortOrder == Qt::AscendingOrder) {
        m_sorted = false;
        m_sortOrder = Qt::AscendingOrder;
        m_list->header()->setSortIndicatorShown(false);
        restoreLibraryOrder();
    } else {
        m_sortOrder = m_sorted ? Qt::AscendingOrder : Qt::DescendingOrder;
        m_sorted = true;
        m_list->header()->setSortIndicatorShown(true);
        m_list->header()->setSortIndicator(column, m_sortOrder);
        m_list->sortItems(column, m_sortOrder);
    }
    // The chosen poem stays where the reader can see it.
    if (QTreeWidgetItem* current = m_list->currentItem())
        m_list->scrollToItem(current);
}

void PoemListPane::restoreLibraryOrder()
{
    QTreeWidgetItem* current = m_list->currentItem();
    const QList<QTreeWidgetItem*> selection = m_list->selectedItems();
    QList<QTreeWidgetItem*> entries;
    entries.reserve(m_list->topLevelItemCount());
    while (m_list->topLevelItemCount() > 0)
        entries << m_list->takeTopLevelItem(m_list->topLevelItemCount() - 1);
    std::sort(entries.begin(), entries.end(), [](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
        return a->data(0, OrdinalRole).toLongLong() < b->data(0, OrdinalRole).toLongLong();
    });
    m_list->addTopLevelItems(entries);
    if (current)
        m_list->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem* entry : selection)
        entry->setSelected(true);
}

void PoemListPane::keepOrder()
{
    if (m_sorted)
        m_list->sortItems(0, m_sortOrder);
}

} // namespace qelvane
