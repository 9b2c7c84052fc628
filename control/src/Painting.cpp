// The button's face: frame and fill by colour scheme and state, the pressed offsets,
// the icon with its grey renderings, and the dotted focus rectangle.
#include "Tolvarin_p.h"

#include "CaptionLabel.h"
#include "InputCodes.h"
#include "Twips.h"
#include "Twips.h"
#include "Rounding.h"
#include "UserControl1.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

namespace tolvarin {

using enum Tolvarin::FaceStates;
using enum Tolvarin::STYLES;
using enum Tolvarin::Appe;

namespace {

constexpr quint32 WindowBackground = 0x80000005;
constexpr quint32 MenuText = 0x80000007;
constexpr quint32 HighlightText = 0x8000000E;
constexpr quint32 ButtonFace = 0x8000000F;
constexpr quint32 ButtonShadow = 0x80000010;
constexpr quint32 GreyText = 0x80000011;
constexpr quint32 ButtonText = 0x80000012;
constexpr quint32 ButtonHighlight = 0x80000014;
constexpr quint32 DarkShadow = 0x80000015;


int channel(quint32 colour, int shift)
{
    return int((colour >> shift) & 0xff);
}

// Per channel (A * p + B * q) / 255, with p + q = 255.
quint32 mix(quint32 a, int p, quint32 b, int q)
{
    quint32 result = 0;
    for (int shift : {0, 8, 16})
        result |= quint32(roundHalfEven((channel(a, shift) * p + channel(b, shift) * q) / 255.0)) << shift;
    return result;
}

// About ten per cent darker.
quint32 dark(quint32 c)
{
    quint32 result = 0;
    for (int shift : {0, 8, 16}) {
        const int v = channel(c, shift);
        result |= quint32(roundHalfEven(v - v * 26 / 255.0)) << shift;
    }
    return result;
}

} // namespace

// ---- Primitives, in pixels; corners included, a line's end point left out ----------

void TolvarinPrivate::box(int x1, int y1, int x2, int y2, quint32 colour)
{
    const QRgb rgb = SystemColors::toRgb(resolveColour(colour));
    const QRect area = QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)))
                           .intersected(m_surface.rect());
    // A scan line at a time: a face of millions of pixels fills as fast as memory goes.
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(m_surface.scanLine(y));
        std::fill(row + area.left(), row + area.right() + 1, rgb);
    }
}

void TolvarinPrivate::frame(int x1, int y1, int x2, int y2, quint32 colour)
{
    box(x1, y1, x2, y1, colour);
    box(x1, y2, x2, y2, colour);
    box(x1, y1, x1, y2, colour);
    box(x2, y1, x2, y2, colour);
}

void TolvarinPrivate::line(int x1, int y1, int x2, int y2, quint32 colour)
{
    const QRgb rgb = SystemColors::toRgb(resolveColour(colour));
    const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    for (int i = 0; i < steps; ++i) {
        const int x = x1 + int(std::lround(double(x2 - x1) * i / steps));
        const int y = y1 + int(std::lround(double(y2 - y1) * i / steps));
        if (m_surface.valid(x, y))
            m_surface.setPixel(x, y, rgb);
    }
}

void TolvarinPrivate::frameAt(int a, quint32 colour)
{
    frame(a, a, q->width() - 1 - a, q->height() - 1 - a, colour);
}

void TolvarinPrivate::fillAt(int a, quint32 colour)
{
    box(a, a, q->width() - 1 - a, q->height() - 1 - a, colour);
}

quint32 TolvarinPrivate::sysColor(int index) const
{
    return SystemColors::GetSysColor(index, q->palette());
}

quint32 TolvarinPrivate::resolveColour(quint32 oleColour) const
{
    return SystemColors::resolve(oleColour, q->palette());
}

bool TolvarinPrivate::isFocused() const
{
    return InputProbe::current().focusWidget() == q;
}

// ---- The face ------------------------------------------------------------------------

// The only place a left-button MouseDown is raised: when the pressed face is drawn for
// a press the button has seen (the polled left button held or newly pressed, or a
// press Qt delivered).
bool TolvarinPrivate::showPressed()
{
    DrawButton(Pressed);
    InputProbe& probe = InputProbe::current();
    const quint16 first = probe.asyncKeyState(1);
    const quint16 second = probe.asyncKeyState(1);
    if ((first == NewlyPressed || second == Held || m_pressDelivered) && m_pressArmed) {
        m_leftPressSeen = true;
        const QPointer<Tolvarin> alive(q);
        emit q->MouseDown(1, m_lastShift, m_lastX * TwipsPerPixel, m_lastY * TwipsPerPixel);
        return !alive.isNull();
    }
    return true;
}

void TolvarinPrivate::DrawButton(int state)
{
    ensureSurface();
    const int W = q->width();
    const int H = q->height();
    m_lbl->setForeColor(state == Disabled ? GreyText : ButtonText);

    if (m_appearance == TVRN_Solid) {
        if (state == Pressed) {
            moveCaption(m_captionLeft + 1.01f, m_captionTop + 1.01f);
            moveIcon(m_iconLeft + 1.01f, m_iconTop + 1.01f);
        } else {
            moveCaption(m_captionLeft, m_captionTop);
            moveIcon(m_iconLeft, m_iconTop);
        }
    }
    if (m_appearance == TVRN_SolidB) {
        if (state == Hover) {
            if (m_hasIcon && m_iconAlign != 0) {
                m_uc12->setVisible(true);
                m_uc12->SetEnabled(true);
                placeIconControl(m_uc12, m_iconLeftF + 1.01f, m_iconTopF + 1.01f);
            }
            moveCaption(m_captionLeft, m_captionTop);
            moveIcon(m_iconLeft - 1.01f, m_iconTop - 1.01f);
        } else {
            m_uc12->setVisible(false);
            m_uc12->SetEnabled(false);
            moveCaption(m_captionLeft, m_captionTop);
            moveIcon(m_iconLeft, m_iconTop);
        }
    }

    if (m_style == TVRN_SysColorNET) {
        const quint32 highlight = sysColor(13);
        const quint32 window = sysColor(5);
        const quint32 face = sysColor(15);
        switch (state) {
        case Normal:
            frameAt(0, ButtonShadow);
            fillAt(1, ButtonFace);
            break;
        case Pressed:
            frameAt(0, highlight);
            fillAt(1, mix(window, 127, highlight, 128));
            m_lbl->setForeColor(HighlightText);
            break;
        case Disabled:
            frameAt(0, ButtonShadow);
            fillAt(1, mix(window, 127, face, 128));
            break;
        case Hover:
            frameAt(0, highlight);
            fillAt(1, mix(window, 185, highlight, 70));
            m_lbl->setForeColor(MenuText);
            break;
        case Focused:
            frameAt(0, ButtonText);
            frameAt(1, ButtonText);
            fillAt(2, ButtonFace);
            break;
        }
    } else if (m_style == TVRN_SysCplorFlat) {
        const quint32 face = sysColor(15);
        const quint32 light = sysColor(20);
        frameAt(0, ButtonText);
        if (state == Pressed)
            fillAt(1, dark(light));
        else if (state == Hover)
            fillAt(1, dark(face));
        else
            fillAt(1, ButtonFace);
        if (isFocused()) {
            frame(1, 1, 1, H - 2, ButtonText);
            frame(1, 1, W - 2, 1, ButtonText);
            frame(W - 2, 1, W - 2, H - 2, ButtonText);
            frame(1, H - 2, W - 2, H - 2, ButtonText);
            line(5, 5, 5, H - 6, ButtonShadow);
            line(5, 5, W - 6, 5, ButtonShadow);
            line(W - 6, 5, W - 6, H - 6, ButtonShadow);
            line(5, H - 6, W - 6, H - 6, ButtonShadow);
        }
    } else if (m_style == TVRN_SysColorPopup) {
        switch (state) {
        case Normal:
        case Disabled:
            frameAt(0, ButtonShadow);
            fillAt(1, ButtonFace);
            break;
        case Pressed:
            frameAt(0, ButtonText);
            frameAt(1, DarkShadow);
            fillAt(2, ButtonFace);
            break;
        case Hover:
            if (isFocused()) {
                frameAt(0, ButtonShadow);
                frameAt(1, ButtonShadow);
                fillAt(2, ButtonFace);
                line(1, 1, 1, H - 2, ButtonHighlight);
                line(1, 1, W - 2, 1, ButtonHighlight);
            } else {
                fillAt(1, ButtonFace);
                line(0, 0, 0, H - 1, ButtonHighlight);
                line(0, 0, W - 1, 0, ButtonHighlight);
                line(W - 1, 0, W - 1, H - 1, ButtonShadow);
                line(0, H - 1, W - 1, H - 1, ButtonShadow);
            }
            break;
        case Focused:
            frameAt(0, ButtonShadow);
            frameAt(1, ButtonShadow);
            fillAt(2, ButtonFace);
            break;
        }
    }

    if (m_hasIcon && m_iconAlign != 0) {
        placeIconControl(m_uc11, m_iconLeftF, m_iconTopF);
        m_uc11->resize(m_iconWidth, m_iconHeight);
        m_uc11->SetPicture(m_iconPicture);
        m_uc12->resize(m_iconWidth, m_iconHeight);
        m_uc12->SetPicture(m_iconPicture);
        if (state == Disabled) {
            q->DrawGrayBitmap(m_uc11->hdc(), 0, 0, m_iconWidth, m_iconHeight, -1, qint32(m_icoMaskColor),
                           m_disabledNewStyle);
            m_uc11->SetPictureB(m_uc11->Image());
        }
        if (state == Hover && m_appearance == TVRN_SolidB)
            q->DrawGrayBitmap2(m_uc12->hdc(), 0, 0, m_iconWidth, m_iconHeight, -1, qint32(m_icoMaskColor),
                            m_disabledNewStyle);
    }

    if (state == Pressed || state == Hover || state == Focused)
        DrawFocusFrame();
    q->update();
}

// A dotted outline inverted on the face, FR pixels in from the edges; the face is
// painted anew before it, so it shows once.
void TolvarinPrivate::DrawFocusFrame()
{
    if (!m_showFocus || !isFocused())
        return;
    const int left = m_fr, top = m_fr, right = q->width() - m_fr, bottom = q->height() - m_fr;
    auto invert = [this](int x, int y) {
        if ((x + y) % 2 == 0 && m_surface.valid(x, y))
            m_surface.setPixel(x, y, m_surface.pixel(x, y) ^ 0x00ffffff);
    };
    for (int x = left; x < right; ++x) {
        invert(x, top);
        if (bottom - 1 > top)
            invert(x, bottom - 1);
    }
    for (int y = top + 1; y < bottom - 1; ++y) {
        invert(left, y);
        if (right - 1 > left)
            invert(right - 1, y);
    }
}

} // namespace tolvarin
