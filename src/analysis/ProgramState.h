// The tables of one analysis and the model they come from, owned by the main window and passed
// by reference to every step. Every table is indexed by the documented 1-based number (node,
// element, equation or record) and sized one past the highest; entry 0 is unused and stays 0.
#pragma once

#include "mesh/MeshTables.h"
#include "model/BeamModel.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kradon {

struct EquationTables {
    std::vector<double> Displacements; // m and rad, 1..NumEquations
    double CalcTime = 0;               // s
    std::int16_t CalcError = 0;        // -1 once the structure was found unstable
};

/// A largest or smallest value of a result along the beam and where it is.
struct Extreme {
    double value = 0;
    double x = 0; // m
};

/// The extremes of the exact solution anywhere on the beam, between nodes too.
struct ResultExtremes {
    Extreme largestMoment, smallestMoment;         // N·m
    Extreme largestShear, smallestShear;           // N
    Extreme largestDeflection, smallestDeflection; // m
    Extreme largestRotation, smallestRotation;     // rad
};

/// What is left over when every force on the solved beam is added up: loads, reactions, spring
/// forces and the forces that hold prescribed displacements. Zero but for rounding.
struct EquilibriumResiduals {
    double vertical = 0;  // N, downwards
    double moment = 0;    // N·m, clockwise, about the left end
    double totalLoad = 0; // N, the magnitudes of the forces of every load added, for scale
};

/// How far the default rule, E and I of each element's midpoint, lies from the exact
/// integration of E and I along the elements: the default rule's value less the exact one at
/// the node where the difference is largest in magnitude, over the largest magnitude of the
/// exact values there.
struct DiscretisationEstimate {
    /// Whether E x I varies along any element; where it does not, the two rules agree and
    /// nothing else is set.
    bool varies = false;
    /// Why the exact integration could not be made, when it could not; empty when it was.
    std::string unavailable;
    Extreme deflection; // m
    Extreme moment;     // N·m
    double deflectionRelative = 0;
    double momentRelative = 0;
};

struct ResultTables {
    std::vector<double> NodeDeflection; // m, downwards positive, 1..NodeCount
    std::vector<double> NodeShear;      // N, 2e start and 2e + 1 end of element e
    std::vector<double> NodeMoment;     // N·m, sagging positive, 1..NodeCount
    /// Rows per rigid support 1..count (more rows may exist), columns 1 vertical (N, upwards
    /// positive) and 2 moment (N·m, clockwise positive). Where several supports share a node,
    /// the first holds the node's reaction and the others 0.
    std::vector<std::vector<double>> SupportReaction;
    /// Rows per spring support and per fixed displacement 1..count, columns as SupportReaction:
    /// the force and moment each exerts on the beam.
    std::vector<std::vector<double>> SpringReaction;
    std::vector<std::vector<double>> DisplacementReaction;
    /// 1/EI of every element 1..ElementCount in 1/(N·m2) (0 without stiffness), as the solution
    /// used it: with the nodal tables it gives the exact values anywhere between nodes, whatever
    /// units the mesh holds E and I in. Empty when the tables came from a results file.
    std::vector<double> ElementFlexibility;
    ResultExtremes Extremes;
    EquilibriumResiduals Residuals;
    /// Whether the solution took E x I along the elements where it varies along any (the
    /// exact-sections option on a beam with varying E or I); false where it took midpoint values.
    bool ExactSections = false;
    DiscretisationEstimate Discretisation;
};

/// The option values, edited in the options dialog and kept in the per-user settings.
struct Options {
    std::int16_t MaxNoApplieds = DefaultMaxNoApplieds;
    double MeshDensFact = 1; // always the widening of a single-precision value
    /// Integrate varying E and I exactly along each element; off, each element takes the E and
    /// I of its midpoint.
    bool ExactSections = false;
    std::int16_t MAX_FILES = 4; // the longest the recent files list may grow, 1 to 20
    std::string SaveIn;         // initial folder of Save As; empty leaves it to the dialog
    std::string OpenIn;         // initial folder of Open
    bool AnalyseAfterEveryChange = false; // the desktop program re-runs the analysis quietly
};

struct ProgramState {
    BeamModel model;
    MeshTables mesh;
    NodalTables nodal;
    EquationTables equations;
    ResultTables results;
    Options options;
    std::string FileName;
    double AnalysisTime = 0; // s
};

/// What the results of an analysis depend on: the model and the options that shape its mesh and
/// its integration. Results are those of the model as it stands while this is unchanged.
struct AnalysisInput {
    BeamModel model;
    double MeshDensFact = 1;
    bool ExactSections = false;
    bool operator==(const AnalysisInput&) const = default;
};

inline AnalysisInput AnalysisInputOf(const ProgramState& s) {
    return {s.model, s.options.MeshDensFact, s.options.ExactSections};
}

} // namespace kradon
