// Analysis of JSON models with several load cases, their JSON results, and model conversion.
#include "cli/CaseCommands.h"

#include "analysis/LoadCombinations.h"
#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "model/KradonError.h"
#include "model/OutputPaths.h"
#include "model/modFileWrite.h"
#include "results/EnvelopeReport.h"
#include "results/ResultsCsv.h"
#include "results/ResultsFile.h"
#include "results/modResults.h"
#include "settings/OptionRules.h"

#include "json/ModelJson.h"
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

namespace kradon::cli {
namespace {

using Json = nlohmann::ordered_json;

void show(MessageSink& messages, const std::string& text) {
    messages.show({CliTitle, text, Icon::None});
}

std::optional<CaseModel> readCaseModel(const std::string& path, MessageSink& messages) {
    try {
        return ModelJson::OpenCaseModelFile(path);
    } catch (const KradonError& e) {
        messages.show({ProgramTitle, MessageLines(modFileWrite::OpenErrorPrefix + path, e.what()),
                       Icon::None});
        return std::nullopt;
    }
}

/// The names of a list of cases or combinations, "none" when it is empty.
template <class Named> std::string namesOf(const std::vector<Named>& list) {
    std::string text;
    for (const Named& item : list)
        text += (text.empty() ? "" : ", ") + item.name;
    return text.empty() ? "none" : text;
}

/// What a selection of a name the model lacks says, naming those it has.
template <class Named>
std::string unknownName(const char* what, const std::string& name, const std::vector<Named>& list) {
    return "the model has no " + std::string(what) + " \"" + name + "\" (it has " + namesOf(list) +
           ")";
}

/// The loading a request selects, or the envelope (nullopt); a name the model lacks is a
/// usage problem, returned in problem.
std::optional<Loading> selectedLoading(const CaseAnalyseRequest& r, const CaseModel& m,
                                       std::string& problem) {
    if (r.selection == Selection::Case) {
        if (const auto c = FindCase(m, r.selected))
            return CaseLoading(m, *c);
        problem = unknownName("load case", r.selected, m.cases);
        return std::nullopt;
    }
    if (r.selection == Selection::Combination) {
        if (const auto k = FindCombination(m, r.selected))
            return CombinationLoading(m, *k);
        problem = unknownName("combination", r.selected, m.combinations);
        return std::nullopt;
    }
    if (r.selection == Selection::Default && m.cases.size() == 1 && m.combinations.empty())
        return CaseLoading(m, 0);
    return std::nullopt;
}

// ---- JSON results ----

// Forces and moments are held in N and N·m and given in kN and kNm; deflections and rotations
// are held in m and rad and given in mm and rad.
constexpr double kN = 0.001, mm = 1000;

/// A number, or null for a value that is not finite.
Json numberOrNull(double v) {
    return std::isfinite(v) ? Json(v) : Json(nullptr);
}

/// Largest and smallest values along the nodes, each with what governs it. Entries where a
/// value does not exist (shear left of the first node, right of the last) are null.
Json rangesJson(const std::vector<ValueRange>& table, double factor, const EnvelopeResult& r,
                const CaseModel& m, std::size_t skip) {
    Json largest = Json::array(), largestBy = Json::array(), smallest = Json::array(),
         smallestBy = Json::array();
    for (std::size_t n = 1; n < table.size(); ++n) {
        const bool none = n == skip;
        largest.push_back(none ? Json(nullptr) : numberOrNull(table[n].largest.value * factor));
        smallest.push_back(none ? Json(nullptr) : numberOrNull(table[n].smallest.value * factor));
        largestBy.push_back(none ? Json(nullptr) : Json(GoverningText(r, table[n].largest.by, m)));
        smallestBy.push_back(none ? Json(nullptr)
                                  : Json(GoverningText(r, table[n].smallest.by, m)));
    }
    return {{"largest", largest},
            {"largest_by", largestBy},
            {"smallest", smallest},
            {"smallest_by", smallestBy}};
}

Json rangeJson(const ValueRange& v, double factor, const EnvelopeResult& r, const CaseModel& m) {
    return {{"largest", numberOrNull(v.largest.value * factor)},
            {"largest_by", GoverningText(r, v.largest.by, m)},
            {"smallest", numberOrNull(v.smallest.value * factor)},
            {"smallest_by", GoverningText(r, v.smallest.by, m)}};
}

Json holdingsJson(const EnvelopeResult& r, const CaseModel& m, std::size_t first, std::size_t count,
                  const char* force, const char* moment) {
    Json list = Json::array();
    for (std::size_t i = 0; i < count; ++i)
        list.push_back({{"number", i + 1},
                        {force, rangeJson(r.reactions.at(2 * (first + i)), kN, r, m)},
                        {moment, rangeJson(r.reactions.at(2 * (first + i) + 1), kN, r, m)}});
    return list;
}

Json extremeJson(const ExtremeRange& e, double factor, const EnvelopeResult& r,
                 const CaseModel& m) {
    const auto bound = [&](const ExtremeBound& b) {
        return Json{{"value", numberOrNull(b.value * factor)},
                    {"x_m", b.x},
                    {"by", GoverningText(r, b.by, m)}};
    };
    return {{"largest", bound(e.largest)}, {"smallest", bound(e.smallest)}};
}

Json resultJson(const CaseAnalysis& a, const EnvelopeResult& r, const CaseModel& m) {
    const BeamModel& b = a.frame.model;
    const auto rigid = static_cast<std::size_t>(b.count(RecordKind::RigidSupport));
    const auto springs = static_cast<std::size_t>(b.count(RecordKind::SpringSupport));
    const auto fixed = static_cast<std::size_t>(b.count(RecordKind::FixedDisplacement));
    const std::size_t last = static_cast<std::size_t>(a.frame.mesh.NodeCount);
    const auto extreme = [&](Quantity q, double factor) {
        return extremeJson(r.extremes[static_cast<std::size_t>(q)], factor, r, m);
    };
    return {{"deflection_mm", rangesJson(r.deflection, mm, r, m, 0)},
            {"rotation_rad", rangesJson(r.rotation, 1, r, m, 0)},
            {"moment_kNm", rangesJson(r.moment, kN, r, m, 0)},
            {"shear_left_kN", rangesJson(r.shearLeft, kN, r, m, 1)},
            {"shear_right_kN", rangesJson(r.shearRight, kN, r, m, last)},
            {"rigid_supports", holdingsJson(r, m, 0, rigid, "vertical_kN", "moment_kNm")},
            {"spring_supports", holdingsJson(r, m, rigid, springs, "force_kN", "moment_kNm")},
            {"fixed_displacements",
             holdingsJson(r, m, rigid + springs, fixed, "force_kN", "moment_kNm")},
            {"extremes",
             {{"moment_kNm", extreme(Quantity::Moment, kN)},
              {"shear_kN", extreme(Quantity::Shear, kN)},
              {"deflection_mm", extreme(Quantity::Deflection, mm)},
              {"rotation_rad", extreme(Quantity::Rotation, 1)}}}};
}

Json modelJson(const CaseAnalysis& a, const std::string& path) {
    const MeshTables& mesh = a.frame.mesh;
    Json spans = Json::array();
    for (std::size_t s = 0; s < a.spans.size(); ++s)
        spans.push_back({{"number", s + 1}, {"from_m", a.spans[s].from}, {"to_m", a.spans[s].to}});
    Json nodes = Json::array();
    for (std::int32_t n = 1; n <= mesh.NodeCount; ++n)
        nodes.push_back({{"number", n}, {"x_m", mesh.NodeX[static_cast<std::size_t>(n)]}});
    const BeamModel& b = a.frame.model;
    Json supports = Json::array();
    for (std::int16_t n = 1; n <= b.count(RecordKind::RigidSupport); ++n) {
        const auto i = static_cast<std::size_t>(n);
        supports.push_back(
            {{"number", n},
             {"type", b.RigidSupport.type[i] == SupportType::Pinned ? "Pinned" : "Fixed"},
             {"location_m", b.RigidSupport.location[i]}});
    }
    return {{"model",
             {{"file", path},
              {"span_m", b.span},
              {"NodeCount", mesh.NodeCount},
              {"ElementCount", mesh.ElementCount},
              {"MeshDensFact", a.frame.options.MeshDensFact},
              {"ExactSections", a.frame.options.ExactSections},
              {"spans", spans}}},
            {"times", {{"AnalysisTime_s", a.AnalysisTime}}},
            {"nodes", nodes},
            {"rigid_supports", supports}};
}

/// Every case, every combination and the envelope.
std::string resultsJson(const CaseAnalysis& a, const CaseModel& m, const std::string& path) {
    Json j = modelJson(a, path);
    j["cases"] = Json::array();
    for (std::size_t c = 0; c < m.cases.size(); ++c)
        j["cases"].push_back({{"name", m.cases[c].name},
                              {"title", m.cases[c].title},
                              {"pattern", m.cases[c].pattern},
                              {"results", resultJson(a, Envelope(a, {CaseLoading(m, c)}), m)}});
    j["combinations"] = Json::array();
    for (std::size_t k = 0; k < m.combinations.size(); ++k) {
        Json factors = Json::object();
        for (const CombinationFactor& f : m.combinations[k].factors)
            factors[f.caseName] = f.factor;
        j["combinations"].push_back(
            {{"name", m.combinations[k].name},
             {"factors", factors},
             {"results", resultJson(a, Envelope(a, {CombinationLoading(m, k)}), m)}});
    }
    const EnvelopeResult envelope = Envelope(a, EnvelopeLoadings(m));
    j["envelope"] = {{"of", envelope.loadings}, {"results", resultJson(a, envelope, m)}};
    return j.dump(1) + "\n";
}

// ---- the outputs of one analysis ----

/// The report, and the results file and pictures of a selection that is one state.
int writeSelection(const CaseAnalyseRequest& r, const CaseAnalysis& a, const CaseModel& m,
                   const std::optional<Loading>& loading, std::ostream& out,
                   MessageSink& messages) {
    const bool oneState = loading && !IsPatterned(a, *loading);
    if (!oneState && (!r.resultsPath.empty() || !r.pictures.empty() || !r.csvPath.empty())) {
        show(messages, "--results, --csv and --picture need one case or combination without a "
                       "patterned case; an envelope has no single set of results");
        return ExitStatus::Usage;
    }
    std::optional<ProgramState> state;
    std::optional<EnvelopeResult> envelope;
    if (oneState)
        state = CombinedState(a, m, *loading);
    else
        envelope = loading ? Envelope(a, {*loading}) : Envelope(a, EnvelopeLoadings(m));
    const auto report = [&](const ByteSink& sink) {
        if (state)
            WriteResults(*state, "", state->equations.CalcTime, a.AnalysisTime, sink);
        else
            sink(EnvelopeReport(a, *envelope, m, a.AnalysisTime));
    };
    if (!WriteReport(report, r.reportPath, out, messages))
        return ExitStatus::FileProblem;
    if (state && !r.resultsPath.empty()) {
        try {
            SaveResultsFile(*state, r.resultsPath);
        } catch (const KradonError& e) {
            messages.show({ProgramTitle,
                           MessageLines(SaveResultsErrorPrefix + r.resultsPath, e.what()),
                           Icon::None});
            return ExitStatus::FileProblem;
        }
    }
    if (!r.jsonPath.empty() &&
        !WriteOutputFile(r.jsonPath, resultsJson(a, m, r.modelPath), "JSON results", messages))
        return ExitStatus::FileProblem;
    if (state && !r.csvPath.empty() &&
        !WriteOutputFile(r.csvPath, ResultsCsv(*state), "CSV", messages))
        return ExitStatus::FileProblem;
    if (state && !WritePictures(r.pictures, r.pictureWidth, r.pictureHeight, *state, messages))
        return ExitStatus::FileProblem;
    return ExitStatus::Completed;
}

/// The model as the command line asks for it, with every case analysed; the exit status.
int analyseAll(const CaseAnalyseRequest& r, CaseModel& m, std::optional<CaseAnalysis>& analysis,
               MessageSink& messages) {
    if (r.meshDensity)
        m.meshDensity = OptionRules::RefuseMeshDensFact(*r.meshDensity, messages);
    m.exactSections = m.exactSections || r.exactSections;
    const std::optional<std::filesystem::path> folder = AnalysisFolder(messages);
    if (!folder)
        return ExitStatus::FileProblem;
    NullStatusSink status;
    CasesOutcome outcome;
    try {
        outcome = AnalyseCases(m, *folder, status, messages);
    } catch (const KradonError& e) {
        if (e.number() != ErrorNumber::FileIo)
            throw;
        messages.show({ProgramTitle,
                       MessageLines(modFileWrite::SaveErrorPrefix + folder->string(), e.what()),
                       Icon::None});
        return ExitStatus::FileProblem;
    }
    if (outcome.outcome != AnalyseOutcome::Completed)
        return ExitStatusOf(outcome.outcome);
    analysis = std::move(outcome.analysis);
    return ExitStatus::Completed;
}

std::string choicesOf(const CaseModel& m) {
    return "--case NAME (" + namesOf(m.cases) + ") or --combination NAME (" +
           namesOf(m.combinations) + ")";
}

/// A JSON model read, its loading chosen and every case analysed.
struct CaseRun {
    std::optional<CaseModel> model;
    std::optional<Loading> loading; // none: the envelope
    std::optional<CaseAnalysis> analysis;
};

/// Reads the model of r, chooses its loading and analyses it; singleResults refuses the
/// envelope. Completed, or the exit status of the step that failed.
int readAndAnalyse(const CaseAnalyseRequest& r, bool singleResults, CaseRun& run,
                   MessageSink& messages) {
    run.model = readCaseModel(r.modelPath, messages);
    if (!run.model)
        return ExitStatus::FileProblem;
    std::string problem;
    run.loading = selectedLoading(r, *run.model, problem);
    if (singleResults && problem.empty() && !run.loading)
        problem =
            "an envelope has no single set of results: choose one with " + choicesOf(*run.model);
    if (!problem.empty()) {
        show(messages, problem);
        return ExitStatus::Usage;
    }
    return analyseAll(r, *run.model, run.analysis, messages);
}

} // namespace

int AnalyseCaseState(const CaseAnalyseRequest& r, ProgramState& state, MessageSink& messages) {
    CaseRun run;
    if (const int status = readAndAnalyse(r, true, run, messages); status != ExitStatus::Completed)
        return status;
    if (IsPatterned(*run.analysis, *run.loading)) {
        show(messages, "\"" + run.loading->name +
                           "\" has a patterned load case: its results are an envelope, which has "
                           "no single set of results; choose " +
                           choicesOf(*run.model) + " without a patterned case");
        return ExitStatus::Usage;
    }
    state = CombinedState(*run.analysis, *run.model, *run.loading);
    state.FileName = r.modelPath;
    return ExitStatus::Completed;
}

int AnalyseCaseModel(const CaseAnalyseRequest& r, std::ostream& out, MessageSink& messages) {
    CaseRun run;
    if (const int status = readAndAnalyse(r, false, run, messages); status != ExitStatus::Completed)
        return status;
    return writeSelection(r, *run.analysis, *run.model, run.loading, out, messages);
}

int ConvertModel(const std::string& in, const std::string& out, MessageSink& messages) {
    if (const auto same = OutputPaths::FindSameFile({{"the model " + in, in}}, {{out, out}})) {
        show(messages, OutputPaths::Describe(*same));
        return ExitStatus::Usage;
    }
    const std::optional<CaseModel> m = readCaseModel(in, messages);
    if (!m)
        return ExitStatus::FileProblem;
    std::string bytes;
    try {
        bytes = ModelJson::ModelFileBytes(*m, out);
        // A .kdn file must come back from its JSON form byte for byte: anything that would not
        // is refused rather than changed.
        if (!ModelJson::IsJsonModelPath(in) && ModelJson::IsJsonModelPath(out) &&
            ModelJson::ModelFileBytes(ModelJson::ReadModelJson(bytes), in) !=
                ModelJson::ModelFileBytes(*m, in))
            throw KradonError(ErrorNumber::BadFileFormat, ModelJson::WriteSource,
                              "The model would not come back from its JSON form unchanged");
    } catch (const KradonError& e) {
        show(messages, "Cannot convert " + in + " to " + out + ": " + e.what());
        return ExitStatus::FileProblem;
    }
    return WriteOutputFile(out, bytes, "model", messages) ? ExitStatus::Completed
                                                          : ExitStatus::FileProblem;
}

} // namespace kradon::cli
