// The deflected shape of one beam element, interpolated from its end displacements with the
// cubic (Hermite) shape functions of the beam element, and the graph frmElementDisp shows of it.
//
// Usage by the window: fill ElementEndValues from Displacements (2a - 1, 2a, 2b - 1, 2b for the
// element's nodes a and b) and ElementLength, call drawGraph on the surface of its picture box
// whenever it is shown or resized, and put the returned maxDispLbl into its label. The text boxes
// show each end value through FormatScientific.
#pragma once

#include "graphics/DrawingSurface.h"

#include <string>

namespace kradon {

inline constexpr const char* MaxDispPrefix = "Maximum Element Displacement: ";

/// The end values of one element as the analysis leaves them; node i is the element's first node
/// (ElementNode1) and node j its second (ElementNode2).
struct ElementEndValues {
    double Def_i = 0;     // vertical displacement of node i, m, downwards positive
    double Rot_i = 0;     // rotation of node i, rad, clockwise positive
    double Def_j = 0;     // vertical displacement of node j, m
    double Rot_j = 0;     // rotation of node j, rad
    double eleLength = 0; // element length L, m
};

/// The deflection v(x) in m at x m from node i: the cubic with v(0) = Def_i, v(L) = Def_j,
/// v'(0) = Rot_i, v'(L) = Rot_j. A zero length gives a non-finite value.
double FunctionEval1(const ElementEndValues& values, double x);

/// What drawGraph found.
struct ElementGraph {
    /// "Maximum Element Displacement: <E>m at <x>m" with both numbers through FormatScientific;
    /// empty when no sample could be drawn (a surface one pixel wide, a zero length).
    std::string maxDispLbl;
    double extreme = 0;  // the sampled deflection of largest magnitude (a tie takes the lower), m
    double extremeX = 0; // the last sample position where it occurs, m from node i
    double lowest = 0;   // the vertical range of the user scale: top edge at 1.1 * lowest,
    double highest = 0;  // bottom edge at 1.1 * highest (downwards deflections drawn lower)
};

/// Clears the surface and plots v(x) in blue with one straight segment per pixel column over a
/// horizontal range of -0.1 L..1.1 L, a red line from the axis to every sample that equals the
/// extreme, and the element axis (0, 0)-(L, 0) in black with DrawWidth 2. The vertical range
/// always includes the axis: a curve entirely below it gets 10 % of its depth above, and the
/// reverse. An element whose sampled deflections are all 0 is drawn over -1e-3..1e-3 m, so its
/// flat line lies on the axis in the middle of the picture. Failures of the surface are passed
/// over: a failing step is skipped and the rest still runs.
ElementGraph drawGraph(DrawingSurface& surface, const ElementEndValues& values);

/// A number in the pattern "##.##e+##", written the same way everywhere: one digit before the
/// point, at most two after it with trailing zeros (and a bare point) dropped, then "e", the
/// exponent's sign and at least two exponent digits: 0.0123 gives "1.23e-02", -0.001 gives
/// "-1e-03", 250 gives "2.5e+02", 0 gives "0e+00". The mantissa is rounded to nearest on the
/// double's exact value (9.996 gives "1e+01"). NaN and infinities give "NaN", "Infinity" and
/// "-Infinity". Independent of the locale.
std::string FormatScientific(double v);

} // namespace kradon
