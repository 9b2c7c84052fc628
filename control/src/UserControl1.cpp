#include "UserControl1.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace tolvarin {

namespace {
QHash<qintptr, UserControl1*>& surfaces()
{
    static QHash<qintptr, UserControl1*> live;
    return live;
}

QImage pictureImage(const QVariant& picture)
{
    if (picture.canConvert<QPixmap>())
        return picture.value<QPixmap>().toImage();
    if (picture.canConvert<QImage>())
        return picture.value<QImage>();
    return {};
}
} // namespace

UserControl1::UserControl1(QWidget* parent) : QWidget(parent)
{
    surfaces().insert(reinterpret_cast<qintptr>(this), this);
    m_image = QImage(1, 1, QImage::Format_RGB32);
    m_image.fill(SystemColors::toRgb(m_maskColor));
}

UserControl1::~UserControl1()
{
    surfaces().remove(reinterpret_cast<qintptr>(this));
}

QVariant UserControl1::Image() const
{
    return m_enabled ? QVariant(QPixmap::fromImage(m_image)) : QVariant();
}

QVariant UserControl1::Picture() const
{
    return m_enabled ? m_picture : QVariant();
}

void UserControl1::drawPicture()
{
    const QSize area = size().isEmpty() ? QSize(1, 1) : size();
    m_image = QImage(area, QImage::Format_RGB32);
    m_image.fill(SystemColors::toRgb(m_maskColor));
    const QImage picture = pictureImage(m_picture);
    if (!picture.isNull()) {
        QPainter painter(&m_image);
        painter.drawImage(0, 0, picture);
    }
    update();
}

void UserControl1::SetPicture(const QVariant& picture)
{
    if (!m_enabled)
        return;
    m_picture = picture;
    drawPicture();
    m_mask = m_image;
    m_maskPicture = QVariant(QPixmap::fromImage(m_image));
    emit PropertyChanged(QStringLiteral("Picture"));
}

void UserControl1::SetPictureB(const QVariant& picture)
{
    if (!m_enabled)
        return;
    m_picture = picture;
    drawPicture();
    emit PropertyChanged(QStringLiteral("PictureB"));
}

void UserControl1::SetEnabled(bool value)
{
    m_enabled = value;
    emit PropertyChanged(QStringLiteral("Enabled"));
}

qintptr UserControl1::hdc() const
{
    return m_enabled ? reinterpret_cast<qintptr>(this) : 0;
}

void UserControl1::SetMaskColor(quint32 colour)
{
    m_maskColor = colour;
    update();
    emit PropertyChanged(QStringLiteral("MaskColor"));
}

QVariant UserControl1::MaskPicture() const
{
    return m_enabled ? m_maskPicture : QVariant();
}

void UserControl1::SetMaskPicture(const QVariant& picture)
{
    if (!m_enabled)
        return;
    m_maskPicture = picture;
    m_mask = pictureImage(picture);
    update();
    emit PropertyChanged(QStringLiteral("MaskPicture"));
}

// Without a mask picture the control shows nothing of its own.
bool UserControl1::transparentAt(int x, int y) const
{
    if (m_mask.isNull() || !m_mask.valid(x, y))
        return true;
    return SystemColors::fromRgb(m_mask.pixel(x, y)) == (m_maskColor & 0xffffff);
}

void UserControl1::paintEvent(QPaintEvent*)
{
    QImage shown = m_image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (transparentAt(x, y))
                shown.setPixel(x, y, qRgba(0, 0, 0, 0));
    QPainter(this).drawImage(0, 0, shown);
}

void UserControl1::resizeEvent(QResizeEvent*)
{
    if (m_image.size() != size())
        drawPicture();
}

UserControl1* UserControl1::surfaceFor(qintptr hdc)
{
    return surfaces().value(hdc);
}

quint32 UserControl1::GetPixel(qintptr hdc, int x, int y)
{
    UserControl1* control = surfaces().value(hdc);
    if (!control || !control->m_image.valid(x, y))
        return 0xFFFFFFFFu;
    return SystemColors::fromRgb(control->m_image.pixel(x, y));
}

void UserControl1::SetPixelV(qintptr hdc, int x, int y, quint32 colour)
{
    UserControl1* control = surfaces().value(hdc);
    if (!control || !control->m_image.valid(x, y))
        return;
    control->m_image.setPixel(x, y, SystemColors::toRgb(colour & 0xffffff));
    control->update();
}

} // namespace tolvarin
