#include "tolvarin/Tolvarin.h"

#include "UserControl1.h"

#include <QApplication>
#include <QHash>
#include <QPalette>

namespace tolvarin {

namespace {
QHash<int, quint32>& overrides()
{
    static QHash<int, quint32> set;
    return set;
}

} // namespace

// The classic system colours in a palette's terms.
quint32 SystemColors::fromPalette(int index, const QPalette& palette)
{
    switch (index) {
    case 5:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::Base).rgb());
    case 7:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::Text).rgb());
    case 8:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::WindowText).rgb());
    case 13:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::Highlight).rgb());
    case 14:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::HighlightedText).rgb());
    case 15:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::Button).rgb());
    case 16:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::Dark).rgb());
    case 17:
        return SystemColors::fromRgb(palette.color(QPalette::Disabled, QPalette::Text).rgb());
    case 18:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::ButtonText).rgb());
    case 20:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::Light).rgb());
    case 21:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::Shadow).rgb());
    default:
        return SystemColors::fromRgb(palette.color(QPalette::Active, QPalette::Window).rgb());
    }
}

quint32 SystemColors::GetSysColor(int index)
{
    return GetSysColor(index, QApplication::palette());
}

quint32 SystemColors::GetSysColor(int index, const QPalette& palette)
{
    if (const auto found = overrides().constFind(index); found != overrides().cend())
        return *found;
    return fromPalette(index, palette);
}

void SystemColors::set(int index, quint32 colour)
{
    overrides().insert(index, colour & 0xffffff);
}

void SystemColors::reset()
{
    overrides().clear();
}

quint32 SystemColors::resolve(quint32 oleColour)
{
    return resolve(oleColour, QApplication::palette());
}

quint32 SystemColors::resolve(quint32 oleColour, const QPalette& palette)
{
    if (oleColour & 0x80000000u)
        return GetSysColor(int(oleColour & 0xff), palette);
    return oleColour & 0xffffff;
}

} // namespace tolvarin
