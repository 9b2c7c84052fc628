#include "LibraryWriter.h"

#include "BuildError.h"
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
                                 &side->insertPoem, &side->renamePoem})
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
    constexpr int End = 6;
    const QString titleKey = groupName + Separator + authorName + Separator + title;
    if (m_sampleTitlesKept && side.sampleOpenings.contains(titleKey, letters.left(End)))
        return false;
    side.poems.insert(digest);
    const QString whose = groupName + Separator + authorName + Separator;
    const QStringList ends = {whose + QStringLiteral("<") + letters.left(End), whose + QStringLiteral(">") + letters.right(End)};
    if (letters.size() > End) {
        for (const QString& end : ends) {
            for (const qsizetype index : side.byEnds.value(end)) {
                Side::Kept& kept = side.kept[index];
                if (!doubles::nearlySame(kept.letters, letters))
                    continue;
                if (doubles::prefersOver(title, kept.title)) {
                    exec(side.renamePoem, {title, kept.id});
                    kept.title = title;
                }
                return false;
            }
        }
    }
    const QString authorId = author(side, groupName, authorName, {});
    const QString groupId = side.groupIds.value(groupName);
    const QString id = side.poemIdPrefix + QString::number(side.nextPoem++);
    exec(side.insertPoem, {id, title, content, note.isEmpty() ? QVariant() : QVariant(note), authorId, authorName,
                           groupId, groupName});
    ++side.poemsByGroup[groupName];
    if (!m_sampleTitlesKept)
        side.sampleOpenings.insert(titleKey, letters.left(End));
    side.kept.append({id, title, letters});
    for (const QString& end : ends)
        side.byEnds[end].append(side.kept.size() - 1);
    if (++m_poemCount % 10000 == 0 && progress)
        progress(m_poemCount);
    return true;
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
