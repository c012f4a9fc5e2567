// What a picture shows at a place along the beam, in words, for the status bar and the tooltip
// of a diagram window: the records of the idealised beam there, the node or element of the mesh,
// or the exact value of a result diagram (both sides where it jumps), worked out from the closed
// form of the element, never read off the drawn points.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/modGraphics.h"

#include <string>

namespace kradon::modGraphics {

/// The text for position x (m from the left end) on a picture of that kind. tolerance (m) is
/// how near a record, node or jump must be to count as under the pointer. Empty when the
/// picture shows nothing there (off the beam, no results).
std::string HoverText(PictureKind kind, const ProgramState& state, double x, double tolerance);

} // namespace kradon::modGraphics
