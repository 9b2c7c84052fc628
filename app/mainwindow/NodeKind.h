#pragma once

#include "store/LibrarySide.h"
#include "ui/NodeData.h"

#include <QString>
#include <QTreeWidgetItem>

namespace qelvane {

// What a node of the library tree stands for; with its side, it is all the windows
// ask of a node.
enum class NodeKind { None, Root, Place, Author };

struct NodeIdentity {
    NodeKind kind = NodeKind::None;
    LibrarySide side = LibrarySide::China;

    bool isAuthor() const { return kind == NodeKind::Author; }
    bool isPlace() const { return kind == NodeKind::Place; }
    bool operator==(const NodeIdentity&) const = default;
};

// The roots' keys, as they are stored in the tree (an author with that ID gets a node
// of his own: roots are never found by key).
inline const QString ChinaRootKey = QStringLiteral("ChinaPoem");
inline const QString ForeignRootKey = QStringLiteral("ForeignPoem");

inline void setIdentity(QTreeWidgetItem* node, NodeIdentity identity)
{
    node->setData(0, TagRole, int(identity.kind));
    node->setData(0, SideRole, int(identity.side));
}

inline NodeIdentity identityOf(const QTreeWidgetItem* node)
{
    if (!node)
        return {};
    return {NodeKind(node->data(0, TagRole).toInt()), LibrarySide(node->data(0, SideRole).toInt())};
}

} // namespace qelvane
