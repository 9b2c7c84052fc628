#include "SettingsStore.h"

namespace qelvane {

namespace {
const QString Section = QStringLiteral("Settings/");
}

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Qelvane"), QStringLiteral("Qelvane")))
{
}

SettingsStore::SettingsStore(const QString& fileName)
    : m_settings(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
}

QString SettingsStore::GetSetting(const QString& key, const QString& defaultValue) const
{
    return m_settings->value(Section + key, defaultValue).toString();
}

void SettingsStore::SaveSetting(const QString& key, const QString& value)
{
    m_settings->setValue(Section + key, value);
}

bool SettingsStore::contains(const QString& key) const
{
    return m_settings->contains(Section + key);
}

bool SettingsStore::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}

} // namespace qelvane
