#include "LibraryWriter.h"

#include "BuildError.h"
#include "BuildReport.h"
#include "Doubles.h"
#include "store/FindIndex.h"
#include "store/FindIndexUpkeep.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

namespace qelvane::mklib {

namespace {

QString sqlType(schema::ColumnType type)
{
    switch (type) {
    case schema::ColumnType::Text:
        return QStringLiteral("text");
    case schema::ColumnType::LongText:
        return QStringLiteral("text");
    case schema::ColumnType::Boolean:
        return QStringLiteral("boolean not null default false");
    case schema::ColumnType::Integer:
        return QStringLiteral("integer");
    }
    return QStringLiteral("text");
}

const QChar Separator(0x1f);

// How many letters of a text's opening and end find it again among an author's poems.
constexpr int End = 6;

// The keys under which an author's poem is found by its two ends; none for a text too
// short to tell apart by them.
QStringList endKeys(const QString& authorId, const QString& letters)
{
    if (letters.size() <= End)
        return {};
    return {authorId + QStringLiteral("<") + letters.left(End), authorId + QStringLiteral(">") + letters.right(End)};
}

} // namespace

LibraryWriter::LibraryWriter(const QString& target, bool overwrite) : m_target(target)
{
    const QFileInfo info(target);
    if (info.exists() && !overwrite)
        throw BuildError(QStringLiteral("%1：文件已存在（要覆盖它，请加 --force）").arg(target));
    if (info.exists() && !info.isFile())
        throw BuildError(QStringLiteral("%1：这不是一个文件").arg(target));
    m_partFile = target + QStringLiteral(".part-%1").arg(QCoreApplication::applicationPid());
    QFile::remove(m_partFile);

    m_connectionName = QStringLiteral("mklib-%1").arg(reinterpret_cast<quintptr>(this));
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(m_partFile);
    if (!m_db.open())
        throw BuildError(QStringLiteral("%1：无法创建（%2）").arg(m_partFile, m_db.lastError().text()));
    // The part file is thrown away if building fails, so it needs no journal.
    QSqlQuery(m_db).exec(QStringLiteral("pragma journal_mode=off"));
    QSqlQuery(m_db).exec(QStringLiteral("pragma synchronous=off"));
    // The pages a deletion frees are kept apart, so the program can give them back to
    // the file system in steps when it is idle.
    QSqlQuery(m_db).exec(QStringLiteral("pragma auto_vacuum=incremental"));
    if (!m_db.transaction())
        throw BuildError(QStringLiteral("%1：无法开始写入（%2）").arg(m_partFile, m_db.lastError().text()));
    createTables();

    m_china.groupTable = "ChinaEpoch";
    m_china.detailTable = "ChinaAuthorDetail";
    m_china.groupIdPrefix = QStringLiteral("E");
    m_china.authorIdPrefix = QStringLiteral("A");
    m_china.poemIdPrefix = QStringLiteral("P");
    m_foreign.groupTable = "ForeignCountry";
    m_foreign.detailTable = "ForeignAuthorDetail";
    m_foreign.groupIdPrefix = QStringLiteral("C");
    m_foreign.authorIdPrefix = QStringLiteral("WA");
    m_foreign.poemIdPrefix = QStringLiteral("WP");
    m_china.insertGroup = prepare(QStringLiteral("insert into ChinaEpoch(EpochID,Epoch) values(?,?)"));
    m_china.insertAuthor =
        prepare(QStringLiteral("insert into ChinaAuthor(EpochID,Epoch,AuthorID,AuthorName) values(?,?,?,?)"));
    m_china.insertPoem = prepare(QStringLiteral(
        "insert into ChinaPoem(PoemID,Name,Content,Note,AuthorID,Author,EpochID,Epoch,tf) values(?,?,?,?,?,?,?,?,false)"));
    m_foreign.insertGroup = prepare(QStringLiteral("insert into ForeignCountry(CountryID,Country) values(?,?)"));
    m_foreign.insertAuthor = prepare(
        QStringLiteral("insert into ForeignAuthor(CountryID,Country,AuthorID,AuthorName) values(?,?,?,?)"));
    m_foreign.insertPoem = prepare(QStringLiteral(
        "insert into ForeignPoem(PoemID,Name,Content,Note,AuthorID,Author,CountryID,Country,tf) values(?,?,?,?,?,?,?,?,false)"));
    m_china.renamePoem = prepare(QStringLiteral("update ChinaPoem set Name=? where PoemID=?"));
    m_foreign.renamePoem = prepare(QStringLiteral("update ForeignPoem set Name=? where PoemID=?"));
    m_china.rewritePoem = prepare(QStringLiteral("update ChinaPoem set Name=?,Content=?,Note=? where PoemID=?"));
    m_foreign.rewritePoem = prepare(QStringLiteral("update ForeignPoem set Name=?,Content=?,Note=? where PoemID=?"));
    m_china.readPoem = prepare(QStringLiteral("select Content,Note from ChinaPoem where PoemID=?"));
    m_foreign.readPoem = prepare(QStringLiteral("select Content,Note from ForeignPoem where PoemID=?"));
    for (Side* side : {&m_china, &m_foreign}) {
        side->insertDetail = prepare(
            QStringLiteral("insert into %1(AuthorID,AuthorDetail) values(?,?)").arg(QLatin1String(side->detailTable)));
        side->updateDetail = prepare(
            QStringLiteral("update %1 set AuthorDetail=? where AuthorID=?").arg(QLatin1String(side->detailTable)));
    }
    m_insertForeignEpoch = prepare(QStringLiteral("insert into ForeignEpoch(Country) values(?)"));
    m_insertFormat = prepare(QStringLiteral("insert into ChinaPoemFormat(FormatName,Content) values(?,?)"));
}

LibraryWriter::~LibraryWriter()
{
    releaseQueries();
    if (m_db.isOpen() && !m_committed)
        m_db.rollback();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    if (!m_committed)
        QFile::remove(m_partFile);
}

// Prepared statements must be gone before the connection is closed.
void LibraryWriter::releaseQueries()
{
    for (Side* side : {&m_china, &m_foreign}) {
        for (QSqlQuery* query : {&side->insertGroup, &side->insertAuthor, &side->insertDetail, &side->updateDetail,
                                 &side->insertPoem, &side->renamePoem, &side->rewritePoem, &side->readPoem})
            *query = QSqlQuery();
    }
    m_insertForeignEpoch = QSqlQuery();
    m_insertFormat = QSqlQuery();
}

void LibraryWriter::createTables()
{
    for (const schema::Table& table : schema::tables()) {
        QStringList columns;
        for (const schema::Column& column : table.columns)
            columns << QStringLiteral("%1 %2").arg(QLatin1String(column.name), sqlType(column.type));
        QSqlQuery query = prepare(QStringLiteral("create table %1 (%2)").arg(QLatin1String(table.name),
                                                                            columns.join(QStringLiteral(", "))));
        exec(query, {});
    }
}

QSqlQuery LibraryWriter::prepare(const QString& statement)
{
    QSqlQuery query(m_db);
    if (!query.prepare(statement))
        throw BuildError(QStringLiteral("%1：写入失败（%2）").arg(m_target, query.lastError().text()));
    return query;
}

void LibraryWriter::exec(QSqlQuery& query, const QVariantList& values)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values[i]);
    if (!query.exec())
        throw BuildError(QStringLiteral("%1：写入失败（%2）").arg(m_target, query.lastError().text()));
}

QString LibraryWriter::group(Side& side, const QString& name)
{
    if (const auto found = side.groupIds.constFind(name); found != side.groupIds.cend())
        return *found;
    const QString id = side.groupIdPrefix + QString::number(side.groupIds.size() + 1);
    exec(side.insertGroup, {id, name});
    side.groupIds.insert(name, id);
    side.groupOrder << name;
    return id;
}

QString LibraryWriter::epoch(const QString& name)
{
    return group(m_china, name);
}

void LibraryWriter::reserveEpochs(const QStringList& names)
{
    for (const QString& name : names) {
        if (!m_china.groupIds.contains(name))
            m_china.reservedGroups.insert(name);
        group(m_china, name);
    }
}

QString LibraryWriter::country(const QString& name)
{
    return group(m_foreign, name);
}

void LibraryWriter::addForeignEpoch(const QString& countryName)
{
    exec(m_insertForeignEpoch, {countryName});
}

void LibraryWriter::addFormat(const QString& name, const QString& content)
{
    exec(m_insertFormat, {name, content});
}

QString LibraryWriter::author(Side& side, const QString& groupName, const QString& name, const QString& biography)
{
    const QString groupId = group(side, groupName);
    const QString key = groupName + Separator + name;
    const QVariant detail = biography.trimmed().isEmpty() ? QVariant() : QVariant(biography);
    if (const auto found = side.authorIds.constFind(key); found != side.authorIds.cend()) {
        if (!detail.isNull() && !side.authorsWithBiography.contains(*found)) {
            exec(side.updateDetail, {detail, *found});
            side.authorsWithBiography.insert(*found);
        }
        return *found;
    }
    const QString id = side.authorIdPrefix + QString::number(side.nextAuthor++);
    exec(side.insertAuthor, {groupId, groupName, id, name});
    // Every author gets a biography row, so that changing a biography later always
    // has a row to write to.
    exec(side.insertDetail, {id, detail});
    if (!detail.isNull())
        side.authorsWithBiography.insert(id);
    side.authorIds.insert(key, id);
    ++m_authorCount;
    return id;
}

QString LibraryWriter::chinaAuthor(const QString& epochName, const QString& name, const QString& biography)
{
    return author(m_china, epochName, name, biography);
}

QString LibraryWriter::foreignAuthor(const QString& countryName, const QString& name, const QString& biography)
{
    return author(m_foreign, countryName, name, biography);
}

bool LibraryWriter::addPoem(Side& side, const QString& groupName, const QString& authorName, const QString& title,
                            const QString& content, const QString& note)
{
    const QByteArray digest = QCryptographicHash::hash(
        (groupName + Separator + authorName + Separator + title + Separator + content).toUtf8(),
        QCryptographicHash::Md5);
    if (side.poems.contains(digest))
        return false;
    const QString letters = doubles::letters(content);
    const QString titleKey = groupName + Separator + authorName + Separator + title;
    if (m_sampleTitlesKept && side.sampleOpenings.contains(titleKey, letters.left(End)))
        return false;
    side.poems.insert(digest);
    const QString authorKey = groupName + Separator + authorName;
    if (const Kept* found = nearlySameKept(side, side.authorIds.value(authorKey), letters)) {
        mergeDouble(side, side.kept[found - side.kept.constData()], title, content, note);
        return false;
    }
    const QString authorId = author(side, groupName, authorName, {});
    const QString groupId = side.groupIds.value(groupName);
    const QString id = side.poemIdPrefix + QString::number(side.nextPoem++);
    exec(side.insertPoem, {id, title, content, note.isEmpty() ? QVariant() : QVariant(note), authorId, authorName,
                           groupId, groupName});
    ++side.poemsByGroup[groupName];
    ++side.poemsByAuthor[authorId];
    if (!m_sampleTitlesKept)
        side.sampleOpenings.insert(titleKey, letters.left(End));
    side.kept.append({id, authorId, title, letters, false});
    for (const QString& end : endKeys(authorId, letters))
        side.byEnds[end].append(side.kept.size() - 1);
    if (++m_poemCount % 10000 == 0 && progress)
        progress(m_poemCount);
    return true;
}

// A poem of the author's kept already whose text is this one's, a few letters apart at
// most; one of its two ends is the same as this one's.
const LibraryWriter::Kept* LibraryWriter::nearlySameKept(const Side& side, const QString& authorId,
                                                          const QString& letters) const
{
    if (authorId.isEmpty())
        return nullptr;
    for (const QString& end : endKeys(authorId, letters))
        for (const qsizetype index : side.byEnds.value(end))
            if (doubles::nearlySame(side.kept[index].letters, letters))
                return &side.kept[index];
    return nullptr;
}

void LibraryWriter::mergeDouble(Side& side, Kept& kept, const QString& title, const QString& content,
                                const QString& note)
{
    // The project's sample stands as written.
    if (kept.sample)
        return;
    // Kept poems are read back from the library when a double comes, which is seldom.
    exec(side.readPoem, {kept.id});
    if (!side.readPoem.next())
        throw BuildError(QStringLiteral("%1：找不到已写入的 %2").arg(m_target, kept.id));
    const QString keptContent = side.readPoem.value(0).toString(), keptNote = side.readPoem.value(1).toString();
    side.readPoem.finish();
    const bool takesTheOther = !note.isEmpty() && keptNote.isEmpty();
    const QString& main = takesTheOther ? content : keptContent;
    const QString& variant = takesTheOther ? keptContent : content;
    QString mainTitle = takesTheOther ? title : kept.title;
    const QString& otherTitle = takesTheOther ? kept.title : title;
    if (doubles::prefersOver(otherTitle, mainTitle))
        mainTitle = otherTitle;
    QStringList notes;
    if (const QString& mainNote = takesTheOther ? note : keptNote; !mainNote.isEmpty())
        notes = mainNote.split(QLatin1Char('\n'));
    // The other copy's own notes are kept too, where they say something else.
    if (const QString& otherNote = takesTheOther ? keptNote : note; !otherNote.isEmpty())
        for (const QString& line : otherNote.split(QLatin1Char('\n')))
            if (!notes.contains(line))
                notes << line;
    const QStringList readings = doubles::collation(main, variant);
    for (const QString& reading : readings)
        if (!notes.contains(reading))
            notes << reading;
    const QString mergedNote = notes.join(QLatin1Char('\n'));
    if (report) {
        report->count(QStringLiteral("同一首诗见于两处，只收一次"), QStringLiteral("《%1》与《%2》").arg(kept.title, title));
        if (takesTheOther)
            report->count(QStringLiteral("合并时改收有注释的一份"), QStringLiteral("《%1》→《%2》").arg(kept.title, title));
        if (!readings.isEmpty())
            report->count(QStringLiteral("合并时另一份的异文记入注释（一作）"), QStringLiteral("《%1》：%2").arg(mainTitle, readings.value(0)));
    }
    if (mainTitle == kept.title && main == keptContent && mergedNote == keptNote)
        return;
    if (main != keptContent || mergedNote != keptNote) {
        exec(side.rewritePoem, {mainTitle, main, mergedNote.isEmpty() ? QVariant() : QVariant(mergedNote), kept.id});
    } else {
        exec(side.renamePoem, {mainTitle, kept.id});
    }
    if (takesTheOther) {
        // The text now kept is found again by its own ends too.
        const QString letters = doubles::letters(main);
        const qsizetype index = &kept - side.kept.constData();
        for (const QString& end : endKeys(kept.authorKey, letters))
            if (!side.byEnds.value(end).contains(index))
                side.byEnds[end].append(index);
        kept.letters = letters;
    }
    kept.title = mainTitle;
}

void LibraryWriter::countShelvedElsewhere(const QString& name, const QString& fromEpoch, const QString& shelfName,
                                          const QString& shelfEpoch, int poems)
{
    if (name == shelfName && fromEpoch == shelfEpoch)
        return;
    const QString key = name == shelfName   ? QStringLiteral("%1：%2 → %3").arg(name, fromEpoch, shelfEpoch)
                        : fromEpoch == shelfEpoch ? QStringLiteral("%1 → %2（%3）").arg(name, shelfName, shelfEpoch)
                                                  : QStringLiteral("%1 → %2：%3 → %4").arg(name, shelfName, fromEpoch, shelfEpoch);
    poemsShelvedElsewhere[key] += poems;
}

void LibraryWriter::pinAuthor(const QString& epochName, const QString& name)
{
    m_china.pinnedAuthors.insert(chinaAuthor(epochName, name, {}));
}

bool LibraryWriter::isPinned(const QString& epochName, const QString& name) const
{
    return m_china.pinnedAuthors.contains(m_china.authorIds.value(epochName + Separator + name));
}

void LibraryWriter::keepSampleTitles()
{
    m_sampleTitlesKept = true;
    for (const QString& id : std::as_const(m_china.authorIds))
        m_china.pinnedAuthors.insert(id);
    for (Side* side : {&m_china, &m_foreign})
        for (Kept& kept : side->kept)
            kept.sample = true;
}

bool LibraryWriter::holdsAuthor(const QString& epochName, const QString& name) const
{
    return m_china.authorIds.contains(epochName + Separator + name);
}

QStringList LibraryWriter::epochsOfAuthor(const QString& name) const
{
    QStringList epochs;
    for (const QString& epoch : m_china.groupOrder)
        if (holdsAuthor(epoch, name))
            epochs << epoch;
    return epochs;
}

int LibraryWriter::poemCountOf(const QString& epochName, const QString& name) const
{
    return m_china.poemsByAuthor.value(m_china.authorIds.value(epochName + Separator + name));
}

bool LibraryWriter::holdsPoem(const QString& epochName, const QString& name, const QString& content) const
{
    return nearlySameKept(m_china, m_china.authorIds.value(epochName + Separator + name), doubles::letters(content));
}

void LibraryWriter::moveAuthor(const QString& name, const QString& fromEpoch, const QString& toEpoch)
{
    const QString from = fromEpoch + Separator + name, to = toEpoch + Separator + name;
    if (!m_china.authorIds.contains(from) || m_china.authorIds.contains(to) || isPinned(fromEpoch, name))
        throw BuildError(QStringLiteral("%1：无法把%2从%3移到%4").arg(m_target, name, fromEpoch, toEpoch));
    const QString id = m_china.authorIds.take(from);
    const QString groupId = group(m_china, toEpoch);
    QSqlQuery moveAuthorRow = prepare(QStringLiteral("update ChinaAuthor set EpochID=?,Epoch=? where AuthorID=?"));
    exec(moveAuthorRow, {groupId, toEpoch, id});
    QSqlQuery movePoems = prepare(QStringLiteral("update ChinaPoem set EpochID=?,Epoch=? where AuthorID=?"));
    exec(movePoems, {groupId, toEpoch, id});
    m_china.authorIds.insert(to, id);
    const int poems = m_china.poemsByAuthor.value(id);
    m_china.poemsByGroup[fromEpoch] -= poems;
    m_china.poemsByGroup[toEpoch] += poems;
}

QList<QPair<QString, int>> LibraryWriter::chinaPoemsByEpoch() const
{
    QList<QPair<QString, int>> counts;
    for (const QString& epoch : m_china.groupOrder)
        counts.append({epoch, m_china.poemsByGroup.value(epoch)});
    return counts;
}

bool LibraryWriter::addChinaPoem(const QString& epochName, const QString& author, const QString& title,
                                 const QString& content, const QString& note)
{
    return addPoem(m_china, epochName, author, title, content, note);
}

bool LibraryWriter::addForeignPoem(const QString& countryName, const QString& author, const QString& title,
                                   const QString& content, const QString& note)
{
    return addPoem(m_foreign, countryName, author, title, content, note);
}

void LibraryWriter::commit()
{
    for (const QString& epoch : std::as_const(m_china.reservedGroups)) {
        QSqlQuery authors = prepare(QStringLiteral("select count(*) from ChinaAuthor where Epoch=?"));
        exec(authors, {epoch});
        if (authors.next() && authors.value(0).toInt() == 0) {
            QSqlQuery drop = prepare(QStringLiteral("delete from ChinaEpoch where Epoch=?"));
            exec(drop, {epoch});
            m_china.groupOrder.removeAll(epoch);
        }
    }
    QSqlQuery counter = prepare(QStringLiteral("insert into NewCount(Name,Count) values(?,0)"));
    exec(counter, {QStringLiteral("Author")});
    exec(counter, {QStringLiteral("Poem")});
    for (const schema::Index& index : schema::indexes()) {
        QSqlQuery create = prepare(QStringLiteral("create index idx_%1_%2 on %1(%2)")
                                       .arg(QLatin1String(index.table), QLatin1String(index.column)));
        exec(create, {});
    }
    releaseQueries();
    // The find box's index, made from the poems just written, in the same transaction.
    try {
        findindex::build(*static_cast<sqlite3* const*>(m_db.driver()->handle().constData()));
    } catch (const StoreError& error) {
        throw BuildError(QStringLiteral("%1：无法建立查找索引（%2）").arg(m_target, error.description()));
    }
    if (!m_db.commit())
        throw BuildError(QStringLiteral("%1：写入失败（%2）").arg(m_target, m_db.lastError().text()));
    m_db.close();
    if (std::rename(QFile::encodeName(m_partFile).constData(), QFile::encodeName(m_target).constData()) != 0)
        throw BuildError(QStringLiteral("%1：无法放到位（%2）").arg(m_target, QString::fromLocal8Bit(std::strerror(errno))));
    m_committed = true;
}

} // namespace qelvane::mklib
