#pragma once

#include "platform/MusicPlayer.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace qelvane {
class DbConnection;
class SettingsStore;
class frmMain;
} // namespace qelvane

namespace qelvane::test {

// A fresh copy of the fixture library (tests/fixtures/library), made by the library
// builder once per test program, in `folder`; returns its path.
QString copyFixtureLibrary(const QString& folder, const QString& fileName = QStringLiteral("poem.mdb"));

// Runs a statement on a library file through a connection of its own, to set up a
// case or to read back what the program wrote.
void seed(const QString& libraryFile, const QString& statement, const QVariantList& values = {});
QVariant scalar(const QString& libraryFile, const QString& statement, const QVariantList& values = {});

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

// A loaded main window on a fresh fixture library with its own settings file and a
// recording music backend.
struct MainWindowHarness {
    explicit MainWindowHarness(bool load = true);
    ~MainWindowHarness();

    QTemporaryDir folder;
    QString libraryFile;
    std::unique_ptr<DbConnection> db;
    std::unique_ptr<SettingsStore> settings;
    QStringList musicLog;
    std::unique_ptr<frmMain> form;
};

// The node reached by a path of node texts from the roots, such as {"中国诗词", "唐", "李白"}.
QTreeWidgetItem* nodeAt(QTreeWidget* tree, const QStringList& path);
// The texts of an item's children, or of the roots for nullptr.
QStringList childTexts(QTreeWidget* tree, QTreeWidgetItem* parent);
// The texts of the entries of a one-column list.
QStringList entryTexts(QTreeWidget* list);

} // namespace qelvane::test
