// The user guide that Help > Contents opens: an HTML file beside the program, or in the shared
// data folder of an installed program.
#pragma once

#include <QString>

namespace kradon {

inline constexpr const char* HelpFileName = "Kradon.html";

/// The guide's full path, found as ProgramDataFile finds it.
QString HelpFilePath();

/// A file the program reads beside itself ("Kradon.html", "TOTD.INI"): the one in
/// programFolder when it is there, else the one in programFolder/../share/kradon (the installed
/// layout, bin/ beside share/), else the path in programFolder, so a message can name it.
QString ProgramDataFile(const QString& programFolder, const QString& name);

/// ProgramDataFile for the running program's folder.
QString ProgramDataFile(const QString& name);

} // namespace kradon
