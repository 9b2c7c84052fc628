#pragma once

#include "LibrarySide.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace qelvane {

class DbConnection;

// Everything the windows read from the library, as small values: the statements and
// their columns stay here, beside the catalogue (changes:: holds the writes). Each
// function throws StoreError when its statement fails.
namespace library {

// An epoch (Chinese side) or a country (foreign side).
struct Place {
    QString id;
    QString name;
};

struct Author {
    QString id;
    QString name;
};

struct PoemTitle {
    QString id;
    QString title;
};

struct PoemText {
    QString content; // empty when Null
    QString notes;   // empty when Null
    QString title;
    QString author;
    QString authorId;
    QString place;   // the poem's own copy of its epoch or country
};

struct PoemForEditor {
    QString title;
    QString content;
    QString notes;
};

struct FavoritePoem {
    QString id;
    QString title;
    QString author;
};

struct MetreTemplate {
    QString name;
    bool nullName = false; // a template stored without a name
};

// ---- The tree ----
QList<Place> places(DbConnection& db, LibrarySide side);
QList<Author> authorsOf(DbConnection& db, LibrarySide side, const QString& placeId);
// How many authors each epoch or country holds, by its ID: one pass over the index.
QHash<QString, int> authorCountsByPlace(DbConnection& db, LibrarySide side);
// The authors with at least one favourite poem.
QList<Author> favoriteAuthors(DbConnection& db, LibrarySide side);
// An author's biography; empty when there is none.
QString biography(DbConnection& db, LibrarySide side, const QString& authorId);

// ---- Poems ----
QList<PoemTitle> poemsOf(DbConnection& db, LibrarySide side, const QString& authorId, bool favoritesOnly);
std::optional<PoemText> poemText(DbConnection& db, LibrarySide side, const QString& poemId);
std::optional<QString> authorIdOfPoem(DbConnection& db, LibrarySide side, const QString& poemId);
std::optional<QString> authorNameOfPoem(DbConnection& db, LibrarySide side, const QString& poemId);
std::optional<PoemForEditor> poemForEditor(DbConnection& db, LibrarySide side, const QString& poemId);
// Every favourite poem of a side, as the favourites cleaner lists them.
QList<FavoritePoem> favoritePoems(DbConnection& db, LibrarySide side);

// How many poems an author has (only favourites when asked), and how many an epoch
// or country holds by its name.
int poemCountOfAuthor(DbConnection& db, LibrarySide side, const QString& authorId, bool favoritesOnly = false);
int poemCountOfPlace(DbConnection& db, LibrarySide side, const QString& placeName);

// ---- Authors and places, for the editors ----
std::optional<QString> authorName(DbConnection& db, LibrarySide side, const QString& authorId);
// The ID of the epoch or country an author's own row names.
std::optional<QString> placeIdOfAuthor(DbConnection& db, LibrarySide side, const QString& authorId);
std::optional<QString> placeName(DbConnection& db, LibrarySide side, const QString& placeId);
// The names a search may be limited to (every epoch, every country).
QStringList placeNames(DbConnection& db, LibrarySide side);
// The countries the author editor offers (the foreign side's own list of them).
QStringList countryChoices(DbConnection& db);

// ---- Metre templates ----
QList<MetreTemplate> metreTemplates(DbConnection& db);
// The first template of that name (or of no name); nullopt when there is none.
std::optional<QString> metreTemplate(DbConnection& db, const MetreTemplate& which);

// ---- Search ----
// The range that limits a search to nothing.
inline const QString AnyRange = QStringLiteral("不限");
// What a search reads: "PoemID, Name, content" of every poem of a side, or of one
// epoch or country (the range is bound, never spliced).
// `counting` is the statement that counts the rows the search will read (one row, one
// column), with the same values.
struct SearchQuery {
    QString statement;
    QVariantList values;
    QString counting;
};
SearchQuery searchQuery(LibrarySide side, const QString& range);

} // namespace library
} // namespace qelvane
