#pragma once

// The button's inner workings: its state, the placing of caption and icon, the face
// painting and the handlers the platform's input arrives at. Not part of the
// installed interface; the library's own tests include it to drive the handlers and
// read the state.

#include "tolvarin/Tolvarin.h"

#include <QImage>
#include <QPixmap>
#include <QPointF>

class QMouseEvent;
class QTimer;

namespace tolvarin {

class CaptionLabel;
class UserControl1;

// Makes assistive technology see every button as a push button (once per program).
void installAccessibility();

class TolvarinPrivate {
public:
    explicit TolvarinPrivate(Tolvarin* button);

    static TolvarinPrivate* get(Tolvarin* button) { return button->d.get(); }
    static const TolvarinPrivate* get(const Tolvarin* button) { return button->d.get(); }

    // ---- Looks and state, as the tests read them ----
    int faceState() const { return m_faceState; }
    bool hasIcon() const { return m_hasIcon; }
    // The painted face, one pixel per pixel.
    const QImage& surface() const { return m_surface; }
    // The surface with the caption and the icon controls on it, as the user sees it.
    QImage rendered() const;
    QPointF captionPos() const;
    QSize captionSize() const;
    QPointF iconPos() const { return {m_iconLeftF, m_iconTopF}; }
    QPoint restingCaption() const { return {m_captionLeft, m_captionTop}; }
    QPoint restingIcon() const { return {m_iconLeft, m_iconTop}; }
    UserControl1* userControl11() const { return m_uc11; }
    UserControl1* userControl12() const { return m_uc12; }
    bool timerRunning() const;
    bool mouseInside() const { return m_mouseInside; }

    // ---- Handlers: the platform's events arrive here ----
    // Paints the face of a state; it only paints.
    void DrawButton(int state);
    void RefreshButton();
    void Timer1_Timer();
    void UserControl_MouseDown(int button, int shift, float x, float y);
    void UserControl_MouseMove(int button, int shift, float x, float y);
    void UserControl_MouseUp(int button, int shift, float x, float y);
    void UserControl_KeyDown(int keyCode, int shift);
    void UserControl_KeyPress(int keyAscii);
    void UserControl_KeyUp(int keyCode, int shift);
    void UserControl_AccessKeyPress();
    void UserControl_EnterFocus();
    void UserControl_ExitFocus();
    void UserControl_Show();
    // Qt's mouse events on the button or its caption (`offset` is the caption's place).
    void mousePress(const QMouseEvent* event, QPointF offset);
    void mouseMove(const QMouseEvent* event, QPointF offset);
    void mouseRelease(const QMouseEvent* event, QPointF offset);
    // `cursor` is where the release happened: the polled cursor, or the position a Qt
    // mouse event carries (a synthesised click moves no cursor).
    void mouseUp(int button, int shift, float x, float y, QPoint cursor);

    // ---- Reactions to the widget's own changes ----
    void resizeHandling();
    void enabledChanged();
    // The Enabled assignment runs its side effects even when the state stays as it was.
    void assignEnabled(bool value);
    void fontChanged();
    void followObjectName(const QString& name);
    void grabAccessKey();
    void applyMousePointer();
    // The persistent drawing follows the control's size; a new size starts from the
    // background colour.
    void ensureSurface();

    // ---- Placing and painting ----
    // The pressed face; a left press the button has seen is raised as MouseDown once
    // the face is drawn. False when a MouseDown handler deleted the button.
    bool showPressed();
    bool isFocused() const;
    bool cursorInside(QPoint cursor) const;
    // The system colour of an index as this button paints it (its own palette).
    quint32 sysColor(int index) const;
    quint32 resolveColour(quint32 oleColour) const;
    void PlaceCaption();
    void PlaceIcon();
    void DrawFocusFrame();
    void moveCaption(float left, float top);
    void moveIcon(float left, float top);
    void placeIconControl(UserControl1* control, float left, float top);
    // Drawing on the surface, in pixels, with colours as OLE colour values.
    void frame(int x1, int y1, int x2, int y2, quint32 colour);
    void box(int x1, int y1, int x2, int y2, quint32 colour);
    void line(int x1, int y1, int x2, int y2, quint32 colour);
    void frameAt(int a, quint32 colour);
    void fillAt(int a, quint32 colour);

    // ---- State ----
    Tolvarin* const q;
    CaptionLabel* m_lbl;
    UserControl1* m_uc11;
    UserControl1* m_uc12;
    QTimer* m_timer1;
    QImage m_surface;

    // The hidden image control holding the icon: its picture and where it rests.
    QPixmap m_iconPicture;
    float m_iconLeftF = 0, m_iconTopF = 0;
    int m_iconWidth = 16, m_iconHeight = 16;

    int m_faceState = Tolvarin::Normal;
    bool m_enabledMirror = true;
    bool m_disabledNewStyle = true;
    bool m_disabledNewStyleB = false;
    bool m_showFocus = true;
    quint32 m_icoMaskColor = 0x00D30000;
    qint16 m_style = 0;
    int m_iconAlign = 0;
    int m_appearance = 0;
    qint16 m_fr = 2;
    bool m_hasIcon = false;
    bool m_isLoading = false;
    qint16 m_iconLeft = 0, m_iconTop = 0, m_captionLeft = 0, m_captionTop = 0;
    qint16 m_lastShift = 0;
    float m_lastX = 0, m_lastY = 0;
    bool m_mouseInside = false, m_spaceDown = false, m_leftPressSeen = false, m_focusEntered = false,
         m_pressArmed = false;
    int m_mousePointer = 0;
    QPixmap m_mouseIcon;
    QPixmap m_backgroundPicture;
    int m_backStyle = Tolvarin::TVRN_Opaque;
    int m_accessKeyId = 0;
    bool m_captionFollowsName = true;
    // A press delivered as a Qt mouse event: it counts as seen whatever the polled
    // button readings say (synthesised clicks do not change them).
    bool m_pressDelivered = false;
};

} // namespace tolvarin
