// Hover, press, keys and focus: the button's face follows them and its events are
// raised from here. Hover is polled every 10 ms while it matters.
#include "Tolvarin_p.h"

#include "CaptionLabel.h"
#include "InputCodes.h"
#include "Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>
#include <QTimer>

namespace tolvarin {

using enum Tolvarin::FaceStates;
using enum Tolvarin::Appe;

bool TolvarinPrivate::timerRunning() const
{
    return m_timer1->isActive();
}

void TolvarinPrivate::Timer1_Timer()
{
    if (!q->isEnabled())
        return;
    InputProbe& probe = InputProbe::current();
    const QPoint cursor = probe.cursorPos(q);
    // Both edges count, so the row and column just past the control are inside.
    const bool inside = cursor.x() >= 0 && cursor.x() <= q->width() && cursor.y() >= 0 && cursor.y() <= q->height();
    if (inside) {
        m_mouseInside = true;
        const quint16 l1 = probe.asyncKeyState(1);
        const quint16 l2 = probe.asyncKeyState(1);
        if ((l2 == Held || l1 == NewlyPressed) && m_faceState == Hover) {
            m_faceState = Pressed;
            if (!showPressed())
                return;
        }
        if (probe.asyncKeyState(2) == NewlyPressed)
            emit q->MouseDown(2, m_lastShift, m_lastX * TwipsPerPixel, m_lastY * TwipsPerPixel);
        if (probe.asyncKeyState(4) == NewlyPressed)
            emit q->MouseDown(4, m_lastShift, m_lastX * TwipsPerPixel, m_lastY * TwipsPerPixel);
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
            emit q->MouseOut();
        }
        m_mouseInside = false;
    }
    if (!isFocused() && m_faceState == Normal && !m_focusEntered)
        m_timer1->stop();
}

void TolvarinPrivate::UserControl_MouseMove(int button, int shift, float x, float y)
{
    m_lastShift = qint16(shift);
    m_lastX = x;
    m_lastY = y;
    if (!m_enabledMirror)
        return;
    m_mouseInside = true;
    m_lbl->setToolTip(q->toolTip());
    if (!m_timer1->isActive() && !m_spaceDown)
        m_timer1->start();
    emit q->MouseMove(button, shift, x * TwipsPerPixel, y * TwipsPerPixel);
}

void TolvarinPrivate::UserControl_MouseDown(int button, int shift, float x, float y)
{
    m_pressArmed = true;
    m_lastShift = qint16(shift);
    m_lastX = x;
    m_lastY = y;
    // Other buttons are reported by the timer.
    if (button == 1 && m_faceState != Pressed) {
        m_faceState = Pressed;
        showPressed();
    }
}

void TolvarinPrivate::UserControl_MouseUp(int button, int shift, float x, float y)
{
    mouseUp(button, shift, x, y, InputProbe::current().cursorPos(q));
}

// `cursor` is where the release happened: the polled cursor, or the position a Qt
// mouse event carries (a synthesised click moves no cursor).
void TolvarinPrivate::mouseUp(int button, int shift, float x, float y, QPoint cursor)
{
    m_lastShift = qint16(shift);
    m_lastX = x;
    m_lastY = y;
    m_leftPressSeen = false;
    const bool inside = cursor.x() >= 0 && cursor.x() <= q->width() && cursor.y() >= 0 && cursor.y() <= q->height();
    if (inside && button == 1) {
        // A Click handler may close and delete the dialog that holds this button.
        const QPointer<Tolvarin> alive(q);
        emit q->Click();
        if (!alive)
            return;
    }
    emit q->MouseUp(button, shift, x * TwipsPerPixel, y * TwipsPerPixel);
}

void TolvarinPrivate::UserControl_KeyDown(int keyCode, int shift)
{
    m_timer1->stop();
    if (keyCode == 32 && shift == 0) {
        if (!m_enabledMirror)
            return;
        m_spaceDown = true;
        if (m_faceState != Pressed) {
            m_faceState = Pressed;
            if (!showPressed())
                return;
        }
    }
    emit q->KeyDown(keyCode, shift);
}

void TolvarinPrivate::UserControl_KeyPress(int keyAscii)
{
    if (!m_leftPressSeen)
        emit q->KeyPress(keyAscii);
}

void TolvarinPrivate::UserControl_KeyUp(int keyCode, int shift)
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
    emit q->KeyUp(keyCode, shift);
}

void TolvarinPrivate::UserControl_AccessKeyPress()
{
    const QPointer<Tolvarin> alive(q);
    emit q->Click();
    if (alive)
        m_leftPressSeen = false;
}

void TolvarinPrivate::UserControl_EnterFocus()
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

void TolvarinPrivate::UserControl_ExitFocus()
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
    if (!d->m_enabledMirror)
        return;
    const bool wasInside = d->m_mouseInside;
    d->m_mouseInside = false;
    if (d->m_faceState == Hover || (d->m_faceState == Pressed && !d->m_spaceDown)) {
        d->m_faceState = d->isFocused() ? Focused : Normal;
        d->DrawButton(d->m_faceState);
    }
    if (wasInside) {
        d->m_pressArmed = false;
        emit MouseOut();
    }
}

void TolvarinPrivate::UserControl_Show()
{
    m_pressArmed = true;
    RefreshButton();
}

// ---- From Qt's events ------------------------------------------------------------------

void Tolvarin::showEvent(QShowEvent*)
{
    d->UserControl_Show();
}

void Tolvarin::mousePressEvent(QMouseEvent* event)
{
    d->mousePress(event, {});
}

void Tolvarin::mouseMoveEvent(QMouseEvent* event)
{
    d->mouseMove(event, {});
}

void Tolvarin::mouseReleaseEvent(QMouseEvent* event)
{
    d->mouseRelease(event, {});
}

void TolvarinPrivate::mousePress(const QMouseEvent* event, QPointF offset)
{
    const QPointF at = event->position() + offset;
    const QPointer<Tolvarin> alive(q);
    m_pressDelivered = event->button() == Qt::LeftButton;
    UserControl_MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), float(at.x()), float(at.y()));
    if (alive)
        m_pressDelivered = false;
}

void TolvarinPrivate::mouseMove(const QMouseEvent* event, QPointF offset)
{
    const QPointF at = event->position() + offset;
    UserControl_MouseMove(heldButtons(event->buttons()), shiftCode(event->modifiers()), float(at.x()), float(at.y()));
}

void TolvarinPrivate::mouseRelease(const QMouseEvent* event, QPointF offset)
{
    const QPointF at = event->position() + offset;
    mouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(at.x()), float(at.y()), at.toPoint());
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
    d->UserControl_KeyDown(keyCode(event), shiftCode(event->modifiers()));
    if (alive && !event->text().isEmpty())
        d->UserControl_KeyPress(event->text().at(0).unicode());
    if (!alive)
        return;
    // Enter clicks the focused button, as a push button does.
    if (!event->isAutoRepeat() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        d->m_enabledMirror)
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
    const bool spaceClick = event->key() == Qt::Key_Space && d->m_spaceDown;
    const QPointer<Tolvarin> alive(this);
    d->UserControl_KeyUp(keyCode(event), shiftCode(event->modifiers()));
    // Releasing Space clicks, as a push button does.
    if (alive && spaceClick)
        emit Click();
    if (!used)
        event->ignore();
}

void Tolvarin::focusInEvent(QFocusEvent*)
{
    d->UserControl_EnterFocus();
}

void Tolvarin::focusOutEvent(QFocusEvent*)
{
    d->UserControl_ExitFocus();
}

void TolvarinPrivate::grabAccessKey()
{
    if (m_accessKeyId)
        q->releaseShortcut(m_accessKeyId);
    m_accessKeyId = 0;
    const QKeySequence key = QKeySequence::mnemonic(q->Caption());
    if (!key.isEmpty())
        m_accessKeyId = q->grabShortcut(key);
}

bool Tolvarin::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->shortcutId() == d->m_accessKeyId &&
        d->m_accessKeyId) {
        // An access key two buttons share moves the focus between them, as a push
        // button's does; only a key of its own clicks.
        if (static_cast<QShortcutEvent*>(event)->isAmbiguous())
            setFocus(Qt::ShortcutFocusReason);
        else
            d->UserControl_AccessKeyPress();
        return true;
    }
    return QWidget::event(event);
}

} // namespace tolvarin
