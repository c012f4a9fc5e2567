// Questions asked of a solved beam after its analysis: the exact values at any position (both
// sides where a load or support makes the shear or moment jump), the jumps themselves, and the
// spans between the vertical supports with their extremes. Everything comes from the closed
// form of each element, never from an interpolation between nodes. Values are in analysis
// units: m, rad, N and N·m.
#pragma once

#include "analysis/ProgramState.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kradon {

/// The state of the beam at one side of a section: deflection (m, downwards), rotation (rad,
/// clockwise), sagging moment (N·m) and shear (N, positive when the forces left of the section
/// act downwards).
struct SectionValues {
    double deflection = 0;
    double rotation = 0;
    double moment = 0;
    double shear = 0;
};

/// The values at x: left and right of it, equal unless a load or support stands there (jump).
struct PointValues {
    double x = 0; // m
    bool jump = false;
    SectionValues left, right;
};

/// Whether s holds a completed analysis whose tables fit its mesh, so that values between the
/// nodes can be worked out (not so after reading a results file, or after a failed run).
bool HasExactResults(const ProgramState& s);

/// The values at x (m from the left end). At the ends only the side on the beam exists; both
/// sides then hold it. nullopt when x is not on the beam (0..span) or HasExactResults is false.
std::optional<PointValues> ValuesAt(const ProgramState& s, double x);

/// Node n as the tables hold it, rounding and all: the end of the element before it (left, none
/// at the first node) and the start of the element after it (right, none at the last node).
struct NodeSides {
    std::optional<SectionValues> left, right;
};
/// Needs HasExactResults(s) and 1 <= n <= NodeCount.
NodeSides SidesOfNode(const ProgramState& s, std::int32_t n);

/// Both sides of every node between the ends where a load, support, spring or prescribed
/// displacement acts, left to right. Empty without exact results.
std::vector<PointValues> Jumps(const ProgramState& s);

enum class SpanKind { Span, Cantilever };

/// A stretch of the beam between two consecutive vertical supports (rigid supports, springs
/// with a vertical stiffness, prescribed deflections), or an overhang beyond the outermost one.
struct SpanResult {
    SpanKind kind = SpanKind::Span;
    double x0 = 0, x1 = 0;                          // m
    std::int32_t firstElement = 0, lastElement = 0; // the elements it covers
    ResultExtremes extremes;
    /// The deflection farthest from the supports' own positions: from the straight line joining
    /// the deflected supports of a span, from the deflected support of a cantilever.
    Extreme sag;
    double length() const { return x1 - x0; }
};

/// The spans and cantilevers of the beam, left to right. Empty without exact results.
std::vector<SpanResult> SpanResults(const ProgramState& s);

/// length / |sag| of a span or cantilever: its span-to-deflection ratio; infinity when it does
/// not deflect.
double SpanToDeflection(const SpanResult& span);

} // namespace kradon
