#pragma once

#include "LibrarySide.h"
#include "StoreError.h"

#include <QString>
#include <functional>
#include <optional>

// The changes to the library that take more than one statement. Each runs in one
// transaction of its own: it is written whole or, when any statement fails, not at
// all; the failure is thrown as a StoreError and the connection stays usable.
namespace qelvane {
class DbConnection;
}

namespace qelvane::changes {

// An epoch or country name that the library does not hold.
class UnknownPlace : public StoreError {
public:
    using StoreError::StoreError;
};

// New poems or authors cannot be numbered: the library's counter is missing, holds
// no number, or has reached its largest value. Nothing was changed.
class NumberingUnavailable : public StoreError {
public:
    using StoreError::StoreError;
};

// An author as the author editor saves it: the epoch (Chinese) or country (foreign)
// by name, the name and the biography, all exactly as typed.
struct Author {
    LibrarySide side = LibrarySide::China;
    QString place;
    QString name;
    QString biography;
    // The biography as stored stays: the reader did not change it (updateAuthor only).
    bool keepBiography = false;
};

// Raises the 'Author' counter and adds the author and the biography under the new ID
// "NewAuthor" + counter (the next free one), which it returns. UnknownPlace when the
// place is not found, NumberingUnavailable when the counter cannot give a number.
QString addAuthor(DbConnection& db, const Author& author);
// Writes place, name and biography of an existing author. The author's poems keep
// their own copies of the place.
void updateAuthor(DbConnection& db, const QString& authorId, const Author& author);

// Raises the 'Poem' counter and returns the new poem ID "NewPoem" + counter, the next
// one no poem has; NumberingUnavailable when the counter cannot give a number.
QString newPoemId(DbConnection& db);

// A new poem row as the poem editor writes it; the favourites flag keeps the table's default.
struct Poem {
    LibrarySide side = LibrarySide::China;
    QString place;
    QString placeId;
    QString author;
    QString authorId;
    QString name;
    QString content;
    QString note;
    QString poemId;
};
void addPoem(DbConnection& db, const Poem& poem);
// Writes the fields given; a field left out (the reader did not change it) keeps its
// stored value, byte for byte.
void updatePoem(DbConnection& db, LibrarySide side, const QString& poemId, const std::optional<QString>& name,
                const std::optional<QString>& content, const std::optional<QString>& note);

// How far a long change has come: called between its statements, on the thread it
// runs on.
using Progress = std::function<void(int done, int total)>;

// An author with the biography and every poem.
void deleteAuthor(DbConnection& db, LibrarySide side, const QString& authorId, const Progress& progress = {});
// An epoch (Chinese) or country (foreign) by name, with its authors, their
// biographies and their poems.
void deletePlace(DbConnection& db, LibrarySide side, const QString& placeName, const Progress& progress = {});
void deletePoem(DbConnection& db, LibrarySide side, const QString& poemId);

// Marks a poem a favourite; false (and nothing written) when it already is one.
bool markFavorite(DbConnection& db, LibrarySide side, const QString& poemId);
void unmarkFavorite(DbConnection& db, LibrarySide side, const QString& poemId);

} // namespace qelvane::changes
