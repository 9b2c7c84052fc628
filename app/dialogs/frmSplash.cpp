#include "frmSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace qelvane {

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(420, 240);
    lblTip = new QLabel(QStringLiteral("正在载入数据，请稍候……"), this);
    lblTip->setObjectName(QStringLiteral("lblTip"));
    lblTip->setGeometry(24, 196, 372, 24);
    lblTip->setStyleSheet(QStringLiteral("color: #f4ead5;"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ink(0, 0, 0, height());
    ink.setColorAt(0, QColor(0x5a, 0x2e, 0x12));
    ink.setColorAt(1, QColor(0x2b, 0x16, 0x0a));
    painter.fillRect(rect(), ink);

    QFont seal;
    seal.setPixelSize(64);
    seal.setBold(true);
    painter.setFont(seal);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xb2, 0x22, 0x22));
    painter.drawRoundedRect(QRect(24, 40, 96, 96), 10, 10);
    painter.setPen(QColor(0xf4, 0xea, 0xd5));
    painter.drawText(QRect(24, 40, 96, 96), Qt::AlignCenter, QStringLiteral("诗"));

    QFont title;
    title.setPixelSize(34);
    painter.setFont(title);
    painter.drawText(QRect(140, 48, 260, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Qelvane 诗词库"));
    QFont line;
    line.setPixelSize(16);
    painter.setFont(line);
    painter.drawText(QRect(140, 96, 260, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("古今中外 · 诗词鉴赏"));
    m_painted = true;
}

} // namespace qelvane
