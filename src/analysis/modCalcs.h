// The finite element analysis of the meshed beam: global tables, element stiffness and
// assembly, restraints, the banded Gauss elimination, result recovery and the driver.
#pragma once

#include "analysis/ProgramState.h"
#include "model/Sinks.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace kradon::modCalcs {

inline constexpr const char* FeaTitle = "FEA Subroutine";
inline constexpr const char* CalcErrorText = "Calculation Error - Aborting";

/// A 4 x 4 element matrix and a 4-vector, indices 1..4 (entry 0 unused): vertical and rotation
/// of the first node, then of the second node.
using ElementMatrix = std::array<std::array<double, 5>, 5>;
using ElementVector = std::array<double, 5>;

enum class Outcome { Completed, Failed, Unstable };

/// Re-creates, all zero, the global matrix, Displacements, the node result tables and
/// ElementNodalLoads for the mesh.
void DimensionTables(const MeshTables& mesh, NodalTables& nodal, EquationTables& equations,
                     ResultTables& results);

/// The Euler-Bernoulli stiffness of element e (N, m). A zero length or a result that is not
/// finite throws KradonError.
ElementMatrix BuildElementStiffness(const MeshTables& mesh, std::int32_t e);

/// Adds an element matrix at the equations of nodes a and b.
void AssembleElement(BandMatrix& GlobalStiffness, const ElementMatrix& ElementStiffness,
                     std::int32_t a, std::int32_t b);

/// Makes a unit row of every rigidly held or prescribed equation and puts its prescribed value
/// (0 for a rigid support alone) into LoadVector.
void ApplyRestraints(BandMatrix& GlobalStiffness, NodalTables& nodal);

/// Gauss elimination with partial pivoting on the band, then back-substitution, in seconds in
/// CalcTime. A zero pivot calls reportUnstable, which is to set CalcError; the solve then stops
/// before back-substitution. A zero last diagonal or a result that is not finite throws
/// KradonError.
void GaussSolve(EquationTables& equations, const std::vector<double>& LoadVector,
                const std::function<void()>& reportUnstable);

/// GaussSolve with the unstable-structure report, then NodeDeflection from Displacements.
void SolveEquations(ProgramState& s, MessageSink& messages);

/// y = matrix x, each sum in ascending j.
ElementVector MultiplyElement(const ElementMatrix& matrix, const ElementVector& x);

/// End shears and moments of element e, less its equivalent nodal loads.
void RecoverElement(ProgramState& s, std::int32_t e);

/// Vertical (upwards positive) and moment (clockwise positive) reactions of the rigid supports.
void ComputeReactions(ProgramState& s);

/// The whole analysis of s.model, in analysis units, with its progress lines. A failure shows
/// "Calculation Error - Aborting".
Outcome RunAnalysis(ProgramState& s, StatusSink& status, MessageSink& messages);

} // namespace kradon::modCalcs
