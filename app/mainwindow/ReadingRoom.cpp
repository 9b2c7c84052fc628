// The reading room's commands: the poem copied, back and forward through the poems
// read, the reading areas zoomed, and the poem the reader left opened again at start.
#include "frmMain.h"

#include "BarMain.h"
#include "FindBox.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "store/StoreError.h"
#include "ui/Colours.h"
#include "ui/LibraryKeys.h"
#include "ui/VerseView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QWheelEvent>

namespace qelvane {

namespace {
const QString LastPoemKey = QStringLiteral("LastPoem");
const QString LastPoemSideKey = QStringLiteral("LastPoemSide");
const QString LastViewKey = QStringLiteral("LastView");
} // namespace

void frmMain::buildReadingRoom()
{
    // Ctrl++ as well as Ctrl+=: the same key, with or without Shift.
    auto* zoomIn = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus), this);
    connect(zoomIn, &QShortcut::activated, this, [this] { zoomBy(+1); });

    // The poem's own menu offers the whole poem beside the selection.
    VerseView* poemPane = m_reading->poemPane();
    poemPane->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(poemPane, &QWidget::customContextMenuRequested, this, [this, poemPane](const QPoint& at) {
        std::unique_ptr<QMenu> menu(poemPane->createStandardContextMenu(at));
        menu->addSeparator();
        QAction* copy = menu->addAction(QStringLiteral("复制整首诗词"));
        copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
        copy->setEnabled(m_reader->poem().has_value());
        connect(copy, &QAction::triggered, this, &frmMain::CopyPoem);
        menu->exec(poemPane->mapToGlobal(at));
    });

    // Ctrl+wheel over a reading area zooms; the mouse's back and forward buttons anywhere
    // in the window go through the history.
    for (const auto& [area, prefix] : readingAreas()) {
        area->installEventFilter(this);
        if (auto* scrolled = qobject_cast<QAbstractScrollArea*>(area))
            scrolled->viewport()->installEventFilter(this);
    }
    qApp->installEventFilter(this);

    connect(m_reader, &PoemReader::historyChanged, this, [this] {
        if (QAction* back = barMain->Tool(QStringLiteral("mnuView"), QStringLiteral("mnuBack")))
            back->setEnabled(m_reader->canGoBack());
        if (QAction* forward = barMain->Tool(QStringLiteral("mnuView"), QStringLiteral("mnuForward")))
            forward->setEnabled(m_reader->canGoForward());
    });
    emit m_reader->historyChanged();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            for (const auto& [area, prefix] : readingAreas()) {
                auto* scrolled = qobject_cast<QAbstractScrollArea*>(area);
                if (watched == area || (scrolled && watched == scrolled->viewport())) {
                    if (wheel->angleDelta().y() != 0)
                        zoomBy(wheel->angleDelta().y() > 0 ? +1 : -1);
                    return true;
                }
            }
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool back = press->button() == Qt::BackButton, forward = press->button() == Qt::ForwardButton;
        if ((back || forward) && widget && widget->window() == this) {
            BarMain_ToolClick(back ? QStringLiteral("mnuBack") : QStringLiteral("mnuForward"));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::CopyPoem()
{
    QMimeData* data = m_reader->copiedData();
    if (!data) {
        msg::notice(this, QStringLiteral("请选择一首诗词再复制!"));
        return;
    }
    QApplication::clipboard()->setMimeData(data);
    showPosition(QStringLiteral("已复制诗词：") + m_reader->poem()->text.title.trimmed());
}

void frmMain::GoBack()
{
    if (const std::optional<PoemReader::Place> place = m_reader->stepBack())
        m_reader->goingThrough([&] { openFoundPoem(place->side, place->id); });
}

void frmMain::GoForward()
{
    if (const std::optional<PoemReader::Place> place = m_reader->stepForward())
        m_reader->goingThrough([&] { openFoundPoem(place->side, place->id); });
}

void frmMain::zoomBy(int steps)
{
    setZoom(m_zoom + steps * ZoomStep);
}

void frmMain::setZoom(int percent)
{
    m_zoom = std::clamp(percent, MinZoom, MaxZoom);
    for (const auto& [area, prefix] : readingAreas())
        applyZoom(area, m_zoom);
    if (m_zoom != 100)
        showPosition(QStringLiteral("显示比例：%1%").arg(m_zoom));
}

void frmMain::chooseLook(looks::Look look)
{
    const auto areas = readingAreas();
    // The reader's own colours are kept while another look lends the areas its own.
    if (m_look == looks::Look::Default && look != looks::Look::Default) {
        for (const auto& [area, prefix] : areas) {
            m_settings.SaveSetting(prefix + QStringLiteral("OwnBackColor"), QString::number(backColor(area)));
            m_settings.SaveSetting(prefix + QStringLiteral("OwnForeColor"), QString::number(foreColor(area)));
        }
    }
    looks::apply(look);
    // The window's focus-frame style sheet keeps the palette each part had when it was
    // polished: every part, the dialogs' too (they take the sheet from the window), is
    // polished again in the new palette.
    for (QWidget* part : findChildren<QWidget*>()) {
        part->style()->unpolish(part);
        part->style()->polish(part);
    }
    if (const std::optional<looks::AreaColours> colours = looks::areaColoursOf(look)) {
        for (const auto& [area, prefix] : areas) {
            setBackColor(area, colours::fromQColor(colours->back));
            setForeColor(area, colours::fromQColor(colours->text));
        }
    } else if (m_look != looks::Look::Default) {
        for (const auto& [area, prefix] : areas) {
            bool back = false, fore = false;
            const qint32 ownBack = m_settings.GetSetting(prefix + QStringLiteral("OwnBackColor"), {}).toInt(&back);
            const qint32 ownFore = m_settings.GetSetting(prefix + QStringLiteral("OwnForeColor"), {}).toInt(&fore);
            if (back)
                setBackColor(area, ownBack);
            if (fore)
                setForeColor(area, ownFore);
        }
    }
    m_look = look;
    showLookChecked();
    showPosition(QStringLiteral("外观：") + looks::nameOf(look));
}

void frmMain::setVerseCentred(bool centred)
{
    m_reader->setVerseCentred(centred);
    if (QAction* action = barMain->Tool(QStringLiteral("mnuView"), QStringLiteral("mnuVerseCentred")))
        action->setChecked(centred);
}

void frmMain::setTraditional(bool traditional)
{
    try {
        m_reader->setTraditional(traditional);
    } catch (const StoreError& failure) {
        msg::notice(this, failure.description());
    }
    if (QAction* action = barMain->Tool(QStringLiteral("mnuView"), QStringLiteral("mnuTraditional")))
        action->setChecked(m_reader->traditional());
}

void frmMain::showChecked(const char* band, const char* tool, bool on)
{
    if (QAction* action = barMain->Tool(QString::fromLatin1(band), QString::fromLatin1(tool)))
        action->setChecked(on);
}

void frmMain::setVertical(bool vertical)
{
    m_reader->setVertical(vertical);
    showChecked("mnuView", "mnuVertical", vertical);
}

void frmMain::setMetreShown(bool shown)
{
    m_aids->setMetreOn(shown);
    showChecked("mnuView", "mnuMetre", shown);
    if (shown && m_reader->poem())
        showPosition(QStringLiteral("格律：") + m_aids->words());
}

void frmMain::setMetreInNewRhymes(bool xinyun)
{
    m_aids->setBook(xinyun ? std::optional(metre::Book::Xinyun) : std::nullopt);
    showChecked("mnuView", "mnuMetreXinyun", xinyun);
}

void frmMain::setPinyinShown(bool shown)
{
    m_aids->setPinyinOn(shown);
    showChecked("mnuView", "mnuPinyin", shown);
}

void frmMain::findSameMetre()
{
    const std::optional<PoemReader::Poem>& poem = m_reader->poem();
    if (!poem)
        return;
    if (!m_find->findSameMetre(poem->side, poem->id))
        showPosition(m_find->state() == FindBox::State::Ready ? QStringLiteral("这首诗词没有可以比照的韵部")
                                                               : QStringLiteral("查找索引尚未建立"));
}

void frmMain::setNoPunctuation(bool none)
{
    m_reader->setNoPunctuation(none);
    showChecked("mnuView", "mnuNoPunctuation", none);
}

void frmMain::setPrintNotes(bool notes)
{
    m_printNotes = notes;
    showChecked("mnuFile", "mnuPrintNotes", notes);
}

void frmMain::showLookChecked()
{
    const struct {
        const char* tool;
        looks::Look look;
    } entries[] = {{"mnuLookDefault", looks::Look::Default},
                   {"mnuLookPaper", looks::Look::Paper},
                   {"mnuLookNight", looks::Look::Night}};
    for (const auto& entry : entries) {
        if (QAction* action = barMain->Tool(QStringLiteral("mnuView"), QString::fromLatin1(entry.tool)))
            action->setChecked(entry.look == m_look);
    }
}

void frmMain::rememberLastPoem()
{
    const std::optional<PoemReader::Poem>& poem = m_reader->poem();
    m_settings.SaveSetting(LastPoemKey, poem ? poem->id : QString());
    m_settings.SaveSetting(LastPoemSideKey, poem && poem->side == LibrarySide::Foreign ? QStringLiteral("F")
                                                                                       : QStringLiteral("C"));
    m_settings.SaveSetting(LastViewKey, FavoritesMode ? QStringLiteral("1") : QStringLiteral("0"));
}

void frmMain::reopenLastPoem()
{
    const QString id = m_settings.GetSetting(LastPoemKey, QString());
    if (id.isEmpty())
        return;
    const LibrarySide side = m_settings.GetSetting(LastPoemSideKey, QStringLiteral("C")) == QLatin1String("F")
                                 ? LibrarySide::Foreign
                                 : LibrarySide::China;
    // Gone since (deleted, or another library): the window opens as it always did.
    if (!library::authorIdOfPoem(m_db, side, id))
        return;
    if (m_settings.GetSetting(LastViewKey, QStringLiteral("0")) == QLatin1String("1"))
        switchView(true);
    openFoundPoem(side, id);
}

} // namespace qelvane
