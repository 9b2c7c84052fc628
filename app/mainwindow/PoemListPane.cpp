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
    for (const library::PoemTitle& poem : poems)
        entries << new PoemEntry(keys::keyOf(side, poem.id), poem.title);
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
    auto* entry = new PoemEntry(key, title);
    m_list->addTopLevelItem(entry);
    m_list->setCurrentItem(entry);
    return entry;
}

void PoemListPane::add(const QString& key, const QString& title)
{
    m_list->addTopLevelItem(new PoemEntry(key, title));
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
    // The list starts ascending, so the first click sorts descending; sorting then
    // stays on, and later fills come in the chosen order.
    m_sorted = true;
    m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setSortIndicator(column, m_sortOrder);
    m_list->sortItems(column, m_sortOrder);
}

void PoemListPane::keepOrder()
{
    if (m_sorted)
        m_list->sortItems(0, m_sortOrder);
}

} // namespace qelvane
