// The one handler of the menu and tool bars, the two views, and the commands that
// only open a dialog.
#include "frmMain.h"

#include "ui/LongChange.h"

#include "BarMain.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmCleanFavorite.h"
#include "dialogs/frmQueryFormat.h"
#include "dialogs/frmQueryPoem.h"
#include "platform/MessageBox.h"
#include "StatusBar.h"
#include "store/DbConnection.h"
#include "store/StoreError.h"
#include "ui/FocusReturn.h"
#include "ui/Refusal.h"

#include <QAction>

namespace qelvane {

namespace {

struct Route {
    QList<const char*> names;
    void (*run)(frmMain&);
    // A command that changes the library: refused at once on a library opened for
    // reading only.
    bool changes = false;
};

// Tool names and their commands, in the order the handler tests them.
const QList<Route>& routes()
{
    static const QList<Route> table = {
        {{"mnuAllPoems", "tbAll"}, [](frmMain& f) { f.switchView(false); }},
        {{"mnuFavoritePoems", "tbFavorite"}, [](frmMain& f) { f.switchView(true); }},
        {{"mnuFind", "tbFind"}, [](frmMain& f) { f.ShowFind(); }},
        {{"mnuAddNewAuthor"}, [](frmMain& f) { f.AddNewAuthor(); }, true},
        {{"mnuEditAuthor"}, [](frmMain& f) { f.EditAuthor(); }, true},
        {{"mnuAddNewPoem", "tbAdd"}, [](frmMain& f) { f.AddNewPoem(); }, true},
        {{"mnuEditPoem", "tbEdit"}, [](frmMain& f) { f.EditPoem(); }, true},
        {{"mnuDeleteAuthor"}, [](frmMain& f) { f.DeleteAuthor(); }, true},
        {{"mnuDeletePoem", "tbDelete"}, [](frmMain& f) { f.DeletePoem(); }, true},
        {{"mnuDeleteEpoch"}, [](frmMain& f) { f.DeleteEpoch(); }, true},
        {{"mnuSave", "tbSave"}, [](frmMain& f) { f.ExportPoem(); }},
        {{"mnuAddFavorite", "tbAddFavorite"}, [](frmMain& f) { f.AddToFavorites(); }, true},
        {{"mnuCleanFavorite"}, [](frmMain& f) { f.CleanFavorites(); }, true},
        {{"mnuPoemFormat"}, [](frmMain& f) { f.ShowPoemFormat(); }},
        {{"mnuOptions"}, [](frmMain& f) { f.ShowOptions(); }},
        {{"mnuHelpContent", "tbHelp"}, [](frmMain& f) { f.ShowHelp(); }},
        {{"mnuAbout"}, [](frmMain& f) { f.ShowAbout(); }},
        {{"mnuCopyPoem"}, [](frmMain& f) { f.CopyPoem(); }},
        {{"mnuSavePdf"}, [](frmMain& f) { f.SavePdf(); }},
        {{"mnuPrint"}, [](frmMain& f) { f.PrintPoem(); }},
        {{"mnuSavePicture"}, [](frmMain& f) { f.SavePicture(); }},
        {{"mnuCopyPicture"}, [](frmMain& f) { f.CopyPicture(); }},
        {{"mnuBack"}, [](frmMain& f) { f.GoBack(); }},
        {{"mnuForward"}, [](frmMain& f) { f.GoForward(); }},
        {{"mnuZoomIn"}, [](frmMain& f) { f.zoomBy(+1); }},
        {{"mnuZoomOut"}, [](frmMain& f) { f.zoomBy(-1); }},
        {{"mnuZoomReset"}, [](frmMain& f) { f.setZoom(100); }},
        {{"mnuVerseCentred"}, [](frmMain& f) { f.setVerseCentred(!f.reader()->verseCentred()); }},
        {{"mnuVertical"}, [](frmMain& f) { f.setVertical(!f.reader()->vertical()); }},
        {{"mnuMetre"}, [](frmMain& f) { f.setMetreShown(!f.readingAids()->metreOn()); }},
        {{"mnuMetreXinyun"}, [](frmMain& f) { f.setMetreInNewRhymes(!f.readingAids()->book()); }},
        {{"mnuSameMetre"}, [](frmMain& f) { f.findSameMetre(); }},
        {{"mnuPinyin"}, [](frmMain& f) { f.setPinyinShown(!f.readingAids()->pinyinOn()); }},
        {{"mnuNoPunctuation"}, [](frmMain& f) { f.setNoPunctuation(!f.reader()->noPunctuation()); }},
        {{"mnuPrintNotes"}, [](frmMain& f) { f.setPrintNotes(!f.printNotes()); }},
        {{"mnuTraditional"}, [](frmMain& f) { f.setTraditional(!f.reader()->traditional()); }},
        {{"mnuLookDefault"}, [](frmMain& f) { f.chooseLook(looks::Look::Default); }},
        {{"mnuLookPaper"}, [](frmMain& f) { f.chooseLook(looks::Look::Paper); }},
        {{"mnuLookNight"}, [](frmMain& f) { f.chooseLook(looks::Look::Night); }},
        {{"mnuExit", "tbExit"}, [](frmMain& f) { f.close(); }},
    };
    return table;
}

} // namespace

void frmMain::BarMain_ToolClick(const QString& toolName)
{
    // A command that reaches a window already unloaded (from a menu still open as it
    // closed) finds no library and no dialogs: it does nothing.
    if (m_unloaded)
        return;
    // Nor does one that comes while a long change runs beside the window (from a timer,
    // or a test's hand): the change's dialog is all there is to it until it ends.
    if (longchange::running())
        return;
    for (const Route& route : routes()) {
        for (const char* name : route.names) {
            if (toolName == QLatin1String(name)) {
                if (route.changes && m_db.isReadOnly()) {
                    msg::notice(this, m_db.readOnlyMessage());
                    return;
                }
                unlessRefused([&] { route.run(*this); });
                return;
            }
        }
    }
}

void frmMain::switchView(bool favorites)
{
    if (FavoritesMode == favorites)
        return;
    m_viewPlaces[FavoritesMode ? 1 : 0] = currentPlace();
    FavoritesMode = favorites;
    reloadTreeKeepingPlace(m_viewPlaces[favorites ? 1 : 0]);
    UpdateViewMode();
}

void frmMain::UpdateViewMode()
{
    showPosition(FavoritesMode ? QStringLiteral("当前位置：收藏夹") : QStringLiteral("当前位置：全部诗词"));
    const struct {
        const char* band;
        const char* tool;
        bool checked;
    } states[] = {
        {"tbMain", "tbAll", !FavoritesMode},
        {"tbMain", "tbFavorite", FavoritesMode},
        {"mnuFile", "mnuAllPoems", !FavoritesMode},
        {"mnuFile", "mnuFavoritePoems", FavoritesMode},
    };
    for (const auto& state : states) {
        if (QAction* tool = barMain->Tool(QLatin1String(state.band), QLatin1String(state.tool)))
            tool->setChecked(state.checked);
    }
    barMain->RecalcLayout();
}

void frmMain::ShowFind()
{
    mQueryForm->show();
    mQueryForm->raise();
    mQueryForm->activateWindow();
}

void frmMain::CleanFavorites()
{
    const FocusReturn focus(this);
    auto cleaner = std::make_unique<frmCleanFavorite>(m_services, this);
    cleaner->exec();
    if (cleaner->Changed() && FavoritesMode)
        reloadTreeKeepingPlace();
}

void frmMain::ShowPoemFormat()
{
    // Shown modally over the main window; it goes when it is closed.
    const FocusReturn focus(this);
    auto* lookup = new frmQueryFormat(m_services, this);
    lookup->setAttribute(Qt::WA_DeleteOnClose);
    lookup->exec();
}

void frmMain::ShowAbout()
{
    // Shown modally over the main window; it goes when it is closed.
    const FocusReturn focus(this);
    auto* about = new frmAbout(m_services, this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->exec();
}

// A library another program holds locked, one that cannot be written, a full disk or
// a file replaced is no fatal failure: the reader is told why, the command stops where
// it was (a change rolls back whole, and nothing is half-shown), and may be tried again.
void frmMain::unlessRefused(const std::function<void()>& work)
{
    try {
        work();
    } catch (const StoreError& failure) {
        msg::notice(this, refusalText(failure, QStringLiteral("操作没有完成：%1")));
    }
}

} // namespace qelvane
