// Registration of the model file type.
#include "app/settings/FileTypeRegistration.h"

namespace kradon {

void RegisterFileTypeOnFirstRun() {
    // The desktop registration of model files is wired in here; until it is, the first run
    // registers nothing.
}

} // namespace kradon
