// The per-user settings store: text values addressed by section and key, kept by QSettings.
// Which keys exist and how a boolean is written are decided in settings/SettingsKeys.h.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>

class QSettings;

namespace kradon {

class SettingsStore {
public:
    /// The store in file, or, for an empty path, in the platform's per-user place under the
    /// program file's base name ("kradon").
    explicit SettingsStore(const std::filesystem::path& file = {});
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    /// The value under section/key, or fallback when the key is absent.
    QString GetSetting(const QString& section, const QString& key,
                       const QString& fallback = {}) const;
    /// Stores value under section/key at once.
    void SaveSetting(const QString& section, const QString& key, const QString& value);

    bool GetBoolean(const QString& section, const QString& key, bool fallback) const;
    void SaveBoolean(const QString& section, const QString& key, bool value);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace kradon
