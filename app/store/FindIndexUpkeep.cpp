#include "FindIndexUpkeep.h"

#include "DbConnection.h"
#include "FindGrams.h"
#include "FindIndex.h"
#include "FindMetre.h"
#include "FindText.h"
#include "FindTombstones.h"
#include "PostingList.h"
#include "SqliteStatement.h"
#include "Statements.h"

#include <sqlite3.h>
#include <algorithm>
#include <optional>

namespace qelvane::findindex {

namespace {

void collectPoem(Postings& postings, PoemKey key, const SqliteStatement& row)
{
    collect(postings, key, findtext::fold(row.text(1)).chars, findtext::fold(row.text(2)).chars,
            findtext::fold(row.text(3)).chars);
}

const char* poemToIndex(LibrarySide side)
{
    return side == LibrarySide::China ? sql::ChinaPoemToIndex : sql::ForeignPoemToIndex;
}

// A Chinese poem's form and rhyme under its key (FindMetre.h); none for a foreign poem.
void insertMetre(SqliteStatement& insert, qint64 key, const std::optional<findmetre::Metre>& metre, bool famous)
{
    if (!metre)
        return;
    insert.reset();
    insert.bind(1, key).bind(2, metre->form).bind(3, metre->tune).bind(4, metre->rhyme).bind(5, famous ? 1 : 0).run();
}

std::optional<findmetre::Metre> metreOf(LibrarySide side, const SqliteStatement& row)
{
    return side == LibrarySide::China ? findmetre::of(row.text(1), row.text(2)) : std::nullopt;
}

void newStamp(sqlite3* db)
{
    SqliteStatement(db, sql::NewFindIndexStamp).run();
}

// Rewrites the lists given: `change(entries, given)` edits each.
template <typename Change>
void rewrite(sqlite3* db, const Postings& lists, Change change)
{
    SqliteStatement read(db, sql::ReadFindList);
    SqliteStatement write(db, sql::WriteFindList);
    SqliteStatement erase(db, sql::EraseFindList);
    std::vector<Entry> entries;
    for (const auto& [list, given] : lists) {
        read.reset();
        read.bind(1, list);
        entries.clear();
        if (read.next())
            postings::decode(read.blob(0), entries);
        read.reset();
        change(entries, given);
        if (entries.empty()) {
            erase.reset();
            erase.bind(1, list).run();
        } else {
            write.reset();
            write.bind(1, list).bindBlob(2, postings::encode(entries)).run();
        }
    }
}

void cancelled()
{
    throw Cancelled(QStringLiteral("查找索引的建立已停止。"));
}

} // namespace

void build(sqlite3* db, const Progress& progress)
{
    // Everything is read first and written at the end, so that a build beside the
    // window (in a transaction of its own) holds the write lock only for the writing.
    SqliteStatement count(db, sql::PoemsToIndex);
    const int total = count.next() ? int(count.integer(0)) : 0;
    count.reset();
    struct Poem {
        LibrarySide side;
        QString id;
        bool famous;
        QString title, author, place;
        std::optional<findmetre::Metre> metre;
    };
    std::vector<Poem> poems;
    poems.reserve(size_t(total));
    if (progress && !progress(0, total))
        cancelled();
    Postings lists;
    // The well-known poems first: their lines have the lowest numbers, which the
    // finder prefers among equal matches.
    const struct {
        const char* statement;
        LibrarySide side;
    } sources[] = {{sql::FamousChinaPoemsToIndex, LibrarySide::China},
                   {sql::FamousForeignPoemsToIndex, LibrarySide::Foreign},
                   {sql::OtherChinaPoemsToIndex, LibrarySide::China},
                   {sql::OtherForeignPoemsToIndex, LibrarySide::Foreign}};
    for (const auto& source : sources) {
        SqliteStatement rows(db, source.statement);
        while (rows.next()) {
            poems.push_back({source.side, rows.text(0), rows.integer(4) != 0, rows.text(1), rows.text(3), rows.text(5),
                             metreOf(source.side, rows)});
            collectPoem(lists, PoemKey(poems.size()), rows);
            if (poems.size() % 500 == 0 && progress && !progress(int(poems.size()), total))
                cancelled();
        }
    }
    SqliteStatement::execute(db, sql::CreateFindIndex);
    SqliteStatement(db, sql::InsertFindIndexInfo).bind(1, FormatVersion).run();
    SqliteStatement insertPoem(db, sql::InsertFindPoem);
    SqliteStatement insertMetreRow(db, sql::InsertFindMetre);
    for (size_t i = 0; i < poems.size(); ++i) {
        insertPoem.reset();
        const Poem& poem = poems[i];
        insertPoem.bind(1, qint64(i + 1)).bind(2, int(poem.side)).bind(3, poem.id).bind(4, poem.famous ? 1 : 0);
        insertPoem.bind(5, poem.title).bind(6, poem.author).bind(7, poem.place).run();
        insertMetre(insertMetreRow, qint64(i + 1), poem.metre, poem.famous);
    }
    SqliteStatement insertList(db, sql::WriteFindList);
    for (const auto& [list, entries] : lists) {
        insertList.reset();
        insertList.bind(1, list).bindBlob(2, postings::encode(entries)).run();
    }
    if (progress)
        progress(total, total);
}

void removePoems(sqlite3* db, LibrarySide side, const QStringList& poemIds)
{
    if (poemIds.isEmpty() || !present(db))
        return;
    SqliteStatement bury(db, sql::BuryFindPoem);
    SqliteStatement forgetMetre(db, sql::ForgetFindMetre);
    SqliteStatement forget(db, sql::ForgetFindPoem);
    for (const QString& id : poemIds) {
        bury.reset();
        bury.bind(1, int(side)).bind(2, id).run();
        forgetMetre.reset();
        forgetMetre.bind(1, int(side)).bind(2, id).run();
        forget.reset();
        forget.bind(1, int(side)).bind(2, id).run();
    }
    newStamp(db);
}

void removePoemsOf(DbConnection& db, LibrarySide side, const char* poemIdsStatement, const QString& value)
{
    if (!present(db.sqliteHandle()))
        return;
    // Through the connection, so that the condition matches IDs as the deletion does.
    db.Execute(sql::BuryFindPoemsOf(poemIdsStatement), {int(side), value});
    db.Execute(sql::ForgetFindMetresOf(poemIdsStatement), {int(side), value});
    db.Execute(sql::ForgetFindPoemsOf(poemIdsStatement), {int(side), value});
    newStamp(db.sqliteHandle());
}

void placePoemsOf(DbConnection& db, LibrarySide side, const char* poemIdsStatement, const QString& value,
                  const QString& place)
{
    if (!present(db.sqliteHandle()))
        return;
    db.Execute(sql::PlaceFindPoemsOf(poemIdsStatement), {place, int(side), value});
}

void addPoems(sqlite3* db, LibrarySide side, const QStringList& poemIds)
{
    if (poemIds.isEmpty() || !present(db))
        return;
    SqliteStatement lastKey(db, sql::LastFindPoemKey);
    PoemKey key = lastKey.next() ? lastKey.integer(0) : 0;
    lastKey.reset();
    SqliteStatement insertPoem(db, sql::InsertFindPoem);
    SqliteStatement insertMetreRow(db, sql::InsertFindMetre);
    SqliteStatement poem(db, poemToIndex(side));
    Postings added;
    for (const QString& id : poemIds) {
        poem.reset();
        poem.bind(1, id);
        if (!poem.next())
            continue;
        ++key;
        insertPoem.reset();
        insertPoem.bind(1, key).bind(2, int(side)).bind(3, id).bind(4, poem.integer(4) != 0 ? 1 : 0);
        insertPoem.bind(5, poem.text(1)).bind(6, poem.text(3)).bind(7, poem.text(5)).run();
        insertMetre(insertMetreRow, key, metreOf(side, poem), poem.integer(4) != 0);
        collectPoem(added, key, poem);
        poem.reset();
    }
    // The new keys are the largest: their entries go at the end of each list.
    rewrite(db, added, [](std::vector<Entry>& entries, const std::vector<Entry>& more) {
        entries.insert(entries.end(), more.begin(), more.end());
    });
}

int tombstones(sqlite3* db)
{
    if (!present(db))
        return 0;
    SqliteStatement count(db, sql::TombstoneCount);
    return count.next() ? int(count.integer(0)) : 0;
}

namespace {

// One transaction of the compaction's; rolled back unless committed.
class Step {
public:
    explicit Step(sqlite3* db) : m_db(db) { SqliteStatement::execute(db, "begin immediate"); }
    ~Step()
    {
        if (!m_committed)
            sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr);
    }
    void commit()
    {
        SqliteStatement::execute(m_db, "commit");
        m_committed = true;
    }

private:
    sqlite3* m_db;
    bool m_committed = false;
};

// Lists swept per transaction: a few megabytes of the file.
constexpr ListId ListsPerStep = 4096;
// Free pages given back per transaction.
constexpr int PagesPerStep = 4096;

int pragmaValue(sqlite3* db, const char* pragma)
{
    SqliteStatement value(db, pragma);
    return value.next() ? int(value.integer(0)) : 0;
}

void giveBackFreePages(sqlite3* db, const Progress& progress)
{
    // 2: the library keeps its free pages apart, to be given back in steps.
    if (pragmaValue(db, "pragma auto_vacuum") != 2)
        return;
    const int total = pragmaValue(db, "pragma freelist_count");
    int left = total;
    while (left > 0) {
        if (progress && !progress(total - left, total))
            return;
        Step step(db);
        SqliteStatement(db, QStringLiteral("pragma incremental_vacuum(%1)").arg(PagesPerStep), {}).run();
        step.commit();
        const int now = pragmaValue(db, "pragma freelist_count");
        if (now >= left)
            return;
        left = now;
    }
}

} // namespace

void compact(sqlite3* db, const Progress& progress)
{
    Tombstones gone;
    {
        Step read(db);
        if (!present(db))
            return;
        gone = Tombstones::read(db);
    }
    if (gone.lastSeq > 0) {
        // A share of the lists at a time, each read again inside its own transaction, so
        // an entry the window added in between is kept; only buried keys are dropped.
        SqliteStatement lists(db, sql::FindListsBetween);
        SqliteStatement write(db, sql::WriteFindList);
        SqliteStatement erase(db, sql::EraseFindList);
        std::vector<Entry> entries, kept;
        const int steps = int(ListCount / ListsPerStep);
        for (int done = 0; done < steps; ++done) {
            if (progress && !progress(done, steps + 1))
                throw Cancelled(QStringLiteral("查找索引的整理已停止。"));
            Step step(db);
            lists.reset();
            lists.bind(1, done * ListsPerStep).bind(2, (done + 1) * ListsPerStep);
            std::vector<std::pair<ListId, QByteArray>> changed;
            while (lists.next()) {
                postings::decode(lists.blob(1), entries);
                kept.clear();
                for (Entry entry : entries)
                    if (!gone.holds(poemKeyOf(lineOfEntry(entry))))
                        kept.push_back(entry);
                if (kept.size() != entries.size())
                    changed.emplace_back(lists.integer(0), kept.empty() ? QByteArray() : postings::encode(kept));
            }
            for (const auto& [list, bytes] : changed) {
                if (bytes.isEmpty()) {
                    erase.reset();
                    erase.bind(1, list).run();
                } else {
                    write.reset();
                    write.bind(1, list).bindBlob(2, bytes).run();
                }
            }
            step.commit();
        }
        Step last(db);
        SqliteStatement(db, sql::ForgetGoneFindPoems).bind(1, gone.lastSeq).run();
        newStamp(db);
        last.commit();
    }
    giveBackFreePages(db, progress);
}

} // namespace qelvane::findindex
