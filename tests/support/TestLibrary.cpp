#include "TestLibrary.h"

#include "LibraryWriter.h"
#include "Sources.h"
#include "platform/SettingsStore.h"
#include "store/DbConnection.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
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

} // namespace

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
