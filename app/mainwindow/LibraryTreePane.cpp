// The library tree: its nodes, one per key and side, and its rebuild for either view.
#include "LibraryTreePane.h"

#include "store/Library.h"
#include "ui/Icons.h"
#include "ui/LibraryKeys.h"
#include "ui/NavigableTree.h"
#include "ui/NodeData.h"

#include <QTreeWidget>

namespace qelvane {

LibraryTreePane::LibraryTreePane(QWidget* parent) : QObject(parent)
{
    auto* tree = new NavigableTree(parent);
    m_tree = tree;
    m_tree->setObjectName(QStringLiteral("tvwPoem"));
    m_tree->setHeaderHidden(true);
    // Hidden, but a screen reader may still read the header: not as "1".
    m_tree->setHeaderLabels({QStringLiteral("诗词库")});
    m_tree->setAccessibleName(QStringLiteral("诗词库"));
    m_tree->setColumnCount(1);
    m_tree->setUniformRowHeights(true);
    connect(m_tree, &QTreeWidget::itemClicked, this, &LibraryTreePane::nodeChosen);
    connect(m_tree, &QTreeWidget::itemCollapsed, this, &LibraryTreePane::nodeChosen);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, &LibraryTreePane::nodeDoubleClicked);
    connect(tree, &NavigableTree::itemReachedByKeyboard, this, &LibraryTreePane::nodeChosen);
    connect(m_tree, &QTreeWidget::itemExpanded, this, &LibraryTreePane::fillPlace);
}

QWidget* LibraryTreePane::widget() const
{
    return m_tree;
}

QTreeWidgetItem* LibraryTreePane::current() const
{
    return m_tree->currentItem();
}

QString LibraryTreePane::keyOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, KeyRole).toString() : QString();
}

QTreeWidgetItem* LibraryTreePane::nodeByKey(LibrarySide side, const QString& key)
{
    if (QTreeWidgetItem* node = m_nodesByKey.value({side, key}); node || m_held.isEmpty())
        return node;
    // An author of a place not opened yet: his place's nodes are made now.
    if (const std::optional<QString> placeId = library::placeIdOfAuthor(*m_db, side, keys::idOf(side, key)))
        fillPlace(m_heldById.value({side, *placeId}));
    return m_nodesByKey.value({side, key});
}

int LibraryTreePane::authorCount(const QTreeWidgetItem* node) const
{
    if (!node)
        return 0;
    const auto held = m_held.constFind(node);
    return held == m_held.cend() ? node->childCount() : held->authors;
}

void LibraryTreePane::fillPlace(QTreeWidgetItem* place)
{
    const auto held = m_held.constFind(place);
    if (held == m_held.cend())
        return;
    const HeldPlace which = *held;
    m_held.erase(held);
    m_heldById.remove({which.side, which.id});
    addAuthors(place, which.side, library::authorsOf(*m_db, which.side, which.id));
    place->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void LibraryTreePane::addAuthors(QTreeWidgetItem* parent, LibrarySide side, const QList<library::Author>& authors)
{
    // Made detached and handed to the view whole: no model update per node.
    QList<QTreeWidgetItem*> nodes;
    nodes.reserve(authors.size());
    for (const library::Author& author : authors) {
        if (QTreeWidgetItem* node = addNode(nullptr, side, keys::keyOf(side, author.id), author.name,
                                            QStringLiteral("Poet"), NodeKind::Author))
            nodes << node;
    }
    parent->addChildren(nodes);
}

QTreeWidgetItem* LibraryTreePane::placeNode(LibrarySide side, const QString& name) const
{
    for (int r = 0; r < m_tree->topLevelItemCount(); ++r) {
        QTreeWidgetItem* root = m_tree->topLevelItem(r);
        if (identityOf(root).side != side)
            continue;
        for (int i = 0; i < root->childCount(); ++i) {
            QTreeWidgetItem* node = root->child(i);
            if (identityOf(node).isPlace() && node->text(0) == name)
                return node;
        }
    }
    return nullptr;
}

void LibraryTreePane::forgetNodes(QTreeWidgetItem* node)
{
    for (int i = 0; i < node->childCount(); ++i)
        forgetNodes(node->child(i));
    if (const auto held = m_held.constFind(node); held != m_held.cend()) {
        m_heldById.remove({held->side, held->id});
        m_held.erase(held);
    }
    const QString key = keyOf(node);
    if (key.isEmpty())
        return;
    for (LibrarySide side : {LibrarySide::China, LibrarySide::Foreign}) {
        const auto found = m_nodesByKey.constFind({side, key});
        if (found != m_nodesByKey.cend() && *found == node)
            m_nodesByKey.erase(found);
    }
}

void LibraryTreePane::removeNode(QTreeWidgetItem* node)
{
    if (!node)
        return;
    forgetNodes(node);
    delete node;
}

// The tree holds one node per key: a second author with a key already in the tree
// (the same favourite author under two name copies, say) is not added again.
QTreeWidgetItem* LibraryTreePane::addNode(QTreeWidgetItem* parent, LibrarySide side, const QString& key,
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

void LibraryTreePane::load(DbConnection& db, bool favoritesOnly)
{
    m_tree->clear();
    m_db = &db;
    m_held.clear();
    m_heldById.clear();
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

    // Each side the same way: its root, then its epochs or countries with their authors,
    // or only the authors with favourites.
    const struct {
        LibrarySide side;
        const QString& key;
        QString label;
    } sides[] = {{LibrarySide::China, ChinaRootKey, QStringLiteral("中国诗词")},
                 {LibrarySide::Foreign, ForeignRootKey, QStringLiteral("国外诗词")}};
    for (const auto& side : sides) {
        QTreeWidgetItem* root =
            track(addNode(nullptr, side.side, side.key, side.label, QStringLiteral("Bag"), NodeKind::Root));
        // A root is found by its kind, not its key: an author whose ID is the root's key
        // must still get a node of his own.
        m_nodesByKey.remove({side.side, side.key});
        roots << root;
        const auto addAuthor = [&](QTreeWidgetItem* parent, const library::Author& author) {
            track(addNode(parent, side.side, keys::keyOf(side.side, author.id), author.name, QStringLiteral("Poet"),
                          NodeKind::Author));
        };
        if (favoritesOnly) {
            for (const library::Author& author : library::favoriteAuthors(db, side.side))
                addAuthor(root, author);
            continue;
        }
        // A place with many authors holds them back until it is opened (the first
        // place that names an author keeps him, as ever, among the places filled).
        const QHash<QString, int> authorCounts = library::authorCountsByPlace(db, side.side);
        for (const library::Place& place : library::places(db, side.side)) {
            QTreeWidgetItem* node =
                track(addNode(root, side.side, {}, place.name, QStringLiteral("Epoch"), NodeKind::Place));
            const int authors = authorCounts.value(place.id);
            if (authors == 0)
                continue;
            if (authors <= m_eagerAuthors) {
                addAuthors(node, side.side, library::authorsOf(db, side.side, place.id));
                continue;
            }
            node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            m_held.insert(node, HeldPlace{side.side, place.id, authors});
            m_heldById.insert({side.side, place.id}, node);
        }
    }

    m_tree->addTopLevelItems(roots);
    // The second node is selected for the keyboard, without the effects of a click.
    setCurrentQuietly(secondNode);
}

void LibraryTreePane::setCurrentQuietly(QTreeWidgetItem* node)
{
    if (!node)
        return;
    m_tree->setCurrentItem(node);
    m_tree->scrollToItem(node);
}

} // namespace qelvane
