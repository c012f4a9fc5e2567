// The user details as the desktop program keeps them, read without the desktop: the "Config"
// section of its per-user settings file, an INI file whose text values may be quoted and
// escaped.
#pragma once

#include "settings/UserDetails.h"

#include <filesystem>
#include <string_view>

namespace kradon {

/// Where the desktop program keeps its per-user settings: $XDG_CONFIG_HOME/kradon/kradon.conf,
/// or ~/.config/kradon/kradon.conf when XDG_CONFIG_HOME is not set; empty when neither that
/// nor HOME is set.
std::filesystem::path DesktopSettingsFile();

/// The name ("Config"/"name") and organisation ("Config"/"org") stored in that file; a value
/// that is missing, like a file that is missing or unreadable, is empty.
UserDetails ReadUserDetails(const std::filesystem::path& settingsFile);

/// One value of the settings file as the desktop stored it: quotes and backslash escapes
/// undone, a leading "@@" as "@", blanks around an unquoted value dropped.
std::string IniValueText(std::string_view raw);

} // namespace kradon
