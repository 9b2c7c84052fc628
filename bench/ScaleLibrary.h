#pragma once

#include "store/DbConnection.h"
#include "store/FindIndex.h"
#include "store/FindIndexUpkeep.h"

namespace qelvane {

// Every Chinese author, biography and poem again under new IDs, `copies` times: a
// library the size of the whole classical corpus from the part of it at hand. The find
// index, when the library has one, is made anew for all of them.
inline void multiply(DbConnection& db, int copies)
{
    DbConnection::Transaction change(db);
    for (int k = 1; k < copies; ++k) {
        const QVariantList prefix = {QString("X%1-").arg(k)};
        db.Execute("insert into ChinaAuthor select EpochID, Epoch, ? || AuthorID, AuthorName from ChinaAuthor "
                   "where AuthorID not like 'X%'", prefix);
        db.Execute("insert into ChinaAuthorDetail select ? || AuthorID, AuthorDetail from ChinaAuthorDetail "
                   "where AuthorID not like 'X%'", prefix);
        db.Execute("insert into ChinaPoem select ? || PoemID, Name, Content, Note, ? || AuthorID, Author, EpochID, "
                   "Epoch, tf from ChinaPoem where PoemID not like 'X%'", prefix + prefix);
    }
    if (findindex::present(db.sqliteHandle()))
        findindex::build(db.sqliteHandle());
    change.commit();
}

} // namespace qelvane
