// The library tree: its rebuild for either view and what a click on a node shows.
#include "frmMain.h"

#include "ui/Icons.h"
#include "NodeKind.h"
#include "ui/LibraryKeys.h"
#include "ui/NodeData.h"
#include "StatusBar.h"
#include "store/Library.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

namespace qelvane {

QString frmMain::keyOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, KeyRole).toString() : QString();
}


QTreeWidgetItem* frmMain::nodeByKey(LibrarySide side, const QString& key) const
{
    return m_nodesByKey.value({side, key});
}

void frmMain::forgetNodes(QTreeWidgetItem* node)
{
    for (int i = 0; i < node->childCount(); ++i)
        forgetNodes(node->child(i));
    const QString key = keyOf(node);
    if (key.isEmpty())
        return;
    for (LibrarySide side : {LibrarySide::China, LibrarySide::Foreign}) {
        const auto found = m_nodesByKey.constFind({side, key});
        if (found != m_nodesByKey.cend() && *found == node)
            m_nodesByKey.erase(found);
    }
}

void frmMain::removeNode(QTreeWidgetItem* node)
{
    if (!node)
        return;
    forgetNodes(node);
    delete node;
}

// The tree holds one node per key: a second author with a key already in the tree
// (the same favourite author under two name copies, say) is not added again.
QTreeWidgetItem* frmMain::addNode(QTreeWidgetItem* parent, LibrarySide side, const QString& key,
                                  const QString& text, const QString& imageKey, NodeKind kind)
{
    if (!key.isEmpty() && m_nodesByKey.contains({side, key}))
        return nullptr;
    auto* node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem();
    node->setText(0, text);
    node->setIcon(0, treeImage(imageKey));
    node->setData(0, ImageRole, imageKey);
    setIdentity(node, {kind, side});
    if (!key.isEmpty()) {
        node->setData(0, KeyRole, key);
        m_nodesByKey.insert({side, key}, node);
    }
    return node;
}

void frmMain::LoadTree()
{
    tvwPoem->clear();
    // The new tree is about as large as the last one: no rehashing while it grows.
    const qsizetype lastSize = m_nodesByKey.size();
    m_nodesByKey.clear();
    m_nodesByKey.reserve(lastSize);

    // Nodes are made while detached from the view and handed to it whole, so that a
    // library with thousands of authors is built without a model update per node.
    QList<QTreeWidgetItem*> roots;
    QTreeWidgetItem* secondNode = nullptr;
    int added = 0;
    auto track = [&](QTreeWidgetItem* node) {
        if (node && ++added == 2)
            secondNode = node;
        return node;
    };

    QTreeWidgetItem* china = track(
        addNode(nullptr, LibrarySide::China, ChinaRootKey, QStringLiteral("中国诗词"), QStringLiteral("Bag"), NodeKind::Root));
    // A root is found by its tag, not its key: an author whose ID is the root's key
    // must still get a node of his own.
    m_nodesByKey.remove({LibrarySide::China, ChinaRootKey});
    roots << china;
    if (FavoritesMode) {
        for (const library::Author& author : library::favoriteAuthors(m_db, LibrarySide::China))
            track(addNode(china, LibrarySide::China, author.id, author.name, QStringLiteral("Poet"), NodeKind::Author));
    } else {
        for (const library::Place& place : library::places(m_db, LibrarySide::China)) {
            QTreeWidgetItem* epoch =
                track(addNode(china, LibrarySide::China, {}, place.name, QStringLiteral("Epoch"), NodeKind::Place));
            for (const library::Author& author : library::authorsOf(m_db, LibrarySide::China, place.id))
                track(addNode(epoch, LibrarySide::China, author.id, author.name, QStringLiteral("Poet"), NodeKind::Author));
        }
    }

    QTreeWidgetItem* foreign = track(addNode(nullptr, LibrarySide::Foreign, ForeignRootKey, QStringLiteral("国外诗词"),
                                             QStringLiteral("Bag"), NodeKind::Root));
    m_nodesByKey.remove({LibrarySide::Foreign, ForeignRootKey});
    roots << foreign;
    if (FavoritesMode) {
        for (const library::Author& author : library::favoriteAuthors(m_db, LibrarySide::Foreign))
            track(addNode(foreign, LibrarySide::Foreign, keys::keyOf(LibrarySide::Foreign, author.id), author.name,
                          QStringLiteral("Poet"), NodeKind::Author));
    } else {
        for (const library::Place& place : library::places(m_db, LibrarySide::Foreign)) {
            QTreeWidgetItem* country =
                track(addNode(foreign, LibrarySide::Foreign, {}, place.name, QStringLiteral("Epoch"), NodeKind::Place));
            for (const library::Author& author : library::authorsOf(m_db, LibrarySide::Foreign, place.id))
                track(addNode(country, LibrarySide::Foreign, keys::keyOf(LibrarySide::Foreign, author.id), author.name,
                              QStringLiteral("Poet"), NodeKind::Author));
        }
    }

    tvwPoem->addTopLevelItems(roots);
    // The second node is selected for the keyboard, without the effects of a click.
    selectWithoutClick(secondNode);
    emit treeLoaded();
}

void frmMain::selectWithoutClick(QTreeWidgetItem* node)
{
    if (!node)
        return;
    tvwPoem->setCurrentItem(node);
    tvwPoem->scrollToItem(node);
}

void frmMain::tvwPoem_NodeClick(QTreeWidgetItem* node)
{
    txtAuthorDetail->clear();
    lvwPoem->clear();
    txtPoemDetail->clear();
    txtPoemNote->clear();

    const NodeIdentity identity = identityOf(node);
    if (identity.isAuthor()) {
        const LibrarySide side = identity.side;
        m_listSide = side;
        const QString id = keys::idOf(side, keyOf(node));
        txtAuthorDetail->setPlainText(library::biography(m_db, side, id));
        fillPoemList(library::poemsOf(m_db, side, id, FavoritesMode), side);
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
    const QString children = QString::number(node ? node->childCount() : 0);
    if (identity.kind == NodeKind::Author) {
        showStatus((china ? QStringLiteral("中国诗人") : QStringLiteral("外国诗人")) + text +
                               QStringLiteral("：共有") + QString::number(lvwPoem->topLevelItemCount()) +
                               QStringLiteral("首作品"));
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

void frmMain::tvwPoem_DblClick()
{
    if (identityOf(tvwPoem->currentItem()).isAuthor())
        EditAuthor();
}

} // namespace qelvane
