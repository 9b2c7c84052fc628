// The grey renderings of a disabled button's icon and of its hover shadow on a masked
// picture control's image, a pixel or a whole area at a time.
#include "Tolvarin_p.h"

#include "Rounding.h"
#include "UserControl1.h"

#include <algorithm>
#include <cmath>

namespace tolvarin {

namespace {

constexpr quint32 White = 0xFFFFFF;
constexpr quint32 Yellow = 0x00FFFF;
constexpr quint32 Silver = 0xC0C0C0;
constexpr quint32 Magenta = 0xFF00FF;


quint32 rgb(int r, int g, int b)
{
    return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16);
}

bool keepsMaskColour(quint32 c, quint32 imc)
{
    return c == White || c == imc || c == Yellow || c == Silver || c == Magenta;
}

} // namespace

qint32 Tolvarin::GetRValue(qint32 rgbColor)
{
    return rgbColor & 0xFF;
}

qint32 Tolvarin::GetGValue(qint32 rgbColor)
{
    return (rgbColor & 0xFF00) / 256;
}

qint32 Tolvarin::GetBValue(qint32 rgbColor)
{
    return (rgbColor & 0xFF0000) / 65536;
}

namespace {

// A disabled button's icon: each pixel but the mask colour greyed (Dns: by its
// brightness, ramped towards the grey-text colour with DisabledNewStyleB) or, the
// classic way, the grey-text colour with the keep-colours turned into the icon mask.
struct GrayRule {
    quint32 maskColour;
    quint32 iconMask;
    bool newStyle;
    bool ramp;
    int tR, tG, tB;

    quint32 operator()(quint32 c) const
    {
        if (c == maskColour)
            return UserControl1::KeepPixel;
        if (!newStyle)
            return keepsMaskColour(c, iconMask) ? iconMask : rgb(tR, tG, tB);
        const int r = int(c & 0xFF), g = int((c >> 8) & 0xFF), b = int((c >> 16) & 0xFF);
        const int gray = roundHalfEven((r * 9798 + g * 19235 + b * 3735) / 32768.0);
        if (!ramp)
            return rgb(gray, gray, gray);
        const int m = std::min({tR, tG, tB});
        auto toward = [gray, m](int t) { return roundHalfEven((t - m) + (255 - (t - m)) * double(gray) / 255); };
        return rgb(toward(tR), toward(tG), toward(tB));
    }
};

// The hover shadow: the grey-text colour lightened, the keep-colours the icon mask.
struct ShadowRule {
    quint32 maskColour;
    quint32 iconMask;
    quint32 shadow;

    quint32 operator()(quint32 c) const
    {
        if (c == maskColour)
            return UserControl1::KeepPixel;
        return keepsMaskColour(c, iconMask) ? iconMask : shadow;
    }
};

GrayRule grayRule(qint32 nMaskColor, qint32 IMC, bool Dns, bool ramp)
{
    const qint32 text = qint32(SystemColors::GetSysColor(17));
    return {quint32(nMaskColor), quint32(IMC), Dns, ramp,
            Tolvarin::GetRValue(text), Tolvarin::GetGValue(text), Tolvarin::GetBValue(text)};
}

ShadowRule shadowRule(qint32 nMaskColor, qint32 IMC)
{
    const qint32 text = qint32(SystemColors::GetSysColor(17));
    auto lighten = [](int t) { return roundHalfEven(60 + t * 195.0 / 255); };
    return {quint32(nMaskColor), quint32(IMC),
            rgb(lighten(Tolvarin::GetRValue(text)), lighten(Tolvarin::GetGValue(text)),
                lighten(Tolvarin::GetBValue(text)))};
}

} // namespace

void Tolvarin::ChangetoGray(qintptr SrcDC, int nx, int ny, qint32 nMaskColor, qint32 IMC, bool Dns)
{
    UserControl1::RecolourArea(SrcDC, QRect(nx, ny, 1, 1), grayRule(nMaskColor, IMC, Dns, d->m_disabledNewStyleB));
}

void Tolvarin::ChangetoGray2(qintptr SrcDC, int nx, int ny, qint32 nMaskColor, qint32 IMC, bool)
{
    UserControl1::RecolourArea(SrcDC, QRect(nx, ny, 1, 1), shadowRule(nMaskColor, IMC));
}

// nWidth and nHeight are the last coordinates: from 0 the pass takes one column and
// one row past the icon, which lie outside the image and are left alone. The whole
// area is rewritten in one pass over the image's scan lines.
void Tolvarin::DrawGrayBitmap(qintptr hdc, int nx, int ny, int nWidth, int nHeight, qint32 nMaskColor, qint32 IMC,
                              bool Dns)
{
    UserControl1::RecolourArea(hdc, QRect(QPoint(nx, ny), QPoint(nWidth, nHeight)),
                               grayRule(nMaskColor, IMC, Dns, d->m_disabledNewStyleB));
    // The classic look turns pixels into the mask colour; they become transparent.
    if (!Dns)
        d->m_uc11->SetMaskPicture(d->m_uc11->Image());
}

void Tolvarin::DrawGrayBitmap2(qintptr hdc, int nx, int ny, int nWidth, int nHeight, qint32 nMaskColor, qint32 IMC,
                               bool Dns)
{
    UserControl1::RecolourArea(hdc, QRect(QPoint(nx, ny), QPoint(nWidth, nHeight)), shadowRule(nMaskColor, IMC));
    if (!Dns)
        d->m_uc12->SetMaskPicture(d->m_uc12->Image());
}

} // namespace tolvarin
