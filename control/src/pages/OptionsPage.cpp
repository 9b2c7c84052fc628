// The Options property page: seven of the button's properties, read from and written
// to the first control the host chose, by property name.
#include "tolvarin/PropertyPages.h"

#include "Twips.h"

#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <limits>

namespace tolvarin {

namespace {

// The page's positions are in twips, at the control's 15 twips a pixel.
QRect twips(int left, int top, int width, int height)
{
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel, height / TwipsPerPixel};
}

template <typename Widget>
Widget* placed(QWidget* page, const char* name, const QRect& where)
{
    auto* widget = new Widget(page);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(where);
    return widget;
}

QLabel* label(QWidget* page, const char* name, int left, int top, const QString& text)
{
    auto* shown = placed<QLabel>(page, name, twips(left, top, 1200, 285));
    shown->setText(text);
    return shown;
}

QComboBox* list(QWidget* page, const char* name, int top, const QStringList& entries)
{
    auto* box = placed<QComboBox>(page, name, twips(1320, top, 2895, 315));
    box->addItems(entries);
    return box;
}

} // namespace

OptionsPage::OptionsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Options"));
    setMinimumSize(4500 / TwipsPerPixel, 3600 / TwipsPerPixel);
    chkDisabledNewStyle = placed<QCheckBox>(this, "chkDisabledNewStyle", twips(120, 120, 1740, 285));
    chkDisabledNewStyle->setText(QStringLiteral("DisabledNewStyle"));
    Check1 = placed<QCheckBox>(this, "Check1", twips(120, 480, 1860, 285));
    Check1->setText(QStringLiteral("DisabledNewStyleB"));
    chkShowFocus = placed<QCheckBox>(this, "chkShowFocus", twips(120, 840, 1740, 285));
    chkShowFocus->setText(QStringLiteral("ShowFocus"));
    // The page's positions stand; a caption longer than its box at this font widens it.
    for (QCheckBox* box : {chkDisabledNewStyle, Check1, chkShowFocus})
        box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
    lblMousePointer = label(this, "lblMousePointer", 120, 1440, QStringLiteral("FR="));
    Text1 = placed<QLineEdit>(this, "Text1", twips(600, 1440, 855, 270));
    Text1->setAccessibleName(QStringLiteral("FR"));
    Label1 = label(this, "Label1", 120, 1800, QStringLiteral("Appearance:"));
    Combo2 = list(this, "Combo2", 1800, {QStringLiteral("TVRN_Flat = 0"), QStringLiteral("TVRN_Solid = 1"),
                                         QStringLiteral("TVRN_SolidB = 2")});
    Label3 = label(this, "Label3", 120, 2160, QStringLiteral("IconAlign:"));
    Combo4 = list(this, "Combo4", 2160, {QStringLiteral("TVRN_None = 0"), QStringLiteral("TVRN_Left = 1"),
                                         QStringLiteral("TVRN_Right = 2")});
    Label6 = label(this, "Label6", 120, 2520, QStringLiteral("Style:"));
    Combo1 = list(this, "Combo1", 2520, {QStringLiteral("TVRN_SysColorNET = 0"), QStringLiteral("TVRN_SysCplorFlat = 1"),
                                         QStringLiteral("TVRN_SysColorPopup = 2")});
    Label4 = placed<QLabel>(this, "Label4", twips(120, 3000, 4200, 255));
    Label4->setText(QStringLiteral("Tolvarin 按钮控件 %1.%2 标准版").arg(VersionMajor).arg(VersionMinor));
    Label4->setFont(QFont(QStringLiteral("Arial")));
    Label5 = placed<QLabel>(this, "Label5", twips(120, 3270, 4200, 255));
    Label5->setText(QStringLiteral("Tolvarin™ 是 Qelvane 项目的按钮控件"));
    Label1->setBuddy(Combo2);
    Label3->setBuddy(Combo4);
    Label6->setBuddy(Combo1);
    lblMousePointer->setBuddy(Text1);

    for (QCheckBox* box : {chkDisabledNewStyle, Check1, chkShowFocus})
        connect(box, &QCheckBox::clicked, this, [this] { setChanged(true); });
    for (QComboBox* box : {Combo1, Combo2, Combo4}) {
        connect(box, &QComboBox::activated, this, [this] { setChanged(true); });
        box->installEventFilter(this);
        // Open, the list's keys go to its popup view: typing is swallowed there too.
        box->view()->installEventFilter(this);
    }
    connect(Text1, &QLineEdit::textChanged, this, [this] { setChanged(true); });
}

void OptionsPage::setChanged(bool changed)
{
    if (m_changed == changed)
        return;
    m_changed = changed;
    emit changedChanged(changed);
}

// The lists are chosen from, never typed into.
bool OptionsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

namespace {

// The entries a list holds of its own; a value outside them is shown as an entry of
// its own, after them, that carries the value.
constexpr int ListedValues = 3;

void showListValue(QComboBox* box, int value)
{
    while (box->count() > ListedValues)
        box->removeItem(box->count() - 1);
    if (value >= 0 && value < ListedValues) {
        box->setCurrentIndex(value);
        return;
    }
    box->addItem(QStringLiteral("%1（超出范围）").arg(value), value);
    box->setCurrentIndex(box->count() - 1);
}

int listValue(const QComboBox* box)
{
    const QVariant carried = box->currentData();
    return carried.isValid() ? carried.toInt() : box->currentIndex();
}

} // namespace

QVariantHash OptionsPage::shownValues() const
{
    return {{QStringLiteral("Style"), listValue(Combo1)},
            {QStringLiteral("Appearance"), listValue(Combo2)},
            {QStringLiteral("IconAlign"), listValue(Combo4)},
            {QStringLiteral("DisabledNewStyleB"), Check1->isChecked()},
            {QStringLiteral("ShowFocus"), chkShowFocus->isChecked()},
            {QStringLiteral("DisabledNewStyle"), chkDisabledNewStyle->isChecked()},
            {QStringLiteral("FR"), Text1->text().trimmed()}};
}

void OptionsPage::SelectionChanged(const QList<QObject*>& controls)
{
    if (controls.isEmpty())
        return;
    QObject* control = controls.first();
    const bool firstFill = Text1->text().isEmpty();
    showListValue(Combo1, control->property("Style").toInt());
    showListValue(Combo2, control->property("Appearance").toInt());
    showListValue(Combo4, control->property("IconAlign").toInt());
    Text1->setText(QString::number(control->property("FR").toInt()));
    Check1->setChecked(control->property("DisabledNewStyleB").toBool());
    chkShowFocus->setChecked(control->property("ShowFocus").toBool());
    chkDisabledNewStyle->setChecked(control->property("DisabledNewStyle").toBool());
    m_read = shownValues();
    if (firstFill)
        setChanged(false);
}

QString OptionsPage::ApplyChanges(const QList<QObject*>& controls, const PropertyWriter& write)
{
    if (controls.isEmpty())
        return {};
    QObject* control = controls.first();
    const PropertyWriter assign =
        write ? write : [](QObject* target, const char* name, const QVariant& value) { target->setProperty(name, value); };
    // Only what the user changed is written: a value the page merely shows (one out
    // of range among them) is left as the control holds it.
    const QVariantHash shown = shownValues();
    for (const char* name : {"Style", "Appearance", "IconAlign", "DisabledNewStyleB", "ShowFocus", "DisabledNewStyle"}) {
        const QString key = QLatin1String(name);
        if (shown.value(key) != m_read.value(key)) {
            assign(control, name, shown.value(key));
            m_read.insert(key, shown.value(key));
        }
    }
    // FR last: a text that is no 16-bit number fails here, with the others written.
    if (shown.value(QStringLiteral("FR")) != m_read.value(QStringLiteral("FR"))) {
        bool number = false;
        const int fr = Text1->text().trimmed().toInt(&number);
        if (!number || fr < std::numeric_limits<qint16>::min() || fr > std::numeric_limits<qint16>::max())
            return QStringLiteral("FR 必须是 -32768 到 32767 之间的整数：“%1”。").arg(Text1->text());
        assign(control, "FR", fr);
        m_read.insert(QStringLiteral("FR"), shown.value(QStringLiteral("FR")));
    }
    setChanged(false);
    return {};
}

} // namespace tolvarin
