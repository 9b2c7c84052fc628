#pragma once

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

namespace qelvane {

// The width a window needs for the window manager to show its whole title: the title
// in a bold face a little larger than the program's, beside room for the title bar's
// icon and buttons.
inline int widthForTitle(const QWidget* window)
{
    constexpr int TitleBarButtons = 140;
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    return QFontMetrics(font).horizontalAdvance(window->windowTitle()) + TitleBarButtons;
}

} // namespace qelvane
