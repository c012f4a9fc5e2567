// The report of a structure that cannot carry its loads.
#pragma once

#include "analysis/ProgramState.h"
#include "model/Sinks.h"

namespace kradon::modGauss {

inline constexpr const char* GaussTitle = "Gauss Elimination Error";
inline constexpr const char* UnstableText = "Structure is unstable - Aborting analysis";

/// Shows the unstable-structure message, followed by one line per stretch of the beam that no
/// E or I definition covers (modCheck::CoverageWarnings), the likely cause; empties the mesh and
/// result tables and sets CalcError to -1. The model is left as it is.
void ReportUnstable(ProgramState& s, MessageSink& messages);

} // namespace kradon::modGauss
