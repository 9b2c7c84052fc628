#include "TestLibrary.h"

#include "LibraryWriter.h"
#include "Sources.h"
#include "platform/SettingsStore.h"
#include "store/DbConnection.h"
#include "store/FindIndex.h"
#include "store/FindIndexUpkeep.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <sqlite3.h>
#include <stdexcept>

namespace qelvane::test {

namespace {

QString builtFixture()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("fixture.mdb"));
        mklib::LibraryWriter writer(file, false);
        mklib::importSample(writer, QStringLiteral(QELVANE_FIXTURES_DIR "/library"));
        writer.commit();
        return file;
    }();
    return path;
}

template <typename Work>
auto withConnection(const QString& libraryFile, Work work)
{
    const QString name = QStringLiteral("test-seed");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(libraryFile);
    if (!db.open())
        throw std::runtime_error(db.lastError().text().toStdString());
    auto result = work(db);
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
    return result;
}

QSqlQuery runOn(QSqlDatabase& db, const QString& statement, const QVariantList& values)
{
    QSqlQuery query(db);
    if (!query.prepare(statement))
        throw std::runtime_error(query.lastError().text().toStdString());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw std::runtime_error(query.lastError().text().toStdString());
    return query;
}

// The index's tables as readable rows that do not depend on the poem keys: one
// "<side> <id>\tfame <0|1>\t<title>\t<author>\t<place>" row a poem, one "list <n> <side> <id> line <l> mark <m>" row
// an entry, each sorted; anything that cannot be read so is a fault.
struct IndexRows {
    QStringList poems;
    QStringList metres;
    QStringList entries;
    QStringList faults;
};

// The layout the index writes its lists in: an entry is a line number with five bits of
// the gram beside it; a line number is a poem's key with two bits for which of its lines
// it is (title, text, author's name); a list holds its entries ascending, each as the
// difference from the one before in 7-bit groups.
constexpr int MarkBits = 5;
constexpr int LineBits = 2;

IndexRows readIndex(sqlite3* db)
{
    IndexRows rows;
    QHash<qint64, QString> poemOfKey;
    const auto each = [&](const char* statement, auto row) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, statement, -1, &stmt, nullptr) != SQLITE_OK) {
            rows.faults << QStringLiteral("cannot read the index: %1").arg(QString::fromUtf8(sqlite3_errmsg(db)));
            sqlite3_finalize(stmt);
            return;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW)
            row(stmt);
        sqlite3_finalize(stmt);
    };
    const auto text = [](sqlite3_stmt* stmt, int column) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                 sqlite3_column_bytes(stmt, column));
    };
    each("select PoemKey, Side, PoemID, Fame, Title, Author, Place from FindPoem", [&](sqlite3_stmt* stmt) {
        const QString poem = QStringLiteral("%1 %2").arg(sqlite3_column_int(stmt, 1)).arg(text(stmt, 2));
        poemOfKey.insert(sqlite3_column_int64(stmt, 0), poem);
        rows.poems << QStringLiteral("%1\tfame %2\t%3\t%4\t%5")
                          .arg(poem)
                          .arg(sqlite3_column_int(stmt, 3))
                          .arg(text(stmt, 4), text(stmt, 5), text(stmt, 6));
    });
    // Each Chinese poem's form and rhyme, under its live key.
    each("select PoemKey, Form, Tune, Rhyme, Fame from FindMetre", [&](sqlite3_stmt* stmt) {
        const qint64 key = sqlite3_column_int64(stmt, 0);
        if (!poemOfKey.contains(key))
            rows.faults << QStringLiteral("a form and rhyme under key %1, which no live poem has").arg(key);
        rows.metres << QStringLiteral("%1\t%2 %3 %4 fame %5")
                          .arg(poemOfKey.value(key), text(stmt, 1), text(stmt, 2), text(stmt, 3))
                          .arg(sqlite3_column_int(stmt, 4));
    });
    // A deleted or changed poem's old key: its entries are tombstones the finder skips.
    QSet<qint64> buried;
    each("select PoemKey from FindGone", [&](sqlite3_stmt* stmt) {
        const qint64 key = sqlite3_column_int64(stmt, 0);
        if (poemOfKey.contains(key))
            rows.faults << QStringLiteral("poem key %1 is both live and buried").arg(key);
        buried.insert(key);
    });
    each("select Gram, Lines from FindGram", [&](sqlite3_stmt* stmt) {
        const qint64 list = sqlite3_column_int64(stmt, 0);
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(stmt, 1));
        const int size = sqlite3_column_bytes(stmt, 1);
        qint64 entry = 0;
        quint64 delta = 0;
        int shift = 0;
        for (int i = 0; i < size; ++i) {
            delta |= quint64(bytes[i] & 0x7f) << shift;
            if (bytes[i] & 0x80) {
                shift += 7;
                continue;
            }
            const qint64 previous = entry;
            entry += qint64(delta);
            if (entry <= previous)
                rows.faults << QStringLiteral("list %1 is out of order or holds an entry twice").arg(list);
            delta = 0;
            shift = 0;
            const qint64 line = entry >> MarkBits;
            const qint64 key = line >> LineBits;
            const auto poem = poemOfKey.constFind(key);
            if (poem == poemOfKey.cend() && buried.contains(key))
                continue;
            if (poem == poemOfKey.cend()) {
                rows.faults << QStringLiteral("list %1 holds a line of poem key %2, which the index does not hold")
                                   .arg(list)
                                   .arg(key);
                continue;
            }
            rows.entries << QStringLiteral("list %1 %2 line %3 mark %4")
                                .arg(list)
                                .arg(*poem)
                                .arg(line & ((1 << LineBits) - 1))
                                .arg(entry & ((1 << MarkBits) - 1));
        }
        if (shift != 0)
            rows.faults << QStringLiteral("list %1 ends inside an entry").arg(list);
    });
    rows.poems.sort();
    rows.metres.sort();
    rows.entries.sort();
    return rows;
}

// The rows of `a` that `b` lacks (both sorted, repeats counted), at most a few.
QStringList onlyIn(const QStringList& a, const QStringList& b)
{
    QStringList missing;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(missing));
    return missing.mid(0, 12);
}

} // namespace

QStringList findIndexFaults(DbConnection& db)
{
    sqlite3* handle = db.sqliteHandle();
    if (!findindex::present(handle))
        return {QStringLiteral("the library has no find index")};
    const IndexRows kept = readIndex(handle);
    QStringList faults = kept.faults;

    QStringList live;
    {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(handle,
                           "select ?, PoemID from ChinaPoem union all select ?, PoemID from ForeignPoem", -1,
                           &stmt, nullptr);
        sqlite3_bind_int(stmt, 1, int(LibrarySide::China));
        sqlite3_bind_int(stmt, 2, int(LibrarySide::Foreign));
        while (sqlite3_step(stmt) == SQLITE_ROW)
            live << QStringLiteral("%1 %2").arg(sqlite3_column_int(stmt, 0))
                        .arg(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1))));
        sqlite3_finalize(stmt);
    }
    live.sort();
    QStringList indexed;
    for (const QString& poem : kept.poems)
        indexed << poem.section(QLatin1Char('\t'), 0, 0);
    for (const QString& poem : onlyIn(live, indexed))
        faults << QStringLiteral("a poem of the library the index lacks: %1").arg(poem);
    for (const QString& poem : onlyIn(indexed, live))
        faults << QStringLiteral("the index keeps a poem the library no longer holds: %1").arg(poem);

    IndexRows built;
    {
        DbConnection::Transaction rebuild(db);
        findindex::build(handle);
        built = readIndex(handle);
        // Not committed: the index stays as the changes left it.
    }
    faults << built.faults;
    for (const QString& row : onlyIn(kept.poems, built.poems))
        faults << QStringLiteral("kept, not built: %1").arg(row);
    for (const QString& row : onlyIn(built.poems, kept.poems))
        faults << QStringLiteral("built, not kept: %1").arg(row);
    for (const QString& row : onlyIn(kept.metres, built.metres))
        faults << QStringLiteral("kept, not built: %1").arg(row);
    for (const QString& row : onlyIn(built.metres, kept.metres))
        faults << QStringLiteral("built, not kept: %1").arg(row);
    for (const QString& row : onlyIn(kept.entries, built.entries))
        faults << QStringLiteral("kept, not built: %1").arg(row);
    for (const QString& row : onlyIn(built.entries, kept.entries))
        faults << QStringLiteral("built, not kept: %1").arg(row);
    return faults;
}

QString copyFixtureLibrary(const QString& folder, const QString& fileName)
{
    QDir().mkpath(folder);
    const QString target = QDir(folder).filePath(fileName);
    QFile::remove(target);
    if (!QFile::copy(builtFixture(), target))
        throw std::runtime_error("cannot copy the fixture library");
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return target;
}

void seed(const QString& libraryFile, const QString& statement, const QVariantList& values)
{
    withConnection(libraryFile, [&](QSqlDatabase& db) {
        runOn(db, statement, values);
        return 0;
    });
}

QVariant scalar(const QString& libraryFile, const QString& statement, const QVariantList& values)
{
    return withConnection(libraryFile, [&](QSqlDatabase& db) {
        QSqlQuery query = runOn(db, statement, values);
        return query.next() ? query.value(0) : QVariant();
    });
}

LibraryFixture::LibraryFixture()
{
    libraryFile = copyFixtureLibrary(folder.filePath(QStringLiteral("data")));
    db = DbConnection::Open(libraryFile);
    settings = std::make_unique<SettingsStore>(folder.filePath(QStringLiteral("settings.ini")));
}

LibraryFixture::~LibraryFixture() = default;

Services LibraryFixture::services()
{
    Services services;
    services.db = db.get();
    services.settings = settings.get();
    services.dataFolder = folder.path();
    services.documentsFolder = folder.filePath(QStringLiteral("Documents"));
    services.opener = &opener;
    services.choosers = &choosers;
    return services;
}

} // namespace qelvane::test
