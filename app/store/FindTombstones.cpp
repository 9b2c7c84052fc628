#include "FindTombstones.h"

#include "SqliteStatement.h"
#include "Statements.h"

#include <mutex>

namespace qelvane::findindex {

Tombstones Tombstones::read(sqlite3* db)
{
    Tombstones gone;
    SqliteStatement last(db, sql::LastGoneFindPoem);
    gone.lastSeq = last.next() ? last.integer(0) : 0;
    last.reset();
    if (gone.lastSeq == 0)
        return gone;
    SqliteStatement keys(db, sql::GoneFindPoems);
    keys.bind(1, gone.lastSeq);
    while (keys.next()) {
        const PoemKey key = keys.integer(0);
        if (key < 0)
            continue;
        if (size_t(key) >= gone.keys.size())
            gone.keys.resize(size_t(key) + 1);
        gone.keys[size_t(key)] = true;
    }
    return gone;
}

std::shared_ptr<const Tombstones> Tombstones::current(sqlite3* db)
{
    static std::mutex lock;
    static qint64 stampRead = 0;
    static std::shared_ptr<const Tombstones> kept;
    SqliteStatement stamp(db, sql::FindIndexStamp);
    const qint64 now = stamp.next() ? stamp.integer(0) : 0;
    stamp.reset();
    std::lock_guard guard(lock);
    if (!kept || now != stampRead || now == 0) {
        kept = std::make_shared<const Tombstones>(read(db));
        stampRead = now;
    }
    return kept;
}

} // namespace qelvane::findindex
