// The results report: the plain-text account of one analysis that the results window shows,
// saves and prints, built from the mesh and result tables and the rigid supports of the model.
#pragma once

#include "analysis/ProgramState.h"
#include "model/Sinks.h"

#include <string>

namespace kradon {

/// The report's separator lines.
inline constexpr const char* ReportD42 = "------------------------------------------";
inline constexpr const char* ReportD68 =
    "--------------------------------------------------------------------";

/// The line after the heading block of a report whose solution took E x I along the elements.
inline constexpr const char* ExactSectionsLine =
    "Varying E and I integrated exactly along each element";

/// One result value as the report shows it: "##00.000" below zero (-5.1234 gives "-05.123"),
/// "#000.000" from zero up (5.1234 gives "005.123", 1234.5 gives "1234.500").
std::string resultTxt(double value);

/// resultTxt(value) appended to out.
void AppendResultTxt(std::string& out, double value);

/// The shear of node row i (1..NodeCount) in N: the start of element i (NodeShear(2i)) for every
/// node but the last, the end of the last element (NodeShear(2 NodeCount - 1)) for the last.
/// Throws KradonError (SubscriptOutOfRange) when NodeShear has no such entry.
double NodeRowShear(const ResultTables& results, std::int32_t NodeCount, std::int32_t i);

/// The whole report, every line ended by CR LF. path goes on the "Results File: " line (may be
/// empty); calcTime and totalTime (s) are written in general number form. Forces and moments are
/// shown in kN and kNm, deflections in mm. A table shorter than its count throws KradonError
/// (SubscriptOutOfRange); nothing is returned then.
std::string DoResults(const ProgramState& state, const std::string& path, double calcTime,
                      double totalTime);

/// The same report handed to sink as it is written, in pieces of some tens of kilobytes. A
/// table shorter than its count throws when its row is reached, after the pieces before it.
void WriteResults(const ProgramState& state, const std::string& path, double calcTime,
                  double totalTime, const ByteSink& sink);

} // namespace kradon
