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

// The classic system colours, taken from the application palette.
quint32 fromPalette(int index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 5:
        return toOle(palette.color(QPalette::Base).rgb());
    case 7:
        return toOle(palette.color(QPalette::Text).rgb());
    case 13:
        return toOle(palette.color(QPalette::Highlight).rgb());
    case 14:
        return toOle(palette.color(QPalette::HighlightedText).rgb());
    case 15:
        return toOle(palette.color(QPalette::Button).rgb());
    case 16:
        return toOle(palette.color(QPalette::Dark).rgb());
    case 17:
        return toOle(palette.color(QPalette::Disabled, QPalette::Text).rgb());
    case 18:
        return toOle(palette.color(QPalette::ButtonText).rgb());
    case 20:
        return toOle(palette.color(QPalette::Light).rgb());
    case 21:
        return toOle(palette.color(QPalette::Shadow).rgb());
    default:
        return toOle(palette.color(QPalette::Window).rgb());
    }
}
} // namespace

quint32 SystemColors::GetSysColor(int index)
{
    if (const auto found = overrides().constFind(index); found != overrides().cend())
        return *found;
    return fromPalette(index);
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
    if (oleColour & 0x80000000u)
        return GetSysColor(int(oleColour & 0xff));
    return oleColour & 0xffffff;
}

} // namespace tolvarin
