#pragma once

#include "TestServices.h"
#include "platform/MusicPlayer.h"
#include "platform/Services.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

namespace qelvane {
class DbConnection;
class SettingsStore;
} // namespace qelvane

namespace qelvane::test {

// A fresh copy of the fixture library (tests/fixtures/library), made by the library
// builder once per test program, in `folder`; returns its path.
QString copyFixtureLibrary(const QString& folder, const QString& fileName = QStringLiteral("poem.mdb"));

// Runs a statement on a library file through a connection of its own, to set up a
// case or to read back what the program wrote.
void seed(const QString& libraryFile, const QString& statement, const QVariantList& values = {});
QVariant scalar(const QString& libraryFile, const QString& statement, const QVariantList& values = {});

// What is wrong with the library's find index, read on the program's connection: a poem
// of the library it lacks, a row it keeps for a poem the library no longer holds, a list
// out of order, and every entry that differs from what a fresh build of the index on the
// same library holds (lines compared by poem and which line, not by the keys the
// two gave them; the build is rolled back). Empty when the index is sound.
QStringList findIndexFaults(DbConnection& db);

// A music backend that plays nothing and writes down what it was asked to do.
class RecordingMusicBackend : public MusicBackend {
public:
    explicit RecordingMusicBackend(QStringList* log) : m_log(log) {}
    bool open(const QString& fileName) override
    {
        m_log->append(QStringLiteral("open ") + fileName);
        return !fileName.isEmpty();
    }
    void play() override { m_log->append(QStringLiteral("play")); }
    void stop() override { m_log->append(QStringLiteral("stop")); }
    void rewind() override { m_log->append(QStringLiteral("rewind")); }
    void close() override { m_log->append(QStringLiteral("close")); }
    void finish()
    {
        if (playedToEnd)
            playedToEnd();
    }

private:
    QStringList* m_log;
};

// A fresh copy of the fixture library in a temporary folder, opened, with a settings
// file of its own, an opener that records and choosers that answer from a queue: what
// a dialog or a store function needs, without a main window.
struct LibraryFixture {
    LibraryFixture();
    ~LibraryFixture();

    // The services value the program would hand to its windows, on this fixture.
    Services services();

    QTemporaryDir folder;
    QString libraryFile;
    std::unique_ptr<DbConnection> db;
    std::unique_ptr<SettingsStore> settings;
    RecordingOpener opener;
    QueuedChoosers choosers;
};

} // namespace qelvane::test
