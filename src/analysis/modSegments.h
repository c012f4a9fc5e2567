// The exact solution of the meshed beam. Between two structural nodes (the key points, and the
// ends of every element without bending stiffness) nothing concentrated acts, so each stretch
// of elements is one member whose flexibility is a sum over its elements. The unknowns are the
// deflection and rotation of the structural nodes and the shear and moment at the start of each
// member: a small banded system whose conditioning depends on the beam's geometry, not on the
// mesh. Every mesh node then follows by statics and by integrating M/EI element by element. In
// exact arithmetic these are the nodal values of the stiffness method on the whole mesh.
#pragma once

#include "analysis/ProgramState.h"

#include <cstdint>

namespace kradon::modSegments {

using Real = long double;

/// Deflection (m, downwards), rotation (rad, clockwise), shear (N, positive when the forces left
/// of the section act downwards) and sagging moment (N·m) at a section.
struct Section {
    Real v = 0;
    Real theta = 0;
    Real V = 0;
    Real M = 0;
};

/// One element as the solution sees it: length (m), flexibility 1/EI (1/(N·m2), 0 where E x I is
/// 0) of its midpoint, and the downward load intensity at its start (N/m) and its growth along
/// it (N/m2).
struct ElementData {
    Real h = 0;
    Real c = 0;
    Real wa = 0;
    Real slope = 0;
    /// Where the solution takes E x I along the element rather than c: the mesh's sections and
    /// the element's number and start (m); null where c holds throughout.
    const ExactSections* sections = nullptr;
    std::int32_t e = 0;
    double x0 = 0;
};

/// Element e of the mesh in analysis units, with E x I along it where the mesh's sections are
/// used and it varies.
ElementData ElementAt(const MeshTables& mesh, const NodalTables& nodal, std::int32_t e);

/// The section at distance s (0..h) into an element, from the section at its start.
Section Along(const Section& start, const ElementData& element, Real s);

/// The section at the end of an element, from the section at its start.
inline Section Across(const Section& start, const ElementData& element) {
    return Along(start, element, element.h);
}

/// The section at the start of element e, from the solved tables.
Section StartOfElement(const EquationTables& equations, const ResultTables& results,
                       std::int32_t e);

enum class Solution { Solved, Mechanism };

/// Displacements, NodeDeflection, NodeShear and NodeMoment of the mesh under its nodal tables
/// (analysis units, springs and prescribed values placed). A structure that cannot hold itself
/// (a stretch between elements without stiffness, or a part of the beam without enough
/// supports) is a Mechanism, and nothing is written. A result that is not finite throws
/// KradonError.
Solution SolveBeam(const MeshTables& mesh, const NodalTables& nodal, EquationTables& equations,
                   ResultTables& results);

/// Element e of a solved beam: length and loads from the mesh and nodal tables, flexibility as
/// the solution used it (ElementFlexibility), so the mesh may hold E and I in any units.
ElementData SolvedElement(const MeshTables& mesh, const NodalTables& nodal,
                          const ResultTables& results, std::int32_t e);

/// The largest and smallest moment, shear, deflection and rotation anywhere on elements
/// first..last of the solved beam (the whole beam when last is 0), between nodes too. Both
/// sides of every node count, so a jump's larger side is found.
ResultExtremes FindExtremes(const MeshTables& mesh, const NodalTables& nodal,
                            const EquationTables& equations, const ResultTables& results,
                            std::int32_t first = 1, std::int32_t last = 0);

/// The deflection measured from the straight line through (x0, v0) of the given slope (m, m/m)
/// that is largest in magnitude on elements first..last of the solved beam, with its sign, and
/// where it is.
Extreme FarthestFromLine(const MeshTables& mesh, const NodalTables& nodal,
                         const EquationTables& equations, const ResultTables& results,
                         std::int32_t first, std::int32_t last, double x0, double v0, double slope);

} // namespace kradon::modSegments
