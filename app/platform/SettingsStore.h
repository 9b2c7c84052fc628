#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace qelvane {

// The per-user settings of the program: application "Qelvane", section "Settings".
// Values are texts; a missing key reads as the caller's default.
class SettingsStore {
public:
    // The user's own store (on Linux ~/.config/Qelvane/Qelvane.conf).
    SettingsStore();
    // A store kept in the given file, for tests and tools.
    explicit SettingsStore(const QString& fileName);

    QString GetSetting(const QString& key, const QString& defaultValue) const;
    void SaveSetting(const QString& key, const QString& value);
    bool contains(const QString& key) const;
    // Writes what was saved to the file; false when it could not be written (a
    // read-only folder, a full disk), the values then living only in this run.
    bool sync();
    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace qelvane
