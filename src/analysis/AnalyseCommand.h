// The steps of the Analyse command that need no window: check, analysis copy, units, the run
// and its time.
#pragma once

#include "analysis/ProgramState.h"
#include "analysis/modCalcs.h"
#include "model/Sinks.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kradon {

inline constexpr const char* InitialisedText = "Kradon Analysis Initialised......";

enum class AnalyseOutcome { CheckFailed, Completed, Failed, Unstable, Cancelled };

/// The title of the warnings about stretches of the beam that carry nothing.
inline constexpr const char* WarningsTitle = "Input Data Checking Routine";

/// Given the warnings about a model that passed the input check (one line each, none when the
/// model gives none), decides whether its analysis goes on.
using WarningsGate = std::function<bool(const std::vector<std::string>& warnings)>;

/// Shows each warning as a message of its own through messages and goes on.
WarningsGate ShowWarningsAndGoOn(MessageSink& messages);

struct AnalyseResult {
    AnalyseOutcome outcome = AnalyseOutcome::CheckFailed;
    double AnalysisTime = 0; // s, from a monotonic clock
};

/// Checks s.model, hands the warnings it gives (modCheck::CoverageWarnings) to gate and, when
/// both let it, replaces the model by its file form, written to a file of its own in copyFolder,
/// read back and removed, and analyses that; the analysis does not change it. A failed run
/// leaves no results: the tables are emptied as DropResults does; an unstable one leaves the
/// tables as modGauss::ReportUnstable does. s.AnalysisTime holds the elapsed seconds of a
/// completed run; a check failure or a gate that stops changes nothing.
/// Throws KradonError (FileIo) when the copy cannot be written or read back.
AnalyseResult AnalyseCore(ProgramState& s, const std::filesystem::path& copyFolder,
                          StatusSink& status, MessageSink& messages, const WarningsGate& gate);
/// As above, with the warnings shown through messages and the analysis going on.
AnalyseResult AnalyseCore(ProgramState& s, const std::filesystem::path& copyFolder,
                          StatusSink& status, MessageSink& messages);

/// Empties the mesh, nodal, equation and result tables to their single unused entry, as
/// before any analysis.
void DropResults(ProgramState& s);

/// The status bar text after a completed analysis of t seconds.
std::string AnalysisTimeText(double t);

} // namespace kradon
