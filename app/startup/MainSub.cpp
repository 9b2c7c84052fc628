#include "MainSub.h"

#include "ProgramFiles.h"

#include "dialogs/frmSplash.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/frmMain.h"
#include "platform/MusicPlayer.h"
#include "store/DbConnection.h"

#include "platform/Choosers.h"
#include "platform/DesktopOpener.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QUrl>
#include <QPointer>
#include <QWindow>
#include <cstdlib>

namespace qelvane::MainSub {

QString ConnectionString;
std::unique_ptr<qelvane::DbConnection> DbConnection;
QPointer<frmMain> MainForm;

namespace {
// How long the splash may take to reach the screen before the load goes on anyway.
constexpr qint64 SplashWaitMs = 1500;
// Qt ends the process with exit() when the display goes away: the connection must be
// released before Qt's registry of connections is destroyed, or its destructor reaches
// into a registry already gone. Registered after the first connection made that
// registry, this runs before it is torn down (exit handlers run in reverse order).
void releaseAtExit()
{
    static const bool registered = std::atexit([] { Finish(); }) == 0;
    Q_UNUSED(registered);
}
} // namespace

QString libraryPath(const QString& applicationFolder)
{
    return applicationFolder + QStringLiteral("/data/poem.mdb");
}

std::unique_ptr<frmSplash> showSplash()
{
    auto splash = std::make_unique<frmSplash>();
    splash->show();
    // A window manager maps the window a little later; the load that follows hands
    // out no events, so wait here until it is exposed and painted, but not forever.
    QElapsedTimer waited;
    waited.start();
    while (!splash->hasBeenPainted() && waited.elapsed() < SplashWaitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (splash->windowHandle() && splash->windowHandle()->isExposed())
            splash->repaint();
    }
    QCoreApplication::processEvents();
    return splash;
}

void Start(const Environment& environment)
{
    auto splash = showSplash();

    const ProgramFiles files = locateProgramFiles(
        environment.applicationFolder, environment.userDataFolder.isEmpty()
                                           ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                           : environment.userDataFolder);
    provideLibrary(files);
    ConnectionString = files.libraryFile;
    DbConnection = DbConnection::Open(ConnectionString);
    releaseAtExit();

    static SystemDesktopOpener desktop;
    static DialogChoosers dialogs;
    Services services;
    services.db = DbConnection.get();
    services.settings = environment.settings;
    services.dataFolder = files.dataFolder;
    services.documentsFolder = environment.documentsFolder.isEmpty()
                                   ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                   : environment.documentsFolder;
    services.opener = environment.opener ? environment.opener : &desktop;
    services.choosers = environment.choosers ? environment.choosers : &dialogs;

    auto music = environment.makeMusicBackend ? environment.makeMusicBackend()
                                              : std::make_unique<SilentMusicBackend>();
    auto form = std::make_unique<frmMain>(services, std::move(music));
    form->Load();
    MainForm = form.release();
    MainForm->setAttribute(Qt::WA_DeleteOnClose);

    splash.reset();
    MainForm->show();
}

void Finish()
{
    if (DbConnection)
        DbConnection->Close();
    DbConnection.reset();
}

void SetStatusText(const QString& text)
{
    if (MainForm)
        MainForm->showStatus(text);
}

void SetPositionText(const QString& text)
{
    if (MainForm)
        MainForm->showPosition(text);
}

} // namespace qelvane::MainSub
