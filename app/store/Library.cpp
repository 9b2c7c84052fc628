#include "Library.h"

#include "DbConnection.h"
#include "Recordset.h"
#include "SqliteStatement.h"
#include "Statements.h"

namespace qelvane::library {

namespace {

// Every row of a statement, made into values by `read`.
template <typename Row, typename Read>
QList<Row> rowsOf(DbConnection& db, const QString& statement, const QVariantList& values, Read read)
{
    QList<Row> rows;
    for (Recordset rs(db, statement, values); !rs.Eof(); rs.MoveNext())
        rows.append(read(rs));
    return rows;
}

// One column of the first row, when there is one.
std::optional<QString> firstText(DbConnection& db, const QString& statement, const QVariantList& values,
                                 const QString& column)
{
    Recordset rs(db, statement, values);
    if (rs.Eof())
        return std::nullopt;
    return rs.Text(column);
}

QString placeColumn(LibrarySide side)
{
    return forSide(side, QStringLiteral("Epoch"), QStringLiteral("Country"));
}

} // namespace

QList<Place> places(DbConnection& db, LibrarySide side)
{
    const QString id = forSide(side, QStringLiteral("EpochID"), QStringLiteral("CountryID"));
    return rowsOf<Place>(db, forSide(side, sql::ChinaEpochTable, sql::ForeignCountryTable), {},
                         [&](const Recordset& rs) { return Place{rs.Text(id), rs.Text(placeColumn(side))}; });
}

QList<Author> authorsOf(DbConnection& db, LibrarySide side, const QString& placeId)
{
    return rowsOf<Author>(db, forSide(side, sql::ChinaAuthorsOfEpoch, sql::ForeignAuthorsOfCountry), {placeId},
                          [](const Recordset& rs) {
                              return Author{rs.Text(QStringLiteral("AuthorID")), rs.Text(QStringLiteral("AuthorName"))};
                          });
}

QHash<QString, int> authorCountsByPlace(DbConnection& db, LibrarySide side)
{
    QHash<QString, int> counts;
    // Read as text, an ID stored as a number reads as the text the place is known by.
    SqliteStatement rows(db.sqliteHandle(),
                         forSide(side, sql::ChinaAuthorCountsByEpoch, sql::ForeignAuthorCountsByCountry));
    while (rows.next())
        counts[rows.text(0)] += int(rows.integer(1));
    return counts;
}

QList<Author> favoriteAuthors(DbConnection& db, LibrarySide side)
{
    return rowsOf<Author>(db, forSide(side, sql::ChinaFavoriteAuthors, sql::ForeignFavoriteAuthors), {},
                          [](const Recordset& rs) {
                              return Author{rs.Text(QStringLiteral("AuthorID")), rs.Text(QStringLiteral("Author"))};
                          });
}

QString biography(DbConnection& db, LibrarySide side, const QString& authorId)
{
    return firstText(db, forSide(side, sql::ChinaAuthorDetail, sql::ForeignAuthorDetail), {authorId},
                     QStringLiteral("AuthorDetail"))
        .value_or(QString());
}

QList<PoemTitle> poemsOf(DbConnection& db, LibrarySide side, const QString& authorId, bool favoritesOnly)
{
    const char* statement = favoritesOnly ? forSide(side, sql::ChinaFavoritePoemsOfAuthor, sql::ForeignFavoritePoemsOfAuthor)
                                          : forSide(side, sql::ChinaPoemsOfAuthor, sql::ForeignPoemsOfAuthor);
    return rowsOf<PoemTitle>(db, statement, {authorId}, [](const Recordset& rs) {
        return PoemTitle{rs.Text(QStringLiteral("PoemID")), rs.Text(QStringLiteral("Name"))};
    });
}

int poemCountOfAuthor(DbConnection& db, LibrarySide side, const QString& authorId, bool favoritesOnly)
{
    const char* statement = favoritesOnly
                                ? forSide(side, sql::ChinaFavoriteCountOfAuthor, sql::ForeignFavoriteCountOfAuthor)
                                : forSide(side, sql::ChinaPoemCountOfAuthor, sql::ForeignPoemCountOfAuthor);
    return firstText(db, statement, {authorId}, QStringLiteral("Poems")).value_or(QString()).toInt();
}

int poemCountOfPlace(DbConnection& db, LibrarySide side, const QString& placeName)
{
    return firstText(db, forSide(side, sql::ChinaPoemCountOfEpoch, sql::ForeignPoemCountOfCountry), {placeName},
                     QStringLiteral("Poems"))
        .value_or(QString())
        .toInt();
}

std::optional<PoemText> poemText(DbConnection& db, LibrarySide side, const QString& poemId)
{
    Recordset rs(db, forSide(side, sql::ChinaPoemText, sql::ForeignPoemText), {poemId});
    if (rs.Eof())
        return std::nullopt;
    return PoemText{rs.Text(QStringLiteral("Content")), rs.Text(QStringLiteral("Note")),
                    rs.Text(QStringLiteral("Name")),    rs.Text(QStringLiteral("Author")),
                    rs.Text(QStringLiteral("AuthorID")), rs.Text(QStringLiteral("Place"))};
}

std::optional<QString> authorIdOfPoem(DbConnection& db, LibrarySide side, const QString& poemId)
{
    return firstText(db, forSide(side, sql::ChinaPoemAuthorID, sql::ForeignPoemAuthorID), {poemId},
                     QStringLiteral("AuthorID"));
}

std::optional<QString> authorNameOfPoem(DbConnection& db, LibrarySide side, const QString& poemId)
{
    return firstText(db, forSide(side, sql::ChinaPoemAuthor, sql::ForeignPoemAuthor), {poemId},
                     QStringLiteral("Author"));
}

std::optional<PoemForEditor> poemForEditor(DbConnection& db, LibrarySide side, const QString& poemId)
{
    Recordset rs(db, forSide(side, sql::ChinaPoemForEditor, sql::ForeignPoemForEditor), {poemId});
    if (rs.Eof())
        return std::nullopt;
    return PoemForEditor{rs.Text(QStringLiteral("Name")), rs.Text(QStringLiteral("Content")),
                         rs.Text(QStringLiteral("Note"))};
}

QList<FavoritePoem> favoritePoems(DbConnection& db, LibrarySide side)
{
    return rowsOf<FavoritePoem>(db, forSide(side, sql::ChinaFavoritePoems, sql::ForeignFavoritePoems), {},
                                [](const Recordset& rs) {
                                    return FavoritePoem{rs.Text(QStringLiteral("PoemID")),
                                                        rs.Text(QStringLiteral("Name")),
                                                        rs.Text(QStringLiteral("Author"))};
                                });
}

std::optional<QString> authorName(DbConnection& db, LibrarySide side, const QString& authorId)
{
    return firstText(db, forSide(side, sql::ChinaAuthorName, sql::ForeignAuthorName), {authorId},
                     QStringLiteral("AuthorName"));
}

std::optional<QString> placeIdOfAuthor(DbConnection& db, LibrarySide side, const QString& authorId)
{
    return firstText(db, forSide(side, sql::ChinaAuthorEpochID, sql::ForeignAuthorCountryID), {authorId},
                     forSide(side, QStringLiteral("EpochID"), QStringLiteral("CountryID")));
}

std::optional<QString> placeName(DbConnection& db, LibrarySide side, const QString& placeId)
{
    return firstText(db, forSide(side, sql::EpochNameOfID, sql::CountryNameOfID), {placeId}, placeColumn(side));
}

QStringList placeNames(DbConnection& db, LibrarySide side)
{
    return rowsOf<QString>(db, forSide(side, sql::EpochNames, sql::CountryNames), {},
                           [&](const Recordset& rs) { return rs.Text(placeColumn(side)); });
}

QStringList countryChoices(DbConnection& db)
{
    return rowsOf<QString>(db, sql::ForeignCountryChoices, {},
                           [](const Recordset& rs) { return rs.Text(QStringLiteral("Country")); });
}

QList<MetreTemplate> metreTemplates(DbConnection& db)
{
    return rowsOf<MetreTemplate>(db, sql::FormatNames, {}, [](const Recordset& rs) {
        return MetreTemplate{rs.Text(QStringLiteral("FormatName")), rs.IsNull(QStringLiteral("FormatName"))};
    });
}

std::optional<QString> metreTemplate(DbConnection& db, const MetreTemplate& which)
{
    return which.nullName ? firstText(db, sql::FormatContentOfNullName, {}, QStringLiteral("Content"))
                          : firstText(db, sql::FormatContent, {which.name}, QStringLiteral("Content"));
}

SearchQuery searchQuery(LibrarySide side, const QString& range)
{
    const bool limited = range != AnyRange;
    const bool foreign = side == LibrarySide::Foreign;
    SearchQuery query{sql::SearchPoems(foreign, limited), {}, sql::CountSearchPoems(foreign, limited)};
    if (limited)
        query.values << range;
    return query;
}

} // namespace qelvane::library
