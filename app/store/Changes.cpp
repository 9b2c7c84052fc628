#include "Changes.h"

#include "DbConnection.h"
#include "Recordset.h"
#include "Statements.h"

#include <limits>

namespace qelvane::changes {

namespace {

// Raises one of the ID counters and returns its new value, inside the caller's change.
qint32 raiseCounter(DbConnection& db, const sql::EditTarget& counter)
{
    EditableRecordset rs(db, QString::fromLatin1(counter.table), QString::fromLatin1(counter.condition), {});
    if (rs.Eof())
        throw StoreError(QStringLiteral("诗词库中缺少编号计数（%1）。").arg(QLatin1String(counter.condition)));
    bool ok = false;
    const qint64 current = rs.Field(QStringLiteral("Count")).toLongLong(&ok);
    if (!ok || current >= std::numeric_limits<qint32>::max() || current < std::numeric_limits<qint32>::min())
        throw StoreError(QStringLiteral("编号计数溢出（%1）。").arg(QLatin1String(counter.condition)));
    rs.SetField(QStringLiteral("Count"), current + 1);
    rs.Update();
    return qint32(current + 1);
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

// A list of statements on one value, as one change.
template <std::size_t N>
void runAllAsOneChange(DbConnection& db, const char* const (&statements)[N], const QString& value)
{
    DbConnection::Transaction change(db);
    for (const char* statement : statements)
        db.Execute(QString::fromLatin1(statement), {value});
    change.commit();
}

} // namespace

QString addAuthor(DbConnection& db, const Author& author)
{
    DbConnection::Transaction change(db);
    const QString id = QStringLiteral("NewAuthor") + QString::number(raiseCounter(db, sql::AuthorCounter));
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
    const QString place = placeId(db, author.side, author.place);
    db.Execute(forSide(author.side, sql::UpdateChinaAuthor, sql::UpdateForeignAuthor),
               {place, author.place, author.name, authorId});
    db.Execute(forSide(author.side, sql::UpdateChinaAuthorDetail, sql::UpdateForeignAuthorDetail),
               {author.biography, authorId});
    change.commit();
}

QString newPoemId(DbConnection& db)
{
    DbConnection::Transaction change(db);
    const QString id = QStringLiteral("NewPoem") + QString::number(raiseCounter(db, sql::PoemCounter));
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
    change.commit();
}

void updatePoem(DbConnection& db, LibrarySide side, const QString& poemId, const QString& name,
                const QString& content, const QString& note)
{
    const sql::EditTarget row = forSide(side, sql::ChinaPoemRow, sql::ForeignPoemRow);
    DbConnection::Transaction change(db);
    EditableRecordset rs(db, QString::fromLatin1(row.table), QString::fromLatin1(row.condition), {poemId});
    if (rs.Eof())
        throw StoreError(QStringLiteral("诗词库中找不到这首诗词（%1）。").arg(poemId));
    rs.SetField(QStringLiteral("Name"), name);
    rs.SetField(QStringLiteral("Content"), content);
    rs.SetField(QStringLiteral("Note"), note);
    rs.Update();
    change.commit();
}

void deleteAuthor(DbConnection& db, LibrarySide side, const QString& authorId)
{
    if (side == LibrarySide::China)
        runAllAsOneChange(db, sql::DeleteChinaAuthor, authorId);
    else
        runAllAsOneChange(db, sql::DeleteForeignAuthor, authorId);
}

void deletePlace(DbConnection& db, LibrarySide side, const QString& placeName)
{
    if (side == LibrarySide::China)
        runAllAsOneChange(db, sql::DeleteEpoch, placeName);
    else
        runAllAsOneChange(db, sql::DeleteCountry, placeName);
}

void deletePoem(DbConnection& db, LibrarySide side, const QString& poemId)
{
    db.Execute(forSide(side, sql::DeleteChinaPoem, sql::DeleteForeignPoem), {poemId});
}

bool markFavorite(DbConnection& db, LibrarySide side, const QString& poemId)
{
    DbConnection::Transaction change(db);
    {
        Recordset already(db, forSide(side, sql::ChinaFavoritePoem, sql::ForeignFavoritePoem), {poemId});
        if (!already.Eof())
            return false;
    }
    db.Execute(forSide(side, sql::MarkChinaFavorite, sql::MarkForeignFavorite), {poemId});
    change.commit();
    return true;
}

void unmarkFavorite(DbConnection& db, LibrarySide side, const QString& poemId)
{
    db.Execute(forSide(side, sql::UnmarkChinaFavorite, sql::UnmarkForeignFavorite), {poemId});
}

} // namespace qelvane::changes
