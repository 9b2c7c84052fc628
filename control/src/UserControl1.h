#pragma once

#include <QImage>
#include <QVariant>
#include <QWidget>

#include "tolvarin/Tolvarin.h"

namespace tolvarin {

// The masked picture control inside every button: it shows a picture with one colour
// made transparent. Its image can be read and rewritten pixel by pixel through its
// hdc, without touching the button's face. While not Enabled it reads as empty and
// ignores picture assignments.
class UserControl1 : public QWidget {
    Q_OBJECT
public:
    explicit UserControl1(QWidget* parent = nullptr);
    ~UserControl1() override;

    // The current image (what is drawn), if Enabled.
    QVariant Image() const;
    QVariant Picture() const;
    // The transparency shape follows the newly drawn picture.
    void SetPicture(const QVariant& picture);
    QVariant PictureB() const { return Picture(); }
    // The picture is drawn, the transparency shape is left as it was.
    void SetPictureB(const QVariant& picture);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    // The handle through which GetPixel and SetPixel reach the image; 0 while not Enabled.
    qintptr hdc() const;
    quint32 MaskColor() const { return m_maskColor; }
    void SetMaskColor(quint32 colour);
    QVariant MaskPicture() const;
    void SetMaskPicture(const QVariant& picture);

    // Where the mask picture has the mask colour, the control lets what is beneath show.
    bool transparentAt(int x, int y) const;
    const QImage& image() const { return m_image; }

    // Pixel access by handle, colours 0x00BBGGRR. An unknown handle or a point outside
    // the image reads as 0xFFFFFFFF and is not written.
    static quint32 GetPixel(qintptr hdc, int x, int y);
    static void SetPixelV(qintptr hdc, int x, int y, quint32 colour);
    // The same for every pixel of an area at once, a scan line at a time: `recolour`
    // takes a pixel's 0x00BBGGRR colour and returns its new one, or KeepPixel. The area
    // is clipped to the image; an unknown handle changes nothing.
    static constexpr quint32 KeepPixel = 0xFFFFFFFFu;
    template <typename Recolour>
    static void RecolourArea(qintptr hdc, const QRect& area, Recolour recolour);

signals:
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static UserControl1* surfaceFor(qintptr hdc);
    void drawPicture();

    bool m_enabled = false;
    quint32 m_maskColor = 0x00D30000;
    QVariant m_picture;
    QVariant m_maskPicture;
    QImage m_image;
    QImage m_mask;
};

template <typename Recolour>
void UserControl1::RecolourArea(qintptr hdc, const QRect& area, Recolour recolour)
{
    UserControl1* surface = surfaceFor(hdc);
    if (!surface)
        return;
    QImage& image = surface->m_image;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            const quint32 colour = recolour(SystemColors::fromRgb(row[x]));
            if (colour != KeepPixel)
                row[x] = SystemColors::toRgb(colour & 0xffffff);
        }
    }
    surface->update();
}

} // namespace tolvarin
