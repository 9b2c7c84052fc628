#pragma once

#include "Tolvarin_p.h"

#include <QColor>
#include <QImage>
#include <memory>

namespace tolvarin::test {

// The button's state and handlers, which the tests drive and read.
inline TolvarinPrivate* internals(Tolvarin* button)
{
    return TolvarinPrivate::get(button);
}

inline TolvarinPrivate* internals(const std::unique_ptr<Tolvarin>& button)
{
    return TolvarinPrivate::get(button.get());
}

// Readings a test sets by hand: where the cursor is, which buttons are held (a press
// reads 0x8001 once, then 0x8000) and which widget has the focus.
class ScriptedProbe : public InputProbe {
public:
    ScriptedProbe() { install(this); }
    ~ScriptedProbe() override { install(nullptr); }

    QPoint cursor{-100, -100};
    QWidget* focus = nullptr;

    void press(int key) { m_state[slot(key)] = 0x8001; }
    void release(int key) { m_state[slot(key)] = 0; }

    QPoint cursorPos(const QWidget*) override { return cursor; }
    quint16 asyncKeyState(int key) override
    {
        quint16& state = m_state[slot(key)];
        const quint16 reading = state;
        if (state == 0x8001)
            state = 0x8000;
        return reading;
    }
    QWidget* focusWidget() override { return focus; }

private:
    static int slot(int key) { return key == 1 ? 0 : key == 2 ? 1 : 2; }
    quint16 m_state[3] = {0, 0, 0};
};

// The classic Windows XP colours, so that every pixel of a face can be predicted.
inline void useClassicColours()
{
    SystemColors::reset();
    SystemColors::set(5, 0xFFFFFF);                    // window (255,255,255)
    SystemColors::set(7, 0x000000);                    // menu text
    SystemColors::set(13, 49 | (106 << 8) | (197 << 16)); // highlight (49,106,197)
    SystemColors::set(14, 0xFFFFFF);                   // highlight text
    SystemColors::set(15, 236 | (233 << 8) | (216 << 16)); // face (236,233,216)
    SystemColors::set(16, 172 | (168 << 8) | (153 << 16)); // shadow (172,168,153)
    SystemColors::set(17, 172 | (168 << 8) | (153 << 16)); // grey text (172,168,153)
    SystemColors::set(18, 0x000000);                   // button text
    SystemColors::set(20, 0xFFFFFF);                   // light (255,255,255)
    SystemColors::set(21, 113 | (111 << 8) | (100 << 16)); // dark shadow (113,111,100)
}

inline QColor at(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

// A 16 x 16 icon: the mask colour RGB(0,0,211) around a square of `colour`.
inline QPixmap squareIcon(const QColor& colour = QColor(255, 0, 0))
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 211));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            image.setPixelColor(x, y, colour);
    return QPixmap::fromImage(image);
}

} // namespace tolvarin::test
