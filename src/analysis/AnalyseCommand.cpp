// The Analyse command's core steps.
#include "analysis/AnalyseCommand.h"

#include "analysis/modCheck.h"
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

WarningsGate ShowWarningsAndGoOn(MessageSink& messages) {
    return [&messages](const std::vector<std::string>& warnings) {
        for (const std::string& warning : warnings)
            messages.show({WarningsTitle, warning, Icon::Exclamation});
        return true;
    };
}

AnalyseResult AnalyseCore(ProgramState& s, const std::filesystem::path& copyFolder,
                          StatusSink& status, MessageSink& messages) {
    return AnalyseCore(s, copyFolder, status, messages, ShowWarningsAndGoOn(messages));
}

AnalyseResult AnalyseCore(ProgramState& s, const std::filesystem::path& copyFolder,
                          StatusSink& status, MessageSink& messages, const WarningsGate& gate) {
    const auto start = std::chrono::steady_clock::now();
    if (!modCheck::CheckInput(s.model, messages))
        return {};
    if (const std::vector<std::string> warnings = modCheck::CoverageWarnings(s.model);
        !warnings.empty() && !gate(warnings))
        return {AnalyseOutcome::Cancelled, 0};
    status.udPb(0);
    status.udTxt(InitialisedText);
    // The analysis takes the model as its file holds it. Analyses running at the same time, in
    // this process or others, share the folder but never a copy.
    s.model = modFileWrite::AnalysisCopy(copyFolder, s.model).read();
    const modCalcs::Outcome outcome = modCalcs::RunAnalysis(s, status, messages);
    AnalyseResult result{toAnalyseOutcome(outcome), 0};
    // Tables filled part of the way belong to no model.
    if (outcome == modCalcs::Outcome::Failed)
        DropResults(s);
    if (outcome != modCalcs::Outcome::Completed)
        return result;
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    s.AnalysisTime = elapsed.count();
    result.AnalysisTime = s.AnalysisTime;
    return result;
}

void DropResults(ProgramState& s) {
    s.mesh = MeshTables{};
    MeshTables& mesh = s.mesh;
    mesh.NodeX = mesh.ElementNode1 = mesh.ElementNode2 = {0.0};
    mesh.ElementLength = mesh.ElementE = mesh.ElementI = {0.0};
    // The mesh work table keeps entries 0 and 1.
    mesh.BreakPoints = {0.0, 0.0};
    mesh.SegmentDivisions = {0.0};
    s.nodal = NodalTables{};
    s.nodal.LoadVector = s.nodal.RestraintFlag = s.nodal.SpringStiffness = {0.0};
    s.equations = EquationTables{};
    s.equations.Displacements = {0.0};
    s.results = ResultTables{};
    s.results.NodeDeflection = s.results.NodeShear = s.results.NodeMoment = {0.0};
}

std::string AnalysisTimeText(double t) {
    return "Previous Analysis time was " + modText::GeneralNumber(t) + "s";
}

} // namespace kradon
