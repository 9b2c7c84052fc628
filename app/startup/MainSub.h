#pragma once

#include <QPointer>
#include <QString>

class QWidget;
#include <functional>
#include <memory>

namespace qelvane {

class Choosers;
class DbConnection;
class DesktopOpener;
class MusicBackend;
class frmSplash;
struct Services;
class SettingsStore;
class frmMain;

// The program's start-up module: its globals, the start-up sequence and the two
// status-bar procedures, for the start-up itself (the main window reports through its
// own status bar).
namespace MainSub {

// The path of the library file the connection was opened on.
extern QString ConnectionString;
// The one connection to the poem library, for the whole run.
extern std::unique_ptr<qelvane::DbConnection> DbConnection;
// The one main window (null once it is gone).
extern QPointer<frmMain> MainForm;

// What the start-up sequence runs on; tests give their own folder and stores.
// The desktop opener and the choosers default to the real desktop's.
struct Environment {
    // The program's folder; where its files and the library are is worked out from it.
    QString applicationFolder;
    // Where a per-user library goes; empty: the user's data folder.
    QString userDataFolder;
    SettingsStore* settings = nullptr;
    std::function<std::unique_ptr<MusicBackend>()> makeMusicBackend;
    DesktopOpener* opener = nullptr;
    Choosers* choosers = nullptr;
    // Empty: the user's documents folder.
    QString documentsFolder;
};

// Shows the splash and returns once it is on the screen (or after a short wait when
// the screen never shows it), so the user sees it while the library loads.
std::unique_ptr<frmSplash> showSplash();

// The library file of an application folder: data/poem.mdb beside the program.
QString libraryPath(const QString& applicationFolder);

// Shows the splash, opens the library, loads the main window, removes the splash and
// shows the main window. Throws StoreError (or another exception) when the library
// cannot be opened or the window cannot be loaded; the main window is then not shown.
void Start(const Environment& environment);

// Releases what Start made, after the run or after a failed start.
void Finish();

// Panel 1 (summary of the clicked node) and panel 2 (position or state) of the
// main window's status bar.
void SetStatusText(const QString& text);
void SetPositionText(const QString& text);

} // namespace MainSub
} // namespace qelvane
