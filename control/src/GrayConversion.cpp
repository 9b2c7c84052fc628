// The grey renderings of a disabled button's icon and of its hover shadow, pixel by
// pixel on a masked picture control's image.
#include "tolvarin/Tolvarin.h"

#include "Rounding.h"
#include "UserControl1.h"

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

void Tolvarin::ChangetoGray(qintptr SrcDC, int nx, int ny, qint32 nMaskColor, qint32 IMC, bool Dns)
{
    const quint32 c = UserControl1::GetPixel(SrcDC, nx, ny);
    if (c == quint32(nMaskColor))
        return;
    const qint32 text = qint32(SystemColors::GetSysColor(17));
    const int tR = GetRValue(text), tG = GetGValue(text), tB = GetBValue(text);
    const int r = GetRValue(qint32(c)), g = GetGValue(qint32(c)), b = GetBValue(qint32(c));
    quint32 colour;
    if (Dns) {
        const int gray = roundHalfEven((r * 9798 + g * 19235 + b * 3735) / 32768.0);
        const int m = std::min({tR, tG, tB});
        if (m_disabledNewStyleB) {
            auto ramp = [gray, m](int t) { return roundHalfEven((t - m) + (255 - (t - m)) * double(gray) / 255); };
            colour = rgb(ramp(tR), ramp(tG), ramp(tB));
        } else {
            colour = rgb(gray, gray, gray);
        }
    } else {
        colour = keepsMaskColour(c, quint32(IMC)) ? quint32(IMC) : rgb(tR, tG, tB);
    }
    UserControl1::SetPixelV(SrcDC, nx, ny, colour);
}

void Tolvarin::ChangetoGray2(qintptr SrcDC, int nx, int ny, qint32 nMaskColor, qint32 IMC, bool)
{
    const quint32 c = UserControl1::GetPixel(SrcDC, nx, ny);
    if (c == quint32(nMaskColor))
        return;
    const qint32 text = qint32(SystemColors::GetSysColor(17));
    auto lighten = [](int t) { return roundHalfEven(60 + t * 195.0 / 255); };
    const quint32 colour = keepsMaskColour(c, quint32(IMC))
                               ? quint32(IMC)
                               : rgb(lighten(GetRValue(text)), lighten(GetGValue(text)), lighten(GetBValue(text)));
    UserControl1::SetPixelV(SrcDC, nx, ny, colour);
}

// nWidth and nHeight are the last coordinates: from 0 the pass takes one column and
// one row past the icon, which read as invalid and are left alone.
void Tolvarin::DrawGrayBitmap(qintptr hdc, int nx, int ny, int nWidth, int nHeight, qint32 nMaskColor, qint32 IMC,
                              bool Dns)
{
    for (int x = nx; x <= nWidth; ++x)
        for (int y = ny; y <= nHeight; ++y)
            ChangetoGray(hdc, x, y, nMaskColor, IMC, Dns);
    // The classic look turns pixels into the mask colour; they become transparent.
    if (!Dns)
        m_uc11->SetMaskPicture(m_uc11->Image());
}

void Tolvarin::DrawGrayBitmap2(qintptr hdc, int nx, int ny, int nWidth, int nHeight, qint32 nMaskColor, qint32 IMC,
                               bool Dns)
{
    for (int x = nx; x <= nWidth; ++x)
        for (int y = ny; y <= nHeight; ++y)
            ChangetoGray2(hdc, x, y, nMaskColor, IMC, Dns);
    if (!Dns)
        m_uc12->SetMaskPicture(m_uc12->Image());
}

} // namespace tolvarin
