// The background music: started with the window, played again from the start each
// time it ends, started anew when the options change, closed at shutdown.
#include "frmMain.h"

#include "platform/MusicPlayer.h"

namespace qelvane {

void frmMain::StartMusic()
{
    musicPlayer->FileName = MusicFileName;
    musicPlayer->Command(QStringLiteral("Open"));
    musicPlayer->Command(QStringLiteral("Play"));
}

void frmMain::MusicPlayer_Done(int notifyCode)
{
    if (notifyCode == 1)
        ReplayMusic();
}

void frmMain::ReplayMusic()
{
    musicPlayer->Command(QStringLiteral("Prev"));
    musicPlayer->Command(QStringLiteral("Play"));
}

void frmMain::RestartMusic()
{
    musicPlayer->Command(QStringLiteral("Stop"));
    musicPlayer->Command(QStringLiteral("Close"));
    StartMusic();
}

} // namespace qelvane
