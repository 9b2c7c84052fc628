#pragma once

#include <QString>

namespace qelvane {

class Choosers;
class DbConnection;
class DesktopOpener;
class SettingsStore;

// What the windows work with, built once at start-up and handed from the main window
// to every dialog: the one library connection, the settings store, the application
// folder, the desktop and the standard choosers. Tests build it on a temporary folder
// and settings file, with an opener that records and choosers that answer from a queue.
// It refers to what the start-up module (or the test) owns; it owns nothing.
struct Services {
    DbConnection* db = nullptr;
    SettingsStore* settings = nullptr;
    // The folder of the help document (help/) and the shipped tunes (music/).
    QString dataFolder;
    // Where exported documents are written (the user's documents folder).
    QString documentsFolder;
    DesktopOpener* opener = nullptr;
    Choosers* choosers = nullptr;
};

} // namespace qelvane
