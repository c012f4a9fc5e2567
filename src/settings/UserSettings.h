// The per-user settings store as the core sees it: text values addressed by section and key. The
// desktop program keeps them in a QSettings file; tests keep them in memory.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace kradon {

struct UserSettings {
    virtual ~UserSettings() = default;
    /// The text stored under section/key, or fallback when the key is absent.
    virtual std::string get(const std::string& section, const std::string& key,
                            const std::string& fallback) const = 0;
    /// Stores value under section/key at once; an empty value is stored too.
    virtual void save(const std::string& section, const std::string& key,
                      const std::string& value) = 0;
    /// Deletes section/key; a key that is absent stays absent.
    virtual void remove(const std::string& section, const std::string& key) = 0;
};

/// A store that keeps its values in memory for as long as it lives.
class MemorySettings : public UserSettings {
public:
    std::string get(const std::string& section, const std::string& key,
                    const std::string& fallback) const override;
    void save(const std::string& section, const std::string& key,
              const std::string& value) override;
    void remove(const std::string& section, const std::string& key) override;
    bool contains(const std::string& section, const std::string& key) const;
    /// The number of keys stored in section.
    int count(const std::string& section) const;

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

/// The boolean stored under section/key (see SettingsKeys::ParseBooleanText), or fallback.
bool GetBoolean(const UserSettings& settings, const std::string& section, const std::string& key,
                bool fallback);
/// Stores value as "True" or "False".
void SaveBoolean(UserSettings& settings, const std::string& section, const std::string& key,
                 bool value);

} // namespace kradon
