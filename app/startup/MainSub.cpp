#include "MainSub.h"

#include "dialogs/frmSplash.h"
#include "mainwindow/StatusBar.h"
#include "mainwindow/frmMain.h"
#include "platform/MusicPlayer.h"
#include "store/DbConnection.h"

#include <QCoreApplication>
#include <QDir>

namespace qelvane::MainSub {

QString ConnectionString;
std::unique_ptr<qelvane::DbConnection> DbConnection;
frmMain* MainForm = nullptr;

QString libraryPath(const QString& applicationFolder)
{
    return applicationFolder + QStringLiteral("/data/poem.mdb");
}

void Start(const Environment& environment)
{
    auto splash = std::make_unique<frmSplash>();
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    ConnectionString = libraryPath(environment.applicationFolder);
    DbConnection = DbConnection::Open(ConnectionString);

    auto music = environment.makeMusicBackend ? environment.makeMusicBackend()
                                              : std::make_unique<SilentMusicBackend>();
    auto form = std::make_unique<frmMain>(*DbConnection, *environment.settings, std::move(music));
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
        MainForm->sbStatusBar->setPanelText(1, text);
}

void SetPositionText(const QString& text)
{
    if (MainForm)
        MainForm->sbStatusBar->setPanelText(2, text);
}

} // namespace qelvane::MainSub
