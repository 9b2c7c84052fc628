#pragma once

// The Tolvarin button control library: a push button that paints itself in the
// desktop's system colours in one of three schemes, with an optional icon beside its
// caption, hover, press and focus looks, and a grey rendering of its icon when disabled.
// Hosts that know only the identifier load the library and call TolvarinCreateControl.

#include <QFont>
#include <QList>
#include <QPalette>
#include <QPair>
#include <QPixmap>
#include <QRgb>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <memory>

#if defined(TOLVARIN_LIBRARY)
#define TOLVARIN_EXPORT Q_DECL_EXPORT
#else
#define TOLVARIN_EXPORT Q_DECL_IMPORT
#endif


namespace tolvarin {

// ---- Library identity -------------------------------------------------------------
inline constexpr char TypeLibraryName[] = "TolvarinCtl";
inline constexpr char TypeLibraryHelp[] = "TolvarinCtl";
inline constexpr int VersionMajor = 3;
inline constexpr int VersionMinor = 0;
inline constexpr char LibraryGuid[] = "{6B1E5C3A-2F4D-4C8B-9E71-3A5D2C8F0B14}";
inline constexpr char ClassGuid[] = "{A94F0D27-5C1B-4E63-8D2A-71B6E3C95F08}";
inline constexpr char DefaultInterfaceGuid[] = "{3D7C2B91-8E4A-4F15-B6C0-9A2E5D71F3C6}";
inline constexpr char EventInterfaceGuid[] = "{E52A8F4C-1B3D-4A97-8C6E-0F4B7D2A9E51}";
inline constexpr char ProgId[] = "TolvarinCtl.Tolvarin";

class TolvarinPrivate;

// ---- System colours ---------------------------------------------------------------
// The desktop colours the button paints with, by their classic indices (5 window
// background, 7 menu text, 8 window text, 13 highlight, 14 highlight text, 15 button
// face, 16 button shadow, 17 grey text, 18 button text, 20 button highlight, 21 dark
// shadow), as 0x00BBGGRR values. By default they come from the application palette
// (or a widget's); a host or a test may set any of them.
class TOLVARIN_EXPORT SystemColors {
public:
    static quint32 GetSysColor(int index);
    static void set(int index, quint32 colour);
    static void reset();
    // A colour value as drawn: one with the high bit set names a system colour.
    static quint32 resolve(quint32 oleColour);
    // The same, with a widget's palette in place of the application's.
    static quint32 GetSysColor(int index, const QPalette& palette);
    static quint32 resolve(quint32 oleColour, const QPalette& palette);
    // The classic index's colour in a palette, ignoring what was set by hand.
    static quint32 fromPalette(int index, const QPalette& palette);
    // A 0x00BBGGRR value as Qt's colour (the high byte is not looked at: resolve a
    // system colour first), and Qt's colour as such a value.
    static QRgb toRgb(quint32 colour) { return qRgb(colour & 0xff, (colour >> 8) & 0xff, (colour >> 16) & 0xff); }
    static quint32 fromRgb(QRgb rgb)
    {
        return quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16);
    }
};

// ---- Input readings ---------------------------------------------------------------
// What the button polls: the cursor in a widget's own pixels, a mouse button's state
// (key 1 left, 2 right, 4 middle: 0x8000 held, 0x8001 held and newly pressed since the
// previous reading, 0 up) and the widget that has the keyboard focus.
class TOLVARIN_EXPORT InputProbe {
public:
    virtual ~InputProbe();
    virtual QPoint cursorPos(const QWidget* client) = 0;
    virtual quint16 asyncKeyState(int key) = 0;
    virtual QWidget* focusWidget() = 0;

    // The probe in use; tests install their own (nullptr goes back to the real one).
    static InputProbe& current();
    static void install(InputProbe* probe);
};

// ---- Persistence ------------------------------------------------------------------
// A host's stored form data for one control: named values, names matched without
// regard to case; a value equal to its default is not stored (no default given means
// Nothing, so every other value is stored).
class TOLVARIN_EXPORT PropertyBag {
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = {}) const;
    void WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue = {});
    bool contains(const QString& name) const;
    QStringList names() const;

    // A text form a host can save and load again.
    QString toText() const;
    static PropertyBag fromText(const QString& text, bool* ok = nullptr);

private:
    QList<QPair<QString, QVariant>> m_entries;
};

// ---- The button -------------------------------------------------------------------
class TOLVARIN_EXPORT Tolvarin : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("ProgID", "TolvarinCtl.Tolvarin")
    Q_PROPERTY(qlonglong hWnd READ hWnd DESIGNABLE false)
    Q_PROPERTY(STYLES Style READ Style WRITE writeStyleProperty NOTIFY StyleChanged)
    Q_PROPERTY(quint32 ICOMaskColor READ ICOMaskColor WRITE setICOMaskColor NOTIFY ICOMaskColorChanged)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer NOTIFY MousePointerChanged)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon NOTIFY MouseIconChanged)
    Q_PROPERTY(QPixmap ICON READ ICON WRITE setICON NOTIFY ICONChanged)
    Q_PROPERTY(Alignment IconAlign READ IconAlign WRITE setIconAlign NOTIFY IconAlignChanged)
    Q_PROPERTY(Appe Appearance READ Appearance WRITE setAppearance NOTIFY AppearanceChanged)
    Q_PROPERTY(int FR READ FR WRITE writeFRProperty NOTIFY FRChanged)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption NOTIFY CaptionChanged)
    // Font and Enabled are the widget's own font and enabled state under the control's
    // names; forms set them through QWidget's font and enabled.
    Q_PROPERTY(QFont Font READ font WRITE setFont DESIGNABLE false STORED false NOTIFY FontChanged)
    Q_PROPERTY(bool ShowFocus READ ShowFocus WRITE setShowFocus NOTIFY ShowFocusChanged)
    Q_PROPERTY(bool DisabledNewStyleB READ DisabledNewStyleB WRITE setDisabledNewStyleB NOTIFY DisabledNewStyleBChanged)
    Q_PROPERTY(bool DisabledNewStyle READ DisabledNewStyle WRITE setDisabledNewStyle NOTIFY DisabledNewStyleChanged)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled DESIGNABLE false STORED false NOTIFY EnabledChanged)
    Q_CLASSINFO("hWnd", "返回一个句柄到(from Microsoft Windows)一个对象的窗口。")
    Q_CLASSINFO("Style", "返回/设置外观样式。")
    Q_CLASSINFO("ICOMaskColor", "返回/设置图标的屏蔽色。")
    Q_CLASSINFO("MousePointer", "返回/设置当鼠标经过对象某一部分时鼠标的指针类型。")
    Q_CLASSINFO("MouseIcon", "设置一个自定义鼠标图标。")
    Q_CLASSINFO("ICON", "返回/设置一个图片，作为按钮的图标。")
    Q_CLASSINFO("IconAlign", "返回/设置是否显示图标和显示的位置。")
    Q_CLASSINFO("Appearance", "返回/设置按钮文本和图标运行时是否有三维的按下效果。")
    Q_CLASSINFO("FR", "返回/设置以焦点框四角顶点为圆心，与相应按钮边缘相切的圆的半径。")
    Q_CLASSINFO("Caption", "返回/设置按钮的文本。")
    Q_CLASSINFO("Font", "返回一个 Font 对象。")
    Q_CLASSINFO("ShowFocus", "返回/设置一个值，决定按钮是否显示焦点框。")
    Q_CLASSINFO("DisabledNewStyleB",
                "一种新的“不可用图标处理样式”，返回/设置当DisabledNewStyle属性为True且不可用时，是否在对图标灰度变换的基础上同时进行色调变换。")
    Q_CLASSINFO("DisabledNewStyle", "返回/设置一个值，决定按钮不可用时是否使用新的全灰度变换样式。")
    Q_CLASSINFO("Enabled", "返回/设置一个值，决定一个对象是否响应用户生成事件。")

public:
    // Every int is a value of these types: a stored form or a host may hold one outside
    // the names (shown for what it is by the property page), and reading it is defined.
    enum STYLES : int { TVRN_SysColorNET = 0, TVRN_SysCplorFlat = 1, TVRN_SysColorPopup = 2 };
    Q_ENUM(STYLES)
    enum Appe : int { TVRN_Flat = 0, TVRN_Solid = 1, TVRN_SolidB = 2 };
    Q_ENUM(Appe)
    enum Alignment : int { TVRN_None = 0, TVRN_Left = 1, TVRN_Right = 2 };
    Q_ENUM(Alignment)
    enum BackS { TVRN_Transparent = 0, TVRN_Opaque = 1 };
    Q_ENUM(BackS)
    enum FaceStates { Normal = 0, Pressed = 1, Disabled = 2, Hover = 3, Focused = 4 };
    Q_ENUM(FaceStates)

    // A new button; InitProperties gives it the defaults of a new control.
    explicit Tolvarin(QWidget* parent = nullptr);
    ~Tolvarin() override;

    // The help string of a property, as the type library gives it.
    static QString propertyHelp(const char* property);

    // ---- Properties ----
    qlonglong hWnd() const;
    // Values outside the named ones are kept (and draw no frame); outside the 16-bit
    // range: std::overflow_error, before anything is stored.
    STYLES Style() const;
    void setStyle(STYLES value) { setStyle(int(value)); }
    void setStyle(int value);
    using QWidget::setStyle;
    quint32 ICOMaskColor() const;
    void setICOMaskColor(quint32 value);
    int MousePointer() const;
    void setMousePointer(int value);
    QPixmap MouseIcon() const;
    void setMouseIcon(const QPixmap& value);
    // The icon; a null pixmap is no picture at all: the icon is turned off and the
    // caption centred again.
    QPixmap ICON() const;
    void setICON(const QPixmap& picture);
    Alignment IconAlign() const;
    void setIconAlign(Alignment value) { setIconAlign(int(value)); }
    void setIconAlign(int value);
    Appe Appearance() const;
    void setAppearance(Appe value) { setAppearance(int(value)); }
    void setAppearance(int value);
    int FR() const;
    // Outside the 16-bit range: std::overflow_error.
    void setFR(int value);
    // Until a caption is given, a new button's caption follows its object name (the
    // host's name for it).
    QString Caption() const;
    void setCaption(const QString& value);
    QFont Font() const { return font(); }
    bool ShowFocus() const;
    void setShowFocus(bool value);
    bool DisabledNewStyleB() const;
    void setDisabledNewStyleB(bool value);
    bool DisabledNewStyle() const;
    void setDisabledNewStyle(bool value);
    bool Enabled() const { return isEnabled(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // ---- Grey conversion (colours are 0x00BBGGRR; a surface is a UserControl1's hdc) ----
    Q_INVOKABLE static qint32 GetRValue(qint32 rgbColor);
    Q_INVOKABLE static qint32 GetGValue(qint32 rgbColor);
    Q_INVOKABLE static qint32 GetBValue(qint32 rgbColor);
    Q_INVOKABLE void ChangetoGray(qintptr SrcDC, int nx, int ny, qint32 nMaskColor = -1, qint32 IMC = -1,
                                  bool Dns = true);
    Q_INVOKABLE void ChangetoGray2(qintptr SrcDC, int nx, int ny, qint32 nMaskColor = -1, qint32 IMC = -1,
                                   bool Dns = true);
    Q_INVOKABLE void DrawGrayBitmap(qintptr hdc, int nx, int ny, int nWidth, int nHeight, qint32 nMaskColor = -1,
                                    qint32 IMC = -1, bool Dns = true);
    Q_INVOKABLE void DrawGrayBitmap2(qintptr hdc, int nx, int ny, int nWidth, int nHeight, qint32 nMaskColor = -1,
                                     qint32 IMC = -1, bool Dns = true);

    // ---- Persistence ----
    // A new control: the ambient display name (the host's object name for it) and the
    // ambient font (its parent's) become caption and font. The constructor runs it.
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag);
    bool IsLoading() const;

signals:
    void Click();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseOut();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    // The host's "this control's data changed" notice, with the property's name.
    void PropertyChanged(const QString& name);
    // One notification per property, for bindings and hosts that follow a property.
    void StyleChanged();
    void ICOMaskColorChanged();
    void MousePointerChanged();
    void MouseIconChanged();
    void ICONChanged();
    void IconAlignChanged();
    void AppearanceChanged();
    void FRChanged();
    void CaptionChanged();
    void FontChanged();
    void ShowFocusChanged();
    void DisabledNewStyleBChanged();
    void DisabledNewStyleChanged();
    void EnabledChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    friend class TolvarinPrivate;
    // The property system's way in (Qt Designer, QUiLoader, setProperty): a value out
    // of range is refused with a warning and the property keeps its value, since no
    // exception may cross Qt's meta-object calls. C++ callers of setStyle and setFR
    // are told by the exception.
    void writeStyleProperty(STYLES value);
    void writeFRProperty(int value);

    std::unique_ptr<TolvarinPrivate> d;
};

} // namespace tolvarin

// Creates the control for the identifier "TolvarinCtl.Tolvarin"; nullptr for any other.
extern "C" TOLVARIN_EXPORT QWidget* TolvarinCreateControl(const char* identifier, QWidget* parent);
