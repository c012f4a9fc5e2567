// Registration of the model file type with the user's desktop, done on the first run while the
// recently used files list is still empty.
#pragma once

#include <QString>

namespace kradon {

inline constexpr const char* ProgramIconName = "kradon.svg";

/// Registers ".kdn" model files for the running program under the user's data folder
/// ($XDG_DATA_HOME, else ~/.local/share): the type "application/x-kradon-file" with the
/// description "Kradon by Tarel Vestrun", and beside it JSON models ("*.kradon.json",
/// "application/x-kradon-model+json"), a desktop entry that opens both with this program,
/// and its icon; then refreshes the desktop's caches with the tools found on the PATH. Nothing
/// is registered when the system's data folders already register the type (SystemRegistersType:
/// the program was installed from its package). Nothing is reported: a registration that cannot
/// be written leaves the desktop as it was.
void RegisterModelFileType();

/// The icon file the registration installs: ProgramDataFile's choice of "kradon.svg", or the
/// installed hicolor icon beside share/kradon; empty when there is neither.
QString ProgramIconFile();

} // namespace kradon
