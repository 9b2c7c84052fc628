// The options dialog filled from the reading areas, and what it reports applied to
// them and to the music at once.
#include "frmMain.h"

#include "dialogs/frmOptions.h"

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
    MusicFileName = mOptionForm->GetMusicName().toString();
    RestartMusic();
    // Kept at once, so a failure to write them is told while the reader is choosing.
    SaveSettings();
    storeSettings();
}

} // namespace qelvane
