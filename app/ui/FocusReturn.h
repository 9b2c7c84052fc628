#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace qelvane {

// Held while a window runs a dialog: when the dialog is gone (and any box it showed on
// its way out), the window is active again and the widget that had the focus has it
// back. Without it the window manager may leave the activation on the destroyed
// dialog, and the window's shortcuts do nothing until a click.
class FocusReturn {
public:
    explicit FocusReturn(QWidget* window) : m_window(window), m_focus(QApplication::focusWidget()) {}
    ~FocusReturn()
    {
        if (!m_window || !m_window->isVisible())
            return;
        m_window->activateWindow();
        if (m_focus && m_focus->window() == m_window)
            m_focus->setFocus(Qt::ActiveWindowFocusReason);
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_focus;
};

} // namespace qelvane
