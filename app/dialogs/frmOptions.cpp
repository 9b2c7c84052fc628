#include "frmOptions.h"

#include "platform/Choosers.h"
#include "ui/ColorSwatch.h"
#include "ui/Colours.h"
#include "ui_frmOptions.h"

#include <QLocale>

namespace qelvane {

namespace {
bool isFontIndex(int index)
{
    Q_ASSERT_X(index >= 1 && index <= 4, "frmOptions", "font index out of range");
    return index >= 1 && index <= 4;
}
bool isBackIndex(int index)
{
    Q_ASSERT_X(index >= 0 && index <= 3, "frmOptions", "background index out of range");
    return index >= 0 && index <= 3;
}
} // namespace

frmOptions::frmOptions(const Services& services, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::frmOptions>()), m_services(services)
{
    ui->setupUi(this);
    txtFont = {nullptr, ui->txtFont_1, ui->txtFont_2, ui->txtFont_3, ui->txtFont_4};
    cmdFont = {nullptr, ui->cmdFont_1, ui->cmdFont_2, ui->cmdFont_3, ui->cmdFont_4};
    picColor = {ui->picColor_0, ui->picColor_1, ui->picColor_2, ui->picColor_3};
    for (int index = 1; index <= 4; ++index)
        connect(cmdFont[index], &tolvarin::Tolvarin::Click, this, [this, index] { cmdFont_Click(index); });
    for (int index = 0; index <= 3; ++index)
        connect(picColor[index], &ColorSwatch::doubleClicked, this, [this, index] { picColor_DblClick(index); });
    connect(ui->cmdSearch, &tolvarin::Tolvarin::Click, this, &frmOptions::cmdSearch_Click);
    // A click by the user, and a change made by SetMusicName, are told apart.
    connect(ui->chkMusic, &QCheckBox::clicked, this, &frmOptions::chkMusic_Click);
    connect(ui->cmdApply, &tolvarin::Tolvarin::Click, this, &frmOptions::cmdApply_Click);
    connect(ui->cmdOK, &tolvarin::Tolvarin::Click, this, &frmOptions::cmdOK_Click);
    connect(ui->cmdCancel, &tolvarin::Tolvarin::Click, this, &frmOptions::cmdCancel_Click);
}

frmOptions::~frmOptions() = default;

QString frmOptions::sizeText(double points)
{
    return QLocale::c().toString(points, 'g', 6);
}

// ---- Setters and getters ---------------------------------------------------------------

void frmOptions::SetMusicName(const QString& strName)
{
    m_musicName = strName;
    const bool checked = !strName.isEmpty();
    if (ui->chkMusic->isChecked() != checked) {
        ui->chkMusic->setChecked(checked);
        musicBoxChanged();
    }
    ui->txtMusic->setText(strName);
}

QString frmOptions::GetFontName(int Index) const
{
    return isFontIndex(Index) ? m_fontNames[Index] : QString();
}

void frmOptions::SetFontName(int Index, const QString& strName)
{
    if (isFontIndex(Index))
        m_fontNames[Index] = strName;
}

QString frmOptions::GetFontSize(int Index) const
{
    return isFontIndex(Index) ? m_fontSizes[Index] : QString();
}

void frmOptions::SetFontSize(int Index, const QString& strSize)
{
    if (isFontIndex(Index))
        m_fontSizes[Index] = strSize;
}

qint32 frmOptions::GetFontColor(int Index) const
{
    return isFontIndex(Index) ? m_fontColors[Index] : 0;
}

void frmOptions::SetFontColor(int Index, qint32 lngColor)
{
    if (!isFontIndex(Index))
        return;
    m_fontColors[Index] = lngColor;
    paintArea(Index);
}

qint32 frmOptions::GetBackColor(int Index) const
{
    return isBackIndex(Index) ? m_backColors[Index] : 0;
}

void frmOptions::SetBackColor(int Index, qint32 lngColor)
{
    if (!isBackIndex(Index))
        return;
    m_backColors[Index] = lngColor;
    picColor[Index]->setColour(colours::toQColor(lngColor));
    paintArea(Index + 1);
}

// txtFont shows its area in the area's text and background colours.
void frmOptions::paintArea(int fontIndex)
{
    QPalette palette = txtFont[fontIndex]->palette();
    palette.setColor(QPalette::Text, colours::toQColor(m_fontColors[fontIndex]));
    palette.setColor(QPalette::Base, colours::toQColor(m_backColors[fontIndex - 1]));
    txtFont[fontIndex]->setPalette(palette);
}

// ---- What the user does ---------------------------------------------------------------

// The names and sizes reach the text boxes each time the window becomes active.
void frmOptions::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void frmOptions::Form_Activate()
{
    for (int index = 1; index <= 4; ++index)
        txtFont[index]->setText(m_fontNames[index] + QStringLiteral(" ") + m_fontSizes[index] + QStringLiteral("号"));
}

// The font chooser starts from the area's font; the text colour is asked for next (the
// desktop's font chooser has none). Cancelling the font changes nothing; cancelling
// the colour keeps the area's colour.
void frmOptions::cmdFont_Click(int Index)
{
    QFont current(m_fontNames[Index]);
    bool sized = false;
    const double points = m_fontSizes[Index].toDouble(&sized);
    if (sized && points > 0)
        current.setPointSizeF(points);
    const std::optional<QFont> font = m_services.choosers->chooseFont(this, current);
    if (!font)
        return;
    const std::optional<QColor> colour = m_services.choosers->chooseColour(
        this, colours::toQColor(m_fontColors[Index]), QStringLiteral("字体颜色"));
    const QString size = sizeText(font->pointSizeF());
    txtFont[Index]->setText(font->family() + QStringLiteral(" ") + size + QStringLiteral("号"));
    m_fontNames[Index] = font->family();
    m_fontSizes[Index] = size;
    if (colour)
        m_fontColors[Index] = colours::fromQColor(*colour);
    paintArea(Index);
    ui->cmdApply->setEnabled(true);
}

void frmOptions::picColor_DblClick(int Index)
{
    const std::optional<QColor> colour =
        m_services.choosers->chooseColour(this, colours::toQColor(m_backColors[Index]), QStringLiteral("背景颜色"));
    if (!colour)
        return;
    picColor[Index]->setColour(*colour);
    m_backColors[Index] = colours::fromQColor(*colour);
    ui->cmdApply->setEnabled(true);
}

void frmOptions::cmdSearch_Click()
{
    const std::optional<QString> file = m_services.choosers->chooseFileToOpen(
        this, QStringLiteral("选择背景音乐"), m_services.dataFolder + QStringLiteral("/music/"),
        QStringLiteral("数字音乐文件(*.mid)"));
    if (!file)
        return;
    if (!file->isEmpty()) {
        ui->txtMusic->setText(*file);
        m_musicName = *file;
    }
    ui->cmdApply->setEnabled(true);
}

// Unticking turns the music off; ticking again takes the file the box still shows, so
// the reader need not choose it anew.
void frmOptions::chkMusic_Click()
{
    m_musicName = ui->chkMusic->isChecked() ? ui->txtMusic->text() : QString();
    musicBoxChanged();
}

// 选择 follows the box; either way there is something to apply.
void frmOptions::musicBoxChanged()
{
    ui->cmdSearch->setEnabled(ui->chkMusic->isChecked());
    ui->cmdApply->setEnabled(true);
}

void frmOptions::cmdApply_Click()
{
    emit OptionChanged();
    ui->cmdApply->setEnabled(false);
}

void frmOptions::cmdOK_Click()
{
    if (ui->cmdApply->isEnabled())
        cmdApply_Click();
    hide();
}

void frmOptions::cmdCancel_Click()
{
    hide();
}

} // namespace qelvane
