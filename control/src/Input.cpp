// Hover, press, keys and focus: the button's face follows them and its events are
// raised from here. Hover is polled every 10 ms while it matters.
#include "tolvarin/Tolvarin.h"

#include "CaptionLabel.h"
#include "InputCodes.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>
#include <QTimer>

namespace tolvarin {

namespace {
constexpr quint16 Held = 0x8000;
constexpr quint16 NewlyPressed = 0x8001;
} // namespace

bool Tolvarin::timerRunning() const
{
    return m_timer1->isActive();
}

void Tolvarin::Timer1_Timer()
{
    if (!isEnabled())
        return;
    InputProbe& probe = InputProbe::current();
    const QPoint cursor = probe.cursorPos(this);
    // Both edges count, so the row and column just past the control are inside.
    const bool inside = cursor.x() >= 0 && cursor.x() <= width() && cursor.y() >= 0 && cursor.y() <= height();
    if (inside) {
        m_mouseInside = true;
        const quint16 l1 = probe.asyncKeyState(1);
        const quint16 l2 = probe.asyncKeyState(1);
        if ((l2 == Held || l1 == NewlyPressed) && m_faceState == Hover) {
            DrawButton(Pressed);
            m_faceState = Pressed;
        }
        if (probe.asyncKeyState(2) == NewlyPressed)
            emit MouseDown(2, m_lastShift, m_lastX * 15, m_lastY * 15);
        if (probe.asyncKeyState(4) == NewlyPressed)
            emit MouseDown(4, m_lastShift, m_lastX * 15, m_lastY * 15);
        if (probe.asyncKeyState(1) == 0 && m_faceState != Hover) {
            DrawButton(Hover);
            m_faceState = Hover;
        }
    } else {
        if (isFocused()) {
            quint16 l1 = probe.asyncKeyState(1);
            quint16 l2 = probe.asyncKeyState(1);
            // Dragged out while held: the face rises, and a release out here is no click.
            if ((l2 == Held || l1 == NewlyPressed) && m_faceState == Pressed) {
                DrawButton(Hover);
                m_faceState = Hover;
            }
            l1 = probe.asyncKeyState(1);
            l2 = probe.asyncKeyState(1);
            if (l2 != Held && l1 != NewlyPressed && m_faceState != Focused) {
                DrawButton(Focused);
                m_faceState = Focused;
            }
        } else if (m_faceState != Normal) {
            DrawButton(Normal);
            m_faceState = Normal;
        }
        if (m_mouseInside) {
            m_pressArmed = false;
            emit MouseOut();
        }
        m_mouseInside = false;
    }
    if (!isFocused() && m_faceState == Normal && !m_focusEntered)
        m_timer1->stop();
}

void Tolvarin::UserControl_MouseMove(int button, int shift, float x, float y)
{
    m_lastShift = qint16(shift);
    m_lastX = x;
    m_lastY = y;
    if (!m_enabledMirror)
        return;
    m_mouseInside = true;
    m_lbl->setToolTip(toolTip());
    if (!m_timer1->isActive() && !m_spaceDown)
        m_timer1->start();
    emit MouseMove(button, shift, x * 15, y * 15);
}

void Tolvarin::UserControl_MouseDown(int button, int shift, float x, float y)
{
    m_pressArmed = true;
    m_lastShift = qint16(shift);
    m_lastX = x;
    m_lastY = y;
    // Other buttons are reported by the timer.
    if (button == 1 && m_faceState != Pressed) {
        m_faceState = Pressed;
        DrawButton(Pressed);
    }
}

void Tolvarin::UserControl_MouseUp(int button, int shift, float x, float y)
{
    mouseUp(button, shift, x, y, InputProbe::current().cursorPos(this));
}

// `cursor` is where the release happened: the polled cursor, or the position a Qt
// mouse event carries (a synthesised click moves no cursor).
void Tolvarin::mouseUp(int button, int shift, float x, float y, QPoint cursor)
{
    m_lastShift = qint16(shift);
    m_lastX = x;
    m_lastY = y;
    m_leftPressSeen = false;
    const bool inside = cursor.x() >= 0 && cursor.x() <= width() && cursor.y() >= 0 && cursor.y() <= height();
    if (inside && button == 1) {
        // A Click handler may close and delete the dialog that holds this button.
        const QPointer<Tolvarin> alive(this);
        emit Click();
        if (!alive)
            return;
    }
    emit MouseUp(button, shift, x * 15, y * 15);
}

void Tolvarin::UserControl_KeyDown(int keyCode, int shift)
{
    m_timer1->stop();
    if (keyCode == 32 && shift == 0) {
        if (!m_enabledMirror)
            return;
        m_spaceDown = true;
        if (m_faceState != Pressed) {
            m_faceState = Pressed;
            DrawButton(Pressed);
        }
    }
    emit KeyDown(keyCode, shift);
}

void Tolvarin::UserControl_KeyPress(int keyAscii)
{
    if (!m_leftPressSeen)
        emit KeyPress(keyAscii);
}

void Tolvarin::UserControl_KeyUp(int keyCode, int shift)
{
    m_timer1->start();
    if (m_appearance == TVRN_Solid || m_appearance == TVRN_SolidB) {
        moveCaption(m_captionLeft, m_captionTop);
        moveIcon(m_iconLeft, m_iconTop);
    }
    m_spaceDown = false;
    if (m_faceState == Pressed) {
        m_faceState = m_mouseInside ? Hover : Normal;
        DrawButton(m_faceState);
    }
    emit KeyUp(keyCode, shift);
}

void Tolvarin::UserControl_AccessKeyPress()
{
    const QPointer<Tolvarin> alive(this);
    emit Click();
    if (alive)
        m_leftPressSeen = false;
}

void Tolvarin::UserControl_EnterFocus()
{
    if (!m_enabledMirror)
        return;
    m_focusEntered = true;
    if (m_leftPressSeen)
        return;
    if (m_mouseInside) {
        DrawButton(m_faceState);
    } else {
        m_faceState = Focused;
        DrawButton(Focused);
    }
    m_timer1->start();
}

void Tolvarin::UserControl_ExitFocus()
{
    // A Space still held when the focus moves away is never released here.
    m_spaceDown = false;
    if (!m_enabledMirror)
        return;
    m_focusEntered = false;
    m_leftPressSeen = false;
    m_faceState = m_mouseInside ? Hover : Normal;
    DrawButton(m_faceState);
    // A hover face needs the timer to take it back when the cursor leaves.
    if (m_faceState != Hover)
        m_timer1->stop();
}

// The cursor has left the widget: whatever the polling saw last, the hover and a
// pressed look without a held key go back to the face the button should show.
void Tolvarin::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!m_enabledMirror)
        return;
    const bool wasInside = m_mouseInside;
    m_mouseInside = false;
    if (m_faceState == Hover || (m_faceState == Pressed && !m_spaceDown)) {
        m_faceState = isFocused() ? Focused : Normal;
        DrawButton(m_faceState);
    }
    if (wasInside) {
        m_pressArmed = false;
        emit MouseOut();
    }
}

void Tolvarin::UserControl_Show()
{
    m_pressArmed = true;
    RefreshButton();
}

// ---- From Qt's events ------------------------------------------------------------------

void Tolvarin::showEvent(QShowEvent*)
{
    UserControl_Show();
}

void Tolvarin::mousePressEvent(QMouseEvent* event)
{
    m_pressDelivered = event->button() == Qt::LeftButton;
    UserControl_MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), float(event->position().x()),
                          float(event->position().y()));
    m_pressDelivered = false;
}

void Tolvarin::mouseMoveEvent(QMouseEvent* event)
{
    UserControl_MouseMove(heldButtons(event->buttons()), shiftCode(event->modifiers()), float(event->position().x()),
                          float(event->position().y()));
}

void Tolvarin::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    mouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(at.x()), float(at.y()),
            at.toPoint());
}

namespace {
// The keys a push button acts on; every other key goes on to the dialog (Escape
// closes it), after the button has reported it.
bool buttonUsesKey(const QKeyEvent* event)
{
    const int key = event->key();
    return (key == Qt::Key_Space && event->modifiers() == Qt::NoModifier) || key == Qt::Key_Return ||
           key == Qt::Key_Enter;
}
} // namespace

void Tolvarin::keyPressEvent(QKeyEvent* event)
{
    const bool used = buttonUsesKey(event);
    const QPointer<Tolvarin> alive(this);
    UserControl_KeyDown(keyCode(event), shiftCode(event->modifiers()));
    if (alive && !event->text().isEmpty())
        UserControl_KeyPress(event->text().at(0).unicode());
    if (!alive)
        return;
    // Enter clicks the focused button, as a push button does.
    if (!event->isAutoRepeat() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        m_enabledMirror)
        emit Click();
    // The arrow keys move the focus to the next or previous control, as a push button's
    // do (Left and Up back, Right and Down on; mirrored right to left).
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        const int key = event->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) {
            const bool reverse = (parentWidget() ? parentWidget() : this)->layoutDirection() == Qt::RightToLeft;
            bool next = key == Qt::Key_Right || key == Qt::Key_Down;
            if ((key == Qt::Key_Left || key == Qt::Key_Right) && reverse)
                next = !next;
            if (focusNextPrevChild(next))
                return;
        }
    }
    if (!used)
        event->ignore();
}

void Tolvarin::keyReleaseEvent(QKeyEvent* event)
{
    const bool used = buttonUsesKey(event);
    if (event->isAutoRepeat()) {
        event->setAccepted(used);
        return;
    }
    const bool spaceClick = event->key() == Qt::Key_Space && m_spaceDown;
    const QPointer<Tolvarin> alive(this);
    UserControl_KeyUp(keyCode(event), shiftCode(event->modifiers()));
    // Releasing Space clicks, as a push button does.
    if (alive && spaceClick)
        emit Click();
    if (!used)
        event->ignore();
}

void Tolvarin::focusInEvent(QFocusEvent*)
{
    UserControl_EnterFocus();
}

void Tolvarin::focusOutEvent(QFocusEvent*)
{
    UserControl_ExitFocus();
}

void Tolvarin::grabAccessKey()
{
    if (m_accessKeyId)
        releaseShortcut(m_accessKeyId);
    m_accessKeyId = 0;
    const QKeySequence key = QKeySequence::mnemonic(Caption());
    if (!key.isEmpty())
        m_accessKeyId = grabShortcut(key);
}

bool Tolvarin::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->shortcutId() == m_accessKeyId &&
        m_accessKeyId) {
        // An access key two buttons share moves the focus between them, as a push
        // button's does; only a key of its own clicks.
        if (static_cast<QShortcutEvent*>(event)->isAmbiguous())
            setFocus(Qt::ShortcutFocusReason);
        else
            UserControl_AccessKeyPress();
        return true;
    }
    return QWidget::event(event);
}

} // namespace tolvarin
