// The sections and keys of the per-user settings store, and the text in which it keeps a
// boolean. The store itself lives in the shell; what it holds under which name is decided here.
#pragma once

#include <string>
#include <string_view>

namespace kradon::SettingsKeys {

inline constexpr const char* Options = "Options";
inline constexpr const char* Config = "Config";
inline constexpr const char* RecentFiles = "Recent Files";

// "Options": the options dialog's folders and switches, the tip of the day and the properties
// explorer.
/// Initial folder of the Save As dialog.
inline constexpr const char* SaveIn = "SaveIn";
/// Initial folder of the Open dialog.
inline constexpr const char* OpenIn = "OpenIn";
/// The number of the tip last shown.
inline constexpr const char* CurrentTip = "Current Tip";
/// "0" or "1"; written, never read back.
inline constexpr const char* ShowTipsAtStartup = "Show Tips at Startup";
/// Boolean text; true (also when absent) shows the tips in random order.
inline constexpr const char* TipOrder = "Tip Order";
/// Whether the properties explorer opens at start-up, as boolean text.
inline constexpr const char* Properties = "Properties";
/// Whether the analysis integrates varying E and I exactly along each element, as boolean text;
/// absent means no.
inline constexpr const char* ExactSections = "Exact Sections";
/// Whether every change of the model is analysed at once, as boolean text; false when absent.
inline constexpr const char* AnalyseAfterEveryChange = "Analyse After Every Change";

// "Config": the user details of the first start and the recent files list's length and size.
inline constexpr const char* UserName = "name";
inline constexpr const char* UserOrganisation = "org";
/// The number of entries now in the recent files list.
inline constexpr const char* NoRUF = "noRUF";
/// The longest the recent files list may grow, 1 to 20.
inline constexpr const char* MaxFiles = "MAX_FILES";

// "Recent Files": "1", "2", ... hold full paths, "1" the most recent.
/// The key of entry i of the recent files list, counted from 1.
std::string RecentFileKey(int i);

/// "True" or "False".
std::string BooleanText(bool value);

/// The boolean a stored text holds: "True" and "False" in any letter case, or a number, true
/// when it is not 0 ("-1", "1"). Blanks around the text are allowed. Any other text, the empty
/// one included, gives fallback.
bool ParseBooleanText(std::string_view text, bool fallback);

} // namespace kradon::SettingsKeys
