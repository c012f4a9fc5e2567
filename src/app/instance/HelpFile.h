// The user guide that Help > Contents opens: an HTML file beside the program.
#pragma once

#include <QString>

namespace kradon {

inline constexpr const char* HelpFileName = "Kradon.html";

/// The guide's full path: "Kradon.html" in the program's folder.
QString HelpFilePath();

} // namespace kradon
