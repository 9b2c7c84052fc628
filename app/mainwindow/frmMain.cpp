#include "frmMain.h"

#include "ui/GlyphWarmer.h"
#include "ui/VerseView.h"

#include "FindBox.h"

#include "BarMain.h"
#include "SplitterHandle.h"
#include "StatusBar.h"
#include "ui/Twips.h"
#include "dialogs/frmOptions.h"
#include "dialogs/frmQueryPoem.h"
#include "platform/MessageBox.h"
#include "ui/LongChange.h"
#include "ui/AccessibleWindow.h"
#include "platform/MusicPlayer.h"
#include "platform/SettingsStore.h"
#include "store/DbConnection.h"
#include "store/FindIndex.h"

#include <QApplication>
#include <QMenuBar>
#include <QToolBar>
#include <QCloseEvent>
#include <algorithm>
#include <cmath>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qelvane {

namespace {

// Where the split starts before the first layout pass.
constexpr float DesignSplitterLeft = 6600;

struct PlacementKey {
    const char* key;
    float fallback;
};
// Left, top, width, height of the window, in twips.
constexpr PlacementKey PlacementKeys[] = {
    {"MainLeft", 1000}, {"MainTop", 1000}, {"MainWidth", 6500}, {"MainHeight", 6500}};

// A read-only reading area that a reader still moves through by keyboard (a caret,
// the arrow keys, Ctrl+Home/End), named for a screen reader.
// Where the keyboard is, in every pane: a frame in the highlight colour.
const QString FocusFrame = QStringLiteral(
    "QPlainTextEdit, QTextEdit, QTreeView { border: 2px solid transparent; }"
    "QPlainTextEdit:focus, QTextEdit:focus, QTreeView:focus { border: 2px solid palette(highlight); }");

} // namespace

frmMain::frmMain(const Services& services, std::unique_ptr<MusicBackend> music, QWidget* parent)
    : QWidget(parent), m_services(services), m_db(*services.db), m_settings(*services.settings)
{
    announceWindowsAsFrames();
    setObjectName(QStringLiteral("frmMain"));
    // A library that can only be read says so from the start, not at the first change.
    setWindowTitle(m_db.isReadOnly() ? msg::ApplicationTitle + QStringLiteral("（只读）") : msg::ApplicationTitle);
    musicPlayer = new MusicPlayer(std::move(music), this);
    connect(musicPlayer, &MusicPlayer::Done, this, &frmMain::MusicPlayer_Done);
    buildControls();
    setStyleSheet(FocusFrame);
}

frmMain::~frmMain() = default;

void frmMain::showStatus(const QString& text)
{
    sbStatusBar->setPanelText(1, text);
}

void frmMain::showPosition(const QString& text)
{
    sbStatusBar->setPanelText(2, text);
}

void frmMain::buildControls()
{
    picTitles = new QWidget(this);
    picTitles->setObjectName(QStringLiteral("picTitles"));
    barMain = new BarMain(this);
    auto* titles = new QVBoxLayout(picTitles);
    titles->setContentsMargins(0, 0, 0, 0);
    titles->setSpacing(0);
    titles->addWidget(barMain->menuBar());
    titles->addWidget(barMain->toolBar());
    titles->addStretch();
    picTitles->setGeometry(0, 0, toPixels(8100), toPixels(975));
    connect(barMain, &BarMain::ToolClick, this, &frmMain::BarMain_ToolClick);

    m_tree = new LibraryTreePane(this);
    m_tree->widget()->setGeometry(toPixels(120), toPixels(975), toPixels(2610), toPixels(4000));
    const auto showNode = [this](QTreeWidgetItem* node) { unlessRefused([&] { tvwPoem_NodeClick(node); }); };
    connect(m_tree, &LibraryTreePane::nodeChosen, this, showNode);
    connect(m_tree, &LibraryTreePane::nodeDoubleClicked, this, [this] { unlessRefused([this] { tvwPoem_DblClick(); }); });

    picAuthor = new QWidget(this);
    picAuthor->setObjectName(QStringLiteral("picAuthor"));
    m_poems = new PoemListPane(picAuthor);
    connect(m_poems, &PoemListPane::columnClicked, this, &frmMain::lvwPoem_ColumnClick);
    const auto showEntry = [this](QTreeWidgetItem* entry) { unlessRefused([&] { lvwPoem_ItemClick(entry); }); };
    connect(m_poems, &PoemListPane::entryChosen, this, showEntry);

    imgSplitter = new SplitterHandle(this);
    connect(imgSplitter, &SplitterHandle::MouseDown, this, &frmMain::imgSplitter_MouseDown);
    connect(imgSplitter, &SplitterHandle::MouseMove, this, &frmMain::imgSplitter_MouseMove);
    connect(imgSplitter, &SplitterHandle::MouseUp, this, &frmMain::imgSplitter_MouseUp);
    imgSplitter->setGeometry(toPixels(DesignSplitterLeft), toPixels(975), toPixels(135), toPixels(4000));
    imgSplitter->setAccessibleName(QStringLiteral("分隔条"));
    m_chosenSplit = DesignSplitterLeft;

    picSplitter = new QWidget(this);
    picSplitter->setObjectName(QStringLiteral("picSplitter"));
    picSplitter->setAutoFillBackground(true);
    QPalette grey = picSplitter->palette();
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    picSplitter->setPalette(grey);
    picSplitter->hide();

    picPoem = new QWidget(this);
    picPoem->setObjectName(QStringLiteral("picPoem"));
    m_reading = std::make_unique<ReadingPanes>(picAuthor, picPoem);
    m_reader = new PoemReader(*m_reading, m_db, this);
    connect(m_reader, &PoemReader::authorWanted, this, &frmMain::openFoundAuthor);
    buildReadingRoom();
    // The handle lies over the poem pane's edge; above it, the whole handle can be
    // grabbed (it paints nothing, so the pane still shows through).
    imgSplitter->raise();

    sbStatusBar = new StatusBar(this);
    placeStatusBar();
    m_aids = new ReadingAids(*m_reader, *m_reading->poemPane(), this);
    connect(m_aids, &ReadingAids::characterChosen, this, &frmMain::showPosition);
    buildFindBox();
}

void frmMain::Load()
{
    restorePlacement();

    m_poems->showTitleColumn();

    mOptionForm = new frmOptions(m_services, this);
    connect(mOptionForm, &frmOptions::OptionChanged, this, &frmMain::mOptionForm_OptionChanged);
    mQueryForm = new frmQueryPoem(m_services, this);
    connect(mQueryForm, &frmQueryPoem::ShowQueryResult, this, &frmMain::mQueryForm_ShowQueryResult);

    UpdateViewMode();
    LoadTree();
    LoadSettings();
    m_find->setState(findindex::present(m_db.sqliteHandle()) ? FindBox::State::Ready : FindBox::State::Missing);
    // Tombstones another session left (it was closed before it swept them out).
    compactFindIndexWhenIdle();

    // The poem the reader left comes in the frame after the window's first: its
    // glyphs, drawn for the first time, would hold the window back.
    m_reopenPending = true;
    // The poem's face draws the library's common characters once while the reader has
    // not yet chosen a poem, so that a poem opens within a frame.
    m_poemGlyphs = new GlyphWarmer({m_reading->poemPane()->font()}, GlyphWarmer::commonCharacters(),
                                   m_reading->poemPane(), this);
    m_poemGlyphs->start(FindBox::GlyphWarmupDelayMs * 2);
    StartMusic();
}

bool frmMain::glyphsReady() const
{
    return m_find->glyphsReady() && m_poemGlyphs && m_poemGlyphs->isDone();
}

void frmMain::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (!m_reopenPending)
        return;
    m_reopenPending = false;
    QTimer::singleShot(0, this, [this] {
        unlessRefused([this] { reopenLastPoem(); });
        emit readingResumed();
    });
}

void frmMain::restorePlacement()
{
    for (int i = 0; i < 4; ++i) {
        const PlacementKey& entry = PlacementKeys[i];
        bool ok = false;
        const float value =
            m_settings.GetSetting(QLatin1String(entry.key), QString::number(entry.fallback)).toFloat(&ok);
        // A hand-edited value that is no number gives way to the default.
        m_placement[i] = ok && std::isfinite(value) ? value : entry.fallback;
    }
    // A stored placement larger than the desktop, or off it, is brought onto it: the
    // window is at most the desktop's size and its top left corner is on the desktop.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen ? screen->availableVirtualGeometry() : QRect(0, 0, 1920, 1080);
    auto clampTwips = [](float twips, int lowest, int highest) {
        return std::clamp(twips, toTwips(lowest), toTwips(std::max(lowest, highest)));
    };
    m_placement[2] = clampTwips(m_placement[2], 1, desktop.width());
    m_placement[3] = clampTwips(m_placement[3], 1, desktop.height());
    m_placement[0] = clampTwips(m_placement[0], desktop.left(), desktop.right() - 40);
    m_placement[1] = clampTwips(m_placement[1], desktop.top(), desktop.bottom() - 40);
    move(toPixels(m_placement[0]), toPixels(m_placement[1]));
    resize(toPixels(m_placement[2]), toPixels(m_placement[3]));
}

void frmMain::savePlacement()
{
    const int pixels[4] = {pos().x(), pos().y(), width(), height()};
    for (int i = 0; i < 4; ++i) {
        if (toPixels(m_placement[i]) != pixels[i])
            m_placement[i] = toTwips(pixels[i]);
        m_settings.SaveSetting(QLatin1String(PlacementKeys[i].key), QString::number(m_placement[i]));
    }
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    // A long change runs to its end first (it is one transaction either way).
    if (longchange::running()) {
        event->ignore();
        return;
    }
    if (msg::question(this, QStringLiteral("是否退出？"), QStringLiteral("提示")) != msg::Answer::Yes) {
        event->ignore();
        return;
    }
    Unload();
    event->accept();
}

void frmMain::Unload()
{
    musicPlayer->Command(QStringLiteral("Close"));
    SaveSettings();

    const QWidgetList windows = QApplication::topLevelWidgets();
    for (qsizetype i = windows.size() - 1; i >= 0; --i) {
        QWidget* window = windows[i];
        if (window != this && window->isVisible() && window != mOptionForm && window != mQueryForm)
            window->close();
    }
    delete mOptionForm;
    mOptionForm = nullptr;
    delete mQueryForm;
    mQueryForm = nullptr;
    // A find index still being built is given up, a compaction stopped after its share;
    // the library is left consistent either way.
    m_indexWorker.reset();

    if (!isMinimized())
        savePlacement();
    storeSettings();

    m_db.Close();
    m_unloaded = true;
}

void frmMain::placeStatusBar()
{
    const int h = sbStatusBar->sizeHint().height();
    sbStatusBar->setGeometry(0, height() - h, width(), h);
}

} // namespace qelvane
