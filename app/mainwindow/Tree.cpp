// The library tree: its rebuild for either view and what a click on a node shows.
#include "frmMain.h"

#include "NodeKind.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"
#include "StatusBar.h"
#include "store/Library.h"

#include <QTreeWidgetItem>

namespace qelvane {

QString frmMain::keyOf(const QTreeWidgetItem* item)
{
    return LibraryTreePane::keyOf(item);
}

QTreeWidgetItem* frmMain::nodeByKey(LibrarySide side, const QString& key) const
{
    return m_tree->nodeByKey(side, key);
}

void frmMain::removeNode(QTreeWidgetItem* node)
{
    m_tree->removeNode(node);
}

void frmMain::LoadTree()
{
    m_tree->load(m_db, FavoritesMode);
    emit treeLoaded();
}

frmMain::ReaderPlace frmMain::currentPlace() const
{
    QTreeWidgetItem* node = m_tree->current();
    ReaderPlace place;
    place.identity = identityOf(node);
    place.key = keyOf(node);
    place.text = node ? node->text(0) : QString();
    if (const std::optional<ChosenPoem> poem = selectedPoem())
        place.poemKey = keys::keyOf(poem->side, poem->id);
    return place;
}

QTreeWidgetItem* frmMain::nodeOf(const ReaderPlace& place) const
{
    if (place.identity.isAuthor())
        return nodeByKey(place.identity.side, place.key);
    if (place.identity.isPlace())
        return m_tree->placeNode(place.identity.side, place.text);
    return nullptr;
}

// After a rebuild (a view switch, an author renamed or added) the panes show what the
// tree now has current, as a click shows it: the author or place the reader was at
// when the new tree holds it, with the poem chosen again when it is still listed; else
// the place the reader last had in this view (`before`), else the node the rebuild
// made current. Nothing shown is left over from a tree that is gone.
void frmMain::reloadTreeKeepingPlace(const std::optional<ReaderPlace>& before)
{
    const ReaderPlace place = currentPlace();
    // Where the last rebuild left the reader, when he has not moved since, was no
    // choice of his: the place he had before comes first then.
    const bool unmoved = m_rebuiltPlace && *m_rebuiltPlace == place;
    LoadTree();

    QList<ReaderPlace> wanted;
    if (before && unmoved)
        wanted << *before << place;
    else if (before)
        wanted << place << *before;
    else
        wanted << place;
    QTreeWidgetItem* again = nullptr;
    QString poemKey;
    for (const ReaderPlace& candidate : wanted) {
        if ((again = nodeOf(candidate))) {
            poemKey = candidate.poemKey;
            break;
        }
    }
    // Back at the author he had, the poem he had chosen there (one the other view lacks).
    if (again && poemKey.isEmpty() && before && nodeOf(*before) == again)
        poemKey = before->poemKey;
    if (again)
        m_tree->setCurrentQuietly(again);
    else
        again = m_tree->current();
    if (!again)
        return;
    tvwPoem_NodeClick(again);
    if (!poemKey.isEmpty()) {
        if (QTreeWidgetItem* entry = m_poems->choose(poemKey))
            lvwPoem_ItemClick(entry);
    }
    m_rebuiltPlace = currentPlace();
}

void frmMain::tvwPoem_NodeClick(QTreeWidgetItem* node)
{
    m_reading->showBiography(QString());
    m_reader->clear();
    m_poems->clear();

    const NodeIdentity identity = identityOf(node);
    if (identity.isAuthor()) {
        const LibrarySide side = identity.side;
        const QString id = keys::idOf(side, keyOf(node));
        m_reading->showBiography(library::biography(m_db, side, id));
        m_poems->fill(library::poemsOf(m_db, side, id, FavoritesMode), side);
    }
    showNodeSummary(node);
}

// Panel 1 tells what the node holds: an author's poems as the list shows them, an
// epoch's or country's authors, a root's epochs or countries.
void frmMain::showNodeSummary(QTreeWidgetItem* node)
{
    const NodeIdentity identity = identityOf(node);
    const bool china = identity.side == LibrarySide::China;
    const QString text = node ? node->text(0) : QString();
    const QString children = QString::number(m_tree->authorCount(node));
    if (identity.kind == NodeKind::Author) {
        showAuthorSummary(identity.side, text, m_poems->count());
    } else if (identity.kind == NodeKind::Place && china) {
        showStatus(QStringLiteral("中国") + text + QStringLiteral("时期：共有") + children +
                               QStringLiteral("位诗词作者"));
    } else if (identity.kind == NodeKind::Place) {
        showStatus(QStringLiteral("国家") + text + QStringLiteral("：共有") + children +
                               QStringLiteral("位诗词作者"));
    } else if (identity.kind == NodeKind::Root && china) {
        showStatus(QStringLiteral("中国诗词：共包括") + children + QStringLiteral("代的作品"));
    } else if (identity.kind == NodeKind::Root) {
        showStatus(QStringLiteral("外国诗词：共包括") + children + QStringLiteral("个国家的作品"));
    }
    showPosition(FavoritesMode ? QStringLiteral("当前位置：收藏夹") : QStringLiteral("当前位置：全部诗词"));
}

void frmMain::showAuthorSummary(LibrarySide side, const QString& name, int poems)
{
    showStatus((side == LibrarySide::China ? QStringLiteral("中国诗人") : QStringLiteral("外国诗人")) + name +
               QStringLiteral("：共有") + QString::number(poems) + QStringLiteral("首作品"));
}

void frmMain::tvwPoem_DblClick()
{
    if (identityOf(m_tree->current()).isAuthor())
        EditAuthor();
}

} // namespace qelvane
