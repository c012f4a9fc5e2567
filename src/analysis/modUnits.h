// The unit labels of the E/I definition dialog. The factors between the input units and the
// analysis units are in model/UnitFactors.h; the analysis converts where it reads the model, so
// the model keeps its input units throughout.
#pragma once

#include <string_view>

namespace kradon::modUnits {

/// The unit of the E/I definition dialog's value labels: "kN/mm2" for the kind exactly "e" (the
/// case counts), "cm4" for any other kind.
const char* UnitLabel(std::string_view kind);

} // namespace kradon::modUnits
