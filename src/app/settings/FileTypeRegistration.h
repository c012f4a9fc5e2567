// Registration of the model file type with the desktop, made once, on the program's first run.
#pragma once

namespace kradon {

/// Makes the desktop open .kdn files with this program. Called while the recent files list is
/// still empty, which it is only until the first model has been opened.
void RegisterFileTypeOnFirstRun();

} // namespace kradon
