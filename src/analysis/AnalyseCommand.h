// The steps of the Analyse command that need no window: check, analysis copy, units, the run
// and its time.
#pragma once

#include "analysis/ProgramState.h"
#include "analysis/modCalcs.h"
#include "model/Sinks.h"

#include <filesystem>
#include <string>

namespace kradon {

inline constexpr const char* InitialisedText = "Kradon Analysis Initialised......";

enum class AnalyseOutcome { CheckFailed, Completed, Failed, Unstable };

struct AnalyseResult {
    AnalyseOutcome outcome = AnalyseOutcome::CheckFailed;
    double AnalysisTime = 0; // s, from a monotonic clock
};

/// Checks s.model and, when it passes, analyses a copy written to and read back from a file of
/// its own in copyFolder, removed again before returning. After a completed or failed run the
/// model's loads are in input units again; after an unstable one the model is the copy read
/// back. s.AnalysisTime holds the elapsed seconds of a completed run; a check failure changes
/// nothing. Throws KradonError (FileIo) when the copy cannot be written or read back.
AnalyseResult AnalyseCore(ProgramState& s, const std::filesystem::path& copyFolder,
                          StatusSink& status, MessageSink& messages);

/// The status bar text after a completed analysis of t seconds.
std::string AnalysisTimeText(double t);

} // namespace kradon
