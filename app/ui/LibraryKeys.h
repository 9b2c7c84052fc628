#pragma once

#include "store/LibrarySide.h"

#include <QString>

// The keys of the tree's nodes and the lists' entries, and the kind markers the
// windows pass between them. A Chinese author or poem is keyed by its bare ID, a
// foreign one by "F" + its ID; the kind markers are "C" and "F". Nobody else adds or
// strips the "F".
namespace qelvane::keys {

inline QString marker(LibrarySide side)
{
    return side == LibrarySide::China ? QStringLiteral("C") : QStringLiteral("F");
}

// "C" is Chinese; any other marker is foreign, as the windows read it.
inline LibrarySide sideOfMarker(const QString& marker)
{
    return marker == QLatin1String("C") ? LibrarySide::China : LibrarySide::Foreign;
}

inline QString keyOf(LibrarySide side, const QString& id)
{
    return side == LibrarySide::China ? id : QStringLiteral("F") + id;
}

inline QString idOf(LibrarySide side, const QString& key)
{
    return side == LibrarySide::China ? key : key.mid(1);
}

} // namespace qelvane::keys
