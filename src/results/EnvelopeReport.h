// The text report of an envelope: the largest and smallest values over loadings and arrangements
// of patterned load cases, each with what governs it, in the layout of the results report.
#pragma once

#include "analysis/LoadCombinations.h"

#include <string>

namespace kradon {

/// The whole report, every line ended by CR LF: a heading, the geometry and spans, the largest
/// and smallest values anywhere on the beam, the support reactions, and one table per result
/// along the beam (moments and shears in kNm and kN, deflections in mm, rotations in mrad), each
/// value followed by the loading that governs it. totalTime in s.
std::string EnvelopeReport(const CaseAnalysis& a, const EnvelopeResult& r, const CaseModel& m,
                           double totalTime);

} // namespace kradon
