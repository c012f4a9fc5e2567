// kradon-cli's commands on models with several load cases: analysing a JSON model (one case,
// one combination or the envelope) and converting between the JSON and .kdn formats.
#pragma once

#include "analysis/ProgramState.h"
#include "cli/PictureOption.h"
#include "model/Sinks.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kradon::cli {

/// Which results `analyse` shows in its report.
enum class Selection { Default, Case, Combination, Envelope };

struct CaseAnalyseRequest {
    std::string modelPath;
    std::optional<float> meshDensity; // given on the command line: replaces the model's
    bool exactSections = false; // given on the command line: exact sections whatever the model
    Selection selection = Selection::Default;
    std::string selected; // the case or combination name
    std::string reportPath, resultsPath, jsonPath, csvPath;
    std::vector<PictureRequest> pictures;
    int pictureWidth = DefaultPictureWidth;
    int pictureHeight = DefaultPictureHeight;
};

/// Analyses every case of a JSON model once, then reports the selection: a case alone, a
/// combination, or the envelope (by default: the one case of a model with one case and no
/// combination, else the envelope). A case or combination without patterned cases gets the
/// results report; an envelope, or a loading with a patterned case, the envelope report. The
/// JSON results hold every case, every combination and the envelope.
int AnalyseCaseModel(const CaseAnalyseRequest& request, std::ostream& out, MessageSink& messages);

/// One case, or one combination without a patterned case, of a JSON model as one analysis of
/// its loads leaves the tables, for `at`, `sheet` and `--csv` (by default the one case of a
/// model with one case and no combination). An envelope has no single set of results: asking
/// for one, or for a loading with a patterned case, is refused with a message that names what
/// to choose instead. Returns the exit status; state holds the results when it is Completed.
int AnalyseCaseState(const CaseAnalyseRequest& request, ProgramState& state, MessageSink& messages);

/// Converts IN to OUT, each in the format its name asks for; refuses, with the reason, what the
/// target format cannot hold exactly.
int ConvertModel(const std::string& in, const std::string& out, MessageSink& messages);

} // namespace kradon::cli
