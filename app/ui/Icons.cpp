#include "Icons.h"

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace qelvane {

QIcon glyphIcon(const QString& glyph, const QColor& tile, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    const qreal margin = size / 16.0;
    painter.drawRoundedRect(QRectF(margin, margin, size - 2 * margin, size - 2 * margin), size / 5.0, size / 5.0);
    QFont font;
    font.setPixelSize(size * 5 / 8);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, glyph);
    painter.end();
    return QIcon(pixmap);
}

QIcon treeImage(const QString& key)
{
    static const QHash<QString, QIcon> images = {
        {QStringLiteral("Bag"), glyphIcon(QStringLiteral("库"), QColor(0x8b, 0x45, 0x13))},
        {QStringLiteral("Epoch"), glyphIcon(QStringLiteral("代"), QColor(0xb0, 0x7d, 0x2b))},
        {QStringLiteral("Poet"), glyphIcon(QStringLiteral("人"), QColor(0x2e, 0x6b, 0x8a))},
        {QStringLiteral("Poem"), glyphIcon(QStringLiteral("诗"), QColor(0x9c, 0x2a, 0x2a))},
    };
    return images.value(key);
}

} // namespace qelvane
