#include "Looks.h"

#include <QApplication>
#include <QStyle>

namespace qelvane::looks {

namespace {

struct Scheme {
    QColor window, base, alternateBase, text, button, highlight, highlightedText, link, disabledText;
};

// Paper: the warm white of old book paper with dark brown ink. Night: a dark grey, not
// black, with a light grey text of moderate contrast, so that long reading tires less.
const Scheme PaperScheme{QColor(0xf3, 0xea, 0xd3), QColor(0xfb, 0xf6, 0xe8), QColor(0xf4, 0xec, 0xd9),
                         QColor(0x3b, 0x2f, 0x22), QColor(0xec, 0xe1, 0xc6), QColor(0x9c, 0x6b, 0x35),
                         QColor(0xff, 0xfb, 0xf0), QColor(0x7a, 0x3e, 0x12), QColor(0xa8, 0x98, 0x80)};
const Scheme NightScheme{QColor(0x2b, 0x2d, 0x31), QColor(0x1f, 0x21, 0x24), QColor(0x26, 0x28, 0x2c),
                         QColor(0xd6, 0xd2, 0xc8), QColor(0x35, 0x38, 0x3d), QColor(0x45, 0x6e, 0x9e),
                         QColor(0xf2, 0xf2, 0xf2), QColor(0x8f, 0xb8, 0xe8), QColor(0x70, 0x72, 0x76)};

QPalette paletteFrom(const Scheme& s)
{
    QPalette p(s.button, s.window);
    p.setColor(QPalette::Base, s.base);
    p.setColor(QPalette::AlternateBase, s.alternateBase);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
        p.setColor(role, s.text);
    p.setColor(QPalette::ToolTipBase, s.base);
    p.setColor(QPalette::Highlight, s.highlight);
    p.setColor(QPalette::HighlightedText, s.highlightedText);
    p.setColor(QPalette::Link, s.link);
    p.setColor(QPalette::LinkVisited, s.link);
    p.setColor(QPalette::PlaceholderText, s.disabledText);
    p.setColor(QPalette::BrightText, s.highlightedText);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, s.disabledText);
    p.setColor(QPalette::Disabled, QPalette::Base, s.window);
    return p;
}

} // namespace

QString nameOf(Look look)
{
    switch (look) {
    case Look::Paper:
        return QStringLiteral("纸张");
    case Look::Night:
        return QStringLiteral("夜间");
    default:
        return QStringLiteral("默认");
    }
}

Look fromSetting(const QString& stored)
{
    if (stored == QLatin1String("1"))
        return Look::Paper;
    if (stored == QLatin1String("2"))
        return Look::Night;
    return Look::Default;
}

namespace {
std::optional<QPalette>& originalPalette()
{
    static std::optional<QPalette> original;
    return original;
}
} // namespace

void apply(Look look)
{
    if (!originalPalette())
        originalPalette() = QApplication::palette();
    QApplication::setPalette(paletteOf(look));
}

QPalette paletteOf(Look look)
{
    switch (look) {
    case Look::Paper:
        return paletteFrom(PaperScheme);
    case Look::Night:
        return paletteFrom(NightScheme);
    default:
        return originalPalette() ? *originalPalette() : QApplication::palette();
    }
}

std::optional<AreaColours> areaColoursOf(Look look)
{
    switch (look) {
    case Look::Paper:
        return AreaColours{PaperScheme.base, PaperScheme.text};
    case Look::Night:
        return AreaColours{NightScheme.base, NightScheme.text};
    default:
        return std::nullopt;
    }
}

} // namespace qelvane::looks
