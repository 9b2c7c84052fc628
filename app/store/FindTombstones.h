#pragma once

#include "FindGrams.h"

#include <memory>
#include <vector>

struct sqlite3;

// The keys of the poems taken out of the find index whose entries may still be in its
// lists (FindIndexUpkeep.h): the finder skips them, the compaction sweeps them out.
namespace qelvane::findindex {

struct Tombstones {
    // The last tombstone read: a compaction sweeps out those up to here only.
    qint64 lastSeq = 0;
    std::vector<bool> keys;

    bool holds(PoemKey key) const { return key >= 0 && size_t(key) < keys.size() && keys[size_t(key)]; }
    bool empty() const { return lastSeq == 0; }

    // As the library holds them now, in the caller's read.
    static Tombstones read(sqlite3* db);
    // The same, kept from one query to the next while the index's stamp is unchanged:
    // a deletion of an epoch leaves a quarter of a million until the compaction.
    static std::shared_ptr<const Tombstones> current(sqlite3* db);
};

} // namespace qelvane::findindex
