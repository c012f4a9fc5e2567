// The in-memory settings store and the boolean values of any store.
#include "settings/UserSettings.h"

#include "settings/SettingsKeys.h"

#include <algorithm>

namespace kradon {

std::string MemorySettings::get(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    const auto found = values_.find({section, key});
    return found == values_.end() ? fallback : found->second;
}

void MemorySettings::save(const std::string& section, const std::string& key,
                          const std::string& value) {
    values_[{section, key}] = value;
}

void MemorySettings::remove(const std::string& section, const std::string& key) {
    values_.erase({section, key});
}

bool MemorySettings::contains(const std::string& section, const std::string& key) const {
    return values_.count({section, key}) != 0;
}

int MemorySettings::count(const std::string& section) const {
    return static_cast<int>(std::count_if(values_.begin(), values_.end(), [&](const auto& entry) {
        return entry.first.first == section;
    }));
}

bool GetBoolean(const UserSettings& settings, const std::string& section, const std::string& key,
                bool fallback) {
    return SettingsKeys::ParseBooleanText(settings.get(section, key, {}), fallback);
}

void SaveBoolean(UserSettings& settings, const std::string& section, const std::string& key,
                 bool value) {
    settings.save(section, key, SettingsKeys::BooleanText(value));
}

} // namespace kradon
