// The loading diagram of the calculation sheet: the idealised beam with every load drawn to
// scale and labelled with its record and value, its supports, springs and prescribed
// displacements, and the key positions along a scale below the beam.
#pragma once

#include "graphics/DrawingSurface.h"
#include "model/BeamModel.h"

namespace kradon::modGraphics {

/// Draws the whole diagram to fit the surface. Point load arrows are as long, and distributed
/// load areas as high, as their values are large against the largest of their kind; moment
/// loads turn the way they act. Labels that would cover one another are stacked or left out.
/// Failing steps are skipped; never throws.
void DrawLoadingDiagram(DrawingSurface& surface, const BeamModel& model);

} // namespace kradon::modGraphics
