// The unit labels of the E/I definition dialog.
#include "analysis/modUnits.h"

namespace kradon::modUnits {

const char* UnitLabel(std::string_view kind) {
    return kind == "e" ? "kN/mm2" : "cm4";
}

} // namespace kradon::modUnits
