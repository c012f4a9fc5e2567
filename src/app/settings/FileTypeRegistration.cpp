// Registration of the model file type.
#include "app/settings/FileTypeRegistration.h"

namespace kradon {

void RegisterFileTypeOnFirstRun() {
    // The desktop's file association is written by the program's installer for now; the first
    // run has nothing to add yet.
}

} // namespace kradon
