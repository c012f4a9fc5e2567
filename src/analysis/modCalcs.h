// The finite element analysis of the meshed beam: result tables, restraints, the exact solution,
// reactions, the equilibrium check and the driver.
#pragma once

#include "analysis/ProgramState.h"
#include "model/Sinks.h"

#include <optional>
#include <string>

namespace kradon::modCalcs {

inline constexpr const char* FeaTitle = "FEA Subroutine";
inline constexpr const char* CalcErrorText = "Calculation Error - Aborting";
/// The line after "Calculation Error - Aborting" when results are not finite; where is what
/// NonFiniteResult gives.
inline std::string NotFiniteText(const std::string& where) {
    return "The results are not all finite numbers (" + where +
           "): E or I is too small, or a load too large, for the beam to be calculated.";
}

enum class Outcome { Completed, Failed, Unstable };

/// Re-creates, all zero, Displacements and the node result tables for the mesh.
void DimensionTables(const MeshTables& mesh, EquationTables& equations, ResultTables& results);

/// Puts the prescribed value (0 for a rigid support alone) into LoadVector at every held
/// equation: what the supports leave of the nodal loads.
void ApplyRestraints(NodalTables& nodal);

/// Solves the beam in CalcTime seconds and returns true. A structure that cannot hold itself
/// gets the unstable-structure report (modGauss::ReportUnstable) and false.
bool SolveEquations(ProgramState& s, MessageSink& messages);

/// Vertical (upwards positive) and moment (clockwise positive) reactions of the rigid supports,
/// and the force and moment of every spring support and fixed displacement. At a node held by
/// several, the first rigid support takes the vertical reaction, the first Fixed one the moment,
/// and a fixed displacement only what no rigid support holds.
void ComputeReactions(ProgramState& s);

/// The residuals of vertical and moment equilibrium of the solved beam, in analysis units; the
/// model's loads are taken in input units.
EquilibriumResiduals CheckEquilibrium(const BeamModel& m, const MeshTables& mesh,
                                      const ResultTables& r);

/// The first result that is not a finite number, as "the deflection at x = 5 m is infinite";
/// nullopt when every result is finite.
std::optional<std::string> NonFiniteResult(const ProgramState& s);

/// The whole analysis of s.model (input units; it is only read), with its progress lines and
/// percentages, 100 at the end. Leaves the mesh's E and I in input units. A failure shows
/// "Calculation Error - Aborting"; results that are not all finite numbers fail too, the message
/// then naming the first of them; an unstable structure shows its report, then the same message.
Outcome RunAnalysis(ProgramState& s, StatusSink& status, MessageSink& messages);

} // namespace kradon::modCalcs
