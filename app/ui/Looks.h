#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <optional>

// The program's looks: 默认 (the style's own palette and the reading areas' colours the
// reader chose), 纸张 (warm paper and ink) and 夜间 (dark, of moderate contrast). A look
// is a palette for the whole program and the colours of the four reading areas.
namespace qelvane::looks {

enum class Look { Default = 0, Paper = 1, Night = 2 };

QString nameOf(Look look);
// A stored value ("0", "1", "2"); anything else is the default look.
Look fromSetting(const QString& stored);

// The palette every window, menu, dialog and button takes in the look.
QPalette paletteOf(Look look);
// The reading areas' background and text in the look; none for the default look,
// whose areas keep the colours the reader chose.
struct AreaColours {
    QColor back;
    QColor text;
};
std::optional<AreaColours> areaColoursOf(Look look);

// Gives the whole program the look's palette; the default look gives back the palette
// the program had before any look was applied.
void apply(Look look);

} // namespace qelvane::looks
