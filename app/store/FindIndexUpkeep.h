#pragma once

#include "LibrarySide.h"
#include "StoreError.h"

#include <QStringList>
#include <functional>

struct sqlite3;

// Making and keeping the find index (FindIndex.h). A poem taken out of the index (deleted,
// or changed and put in again under a new key) leaves its entries in the lists as
// tombstones: its key is in FindGone and no more in FindPoem, and the finder skips it.
// So a change costs the rows of its own poems, whatever the size of the lists; the
// tombstones are swept out of the lists later (compact), when the program is idle.
// Invariants: a live poem's lines are all in the lists under its one key; a key is never
// given again while any list may hold it; a key in the lists is in FindPoem or FindGone.
namespace qelvane {
class DbConnection;
}

namespace qelvane::findindex {

// The build or the compaction was stopped by its caller.
class Cancelled : public StoreError {
public:
    using StoreError::StoreError;
};

using Progress = std::function<bool(int done, int total)>;

// Makes the index anew from every poem of the library, in the caller's transaction.
// `progress(done, total)` is called every few hundred poems; when it returns false the
// build ends with Cancelled. Throws StoreError when a statement fails.
void build(sqlite3* db, const Progress& progress = {});

// Keeping it current, inside the change's transaction; each does nothing when the
// library has no index. Before poems change or go: takes them out.
void removePoems(sqlite3* db, LibrarySide side, const QStringList& poemIds);
// The same for every poem a statement selects ("select PoemID from … where …=?"), with
// its one value: the deletion of an author, an epoch or a country.
void removePoemsOf(DbConnection& db, LibrarySide side, const char* poemIdsStatement, const QString& value);
// The poems a statement selects now carry another epoch or country (their author moved).
void placePoemsOf(DbConnection& db, LibrarySide side, const char* poemIdsStatement, const QString& value,
                  const QString& place);
// After poems were added or changed: puts them in as the library now holds them.
void addPoems(sqlite3* db, LibrarySide side, const QStringList& poemIds);

// How many poems left tombstones in the lists (0 when there is no index).
int tombstones(sqlite3* db);

// Sweeps the tombstones out of the lists, a share of the lists per transaction of its
// own, so a change of the window waits at most for one share; the connection must be in
// no transaction. Stopped (progress returning false) or killed halfway, it leaves an index
// that answers as before: only the lists it reached are swept. Then gives the file's
// free pages back to the file system where the library lets it (incremental vacuum).
void compact(sqlite3* db, const Progress& progress = {});

} // namespace qelvane::findindex
