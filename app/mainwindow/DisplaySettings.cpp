// The fonts, sizes and colours of the four reading areas and the music file, read
// from the settings at start and written back at shutdown.
#include "frmMain.h"
#include "ui/VerseView.h"

#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "ui/Colours.h"

#include <QStyle>
#include <cmath>
#include <QTreeWidget>

namespace qelvane {

namespace {

// The largest font size a reading area takes, in points.
constexpr double MaxFontPoints = 1000;

const char* const BackColorProperty = "qelvaneBackColor";
// The size the reader chose for an area, and the zoom it is shown at (percent).
const char* const ChosenPointsProperty = "qelvaneChosenPoints";
const char* const ZoomProperty = "qelvaneZoom";

void showZoomed(QWidget* area)
{
    const double chosen = area->property(ChosenPointsProperty).toDouble();
    if (chosen <= 0)
        return;
    const int zoom = area->property(ZoomProperty).isValid() ? area->property(ZoomProperty).toInt() : 100;
    QFont font = area->font();
    font.setPointSizeF(chosen * zoom / 100.0);
    area->setFont(font);
}
const char* const ForeColorProperty = "qelvaneForeColor";

void setColour(QWidget* area, const char* property, QPalette::ColorRole role, qint32 value)
{
    area->setProperty(property, value);
    QPalette palette = area->palette();
    palette.setColor(role, colours::toQColor(value));
    // The window's focus-frame style sheet keeps the palette an area had when it was
    // polished: the area is polished again around the change, so a colour applied
    // while the program runs is drawn at once.
    area->style()->unpolish(area);
    area->setPalette(palette);
    area->style()->polish(area);
    area->update();
}

qint32 readColour(const SettingsStore& settings, const QString& key, qint32 fallback)
{
    bool ok = false;
    const qint64 value = settings.GetSetting(key, QString::number(fallback)).toLongLong(&ok);
    // A hand-edited value that is no 32-bit number gives way to the default.
    if (!ok || value < INT32_MIN || value > UINT32_MAX)
        return fallback;
    return static_cast<qint32>(static_cast<quint32>(value));
}

} // namespace

QList<QPair<QWidget*, QString>> frmMain::readingAreas() const
{
    return {{m_poems->widget(), QStringLiteral("Name")},
            {m_reading->biographyPane(), QStringLiteral("Author")},
            {m_reading->poemPane(), QStringLiteral("Poem")},
            {m_reading->notesPane(), QStringLiteral("Note")}};
}

qint32 frmMain::backColor(QWidget* area) { return area->property(BackColorProperty).toInt(); }
qint32 frmMain::foreColor(QWidget* area) { return area->property(ForeColorProperty).toInt(); }
void frmMain::setBackColor(QWidget* area, qint32 value) { setColour(area, BackColorProperty, QPalette::Base, value); }
void frmMain::setForeColor(QWidget* area, qint32 value) { setColour(area, ForeColorProperty, QPalette::Text, value); }

void frmMain::setFontName(QWidget* area, const QString& name)
{
    QFont font = area->font();
    font.setFamily(name);
    area->setFont(font);
}

void frmMain::setFontSize(QWidget* area, const QString& size)
{
    bool ok = false;
    const double points = size.toDouble(&ok);
    // "nan", "inf" or a size no screen shows would blank the area: such a value is
    // passed over and the area keeps its size.
    if (!ok || !std::isfinite(points) || points <= 0 || points > MaxFontPoints)
        return;
    area->setProperty(ChosenPointsProperty, points);
    showZoomed(area);
}

void frmMain::applyZoom(QWidget* area, int percent)
{
    if (!area->property(ChosenPointsProperty).isValid())
        area->setProperty(ChosenPointsProperty, area->font().pointSizeF());
    area->setProperty(ZoomProperty, percent);
    showZoomed(area);
}

// The size chosen, whatever the zoom: the settings keep what the reader chose.
QString frmMain::fontSizeText(QWidget* area)
{
    const QVariant chosen = area->property(ChosenPointsProperty);
    return QString::number(chosen.isValid() ? chosen.toDouble() : area->font().pointSizeF());
}

void frmMain::LoadSettings()
{
    const auto areas = readingAreas();
    for (const auto& [area, prefix] : areas)
        setBackColor(area, readColour(m_settings, prefix + QStringLiteral("BackColor"), 16777215));
    for (const auto& [area, prefix] : areas)
        setFontName(area, m_settings.GetSetting(prefix + QStringLiteral("Font"), QStringLiteral("宋体")));
    for (const auto& [area, prefix] : areas)
        setFontSize(area, m_settings.GetSetting(prefix + QStringLiteral("Size"), QStringLiteral("9")));
    for (const auto& [area, prefix] : areas)
        setForeColor(area, readColour(m_settings, prefix + QStringLiteral("ForeColor"), 0));
    MusicFileName = m_settings.GetSetting(QStringLiteral("MusicFile"), QString());
    bool zoomRead = false;
    const int zoom = m_settings.GetSetting(QStringLiteral("Zoom"), QStringLiteral("100")).toInt(&zoomRead);
    setZoom(zoomRead ? zoom : 100);
    m_look = looks::fromSetting(m_settings.GetSetting(QStringLiteral("Look"), QStringLiteral("0")));
    looks::apply(m_look);
    showLookChecked();
    setVerseCentred(m_settings.GetSetting(QStringLiteral("VerseCentred"), QStringLiteral("0")) == QLatin1String("1"));
    setTraditional(m_settings.GetSetting(QStringLiteral("Traditional"), QStringLiteral("0")) == QLatin1String("1"));
    setVertical(m_settings.GetSetting(QStringLiteral("Vertical"), QStringLiteral("0")) == QLatin1String("1"));
    setMetreInNewRhymes(m_settings.GetSetting(QStringLiteral("MetreBook"), QString()) == QStringLiteral("中华新韵"));
    setMetreShown(m_settings.GetSetting(QStringLiteral("Metre"), QStringLiteral("0")) == QLatin1String("1"));
    setPinyinShown(m_settings.GetSetting(QStringLiteral("Pinyin"), QStringLiteral("0")) == QLatin1String("1"));
    setNoPunctuation(m_settings.GetSetting(QStringLiteral("NoPunctuation"), QStringLiteral("0")) == QLatin1String("1"));
    setPrintNotes(m_settings.GetSetting(QStringLiteral("PrintNotes"), QStringLiteral("1")) == QLatin1String("1"));
}

void frmMain::SaveSettings()
{
    const auto areas = readingAreas();
    for (const auto& [area, prefix] : areas)
        m_settings.SaveSetting(prefix + QStringLiteral("BackColor"), QString::number(backColor(area)));
    for (const auto& [area, prefix] : areas)
        m_settings.SaveSetting(prefix + QStringLiteral("Font"), area->font().family());
    for (const auto& [area, prefix] : areas)
        m_settings.SaveSetting(prefix + QStringLiteral("Size"), fontSizeText(area));
    for (const auto& [area, prefix] : areas)
        m_settings.SaveSetting(prefix + QStringLiteral("ForeColor"), QString::number(foreColor(area)));
    m_settings.SaveSetting(QStringLiteral("MusicFile"), MusicFileName);
    m_settings.SaveSetting(QStringLiteral("Zoom"), QString::number(m_zoom));
    m_settings.SaveSetting(QStringLiteral("Look"), QString::number(int(m_look)));
    m_settings.SaveSetting(QStringLiteral("VerseCentred"),
                           m_reader->verseCentred() ? QStringLiteral("1") : QStringLiteral("0"));
    m_settings.SaveSetting(QStringLiteral("Vertical"), m_reader->vertical() ? QStringLiteral("1") : QStringLiteral("0"));
    m_settings.SaveSetting(QStringLiteral("Metre"), m_aids->metreOn() ? QStringLiteral("1") : QStringLiteral("0"));
    m_settings.SaveSetting(QStringLiteral("Pinyin"), m_aids->pinyinOn() ? QStringLiteral("1") : QStringLiteral("0"));
    m_settings.SaveSetting(QStringLiteral("MetreBook"), m_aids->book() ? metre::bookName(*m_aids->book()) : QString());
    m_settings.SaveSetting(QStringLiteral("NoPunctuation"),
                           m_reader->noPunctuation() ? QStringLiteral("1") : QStringLiteral("0"));
    m_settings.SaveSetting(QStringLiteral("PrintNotes"), m_printNotes ? QStringLiteral("1") : QStringLiteral("0"));
    m_settings.SaveSetting(QStringLiteral("Traditional"),
                           m_reader->traditional() ? QStringLiteral("1") : QStringLiteral("0"));
    rememberLastPoem();
}

void frmMain::storeSettings()
{
    if (!m_settings.sync())
        msg::notice(this, QStringLiteral("无法保存设置：文件“%1”不能写入（文件夹不可写入或磁盘已满）。"
                                         "这次更改的选项和窗口位置没有保存。")
                              .arg(m_settings.fileName()));
}

} // namespace qelvane
