#pragma once

#include <QString>

namespace qelvane {

// Where the program's files are. Portable (a data/poem.mdb beside the program): that is
// the library, and the help and the tunes are beside the program too. Installed (the
// program in P/bin, its files in P/share/qelvane, whose folders the user need not be
// able to write): the help and the tunes are read where they were shipped, and the
// library is the user's own poem.mdb in the user's data folder, copied from the
// shipped one on the first start.
struct ProgramFiles {
    // The folder holding help/ and music/.
    QString dataFolder;
    // The library the program opens.
    QString libraryFile;
    // The library shipped with the program, when the library is the user's copy of it.
    QString shippedLibrary;
};

// Works out the layout from the program's folder; the user's data folder is where a
// per-user library goes. Looks at the files, changes nothing.
ProgramFiles locateProgramFiles(const QString& programFolder, const QString& userDataFolder);

// Gives a user the library when it is a copy not made yet: the shipped library is
// copied whole into place, or not at all. Throws StoreError naming the file when the
// copy cannot be made; a library already there is used as it is.
void provideLibrary(const ProgramFiles& files);

} // namespace qelvane
