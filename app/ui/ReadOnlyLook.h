#pragma once

#include <QPalette>
#include <QWidget>

namespace qelvane {

// A field that shows a value the reader cannot change is drawn on the window's colour,
// not on the white of a field that takes typing.
inline void lookReadOnly(QWidget* field)
{
    QPalette palette = field->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Base, palette.color(group, QPalette::Window));
    field->setPalette(palette);
}

} // namespace qelvane
