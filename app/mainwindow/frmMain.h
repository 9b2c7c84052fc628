#pragma once

#include "Layout.h"
#include "LibraryTreePane.h"
#include "ReadingAids.h"
#include "PoemReader.h"
#include "NodeKind.h"
#include "PoemListPane.h"
#include "ReadingPanes.h"
#include "platform/Services.h"
#include "store/FindIndexWorker.h"
#include "store/Library.h"
#include "ui/Looks.h"
#include "ui/PoemLayout.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QTimer;
class QTreeWidgetItem;

namespace qelvane {

class BarMain;
class DbConnection;
class FindBox;
class GlyphWarmer;
class MusicBackend;
class MusicPlayer;
class SettingsStore;
class SplitterHandle;
class StatusBar;
class HelpWindow;
class frmAbout;
class frmOptions;
class frmQueryFormat;
class frmQueryPoem;

// The main window: the library tree, the poem list with the author's biography,
// the poem with its notes, the menu and tool bars and the status bar.
class frmMain : public QWidget {
    Q_OBJECT
public:
    frmMain(const Services& services, std::unique_ptr<MusicBackend> music, QWidget* parent = nullptr);
    ~frmMain() override;

    // The window's load steps: placement, list column, dialogs, view mode, tree,
    // display settings and music.
    void Load();

    // Panel 1 of the status bar (what the clicked node holds) and panel 2 (where the
    // reader is, or what the window is doing).
    void showStatus(const QString& text);
    void showPosition(const QString& text);

    // ---- Library tree ----
    void LoadTree();
    // Where the reader is: the tree's node and the poem chosen.
    struct ReaderPlace {
        NodeIdentity identity;
        QString key;
        QString text;
        QString poemKey;
        bool operator==(const ReaderPlace&) const = default;
    };
    // Rebuilds the tree and shows the node the reader was at (or, when the new tree
    // lacks it, the place given, or the new current node) as a click would, so the
    // panes never show what the tree no longer does.
    void reloadTreeKeepingPlace(const std::optional<ReaderPlace>& before = std::nullopt);
    void tvwPoem_NodeClick(QTreeWidgetItem* node);
    void tvwPoem_DblClick();
    // The author node of a side by its key; roots are found by their tags' keys
    // ("ChinaPoem", "ForeignPoem") on their own sides.
    QTreeWidgetItem* nodeByKey(LibrarySide side, const QString& key) const;
    // Takes a node and everything under it out of the tree.
    void removeNode(QTreeWidgetItem* node);
    const Services& services() const { return m_services; }
    static QString keyOf(const QTreeWidgetItem* item);

    // ---- Poem list and poem view ----
    // The poem the reader has chosen in the list: its side, ID and entry. None when no
    // entry is selected (the current entry alone is no choice). Every command on "the
    // poem" asks here.
    std::optional<ChosenPoem> selectedPoem() const;
    // The side the listed poems come from (the last author clicked, or a search result's).
    LibrarySide listedSide() const;
    void lvwPoem_ColumnClick(int column);
    void lvwPoem_ItemClick(QTreeWidgetItem* entry);
    void mQueryForm_ShowQueryResult(QString& PoemID, QString& PoemName, LibrarySide PoemType);
    // A poem the find box found, shown as a click on its author and then on it shows
    // it (in the all-poems view when the favourites do not hold it).
    void openFoundPoem(LibrarySide side, const QString& poemId);
    // An author the find box found (by one of his poems), shown as a click on his node.
    void openFoundAuthor(LibrarySide side, const QString& poemId);
    // The poem on screen, its heading and the poems read since the start.
    PoemReader* reader() const { return m_reader; }
    ReadingAids* readingAids() const { return m_aids; }
    bool listSorted() const;
    Qt::SortOrder listSortOrder() const;

    // ---- Commands ----
    void BarMain_ToolClick(const QString& toolName);
    // All poems (false) or the favourites (true); the tree is rebuilt on a change.
    void switchView(bool favorites);
    void UpdateViewMode();
    void ShowFind();
    void CleanFavorites();
    void ShowPoemFormat();
    void ShowAbout();
    void AddNewAuthor();
    void EditAuthor();
    void AddNewPoem();
    void EditPoem();
    void ShowPoemEditor(const QString& PoemID);
    void DeleteAuthor();
    void DeletePoem();
    void DeleteEpoch();
    void ExportPoem();
    void AddToFavorites();
    void ShowOptions();
    void mOptionForm_OptionChanged();
    void StartMusic();
    void ReplayMusic();
    void RestartMusic();
    void MusicPlayer_Done(int notifyCode);
    void ShowHelp();
    // ---- The reading room ----
    // The poem shown onto the clipboard: title, author（epoch）, a blank line, the text.
    void CopyPoem();
    // The poem shown on pages, as a PDF in the documents folder opened on the desktop;
    // and as a picture (a card in the current look, at twice the screen's density) on
    // the clipboard or as a PNG file in the documents folder.
    void SavePdf();
    // The same pages on the printer, after a preview.
    void PrintPoem();
    void CopyPicture();
    void SavePicture();
    // The card itself.
    QImage poemPicture() const;
    // The poem read before or after the one shown, shown as a click would show it.
    void GoBack();
    void GoForward();
    // The four reading areas' fonts scaled together (percent of the sizes chosen in
    // the settings); steps of ZoomStep, within MinZoom and MaxZoom.
    void zoomBy(int steps);
    void setZoom(int percent);
    int zoom() const { return m_zoom; }
    // Whether the find list's and the poem's faces have drawn the common characters
    // once (a few seconds after the start).
    bool glyphsReady() const;
    static constexpr int MinZoom = 50, MaxZoom = 400, ZoomStep = 10;
    // A look for the whole program; the reading areas take its colours (the default
    // look gives back the colours the reader had before another look).
    void chooseLook(looks::Look look);
    // The poem's lines as stored or centred as a block; remembered.
    void setVerseCentred(bool centred);
    // A Chinese poem in columns from the right; remembered.
    void setVertical(bool vertical);
    // The 格律 view, and whether it reads every poem in the 中华新韵.
    void setMetreShown(bool shown);
    void setMetreInNewRhymes(bool xinyun);
    // Each character's Mandarin reading above it.
    void setPinyinShown(bool shown);
    // The library's other poems of the poem shown's form and rhyme group, in the find box.
    void findSameMetre();
    void setNoPunctuation(bool none);
    // Whether the printed pages, the PDF and the picture carry the notes; remembered.
    void setPrintNotes(bool notes);
    bool printNotes() const { return m_printNotes; }
    // Title, text and notes in Traditional characters; remembered. A conversion that
    // cannot be loaded is told and the poem stays in Simplified characters.
    void setTraditional(bool traditional);
    looks::Look look() const { return m_look; }
    // The help document in the application folder.
    QString helpDocument() const;
    HelpWindow* helpWindow() const;

    // ---- Display settings and music ----
    void LoadSettings();
    void SaveSettings();
    static qint32 backColor(QWidget* area);
    static qint32 foreColor(QWidget* area);
    // A size that is no positive number leaves the font as it was.
    static void setFontSize(QWidget* area, const QString& size);

    // ---- Layout ----
    void SizeControls(float& x);
    LayoutInput layoutInput() const;

signals:
    // After every rebuild of the library tree.
    void treeLoaded();
    // The frame after the window's first: the poem the reader left is shown again
    // (or was gone from the library).
    void readingResumed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // ---- The window's own steps ----
    void showNodeSummary(QTreeWidgetItem* node);
    ReaderPlace currentPlace() const;
    QTreeWidgetItem* nodeOf(const ReaderPlace& place) const;
    // Panel 1 for an author: the name and how many poems the view holds of him.
    void showAuthorSummary(LibrarySide side, const QString& name, int poems);
    void showCurrentAfterDeletion();
    void poemLeftView(const ChosenPoem& poem, const std::optional<QString>& authorId);
    void unlessRefused(const std::function<void()>& work);
    // The four reading areas with their settings-key prefixes, in the settings' order:
    // poem titles, biography, poem text, notes.
    QList<QPair<QWidget*, QString>> readingAreas() const;
    static void setBackColor(QWidget* area, qint32 value);
    static void setForeColor(QWidget* area, qint32 value);
    static void setFontName(QWidget* area, const QString& name);
    static QString fontSizeText(QWidget* area);
    void imgSplitter_MouseDown(float x);
    void imgSplitter_MouseMove(float x);
    void imgSplitter_MouseUp(float x);

    // ---- State shared by the window's parts ----
    bool FavoritesMode = false;
    // The place the reader last had in each view (all poems, favourites), taken up again
    // on coming back to it.
    std::optional<ReaderPlace> m_viewPlaces[2];
    std::optional<ReaderPlace> m_rebuiltPlace;
    QString MusicFileName;
    bool SplitterMoving = false;
    frmOptions* mOptionForm = nullptr;
    frmQueryPoem* mQueryForm = nullptr;

    // ---- Parts and controls ----
    LibraryTreePane* m_tree;
    PoemListPane* m_poems;
    std::unique_ptr<ReadingPanes> m_reading;
    PoemReader* m_reader = nullptr;
    ReadingAids* m_aids = nullptr;
    int m_zoom = 100;
    looks::Look m_look = looks::Look::Default;
    void showLookChecked();
    void buildReadingRoom();
    // The font size an area shows: the size chosen for it, zoomed.
    static void applyZoom(QWidget* area, int percent);
    // At start, the poem (and view) the reader left, when the library still holds it.
    void reopenLastPoem();
    bool m_reopenPending = false;
    GlyphWarmer* m_poemGlyphs = nullptr;
    bool m_printNotes = true;
    // Checks a view entry of the 查看 or 文件 menu as the state it shows.
    void showChecked(const char* band, const char* tool, bool on);
    void rememberLastPoem();
    // The poem shown, as the pages and the picture lay it out.
    PoemLayout::Sheet poemSheet() const;
    // The poem's pages, in black on white: a page of `page` device pixels at `dpi`,
    // within margins of `marginPoints`.
    PoemLayout poemPages(const QSizeF& page, qreal dpi, qreal marginPoints) const;
    QWidget* picTitles;
    BarMain* barMain;
    QWidget* picAuthor;
    SplitterHandle* imgSplitter;
    QWidget* picSplitter;
    QWidget* picPoem;
    StatusBar* sbStatusBar;
    MusicPlayer* musicPlayer;
    FindBox* m_find = nullptr;
    std::unique_ptr<FindIndexWorker> m_indexWorker;
    bool m_indexOffered = false;
    QTimer* m_compactionTimer = nullptr;

    void buildControls();
    void restorePlacement();
    // Writes the settings file; tells the reader when it cannot be written.
    void storeSettings();
    void savePlacement();
    void Unload();
    struct SelectedAuthor {
        LibrarySide side = LibrarySide::China;
        QString id;
        QString placeId;
    };
    std::optional<SelectedAuthor> selectedAuthorForPoems();
    void askToReloadTree();
    void placeStatusBar();
    void buildFindBox();
    void openFound(LibrarySide side, const QString& poemId, bool withPoem);
    // Offers, once a session, to build the find index of a library that has none.
    void offerFindIndex();
    void findIndexBuilt(const QString& failure);
    // After a change that left many tombstones in the find index: sweeps them out on the
    // index's own thread once the reader has paused for a moment.
    void compactFindIndexWhenIdle();
    void compactFindIndex();
    void findIndexCompacted(const QString& failure);

    Services m_services;
    DbConnection& m_db;
    SettingsStore& m_settings;
    bool m_unloaded = false;
    // The split the user chose (twips). A small window lays out a clamped copy of it,
    // so the panes come back as they were when the window grows again.
    float m_chosenSplit = 0;
    QPointer<HelpWindow> m_help;
    // The placement as last set or saved, so that twips that fall between two pixels
    // are saved back as they were when the window did not move.
    float m_placement[4] = {0, 0, 0, 0};
};

} // namespace qelvane
