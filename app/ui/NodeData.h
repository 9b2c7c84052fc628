#pragma once

#include <Qt>

namespace qelvane {

// What the tree's nodes and the poem lists' entries carry beside their text.
enum NodeRole {
    KeyRole = Qt::UserRole,      // the author's or poem's key: the ID, "F" + ID when foreign
    TagRole = Qt::UserRole + 1,  // a tree node's kind (NodeKind)
    ImageRole = Qt::UserRole + 2, // the key of the node's image
    KindRole = Qt::UserRole + 3,  // a search result's side (LibrarySide)
    SideRole = Qt::UserRole + 4,  // a tree node's side (LibrarySide)
    OrdinalRole = Qt::UserRole + 5 // a poem entry's place in the library's own order
};

} // namespace qelvane
