// The sections and keys of the per-user settings store, and the text in which it keeps a
// boolean. The store itself lives in the shell; what it holds under which name is decided here.
#pragma once

#include <string>
#include <string_view>

namespace kradon::SettingsKeys {

inline constexpr const char* Options = "Options";
inline constexpr const char* Config = "Config";
inline constexpr const char* RecentFiles = "Recent Files";

/// "Options": whether the properties explorer opens at start-up, as boolean text.
inline constexpr const char* Properties = "Properties";

/// "Options": the tip of the day. "Current Tip" is the number of the tip last shown in rotated
/// order, "Tip Order" boolean text (true: random order), "Show Tips at Startup" "0" or "1".
inline constexpr const char* CurrentTip = "Current Tip";
inline constexpr const char* TipOrder = "Tip Order";
inline constexpr const char* ShowTipsAtStartup = "Show Tips at Startup";

/// "Config": the user details of the first start.
inline constexpr const char* UserName = "name";
inline constexpr const char* UserOrganisation = "org";

/// "True" or "False".
std::string BooleanText(bool value);

/// The boolean a stored text holds: "True" and "False" in any letter case, or a number, true
/// when it is not 0 ("-1", "1"). Blanks around the text are allowed. Any other text, the empty
/// one included, gives fallback.
bool ParseBooleanText(std::string_view text, bool fallback);

} // namespace kradon::SettingsKeys
