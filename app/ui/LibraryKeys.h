#pragma once

#include "store/LibrarySide.h"

#include <QString>

// The keys of the tree's nodes and the lists' entries. A Chinese author or poem is
// keyed by its bare ID, a foreign one by "F" + its ID. Nobody else adds or strips the
// "F".
namespace qelvane::keys {

inline QString keyOf(LibrarySide side, const QString& id)
{
    return side == LibrarySide::China ? id : QStringLiteral("F") + id;
}

inline QString idOf(LibrarySide side, const QString& key)
{
    return side == LibrarySide::China ? key : key.mid(1);
}

} // namespace qelvane::keys
