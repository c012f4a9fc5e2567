// The Analyse command's core steps.
#include "analysis/AnalyseCommand.h"

#include "analysis/modCheck.h"
#include "analysis/modUnits.h"
#include "model/modFileWrite.h"
#include "model/modText.h"

#include <chrono>

namespace kradon {
namespace {

AnalyseOutcome toAnalyseOutcome(modCalcs::Outcome o) {
    switch (o) {
    case modCalcs::Outcome::Completed:
        return AnalyseOutcome::Completed;
    case modCalcs::Outcome::Unstable:
        return AnalyseOutcome::Unstable;
    case modCalcs::Outcome::Failed:
        break;
    }
    return AnalyseOutcome::Failed;
}

} // namespace

AnalyseResult AnalyseCore(ProgramState& s, const std::filesystem::path& tempPath,
                          StatusSink& status, MessageSink& messages) {
    const auto start = std::chrono::steady_clock::now();
    if (!modCheck::CheckInput(s.model, messages))
        return {};
    status.udPb(0);
    status.udTxt(InitialisedText);
    s.AnalysisCopyPath = tempPath;
    s.model = modFileWrite::MakeAnalysisCopy(s.model, tempPath);
    modUnits::ToAnalysisUnits(s.model);
    const modCalcs::Outcome outcome = modCalcs::RunAnalysis(s, status, messages);
    // After an unstable structure the model is the copy read back, already in input units.
    if (outcome != modCalcs::Outcome::Unstable)
        modUnits::FromAnalysisUnits(s.model, s.mesh);
    AnalyseResult result{toAnalyseOutcome(outcome), 0};
    if (outcome != modCalcs::Outcome::Completed)
        return result;
    status.udPb(100);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    s.AnalysisTime = elapsed.count();
    result.AnalysisTime = s.AnalysisTime;
    return result;
}

std::string AnalysisTimeText(double t) {
    return "Previous Analysis time was " + modText::GeneralNumber(t) + "s";
}

} // namespace kradon
