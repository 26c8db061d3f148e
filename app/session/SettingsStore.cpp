#include "SettingsStore.h"

#include <QSettings>

// On Linux the native format is an INI file, $XDG_CONFIG_HOME/RQ4417/RQ4417.conf.
SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QLatin1String(Application), QLatin1String(Application)))
{
}

SettingsStore::SettingsStore(const QString &iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

static QString settingsPath(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

QString SettingsStore::GetSetting(const QString &section, const QString &key, const QString &defaultText) const
{
    const QVariant value = settings_->value(settingsPath(section, key));
    if (!value.isValid())
        return defaultText;
    // A hand-edited value with a comma comes back as a list; keep it as the text it was.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

void SettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    settings_->setValue(settingsPath(section, key), value);
}

bool SettingsStore::contains(const QString &section, const QString &key) const
{
    return settings_->contains(settingsPath(section, key));
}

void SettingsStore::sync()
{
    settings_->sync();
}

QString SettingsStore::fileName() const
{
    return settings_->fileName();
}

QString ReadSetting(const SettingsStore &store, const Setting::Key &key)
{
    return store.GetSetting(QLatin1String(key.section), QLatin1String(key.key), QLatin1String(key.defaultText));
}

void WriteSetting(SettingsStore &store, const Setting::Key &key, const QString &value)
{
    store.SaveSetting(QLatin1String(key.section), QLatin1String(key.key), value);
}
