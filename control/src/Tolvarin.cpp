// The button's properties, its persistence and the placing of its caption and icon.
#include "tolvarin/Tolvarin.h"

#include "CaptionLabel.h"
#include "Rounding.h"
#include "UserControl1.h"

#include <QApplication>
#include <QMetaClassInfo>
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
    m_font = font();

    m_uc11 = new UserControl1(this);
    m_uc11->setObjectName(QStringLiteral("UserControl11"));
    m_uc12 = new UserControl1(this);
    m_uc12->setObjectName(QStringLiteral("UserControl12"));
    for (UserControl1* control : {m_uc12, m_uc11}) {
        control->SetMaskColor(DefaultMaskColour);
        control->hide();
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    m_lbl = new CaptionLabel(this);
    connect(m_lbl, &CaptionLabel::changed, this, &Tolvarin::resizeHandling);
    m_timer1 = new QTimer(this);
    m_timer1->setInterval(10);
    connect(m_timer1, &QTimer::timeout, this, &Tolvarin::Timer1_Timer);

    m_surface = QImage(DesignWidth, DesignHeight, QImage::Format_RGB32);
    m_surface.fill(fromOle(DesignBackColour));
    resize(DesignWidth, DesignHeight);
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

void Tolvarin::SetStyle(int value)
{
    m_style = checkedInt16(value);
    resizeHandling();
    emit PropertyChanged(QStringLiteral("Style"));
}

quint32 Tolvarin::ICOMaskColor() const
{
    return m_uc11->MaskColor();
}

void Tolvarin::SetICOMaskColor(quint32 value)
{
    m_icoMaskColor = value;
    m_uc11->SetMaskColor(value);
    m_uc12->SetMaskColor(value);
    emit PropertyChanged(QStringLiteral("ICOMaskColor"));
}

void Tolvarin::SetMousePointer(int value)
{
    m_mousePointer = value;
    applyMousePointer();
    emit PropertyChanged(QStringLiteral("MousePointer"));
}

void Tolvarin::SetMouseIcon(const QPixmap& value)
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

QVariant Tolvarin::ICON() const
{
    return m_iconPicture;
}

void Tolvarin::SetICON(const QVariant& picture)
{
    m_iconPicture = picture;
    if (!picture.canConvert<QPixmap>()) {
        // No picture at all: the icon is turned off and the caption centred again.
        m_hasIcon = false;
        moveCaption((width() - m_lbl->width()) / 2.0f, m_lbl->top);
        resizeHandling();
        return;
    }
    const QPixmap pixmap = picture.value<QPixmap>();
    if (pixmap.isNull())
        return;
    m_iconWidth = pixmap.width();
    m_iconHeight = pixmap.height();
    emit PropertyChanged(QStringLiteral("Icon"));
    m_hasIcon = true;
    resizeHandling();
    PlaceCaption();
    PlaceIcon();
    resizeHandling();
}

void Tolvarin::SetIconAlign(int value)
{
    m_iconAlign = value;
    m_hasIcon = value != 0;
    emit PropertyChanged(QStringLiteral("IconAlign"));
    PlaceIcon();
    PlaceCaption();
    RefreshButton();
    resizeHandling();
}

void Tolvarin::SetAppearance(int value)
{
    m_appearance = value;
    emit PropertyChanged(QStringLiteral("Appearance"));
    resizeHandling();
}

void Tolvarin::SetFR(int value)
{
    m_fr = checkedInt16(value);
    emit PropertyChanged(QStringLiteral("FR"));
    resizeHandling();
}

QString Tolvarin::Caption() const
{
    return m_lbl->caption();
}

void Tolvarin::SetCaption(const QString& value)
{
    m_lbl->setCaption(value);
    grabAccessKey();
    emit PropertyChanged(QStringLiteral("Caption"));
    resizeHandling();
}

void Tolvarin::SetFont(const QFont& value)
{
    m_font = value;
    setFont(value);
    m_lbl->setCaptionFont(value);
    emit PropertyChanged(QStringLiteral("Font"));
    PlaceCaption();
}

void Tolvarin::SetShowFocus(bool value)
{
    m_showFocus = value;
    emit PropertyChanged(QStringLiteral("ShowFocus"));
}

void Tolvarin::SetDisabledNewStyleB(bool value)
{
    m_disabledNewStyleB = value;
    emit PropertyChanged(QStringLiteral("DisabledNewStyleB"));
}

void Tolvarin::SetDisabledNewStyle(bool value)
{
    m_disabledNewStyle = value;
    emit PropertyChanged(QStringLiteral("DisabledNewStyle"));
}

void Tolvarin::SetEnabled(bool value)
{
    QWidget::setEnabled(value);
    m_enabledMirror = value;
    RefreshButton();
    emit PropertyChanged(QStringLiteral("Enabled"));
    m_focusEntered = false;
    m_leftPressSeen = false;
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
        m_uc11->show();
        m_uc12->show();
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
    const float left = (m_iconAlign != 0 && m_iconAlign != 2) ? 5.0f : float(width() - m_iconWidth - 5);
    const float top = (height() - m_iconHeight) / 2.0f;
    moveIcon(left, top);
    m_iconLeft = toInt16(left);
    m_iconTop = toInt16(top);
}

void Tolvarin::RefreshButton()
{
    if (m_enabledMirror) {
        m_faceState = Normal;
        DrawButton(Normal);
        PlaceCaption();
        PlaceIcon();
    } else {
        m_faceState = Disabled;
        DrawButton(Disabled);
    }
}

void Tolvarin::resizeHandling()
{
    if (m_isLoading)
        return;
    RefreshButton();
    if (m_iconAlign != 0 && m_hasIcon) {
        for (UserControl1* control : {m_uc11, m_uc12}) {
            if (control == m_uc11) {
                control->setVisible(true);
                control->SetEnabled(true);
            }
            control->SetMaskPicture(m_iconPicture);
            control->SetPicture(m_iconPicture);
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
    SetFR(2);
    SetDisabledNewStyle(true);
    SetDisabledNewStyleB(false);
    SetShowFocus(true);
    SetEnabled(true);
    SetICON(m_iconPicture);
    m_backgroundPicture = QPixmap();
    m_faceState = Normal;
    m_backStyle = TVRN_Opaque;
    m_uc11->SetMaskColor(DefaultMaskColour);
    m_uc12->SetMaskColor(DefaultMaskColour);
    SetICOMaskColor(DefaultMaskColour);
    SetCaption(objectName());
    SetFont(parentWidget() ? parentWidget()->font() : QApplication::font());
}

void Tolvarin::ReadProperties(const PropertyBag& bag)
{
    const QString displayName = objectName();
    const QFont ambientFont = parentWidget() ? parentWidget()->font() : QApplication::font();
    m_isLoading = true;
    m_disabledNewStyle = bag.ReadProperty("DisabledNewStyle", true).toBool();
    m_disabledNewStyleB = bag.ReadProperty("DisabledNewStyleB", false).toBool();
    m_iconAlign = bag.ReadProperty("IconAlign", 1).toInt();
    m_appearance = bag.ReadProperty("Appearance", 0).toInt();
    m_icoMaskColor = bag.ReadProperty("ICOMaskColor", DefaultMaskColour).toUInt();
    SetICON(bag.ReadProperty("Icon", m_iconPicture));
    SetEnabled(bag.ReadProperty("Enabled", true).toBool());
    SetCaption(bag.ReadProperty("Caption", displayName).toString());
    SetFont(bag.ReadProperty("Font", ambientFont).value<QFont>());
    SetShowFocus(bag.ReadProperty("ShowFocus", true).toBool());
    SetFR(bag.ReadProperty("FR", 2).toInt());
    m_backgroundPicture = bag.ReadProperty("Picture").value<QPixmap>();
    SetMouseIcon(bag.ReadProperty("MouseIcon").value<QPixmap>());
    m_mousePointer = bag.ReadProperty("MousePointer", 0).toInt();
    applyMousePointer();
    m_backStyle = bag.ReadProperty("BackStyle", 1).toInt();
    m_style = checkedInt16(bag.ReadProperty("Style", 0).toInt());
    m_isLoading = false;
    resizeHandling();
}

void Tolvarin::WriteProperties(PropertyBag& bag)
{
    m_isLoading = true;
    bag.WriteProperty("DisabledNewStyle", m_disabledNewStyle, true);
    bag.WriteProperty("DisabledNewStyleB", m_disabledNewStyleB, false);
    bag.WriteProperty("ICOMaskColor", m_icoMaskColor, DefaultMaskColour);
    bag.WriteProperty("IconAlign", m_iconAlign, 1);
    // A button without an icon still keeps an (empty) entry for it.
    bag.WriteProperty("Icon", m_iconPicture.isValid() ? m_iconPicture : QVariant(QPixmap()), 0);
    bag.WriteProperty("Enabled", isEnabled(), true);
    bag.WriteProperty("Caption", Caption(), objectName());
    bag.WriteProperty("Font", m_font, parentWidget() ? parentWidget()->font() : QApplication::font());
    bag.WriteProperty("ShowFocus", m_showFocus, true);
    bag.WriteProperty("Picture", QVariant(), QVariant());
    bag.WriteProperty("FR", int(m_fr), 2);
    bag.WriteProperty("Appearance", m_appearance, 0);
    bag.WriteProperty("MouseIcon", m_mouseIcon.isNull() ? QVariant() : QVariant(m_mouseIcon), QVariant());
    bag.WriteProperty("MousePointer", m_mousePointer, 0);
    bag.WriteProperty("Style", int(m_style), 0);
    m_isLoading = false;
}

} // namespace tolvarin
