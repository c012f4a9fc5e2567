// The numbers on a result or property diagram: values along both axes with their units, the
// vertical supports on the axis, the largest and smallest value marked and labelled with value
// and position (exact, between the nodes, from the analysis), and both values at every jump.
// Labels that would cover one another are thinned, the extremes last of all.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/DrawingSurface.h"
#include "graphics/modGraphics.h"
#include "model/Sinks.h"

#include <string>

namespace kradon::modGraphics {

/// The quantity a diagram plots.
enum class Quantity { Moment, Shear, Deflection, Rotation, E, I };

/// The colour of the extreme marks and their labels: a dark orange that stands apart from the
/// red diagram, the navy grid and the blue and green supports.
inline constexpr Rgb MarkColour = 0x0060C0; // red 192, green 96, blue 0

/// The unit of the quantity as the diagrams and the sheet give it.
const char* QuantityUnit(Quantity q);

/// A value of the quantity in the units shown: kN, kNm, mm, rad, kN/mm2, cm4.
double ShownValue(Quantity q, double value);

/// A value of the quantity (analysis units: N, N·m, m, rad; E in kN/mm2, I in cm4 as the
/// tables hold them) as the diagrams and the sheet print it, with a fixed number of decimals.
std::string QuantityText(Quantity q, double value);

/// A number as entered or defined (a load, a stiffness, E or I): the general number form of its
/// 15 significant digits, so a computed 0.05000000000000001 reads 0.05.
std::string PlainNumber(double v);

/// A position along the beam as the diagrams and the sheet print it, in m, three decimals.
std::string PositionText(double x);

/// Draws the diagram of the quantity in full: the curve (as DrawPicture draws it for the
/// windows), then its axis values, supports, extremes and jumps. Failing steps are skipped.
void DrawLabelledDiagram(DrawingSurface& surface, const ProgramState& state, Quantity q,
                         MessageSink& messages);

} // namespace kradon::modGraphics
