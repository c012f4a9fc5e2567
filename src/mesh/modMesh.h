// Meshing of the beam into Hermite beam elements, and the placing of loads and supports on the
// nodes of that mesh.
#pragma once

#include "mesh/MeshTables.h"
#include "model/BeamModel.h"
#include "model/Sinks.h"

#include <cstdint>
#include <vector>

namespace kradon::modMesh {

inline constexpr const char* MeshTitle = "Mesh Subroutine";
inline constexpr const char* MeshErrorText = "Mesherror";
inline constexpr const char* OutsideBoundariesText = "Elements defined outside boundaries";
/// The most nodes a mesh may have: what the results file can hold.
inline constexpr std::int32_t MaxNodeCount = 32767;

/// floor(x * 10^digits + 0.5) / 10^digits: halves go up.
double RoundTo(double x, std::int16_t digits);

/// Whether a node at x stands at position p: x equals p written with 15 significant digits and
/// read back. Positions the program treats as equal thus share one node.
bool NodeMatches(double x, double p);

/// The key positions 1..nk in the mesher's order, each after the 15-digit round trip: the left
/// end 0, everything the model places on the beam (point loads, UDL and TDL starts and ends,
/// moment loads, supports, springs, fixed displacements, E and I definition ends), then the
/// span; entry 0 is unused. Throws std::out_of_range if a list is shorter than its count.
std::vector<double> KeyPoints(const BeamModel& model);

/// The mesh of model (positions in m, none negative) with about 8 x MeshDensFact elements per
/// segment, E and I in analysis units. Shows the outside-boundaries warning and continues; any
/// failure shows "Mesherror" (or the node-limit message, or the message of an E or I definition
/// that gives no value) and is rethrown as a KradonError.
MeshTables GenerateMesh(const BeamModel& model, double MeshDensFact, MessageSink& messages);

/// E and I of the elements back from analysis units (N/m2, m4) into the units of their
/// definitions (kN/mm2, cm4), in which the readers of a finished analysis take them.
void ElementsToInputUnits(MeshTables& mesh);

/// The node 1..NodeCount standing at position p (see NodeMatches), or 0; NodeX is searched as
/// the ascending list the mesher makes.
std::int32_t FirstNodeAt(const MeshTables& mesh, double p);

// Nodal loads and restraints. The model's loads are read in kN, kN/m and kNm and placed in
// analysis units (N, N/m, N·m).
/// Sizes LoadVector, ConcentratedLoad, ElementNodalLoads and the element intensities, then adds
/// the point loads, UDLs, TDLs and moment loads, in this order.
void FormNodalLoads(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal);
void AddPointLoads(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal);
void AddUDLs(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal);
void AddTDLs(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal);
void AddMomentLoads(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal);
/// Adds the fixed-end forces of one distributed load on element e: F1, F2 downwards, M1
/// clockwise at the first node and M2 anticlockwise at the second (both given positive).
void AddElementLoads(NodalTables& nodal, std::int32_t e, double F1, double M1, double F2,
                     double M2);
/// A support type other than 1 or 2 shows "Mesherror" and is skipped.
void SetRigidSupports(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal,
                      MessageSink& messages);
/// Springs in kN/mm and kN/rad: SpringStiffness as entered, SpringDiagonal summed in N/m and
/// N·m/rad.
void AddSpringSupports(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal);
/// Displacements in mm become m; rotations stay in rad. Zero values record nothing.
void SetPrescribedDisplacements(const BeamModel& model, const MeshTables& mesh, NodalTables& nodal);

} // namespace kradon::modMesh
