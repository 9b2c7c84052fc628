// The button's properties, its persistence and the placing of its caption and icon.
#include "tolvarin/Tolvarin.h"

#include "CaptionLabel.h"
#include "Rounding.h"
#include "UserControl1.h"

#include <QMetaProperty>
#include <QAccessible>
#include <QApplication>
#include <QMetaClassInfo>
#include <QMetaProperty>
#include <QPainter>
#include <QTimer>
#include <cmath>
#include <stdexcept>

namespace tolvarin {

namespace {

constexpr quint32 DesignBackColour = 0x00D8E9EC;
constexpr quint32 DefaultMaskColour = 0x00D30000; // RGB(0, 0, 211)
// The design size, 1005 x 345 twips, at 15 twips per pixel.
constexpr int DesignWidth = 67;
constexpr int DesignHeight = 23;

qint16 toInt16(float value)
{
    return static_cast<qint16>(roundHalfEven(value));
}

qint16 checkedInt16(int value)
{
    if (value < -32768 || value > 32767)
        throw std::overflow_error("溢出");
    return static_cast<qint16>(value);
}


} // namespace

Tolvarin::Tolvarin(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    installAccessibility();

    m_uc11 = new UserControl1(this);
    m_uc11->setObjectName(QStringLiteral("UserControl11"));
    m_uc12 = new UserControl1(this);
    m_uc12->setObjectName(QStringLiteral("UserControl12"));
    for (UserControl1* control : {m_uc12, m_uc11}) {
        control->SetMaskColor(DefaultMaskColour);
        control->hide();
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    // Each property's own notification follows the control's PropertyChanged (whose
    // names are matched without regard to letter case, as the control's are).
    connect(this, &Tolvarin::PropertyChanged, this, [this](const QString& name) {
        const QMetaObject* meta = metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (QString::compare(QLatin1String(property.name()), name, Qt::CaseInsensitive) == 0 &&
                property.hasNotifySignal()) {
                property.notifySignal().invoke(this);
                return;
            }
        }
    });
    m_lbl = new CaptionLabel(this);
    connect(m_lbl, &CaptionLabel::changed, this, &Tolvarin::resizeHandling);
    m_timer1 = new QTimer(this);
    m_timer1->setInterval(10);
    connect(m_timer1, &QTimer::timeout, this, &Tolvarin::Timer1_Timer);

    m_surface = QImage(DesignWidth, DesignHeight, QImage::Format_RGB32);
    m_surface.fill(fromOle(DesignBackColour));
    resize(DesignWidth, DesignHeight);
    connect(this, &QObject::objectNameChanged, this, &Tolvarin::followObjectName);
    InitProperties();
}

Tolvarin::~Tolvarin() = default;

QString Tolvarin::propertyHelp(const char* property)
{
    const QMetaObject& meta = staticMetaObject;
    const int index = meta.indexOfClassInfo(property);
    return index < 0 ? QString() : QString::fromUtf8(meta.classInfo(index).value());
}

// ---- Properties ----------------------------------------------------------------------

qlonglong Tolvarin::hWnd() const
{
    return qlonglong(effectiveWinId());
}

void Tolvarin::setStyle(int value)
{
    m_style = checkedInt16(value);
    resizeHandling();
    emit PropertyChanged(QStringLiteral("Style"));
}

quint32 Tolvarin::ICOMaskColor() const
{
    return m_uc11->MaskColor();
}

void Tolvarin::setICOMaskColor(quint32 value)
{
    m_icoMaskColor = value;
    m_uc11->SetMaskColor(value);
    m_uc12->SetMaskColor(value);
    emit PropertyChanged(QStringLiteral("ICOMaskColor"));
}

void Tolvarin::setMousePointer(int value)
{
    m_mousePointer = value;
    applyMousePointer();
    emit PropertyChanged(QStringLiteral("MousePointer"));
}

void Tolvarin::setMouseIcon(const QPixmap& value)
{
    m_mouseIcon = value;
    applyMousePointer();
    emit PropertyChanged(QStringLiteral("MouseIcon"));
}

// The classic pointer numbers; 99 is the custom MouseIcon.
void Tolvarin::applyMousePointer()
{
    static const QHash<int, Qt::CursorShape> shapes = {
        {1, Qt::ArrowCursor},     {2, Qt::CrossCursor},     {3, Qt::IBeamCursor},    {5, Qt::SizeAllCursor},
        {6, Qt::SizeBDiagCursor}, {7, Qt::SizeVerCursor},   {8, Qt::SizeFDiagCursor}, {9, Qt::SizeHorCursor},
        {10, Qt::UpArrowCursor},  {11, Qt::WaitCursor},     {12, Qt::ForbiddenCursor}, {13, Qt::BusyCursor},
        {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor}, {16, Qt::PointingHandCursor}};
    if (m_mousePointer == 99 && !m_mouseIcon.isNull())
        setCursor(QCursor(m_mouseIcon));
    else if (shapes.contains(m_mousePointer))
        setCursor(shapes.value(m_mousePointer));
    else
        unsetCursor();
}

void Tolvarin::setICON(const QPixmap& picture)
{
    m_iconPicture = picture;
    updateGeometry();
    if (picture.isNull()) {
        // No picture at all: the icon is turned off and the caption centred again.
        m_hasIcon = false;
        moveCaption((width() - m_lbl->width()) / 2.0f, m_lbl->top);
        resizeHandling();
        return;
    }
    // Laid out in logical pixels, whatever the picture's pixel ratio.
    const QSizeF logical = picture.deviceIndependentSize();
    m_iconWidth = roundHalfEven(logical.width());
    m_iconHeight = roundHalfEven(logical.height());
    emit PropertyChanged(QStringLiteral("Icon"));
    m_hasIcon = true;
    resizeHandling();
    PlaceCaption();
    PlaceIcon();
    resizeHandling();
}

void Tolvarin::setIconAlign(int value)
{
    m_iconAlign = value;
    updateGeometry();
    m_hasIcon = value != 0;
    emit PropertyChanged(QStringLiteral("IconAlign"));
    PlaceIcon();
    PlaceCaption();
    RefreshButton();
    resizeHandling();
}

void Tolvarin::setAppearance(int value)
{
    m_appearance = value;
    emit PropertyChanged(QStringLiteral("Appearance"));
    resizeHandling();
}

void Tolvarin::writeStyleProperty(STYLES value)
{
    try {
        setStyle(int(value));
    } catch (const std::exception&) {
        qWarning("Tolvarin %s: Style %d is outside -32768..32767; it stays %d", qPrintable(objectName()), int(value),
                 int(m_style));
    }
}

void Tolvarin::writeFRProperty(int value)
{
    try {
        setFR(value);
    } catch (const std::exception&) {
        qWarning("Tolvarin %s: FR %d is outside -32768..32767; it stays %d", qPrintable(objectName()), value,
                 int(m_fr));
    }
}

void Tolvarin::setFR(int value)
{
    m_fr = checkedInt16(value);
    emit PropertyChanged(QStringLiteral("FR"));
    resizeHandling();
}

QString Tolvarin::Caption() const
{
    return m_lbl->caption();
}

void Tolvarin::setCaption(const QString& value)
{
    m_captionFollowsName = false;
    m_lbl->setCaption(value);
    grabAccessKey();
    updateGeometry();
    emit PropertyChanged(QStringLiteral("Caption"));
    resizeHandling();
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void Tolvarin::followObjectName(const QString& name)
{
    if (!m_captionFollowsName)
        return;
    setCaption(name);
    m_captionFollowsName = true;
}

// The widget's font is the control's Font: set by the host, by a form, or inherited
// from the parent (the ambient font).
void Tolvarin::fontChanged()
{
    m_lbl->setCaptionFont(font());
    updateGeometry();
    emit PropertyChanged(QStringLiteral("Font"));
    PlaceCaption();
}

void Tolvarin::setShowFocus(bool value)
{
    m_showFocus = value;
    emit PropertyChanged(QStringLiteral("ShowFocus"));
}

void Tolvarin::setDisabledNewStyleB(bool value)
{
    m_disabledNewStyleB = value;
    emit PropertyChanged(QStringLiteral("DisabledNewStyleB"));
}

void Tolvarin::setDisabledNewStyle(bool value)
{
    m_disabledNewStyle = value;
    emit PropertyChanged(QStringLiteral("DisabledNewStyle"));
}

// The widget's enabled state is the control's Enabled: set on the button, or by a
// parent being disabled or enabled again.
void Tolvarin::enabledChanged()
{
    m_enabledMirror = isEnabled();
    if (!m_enabledMirror) {
        m_timer1->stop();
        m_spaceDown = false;
        m_mouseInside = false;
    }
    RefreshButton();
    emit PropertyChanged(QStringLiteral("Enabled"));
    m_focusEntered = false;
    m_leftPressSeen = false;
}

void Tolvarin::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        enabledChanged();
        break;
    case QEvent::FontChange:
        fontChanged();
        break;
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::StyleChange:
        // The system colours of the face come from the palette.
        DrawButton(m_faceState);
        m_lbl->update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

QSize Tolvarin::sizeHint() const
{
    // Room for the caption, or for the icon and the caption as PlaceIcon and
    // PlaceCaption lay them out, never less than the classic 75 x 23.
    const QSize caption = m_lbl->size();
    int width = caption.width() + 24;
    int height = caption.height() + 8;
    if (m_hasIcon && m_iconAlign != 0) {
        width = m_iconWidth + 7 + caption.width() + 12;
        height = std::max(height, m_iconHeight + 8);
    }
    return {std::max(75, width), std::max(23, height)};
}

QSize Tolvarin::minimumSizeHint() const
{
    const QSize caption = m_lbl->size();
    int width = caption.width() + 8;
    int height = caption.height() + 4;
    if (m_hasIcon && m_iconAlign != 0) {
        width = m_iconWidth + 7 + caption.width() + 4;
        height = std::max(height, m_iconHeight + 4);
    }
    return {width, height};
}

// ---- Layout --------------------------------------------------------------------------

QPointF Tolvarin::captionPos() const
{
    return {m_lbl->left, m_lbl->top};
}

QSize Tolvarin::captionSize() const
{
    return m_lbl->size();
}

void Tolvarin::moveCaption(float left, float top)
{
    m_lbl->left = left;
    m_lbl->top = top;
    m_lbl->move(int(std::lround(left)), int(std::lround(top)));
}

void Tolvarin::moveIcon(float left, float top)
{
    m_iconLeftF = left;
    m_iconTopF = top;
}

void Tolvarin::placeIconControl(UserControl1* control, float left, float top)
{
    control->move(int(std::lround(left)), int(std::lround(top)));
}

void Tolvarin::PlaceCaption()
{
    float left;
    if (m_iconAlign != 0 && m_hasIcon) {
        left = m_iconAlign == 2 ? float(width() - m_iconWidth - 7 - m_lbl->width()) : float(m_iconWidth + 7);
        // The hover shadow is shown by the hover face alone; showing it here left a
        // stale shadow on the normal face.
        m_uc11->show();
    } else {
        left = (width() - m_lbl->width()) / 2.0f;
        m_uc11->hide();
        m_uc12->hide();
    }
    const float top = (height() - m_lbl->height()) / 2.0f;
    moveCaption(left, top);
    m_captionTop = toInt16(top);
    m_captionLeft = toInt16(left);
}

void Tolvarin::PlaceIcon()
{
    // An icon without a caption stands in the middle of the face.
    const float left = m_lbl->caption().isEmpty()                   ? (width() - m_iconWidth) / 2.0f
                       : (m_iconAlign != 0 && m_iconAlign != 2) ? 5.0f
                                                                 : float(width() - m_iconWidth - 5);
    const float top = (height() - m_iconHeight) / 2.0f;
    moveIcon(left, top);
    m_iconLeft = toInt16(left);
    m_iconTop = toInt16(top);
}

// Caption and icon are laid out before the face is drawn, enabled or not: a button
// disabled in a form, resized or given a new caption while disabled shows them where
// they belong (the classic order placed them only when enabled, and after drawing).
void Tolvarin::RefreshButton()
{
    PlaceCaption();
    PlaceIcon();
    m_faceState = m_enabledMirror ? Normal : Disabled;
    DrawButton(m_faceState);
}

void Tolvarin::resizeHandling()
{
    if (m_isLoading)
        return;
    // The icon controls get their pictures before the face is drawn, not after it, so
    // that a disabled button keeps the grey rendering the face drew.
    const QVariant picture = m_iconPicture.isNull() ? QVariant() : QVariant(m_iconPicture);
    if (m_iconAlign != 0 && m_hasIcon) {
        for (UserControl1* control : {m_uc11, m_uc12}) {
            if (control == m_uc11) {
                control->setVisible(true);
                control->SetEnabled(true);
            }
            control->SetMaskPicture(picture);
            control->SetPicture(picture);
            control->SetMaskColor(m_icoMaskColor);
        }
    } else {
        m_uc11->setVisible(false);
        m_uc11->SetEnabled(false);
        for (UserControl1* control : {m_uc11, m_uc12}) {
            control->SetPicture({});
            control->SetMaskPicture({});
        }
    }
    RefreshButton();
}

// The persistent drawing follows the control's size; a new size starts from the
// background colour.
void Tolvarin::ensureSurface()
{
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (m_surface.size() != wanted) {
        m_surface = QImage(wanted, QImage::Format_RGB32);
        m_surface.fill(fromOle(DesignBackColour));
    }
}

void Tolvarin::resizeEvent(QResizeEvent*)
{
    ensureSurface();
    resizeHandling();
}

void Tolvarin::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_surface);
}

QImage Tolvarin::rendered() const
{
    return const_cast<Tolvarin*>(this)->grab().toImage();
}

// ---- Persistence ---------------------------------------------------------------------

void Tolvarin::InitProperties()
{
    setFR(2);
    setDisabledNewStyle(true);
    setDisabledNewStyleB(false);
    setShowFocus(true);
    assignEnabled(true);
    setICON(m_iconPicture);
    m_backgroundPicture = QPixmap();
    m_faceState = Normal;
    m_backStyle = TVRN_Opaque;
    m_uc11->SetMaskColor(DefaultMaskColour);
    m_uc12->SetMaskColor(DefaultMaskColour);
    setICOMaskColor(DefaultMaskColour);
    setCaption(objectName());
    m_captionFollowsName = true;
    // The ambient font: the widget inherits its parent's.
    setFont(QFont());
    fontChanged();
}

// The Enabled assignment runs its side effects even when the state stays as it was.
void Tolvarin::assignEnabled(bool value)
{
    const bool before = isEnabled();
    setEnabled(value);
    if (isEnabled() == before)
        enabledChanged();
}

namespace {
// Loading and saving mark the control busy; the mark goes whatever way they end.
class LoadingMark {
public:
    explicit LoadingMark(bool& flag) : m_flag(flag) { m_flag = true; }
    ~LoadingMark() { m_flag = false; }
    LoadingMark(const LoadingMark&) = delete;
    LoadingMark& operator=(const LoadingMark&) = delete;

private:
    bool& m_flag;
};
} // namespace

void Tolvarin::ReadProperties(const PropertyBag& bag)
{
    const QString displayName = objectName();
    {
        LoadingMark loading(m_isLoading);
        m_disabledNewStyle = bag.ReadProperty("DisabledNewStyle", true).toBool();
        m_disabledNewStyleB = bag.ReadProperty("DisabledNewStyleB", false).toBool();
        m_iconAlign = bag.ReadProperty("IconAlign", 1).toInt();
        m_appearance = bag.ReadProperty("Appearance", 0).toInt();
        m_icoMaskColor = bag.ReadProperty("ICOMaskColor", DefaultMaskColour).toUInt();
        setICON(bag.ReadProperty("Icon", QVariant(m_iconPicture)).value<QPixmap>());
        assignEnabled(bag.ReadProperty("Enabled", true).toBool());
        setCaption(bag.ReadProperty("Caption", displayName).toString());
        if (bag.contains("Font"))
            setFont(bag.ReadProperty("Font").value<QFont>());
        else
            setFont(QFont());
        fontChanged();
        setShowFocus(bag.ReadProperty("ShowFocus", true).toBool());
        setFR(bag.ReadProperty("FR", 2).toInt());
        m_backgroundPicture = bag.ReadProperty("Picture").value<QPixmap>();
        setMouseIcon(bag.ReadProperty("MouseIcon").value<QPixmap>());
        m_mousePointer = bag.ReadProperty("MousePointer", 0).toInt();
        applyMousePointer();
        m_backStyle = bag.ReadProperty("BackStyle", 1).toInt();
        m_style = checkedInt16(bag.ReadProperty("Style", 0).toInt());
    }
    updateGeometry();
    resizeHandling();
}

void Tolvarin::WriteProperties(PropertyBag& bag)
{
    LoadingMark saving(m_isLoading);
    bag.WriteProperty("DisabledNewStyle", m_disabledNewStyle, true);
    bag.WriteProperty("DisabledNewStyleB", m_disabledNewStyleB, false);
    bag.WriteProperty("ICOMaskColor", m_icoMaskColor, DefaultMaskColour);
    bag.WriteProperty("IconAlign", m_iconAlign, 1);
    // A button without an icon still keeps an (empty) entry for it.
    bag.WriteProperty("Icon", QVariant(m_iconPicture), 0);
    // The button's own flag: a button disabled only through its parent is stored enabled.
    bag.WriteProperty("Enabled", !testAttribute(Qt::WA_ForceDisabled), true);
    bag.WriteProperty("Caption", Caption(), objectName());
    bag.WriteProperty("Font", font(), parentWidget() ? parentWidget()->font() : QApplication::font());
    bag.WriteProperty("ShowFocus", m_showFocus, true);
    bag.WriteProperty("Picture", QVariant(), QVariant());
    bag.WriteProperty("FR", int(m_fr), 2);
    bag.WriteProperty("Appearance", m_appearance, 0);
    bag.WriteProperty("MouseIcon", m_mouseIcon.isNull() ? QVariant() : QVariant(m_mouseIcon), QVariant());
    bag.WriteProperty("MousePointer", m_mousePointer, 0);
    bag.WriteProperty("Style", int(m_style), 0);
}

} // namespace tolvarin
