#include "tolvarin/Tolvarin.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>

namespace tolvarin {

namespace {

// The real readings: the cursor, the mouse buttons and the focus widget as Qt knows
// them. A button counts as newly pressed when it was up at the previous reading.
class DesktopProbe : public InputProbe {
public:
    QPoint cursorPos(const QWidget* client) override { return client->mapFromGlobal(QCursor::pos()); }

    quint16 asyncKeyState(int key) override
    {
        Qt::MouseButton button = Qt::NoButton;
        int slot = 0;
        switch (key) {
        case 1:
            button = Qt::LeftButton;
            slot = 0;
            break;
        case 2:
            button = Qt::RightButton;
            slot = 1;
            break;
        case 4:
            button = Qt::MiddleButton;
            slot = 2;
            break;
        default:
            return 0;
        }
        const bool down = QGuiApplication::mouseButtons() & button;
        const bool wasDown = m_down[slot];
        m_down[slot] = down;
        if (!down)
            return 0;
        return wasDown ? 0x8000 : 0x8001;
    }

    QWidget* focusWidget() override { return QApplication::focusWidget(); }

private:
    bool m_down[3] = {false, false, false};
};

InputProbe* installed = nullptr;

} // namespace

InputProbe::~InputProbe() = default;

InputProbe& InputProbe::current()
{
    static DesktopProbe desktop;
    return installed ? *installed : desktop;
}

void InputProbe::install(InputProbe* probe)
{
    installed = probe;
}

} // namespace tolvarin
