#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace qelvane {

// A small square icon with one character on a coloured tile: the program's own
// images for the tree, the poem list and the tool bar.
QIcon glyphIcon(const QString& glyph, const QColor& tile, int size = 32);

// The tree's image list, looked up by key: "Bag", "Epoch", "Poet", "Poem".
QIcon treeImage(const QString& key);

} // namespace qelvane
