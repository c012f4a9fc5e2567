// Conversions between the input units (kN, kN/m, kNm, kN/mm2, cm4) and the analysis units
// (N, N/m, N·m, N/m2, m4). Loads convert in the model, E and I in the mesh tables.
#pragma once

#include "mesh/MeshTables.h"
#include "model/BeamModel.h"

#include <string_view>

namespace kradon::modUnits {

/// Multiplies every load value of the model by 10^3.
void ToAnalysisUnits(BeamModel& model);
/// Divides E by 10^9 and I by 10^-8 in the mesh, then the load values by 10^3.
void FromAnalysisUnits(BeamModel& model, MeshTables& mesh);
/// ElementE from kN/mm2 to N/m2.
void ScaleElementE(MeshTables& mesh);
/// ElementI from cm4 to m4.
void ScaleElementI(MeshTables& mesh);
/// One E from kN/mm2 to N/m2, as ScaleElementE converts it.
double EInAnalysisUnits(double E);
/// One I from cm4 to m4, as ScaleElementI converts it.
double IInAnalysisUnits(double I);
/// The unit of the E/I definition dialog's value labels: "kN/mm2" for the kind exactly "e" (the
/// case counts), "cm4" for any other kind.
const char* UnitLabel(std::string_view kind);

} // namespace kradon::modUnits
