// The results of an analysis as comma-separated values: one row per node, then the force and
// moment of every support. Numbers use the point as decimal separator whatever the locale and
// are written in the shortest form that reads back to the same double.
#pragma once

#include "analysis/ProgramState.h"

#include <string>
#include <string_view>

namespace kradon {

inline constexpr const char* NodeCsvHeader =
    "node,x_m,deflection_mm,rotation_rad,moment_left_kNm,moment_right_kNm,shear_left_kN,"
    "shear_right_kN";
inline constexpr const char* SupportCsvHeader = "support,x_m,kind,force_kN,moment_kNm";

/// The header, a row per node 1..NodeCount (a side off the beam is an empty field), an empty
/// line, the support header and a row per rigid support (kind Pinned or Fixed), spring support
/// (Spring) and fixed displacement (Fixed displacement), each numbered within its kind. Lines
/// end in LF. Needs HasExactResults(s); throws KradonError (InvalidArgument) otherwise.
std::string ResultsCsv(const ProgramState& s);

/// Text of the results report with every tab-separated row as plain tab-separated values, as a
/// spreadsheet takes them: the blanks that pad a cell and the empty cells that align a column
/// are dropped. Lines without a tab stay as they are; CR LF line ends become LF.
std::string TabSeparatedRows(std::string_view text);

/// The shortest text that reads back to the same double; "nan", "inf" and "-inf" for the rest.
std::string ShortestNumber(double v);

} // namespace kradon
