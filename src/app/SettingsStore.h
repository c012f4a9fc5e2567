// The per-user settings store: text values addressed by section and key, kept by QSettings in an
// INI file (~/.config/kradon/kradon.conf unless a file is given). Which keys exist and how a
// boolean is written are decided in settings/SettingsKeys.h; the core reads and writes through
// the UserSettings interface, the windows through the same functions with Qt texts.
#pragma once

#include "settings/UserSettings.h"

#include <QString>
#include <filesystem>
#include <memory>
#include <string>

class QSettings;

namespace kradon {

class SettingsStore : public UserSettings {
public:
    /// The store in file, or, for an empty path, in the platform's per-user place under the
    /// program file's base name ("kradon").
    explicit SettingsStore(const std::filesystem::path& file = {});
    ~SettingsStore() override;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    /// The value under section/key, or fallback when the key is absent.
    QString GetSetting(const QString& section, const QString& key,
                       const QString& fallback = {}) const;
    /// Stores value under section/key at once.
    void SaveSetting(const QString& section, const QString& key, const QString& value);

    bool GetBoolean(const QString& section, const QString& key, bool fallback) const;
    void SaveBoolean(const QString& section, const QString& key, bool value);
    /// Deletes section/key at once.
    void DeleteSetting(const QString& section, const QString& key);

    std::string get(const std::string& section, const std::string& key,
                    const std::string& fallback) const override;
    void save(const std::string& section, const std::string& key,
              const std::string& value) override;
    void remove(const std::string& section, const std::string& key) override;

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace kradon
