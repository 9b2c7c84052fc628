// The options dialog filled from the reading areas, and what it reports applied to
// them and to the music at once.
#include "frmMain.h"

#include "dialogs/frmOptions.h"
#include "platform/MessageBox.h"
#include "platform/MusicPlayer.h"
#include "ui/FocusReturn.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace qelvane {

void frmMain::ShowOptions()
{
    const auto areas = readingAreas();
    for (int i = 0; i < 4; ++i)
        mOptionForm->SetFontName(i + 1, areas[i].first->font().family());
    for (int i = 0; i < 4; ++i)
        mOptionForm->SetBackColor(i, backColor(areas[i].first));
    for (int i = 0; i < 4; ++i)
        mOptionForm->SetFontColor(i + 1, foreColor(areas[i].first));
    for (int i = 0; i < 4; ++i)
        mOptionForm->SetFontSize(i + 1, fontSizeText(areas[i].first));
    mOptionForm->SetMusicName(MusicFileName);
    const FocusReturn focus(this);
    mOptionForm->exec();
}

void frmMain::mOptionForm_OptionChanged()
{
    const auto areas = readingAreas();
    for (int i = 0; i < 4; ++i)
        setFontName(areas[i].first, mOptionForm->GetFontName(i + 1));
    for (int i = 0; i < 4; ++i)
        setFontSize(areas[i].first, mOptionForm->GetFontSize(i + 1));
    for (int i = 0; i < 4; ++i)
        setForeColor(areas[i].first, mOptionForm->GetFontColor(i + 1));
    for (int i = 0; i < 4; ++i)
        setBackColor(areas[i].first, mOptionForm->GetBackColor(i));
    const QString music = mOptionForm->GetMusicName().toString();
    const bool musicChosen = !music.isEmpty() && music != MusicFileName;
    MusicFileName = music;
    RestartMusic();
    // Music newly chosen that cannot play is told, not left to the error stream.
    if (musicChosen && !musicPlayer->isOpen())
        msg::notice(mOptionForm, QFileInfo(music).isReadable()
                                     ? QStringLiteral("无法打开声音输出设备，背景音乐“%1”没有播放。").arg(music)
                                     : QStringLiteral("无法读取音乐文件“%1”，背景音乐没有播放。").arg(music));
    // Kept at once, so a failure to write them is told while the reader is choosing.
    SaveSettings();
    storeSettings();
}

} // namespace qelvane
