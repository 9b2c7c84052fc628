// The button's properties, its persistence and the placing of its caption and icon.
#include "Tolvarin_p.h"

#include "CaptionLabel.h"
#include "Rounding.h"
#include "Twips.h"
#include "UserControl1.h"

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
// The design size, 1005 x 345 twips.
constexpr int DesignWidth = 1005 / TwipsPerPixel;
constexpr int DesignHeight = 345 / TwipsPerPixel;

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

TolvarinPrivate::TolvarinPrivate(Tolvarin* button) : q(button) {}

Tolvarin::Tolvarin(QWidget* parent) : QWidget(parent), d(std::make_unique<TolvarinPrivate>(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    installAccessibility();

    d->m_uc11 = new UserControl1(this);
    d->m_uc11->setObjectName(QStringLiteral("UserControl11"));
    d->m_uc12 = new UserControl1(this);
    d->m_uc12->setObjectName(QStringLiteral("UserControl12"));
    for (UserControl1* control : {d->m_uc12, d->m_uc11}) {
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
    d->m_lbl = new CaptionLabel(this);
    connect(d->m_lbl, &CaptionLabel::changed, this, [this] { d->resizeHandling(); });
    d->m_timer1 = new QTimer(this);
    d->m_timer1->setInterval(10);
    connect(d->m_timer1, &QTimer::timeout, this, [this] { d->Timer1_Timer(); });

    d->m_surface = QImage(DesignWidth, DesignHeight, QImage::Format_RGB32);
    d->m_surface.fill(SystemColors::toRgb(DesignBackColour));
    resize(DesignWidth, DesignHeight);
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) { d->followObjectName(name); });
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
    d->m_style = checkedInt16(value);
    d->resizeHandling();
    emit PropertyChanged(QStringLiteral("Style"));
}

Tolvarin::STYLES Tolvarin::Style() const
{
    return STYLES(d->m_style);
}

int Tolvarin::MousePointer() const
{
    return d->m_mousePointer;
}

QPixmap Tolvarin::MouseIcon() const
{
    return d->m_mouseIcon;
}

QPixmap Tolvarin::ICON() const
{
    return d->m_iconPicture;
}

Tolvarin::Alignment Tolvarin::IconAlign() const
{
    return Alignment(d->m_iconAlign);
}

Tolvarin::Appe Tolvarin::Appearance() const
{
    return Appe(d->m_appearance);
}

int Tolvarin::FR() const
{
    return d->m_fr;
}

bool Tolvarin::ShowFocus() const
{
    return d->m_showFocus;
}

bool Tolvarin::DisabledNewStyleB() const
{
    return d->m_disabledNewStyleB;
}

bool Tolvarin::DisabledNewStyle() const
{
    return d->m_disabledNewStyle;
}

bool Tolvarin::IsLoading() const
{
    return d->m_isLoading;
}

quint32 Tolvarin::ICOMaskColor() const
{
    return d->m_uc11->MaskColor();
}

void Tolvarin::setICOMaskColor(quint32 value)
{
    d->m_icoMaskColor = value;
    d->m_uc11->SetMaskColor(value);
    d->m_uc12->SetMaskColor(value);
    emit PropertyChanged(QStringLiteral("ICOMaskColor"));
}

void Tolvarin::setMousePointer(int value)
{
    d->m_mousePointer = value;
    d->applyMousePointer();
    emit PropertyChanged(QStringLiteral("MousePointer"));
}

void Tolvarin::setMouseIcon(const QPixmap& value)
{
    d->m_mouseIcon = value;
    d->applyMousePointer();
    emit PropertyChanged(QStringLiteral("MouseIcon"));
}

// The classic pointer numbers; 99 is the custom MouseIcon.
void TolvarinPrivate::applyMousePointer()
{
    static const QHash<int, Qt::CursorShape> shapes = {
        {1, Qt::ArrowCursor},     {2, Qt::CrossCursor},     {3, Qt::IBeamCursor},    {5, Qt::SizeAllCursor},
        {6, Qt::SizeBDiagCursor}, {7, Qt::SizeVerCursor},   {8, Qt::SizeFDiagCursor}, {9, Qt::SizeHorCursor},
        {10, Qt::UpArrowCursor},  {11, Qt::WaitCursor},     {12, Qt::ForbiddenCursor}, {13, Qt::BusyCursor},
        {14, Qt::WhatsThisCursor}, {15, Qt::SizeAllCursor}, {16, Qt::PointingHandCursor}};
    if (m_mousePointer == 99 && !m_mouseIcon.isNull())
        q->setCursor(QCursor(m_mouseIcon));
    else if (shapes.contains(m_mousePointer))
        q->setCursor(shapes.value(m_mousePointer));
    else
        q->unsetCursor();
}

void Tolvarin::setICON(const QPixmap& picture)
{
    d->m_iconPicture = picture;
    updateGeometry();
    if (picture.isNull()) {
        // No picture at all: the icon is turned off and the caption centred again.
        d->m_hasIcon = false;
        d->moveCaption((width() - d->m_lbl->width()) / 2.0f, d->m_lbl->top);
        d->resizeHandling();
        return;
    }
    // Laid out in logical pixels, whatever the picture's pixel ratio.
    const QSizeF logical = picture.deviceIndependentSize();
    d->m_iconWidth = roundHalfEven(logical.width());
    d->m_iconHeight = roundHalfEven(logical.height());
    emit PropertyChanged(QStringLiteral("Icon"));
    d->m_hasIcon = true;
    d->resizeHandling();
    d->PlaceCaption();
    d->PlaceIcon();
    d->resizeHandling();
}

void Tolvarin::setIconAlign(int value)
{
    d->m_iconAlign = value;
    updateGeometry();
    d->m_hasIcon = value != 0;
    emit PropertyChanged(QStringLiteral("IconAlign"));
    d->PlaceIcon();
    d->PlaceCaption();
    d->RefreshButton();
    d->resizeHandling();
}

void Tolvarin::setAppearance(int value)
{
    d->m_appearance = value;
    emit PropertyChanged(QStringLiteral("Appearance"));
    d->resizeHandling();
}

void Tolvarin::writeStyleProperty(STYLES value)
{
    try {
        setStyle(int(value));
    } catch (const std::exception&) {
        qWarning("Tolvarin %s: Style %d is outside -32768..32767; it stays %d", qPrintable(objectName()), int(value),
                 int(d->m_style));
    }
}

void Tolvarin::writeFRProperty(int value)
{
    try {
        setFR(value);
    } catch (const std::exception&) {
        qWarning("Tolvarin %s: FR %d is outside -32768..32767; it stays %d", qPrintable(objectName()), value,
                 int(d->m_fr));
    }
}

void Tolvarin::setFR(int value)
{
    d->m_fr = checkedInt16(value);
    emit PropertyChanged(QStringLiteral("FR"));
    d->resizeHandling();
}

QString Tolvarin::Caption() const
{
    return d->m_lbl->caption();
}

void Tolvarin::setCaption(const QString& value)
{
    d->m_captionFollowsName = false;
    d->m_lbl->setCaption(value);
    d->grabAccessKey();
    updateGeometry();
    emit PropertyChanged(QStringLiteral("Caption"));
    d->resizeHandling();
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void TolvarinPrivate::followObjectName(const QString& name)
{
    if (!m_captionFollowsName)
        return;
    q->setCaption(name);
    m_captionFollowsName = true;
}

// The widget's font is the control's Font: set by the host, by a form, or inherited
// from the parent (the ambient font).
void TolvarinPrivate::fontChanged()
{
    m_lbl->setCaptionFont(q->font());
    q->updateGeometry();
    emit q->PropertyChanged(QStringLiteral("Font"));
    PlaceCaption();
}

void Tolvarin::setShowFocus(bool value)
{
    d->m_showFocus = value;
    emit PropertyChanged(QStringLiteral("ShowFocus"));
}

void Tolvarin::setDisabledNewStyleB(bool value)
{
    d->m_disabledNewStyleB = value;
    emit PropertyChanged(QStringLiteral("DisabledNewStyleB"));
}

void Tolvarin::setDisabledNewStyle(bool value)
{
    d->m_disabledNewStyle = value;
    emit PropertyChanged(QStringLiteral("DisabledNewStyle"));
}

// The widget's enabled state is the control's Enabled: set on the button, or by a
// parent being disabled or enabled again.
void TolvarinPrivate::enabledChanged()
{
    m_enabledMirror = q->isEnabled();
    if (!m_enabledMirror) {
        m_timer1->stop();
        m_spaceDown = false;
        m_mouseInside = false;
    }
    RefreshButton();
    emit q->PropertyChanged(QStringLiteral("Enabled"));
    m_focusEntered = false;
    m_leftPressSeen = false;
}

void Tolvarin::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        d->enabledChanged();
        break;
    case QEvent::FontChange:
        d->fontChanged();
        break;
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::StyleChange:
        // The system colours of the face come from the palette.
        d->DrawButton(d->m_faceState);
        d->m_lbl->update();
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
    const QSize caption = d->m_lbl->size();
    int width = caption.width() + 24;
    int height = caption.height() + 8;
    if (d->m_hasIcon && d->m_iconAlign != 0) {
        width = d->m_iconWidth + 7 + caption.width() + 12;
        height = std::max(height, d->m_iconHeight + 8);
    }
    return {std::max(75, width), std::max(23, height)};
}

QSize Tolvarin::minimumSizeHint() const
{
    const QSize caption = d->m_lbl->size();
    int width = caption.width() + 8;
    int height = caption.height() + 4;
    if (d->m_hasIcon && d->m_iconAlign != 0) {
        width = d->m_iconWidth + 7 + caption.width() + 4;
        height = std::max(height, d->m_iconHeight + 4);
    }
    return {width, height};
}

// ---- Layout --------------------------------------------------------------------------

QPointF TolvarinPrivate::captionPos() const
{
    return {m_lbl->left, m_lbl->top};
}

QSize TolvarinPrivate::captionSize() const
{
    return m_lbl->size();
}

void TolvarinPrivate::moveCaption(float left, float top)
{
    m_lbl->left = left;
    m_lbl->top = top;
    m_lbl->move(int(std::lround(left)), int(std::lround(top)));
}

void TolvarinPrivate::moveIcon(float left, float top)
{
    m_iconLeftF = left;
    m_iconTopF = top;
}

void TolvarinPrivate::placeIconControl(UserControl1* control, float left, float top)
{
    control->move(int(std::lround(left)), int(std::lround(top)));
}

void TolvarinPrivate::PlaceCaption()
{
    float left;
    if (m_iconAlign != 0 && m_hasIcon) {
        left = m_iconAlign == 2 ? float(q->width() - m_iconWidth - 7 - m_lbl->width()) : float(m_iconWidth + 7);
        // The hover shadow is shown by the hover face alone; showing it here left a
        // stale shadow on the normal face.
        m_uc11->show();
    } else {
        left = (q->width() - m_lbl->width()) / 2.0f;
        m_uc11->hide();
        m_uc12->hide();
    }
    const float top = (q->height() - m_lbl->height()) / 2.0f;
    moveCaption(left, top);
    m_captionTop = toInt16(top);
    m_captionLeft = toInt16(left);
}

void TolvarinPrivate::PlaceIcon()
{
    // An icon without a caption stands in the middle of the face.
    const float left = m_lbl->caption().isEmpty()                   ? (q->width() - m_iconWidth) / 2.0f
                       : (m_iconAlign != 0 && m_iconAlign != 2) ? 5.0f
                                                                 : float(q->width() - m_iconWidth - 5);
    const float top = (q->height() - m_iconHeight) / 2.0f;
    moveIcon(left, top);
    m_iconLeft = toInt16(left);
    m_iconTop = toInt16(top);
}

// Caption and icon are laid out before the face is drawn, enabled or not: a button
// disabled in a form, resized or given a new caption while disabled shows them where
// they belong (the classic order placed them only when enabled, and after drawing).
void TolvarinPrivate::RefreshButton()
{
    PlaceCaption();
    PlaceIcon();
    m_faceState = m_enabledMirror ? Tolvarin::Normal : Tolvarin::Disabled;
    DrawButton(m_faceState);
}

void TolvarinPrivate::resizeHandling()
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
void TolvarinPrivate::ensureSurface()
{
    const QSize wanted = q->size().expandedTo(QSize(1, 1));
    if (m_surface.size() != wanted) {
        m_surface = QImage(wanted, QImage::Format_RGB32);
        m_surface.fill(SystemColors::toRgb(DesignBackColour));
    }
}

void Tolvarin::resizeEvent(QResizeEvent*)
{
    d->ensureSurface();
    d->resizeHandling();
}

void Tolvarin::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, d->m_surface);
}

QImage TolvarinPrivate::rendered() const
{
    return q->grab().toImage();
}

// ---- Persistence ---------------------------------------------------------------------

void Tolvarin::InitProperties()
{
    setFR(2);
    setDisabledNewStyle(true);
    setDisabledNewStyleB(false);
    setShowFocus(true);
    d->assignEnabled(true);
    setICON(d->m_iconPicture);
    d->m_backgroundPicture = QPixmap();
    d->m_faceState = Normal;
    d->m_backStyle = TVRN_Opaque;
    d->m_uc11->SetMaskColor(DefaultMaskColour);
    d->m_uc12->SetMaskColor(DefaultMaskColour);
    setICOMaskColor(DefaultMaskColour);
    setCaption(objectName());
    d->m_captionFollowsName = true;
    // The ambient font: the widget inherits its parent's.
    setFont(QFont());
    d->fontChanged();
}

// The Enabled assignment runs its side effects even when the state stays as it was.
void TolvarinPrivate::assignEnabled(bool value)
{
    const bool before = q->isEnabled();
    q->setEnabled(value);
    if (q->isEnabled() == before)
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
        LoadingMark loading(d->m_isLoading);
        d->m_disabledNewStyle = bag.ReadProperty("DisabledNewStyle", true).toBool();
        d->m_disabledNewStyleB = bag.ReadProperty("DisabledNewStyleB", false).toBool();
        d->m_iconAlign = bag.ReadProperty("IconAlign", 1).toInt();
        d->m_appearance = bag.ReadProperty("Appearance", 0).toInt();
        d->m_icoMaskColor = bag.ReadProperty("ICOMaskColor", DefaultMaskColour).toUInt();
        setICON(bag.ReadProperty("Icon", QVariant(d->m_iconPicture)).value<QPixmap>());
        d->assignEnabled(bag.ReadProperty("Enabled", true).toBool());
        setCaption(bag.ReadProperty("Caption", displayName).toString());
        if (bag.contains("Font"))
            setFont(bag.ReadProperty("Font").value<QFont>());
        else
            setFont(QFont());
        d->fontChanged();
        setShowFocus(bag.ReadProperty("ShowFocus", true).toBool());
        setFR(bag.ReadProperty("FR", 2).toInt());
        d->m_backgroundPicture = bag.ReadProperty("Picture").value<QPixmap>();
        setMouseIcon(bag.ReadProperty("MouseIcon").value<QPixmap>());
        d->m_mousePointer = bag.ReadProperty("MousePointer", 0).toInt();
        d->applyMousePointer();
        d->m_backStyle = bag.ReadProperty("BackStyle", 1).toInt();
        d->m_style = checkedInt16(bag.ReadProperty("Style", 0).toInt());
    }
    updateGeometry();
    d->resizeHandling();
}

void Tolvarin::WriteProperties(PropertyBag& bag)
{
    LoadingMark saving(d->m_isLoading);
    bag.WriteProperty("DisabledNewStyle", d->m_disabledNewStyle, true);
    bag.WriteProperty("DisabledNewStyleB", d->m_disabledNewStyleB, false);
    bag.WriteProperty("ICOMaskColor", d->m_icoMaskColor, DefaultMaskColour);
    bag.WriteProperty("IconAlign", d->m_iconAlign, 1);
    // A button without an icon still keeps an (empty) entry for it.
    bag.WriteProperty("Icon", QVariant(d->m_iconPicture), 0);
    // The button's own flag: a button disabled only through its parent is stored enabled.
    bag.WriteProperty("Enabled", !testAttribute(Qt::WA_ForceDisabled), true);
    bag.WriteProperty("Caption", Caption(), objectName());
    bag.WriteProperty("Font", font(), parentWidget() ? parentWidget()->font() : QApplication::font());
    bag.WriteProperty("ShowFocus", d->m_showFocus, true);
    bag.WriteProperty("Picture", QVariant(), QVariant());
    bag.WriteProperty("FR", int(d->m_fr), 2);
    bag.WriteProperty("Appearance", d->m_appearance, 0);
    bag.WriteProperty("MouseIcon", d->m_mouseIcon.isNull() ? QVariant() : QVariant(d->m_mouseIcon), QVariant());
    bag.WriteProperty("MousePointer", d->m_mousePointer, 0);
    bag.WriteProperty("Style", int(d->m_style), 0);
}

} // namespace tolvarin
