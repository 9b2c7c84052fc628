// The poem list, the poem shown from it, and a poem handed over by the search dialog.
#include "frmMain.h"

#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"
#include "ui/PoemEntry.h"
#include "ui/Text.h"
#include "platform/MessageBox.h"
#include "StatusBar.h"
#include "store/Library.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <stdexcept>

namespace qelvane {

void frmMain::fillPoemList(const QList<library::PoemTitle>& poems, LibrarySide side)
{
    QList<QTreeWidgetItem*> entries;
    for (const library::PoemTitle& poem : poems)
        entries << new PoemEntry(keys::keyOf(side, poem.id), poem.title);
    lvwPoem->addTopLevelItems(entries);
    if (m_listSorted)
        lvwPoem->sortItems(0, m_listSortOrder);
    // Each author's list is read from its first entry, not at the last one's scroll position.
    lvwPoem->scrollToTop();
}

frmMain::ChosenPoem frmMain::poemOf(QTreeWidgetItem* entry) const
{
    return {m_listSide, keys::idOf(m_listSide, entry->data(0, KeyRole).toString()), entry};
}

std::optional<frmMain::ChosenPoem> frmMain::selectedPoem() const
{
    const QList<QTreeWidgetItem*> chosen = lvwPoem->selectedItems();
    if (chosen.isEmpty())
        return std::nullopt;
    return poemOf(chosen.first());
}

void frmMain::addPoemEntry(const QString& key, const QString& title)
{
    lvwPoem->addTopLevelItem(new PoemEntry(key, title));
}

void frmMain::lvwPoem_ColumnClick(int column)
{
    // The list starts ascending, so the first click sorts descending; sorting then
    // stays on, and later fills come in the chosen order.
    m_listSorted = true;
    m_listSortOrder = m_listSortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    lvwPoem->header()->setSortIndicatorShown(true);
    lvwPoem->header()->setSortIndicator(column, m_listSortOrder);
    lvwPoem->sortItems(column, m_listSortOrder);
}

void frmMain::lvwPoem_ItemClick(QTreeWidgetItem* entry)
{
    txtPoemDetail->clear();
    txtPoemNote->clear();
    if (!entry)
        return;
    const ChosenPoem clicked = poemOf(entry);
    if (const std::optional<library::PoemText> poem = library::poemText(m_db, clicked.side, clicked.id)) {
        txtPoemDetail->setPlainText(poem->content);
        txtPoemNote->setPlainText(poem->notes);
    }
}

void frmMain::mQueryForm_ShowQueryResult(QString& PoemID, QString& PoemName, QString& PoemType)
{
    m_listSide = keys::sideOfMarker(PoemType);
    lvwPoem->clear();
    addPoemEntry(PoemID, PoemName);
    QTreeWidgetItem* entry = lvwPoem->topLevelItem(0);
    lvwPoem->setCurrentItem(entry);
    lvwPoem_ItemClick(entry);

    // From here on a failing step is reported and the next one still runs, so the
    // poem is shown even when its author cannot be found.
    auto step = [this](auto&& work) {
        try {
            work();
        } catch (const std::exception& failure) {
            msg::notice(this, QString::fromUtf8(failure.what()));
        }
    };
    const LibrarySide side = keys::sideOfMarker(PoemType);
    QString authorId = QStringLiteral("不详");
    step([&] {
        authorId = library::authorIdOfPoem(m_db, side, keys::idOf(side, PoemID)).value_or(authorId);
    });
    step([&] {
        // A foreign result never selects a Chinese author, whatever its key.
        const QString key = keys::keyOf(side, text::trimSpaces(authorId));
        QTreeWidgetItem* node = nodeByKey(side, key);
        if (!node)
            throw std::runtime_error(
                QStringLiteral("树状视图中找不到作者节点“%1”。").arg(key).toStdString());
        selectWithoutClick(node);
    });
    step([&] {
        txtAuthorDetail->setPlainText(library::biography(m_db, side, authorId));
    });
    showPosition(QStringLiteral("当前状态：查找诗词结果"));
}

} // namespace qelvane
