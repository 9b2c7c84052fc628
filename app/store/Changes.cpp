#include "Changes.h"

#include "DbConnection.h"
#include "FindIndexUpkeep.h"
#include "Recordset.h"
#include "Statements.h"

#include <functional>
#include <limits>

namespace qelvane::changes {

namespace {

// How the program numbers the new poems or the new authors.
struct Numbering {
    sql::EditTarget counter;
    const char* prefix;
    const char* what;
    const char* idInUse;
    int idPlaceholders;
    const char* highestNumber;
};
constexpr Numbering PoemNumbering{sql::PoemCounter, "NewPoem", "诗词", sql::PoemIdInUse, 2, sql::HighestNewPoemNumber};
constexpr Numbering AuthorNumbering{sql::AuthorCounter, "NewAuthor", "作者", sql::AuthorIdInUse, 4,
                                    sql::HighestNewAuthorNumber};

[[noreturn]] void numberingFails(const Numbering& numbering, const char* reason)
{
    throw NumberingUnavailable(QStringLiteral("诗词库中新%1的编号计数%2，无法为新%1编号。诗词库没有被修改。")
                                   .arg(QString::fromUtf8(numbering.what), QString::fromUtf8(reason)));
}

bool idInUse(DbConnection& db, const Numbering& numbering, const QString& id)
{
    return !Recordset(db, numbering.idInUse, QVariantList(numbering.idPlaceholders, id)).Eof();
}

// Raises the counter and returns the new ID, inside the caller's change. An ID the
// library already holds (a counter set back by hand or by another program) is passed
// over for the first free one after the highest the program gave.
QString nextFreeId(DbConnection& db, const Numbering& numbering)
{
    constexpr qint64 Largest = std::numeric_limits<qint32>::max();
    EditableRecordset rs(db, QString::fromLatin1(numbering.counter.table),
                         QString::fromLatin1(numbering.counter.condition), {});
    if (rs.Eof())
        numberingFails(numbering, "缺失");
    const QVariant stored = rs.Field(QStringLiteral("Count"));
    bool ok = false;
    qint64 number = stored.toLongLong(&ok);
    if (stored.isNull() || !ok || number < 0)
        numberingFails(numbering, "已损坏");
    if (number >= Largest)
        numberingFails(numbering, "已用完");
    const QString prefix = QString::fromLatin1(numbering.prefix);
    ++number;
    if (idInUse(db, numbering, prefix + QString::number(number))) {
        Recordset highest(db, numbering.highestNumber);
        number = std::max(number, highest.Field(QStringLiteral("Highest")).toLongLong() + 1);
        while (number <= Largest && idInUse(db, numbering, prefix + QString::number(number)))
            ++number;
        if (number > Largest)
            numberingFails(numbering, "已用完");
    }
    rs.SetField(QStringLiteral("Count"), number);
    rs.Update();
    return prefix + QString::number(number);
}

// The ID of an epoch or a country by its name.
QString placeId(DbConnection& db, LibrarySide side, const QString& place)
{
    Recordset rs(db, forSide(side, sql::EpochIDOfName, sql::CountryIDOfName), {place});
    if (rs.Eof())
        throw UnknownPlace(side == LibrarySide::China ? QStringLiteral("诗词库中没有“%1”这个时期。").arg(place)
                                                      : QStringLiteral("诗词库中没有“%1”这个国家。").arg(place));
    return rs.Text(side == LibrarySide::China ? QStringLiteral("EpochID") : QStringLiteral("CountryID"));
}

// A change that finds nothing to change is a failure, reported as an engine's is.
void expectChanged(int rows, const QString& missing)
{
    if (rows == 0)
        throw StoreError(missing);
}

// A change by an ID that several rows share would change rows the reader never saw: it
// is refused, naming the ID, and nothing is changed.
// `refusal` takes the count of rows and the ID.
void expectOneRow(DbConnection& db, const char* countingStatement, const QString& id, const QString& refusal)
{
    Recordset rs(db, countingStatement, {id});
    const int rows = rs.Text(QStringLiteral("Rows")).toInt();
    if (rows > 1)
        throw StoreError(refusal.arg(rows).arg(id));
}

void expectOnePoem(DbConnection& db, LibrarySide side, const QString& poemId)
{
    expectOneRow(db, forSide(side, sql::ChinaPoemsWithId, sql::ForeignPoemsWithId), poemId,
                 QStringLiteral("诗词库中有 %1 首诗词的编号都是“%2”，无法只修改您选中的那一首。诗词库没有被修改。"));
}

void expectOneAuthor(DbConnection& db, LibrarySide side, const QString& authorId)
{
    expectOneRow(db, forSide(side, sql::ChinaAuthorsWithId, sql::ForeignAuthorsWithId), authorId,
                 QStringLiteral("诗词库中有 %1 位作者的编号都是“%2”，无法只修改您选中的那一位。诗词库没有被修改。"));
}

// The IDs of the poems a statement selects (its one value bound).
QStringList poemIds(DbConnection& db, const char* statement, const QString& value)
{
    QStringList ids;
    for (Recordset rs(db, statement, {value}); !rs.Eof(); rs.MoveNext())
        ids << rs.Field(QStringLiteral("PoemID")).toString();
    return ids;
}

// Runs the statements on one value as one change; the first must find its row. The
// poems `touched` selects leave the find index inside it, before they go.
template <std::size_t N>
void runAllAsOneChange(DbConnection& db, const char* const (&statements)[N], const QString& value,
                       const QString& missing, LibrarySide side, const char* touched, const Progress& progress,
                       const std::function<void()>& check = {})
{
    const int steps = int(N) + 1;
    const auto done = [&](int step) {
        if (progress)
            progress(step, steps);
    };
    DbConnection::Transaction change(db);
    if (check)
        check();
    done(0);
    findindex::removePoemsOf(db, side, touched, value);
    done(1);
    for (std::size_t i = 0; i < N; ++i) {
        const int rows = db.Execute(QString::fromLatin1(statements[i]), {value});
        if (i == 0)
            expectChanged(rows, missing);
        done(int(i) + 2);
    }
    change.commit();
}

// Whether any poem of the author carries another name than `name`.
bool poemsNamedOtherwise(DbConnection& db, LibrarySide side, const QString& authorId, const QString& name)
{
    Recordset rs(db, forSide(side, sql::ChinaPoemsNamedOtherwise, sql::ForeignPoemsNamedOtherwise), {authorId, name});
    return rs.Text(QStringLiteral("Rows")).toInt() > 0;
}

QString missingAuthor(const QString& authorId)
{
    return QStringLiteral("诗词库中找不到这位作者（%1）。").arg(authorId);
}

QString missingPoem(const QString& poemId)
{
    return QStringLiteral("诗词库中找不到这首诗词（%1）。").arg(poemId);
}

} // namespace

QString addAuthor(DbConnection& db, const Author& author)
{
    DbConnection::Transaction change(db);
    const QString id = nextFreeId(db, AuthorNumbering);
    const QString place = placeId(db, author.side, author.place);
    db.Execute(forSide(author.side, sql::InsertChinaAuthor, sql::InsertForeignAuthor),
               {place, author.place, id, author.name});
    db.Execute(forSide(author.side, sql::InsertChinaAuthorDetail, sql::InsertForeignAuthorDetail),
               {id, author.biography});
    change.commit();
    return id;
}

void updateAuthor(DbConnection& db, const QString& authorId, const Author& author)
{
    DbConnection::Transaction change(db);
    expectOneAuthor(db, author.side, authorId);
    const QString place = placeId(db, author.side, author.place);
    expectChanged(db.Execute(forSide(author.side, sql::UpdateChinaAuthor, sql::UpdateForeignAuthor),
                             {place, author.place, author.name, authorId}),
                  missingAuthor(authorId));
    if (!author.keepBiography)
        expectChanged(db.Execute(forSide(author.side, sql::UpdateChinaAuthorDetail, sql::UpdateForeignAuthorDetail),
                                 {author.biography, authorId}),
                      QStringLiteral("诗词库中找不到这位作者的简介（%1）。").arg(authorId));
    // The poems carry the author's name, which the find index holds too: when it changes,
    // they are put in the index again.
    const QStringList poems =
        poemIds(db, forSide(author.side, sql::ChinaPoemIdsOfAuthor, sql::ForeignPoemIdsOfAuthor), authorId);
    const bool renamed = !poems.isEmpty() && poemsNamedOtherwise(db, author.side, authorId, author.name);
    if (renamed)
        findindex::removePoems(db.sqliteHandle(), author.side, poems);
    db.Execute(forSide(author.side, sql::MoveChinaAuthorPoems, sql::MoveForeignAuthorPoems),
               {place, author.place, author.name, authorId});
    if (renamed)
        findindex::addPoems(db.sqliteHandle(), author.side, poems);
    else
        findindex::placePoemsOf(db, author.side,
                                forSide(author.side, sql::ChinaPoemIdsOfAuthor, sql::ForeignPoemIdsOfAuthor), authorId,
                                author.place);
    change.commit();
}

QString newPoemId(DbConnection& db)
{
    DbConnection::Transaction change(db);
    const QString id = nextFreeId(db, PoemNumbering);
    change.commit();
    return id;
}

void addPoem(DbConnection& db, const Poem& poem)
{
    const bool china = poem.side == LibrarySide::China;
    DbConnection::Transaction change(db);
    EditableRecordset rs(db, QString::fromLatin1(forSide(poem.side, sql::ChinaPoemTable, sql::ForeignPoemTable)));
    rs.AddNew();
    rs.SetField(china ? QStringLiteral("Epoch") : QStringLiteral("Country"), poem.place);
    rs.SetField(china ? QStringLiteral("EpochID") : QStringLiteral("CountryID"), poem.placeId);
    rs.SetField(QStringLiteral("Author"), poem.author);
    rs.SetField(QStringLiteral("AuthorID"), poem.authorId);
    rs.SetField(QStringLiteral("Name"), poem.name);
    rs.SetField(QStringLiteral("Content"), poem.content);
    rs.SetField(QStringLiteral("Note"), poem.note);
    rs.SetField(QStringLiteral("PoemID"), poem.poemId);
    rs.Update();
    findindex::addPoems(db.sqliteHandle(), poem.side, {poem.poemId});
    change.commit();
}

void updatePoem(DbConnection& db, LibrarySide side, const QString& poemId, const std::optional<QString>& name,
                const std::optional<QString>& content, const std::optional<QString>& note)
{
    const sql::EditTarget row = forSide(side, sql::ChinaPoemRow, sql::ForeignPoemRow);
    DbConnection::Transaction change(db);
    expectOnePoem(db, side, poemId);
    EditableRecordset rs(db, QString::fromLatin1(row.table), QString::fromLatin1(row.condition), {poemId});
    if (rs.Eof())
        throw StoreError(missingPoem(poemId));
    findindex::removePoems(db.sqliteHandle(), side, {poemId});
    if (name)
        rs.SetField(QStringLiteral("Name"), *name);
    if (content)
        rs.SetField(QStringLiteral("Content"), *content);
    if (note)
        rs.SetField(QStringLiteral("Note"), *note);
    rs.Update();
    findindex::addPoems(db.sqliteHandle(), side, {poemId});
    change.commit();
}

void deleteAuthor(DbConnection& db, LibrarySide side, const QString& authorId, const Progress& progress)
{
    const auto onlyOne = [&] { expectOneAuthor(db, side, authorId); };
    if (side == LibrarySide::China)
        runAllAsOneChange(db, sql::DeleteChinaAuthor, authorId, missingAuthor(authorId), side,
                          sql::ChinaPoemIdsOfAuthor, progress, onlyOne);
    else
        runAllAsOneChange(db, sql::DeleteForeignAuthor, authorId, missingAuthor(authorId), side,
                          sql::ForeignPoemIdsOfAuthor, progress, onlyOne);
}

void deletePlace(DbConnection& db, LibrarySide side, const QString& placeName, const Progress& progress)
{
    if (side == LibrarySide::China)
        runAllAsOneChange(db, sql::DeleteEpoch, placeName, QStringLiteral("诗词库中没有“%1”这个时期。").arg(placeName),
                          side, sql::PoemIdsOfEpoch, progress);
    else
        runAllAsOneChange(db, sql::DeleteCountry, placeName,
                          QStringLiteral("诗词库中没有“%1”这个国家。").arg(placeName), side, sql::PoemIdsOfCountry,
                          progress);
}

void deletePoem(DbConnection& db, LibrarySide side, const QString& poemId)
{
    DbConnection::Transaction change(db);
    expectOnePoem(db, side, poemId);
    findindex::removePoems(db.sqliteHandle(), side, {poemId});
    expectChanged(db.Execute(forSide(side, sql::DeleteChinaPoem, sql::DeleteForeignPoem), {poemId}),
                  missingPoem(poemId));
    change.commit();
}

bool markFavorite(DbConnection& db, LibrarySide side, const QString& poemId)
{
    DbConnection::Transaction change(db);
    expectOnePoem(db, side, poemId);
    {
        Recordset already(db, forSide(side, sql::ChinaFavoritePoem, sql::ForeignFavoritePoem), {poemId});
        if (!already.Eof())
            return false;
    }
    expectChanged(db.Execute(forSide(side, sql::MarkChinaFavorite, sql::MarkForeignFavorite), {poemId}),
                  missingPoem(poemId));
    change.commit();
    return true;
}

void unmarkFavorite(DbConnection& db, LibrarySide side, const QString& poemId)
{
    DbConnection::Transaction change(db);
    expectOnePoem(db, side, poemId);
    expectChanged(db.Execute(forSide(side, sql::UnmarkChinaFavorite, sql::UnmarkForeignFavorite), {poemId}),
                  missingPoem(poemId));
    change.commit();
}

} // namespace qelvane::changes
