// kradon-cli: inspect model files, analyse them and rebuild reports from results files, from a
// terminal. Each command parses its arguments, calls the same core functions as the program's
// own commands with a sink that writes to stderr, and maps the outcome to an exit status.
#include "cli/CliCommands.h"

#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "cli/PictureOption.h"
#include "model/KradonError.h"
#include "model/ModelTables.h"
#include "model/modFileWrite.h"
#include "results/ResultsFile.h"
#include "results/modResults.h"
#include "settings/OptionRules.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

namespace kradon::cli {
namespace {

constexpr const char* UsageText =
    "Usage:\n"
    "  kradon-cli analyse MODEL.kdn [--mesh-density F] [--report FILE] [--results FILE.kxr]\n"
    "                     [--json FILE] [--picture KIND:FILE]... [--size WxH]\n"
    "                                analyse the model and print its results report\n"
    "  kradon-cli report RESULTS.kxr print the report rebuilt from a results file\n"
    "  kradon-cli show MODEL.kdn     print the model's records\n"
    "  kradon-cli --version          print the program version\n"
    "  kradon-cli --help             print this text\n"
    "Options of analyse:\n"
    "  --mesh-density F     mesh density factor, 0.2 to 10 (default 1)\n"
    "  --report FILE        write the report to FILE instead of stdout\n"
    "  --results FILE.kxr   also write the results file\n"
    "  --json FILE          also write the results as JSON\n"
    "  --picture KIND:FILE  also draw a picture, KIND one of beam, mesh, bmd, sfd, dsd, e, i,\n"
    "                       into FILE ending in .svg or .png; may be given several times\n"
    "  --size WxH           picture size in pixels (default 1200x800)\n"
    "Exit status: 0 completed, 1 input check refused the model, 2 unstable structure or\n"
    "calculation error, 3 file missing, unreadable, damaged or unwritable, 64 usage error.\n";

/// Title of the messages kradon-cli shows itself (files it cannot write, usage errors).
constexpr const char* CliTitle = "kradon-cli";

// Forces and moments are held in N and N·m and given in kN and kNm; deflections are held in m
// and given in mm.
constexpr double ForceDivisor = 1000;
constexpr double DeflectionFactor = 1000;

// ---- argument parsing ----

/// What `analyse` was asked to do. An empty path means the output is not wanted (the report
/// then goes to stdout).
struct AnalyseOptions {
    std::string modelPath;
    float meshDensity = 1; // single precision, as the options dialog's field is read
    std::string reportPath;
    std::string resultsPath;
    std::string jsonPath;
    std::vector<PictureRequest> pictures;
    int pictureWidth = DefaultPictureWidth;
    int pictureHeight = DefaultPictureHeight;
};

struct ReportOptions {
    std::string resultsPath;
};

/// One option taking a value: its name, how it stores the value, and whether it may be given
/// more than once. set returns the problem with the value, empty when the value is good.
template <class Options> struct OptionSpec {
    std::string_view name;
    std::string (*set)(Options& options, const std::string& value);
    bool repeatable = false;
};

std::string setMeshDensity(AnalyseOptions& o, const std::string& value) {
    float parsed = 0;
    const char* end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data(), end, parsed);
    if (ec != std::errc() || ptr != end || !std::isfinite(parsed))
        return "--mesh-density needs a number, not '" + value + "'";
    o.meshDensity = parsed;
    return {};
}

/// Stores a file name in the member of the options it belongs to.
template <class Options, std::string Options::*path>
std::string setPath(Options& o, const std::string& value) {
    o.*path = value;
    return {};
}

std::string addPicture(AnalyseOptions& o, const std::string& value) {
    std::string problem;
    std::optional<PictureRequest> request = ParsePictureRequest(value, problem);
    if (request)
        o.pictures.push_back(std::move(*request));
    return problem;
}

std::string setPictureSize(AnalyseOptions& o, const std::string& value) {
    std::string problem;
    ParsePictureSize(value, o.pictureWidth, o.pictureHeight, problem);
    return problem;
}

const std::array<OptionSpec<AnalyseOptions>, 6> AnalyseOptionTable{{
    {"--mesh-density", setMeshDensity},
    {"--report", setPath<AnalyseOptions, &AnalyseOptions::reportPath>},
    {"--results", setPath<AnalyseOptions, &AnalyseOptions::resultsPath>},
    {"--json", setPath<AnalyseOptions, &AnalyseOptions::jsonPath>},
    {"--picture", addPicture, true},
    {"--size", setPictureSize},
}};

const std::array<OptionSpec<ReportOptions>, 0> ReportOptionTable{};

/// Reads the arguments after the command: options from table, each followed by its value and
/// at most once unless repeatable, and exactly one file, which goes to file. Returns the problem,
/// empty if none.
template <class Options>
std::string parseArguments(std::span<const std::string> args,
                           std::span<const OptionSpec<Options>> table, Options& options,
                           std::string& file, const std::string& command, const char* fileKind) {
    std::set<std::string_view> seen;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg.front() != '-') {
            if (haveFile)
                return command + " takes exactly one " + fileKind;
            file = arg;
            haveFile = true;
            continue;
        }
        const auto option =
            std::find_if(table.begin(), table.end(), [&](const auto& s) { return s.name == arg; });
        if (option == table.end())
            return "unknown option '" + arg + "' for " + command;
        if (!seen.insert(option->name).second && !option->repeatable)
            return arg + " given twice";
        if (i + 1 == args.size())
            return arg + " needs a value";
        if (std::string problem = option->set(options, args[++i]); !problem.empty())
            return problem;
    }
    if (!haveFile)
        return command + " takes exactly one " + fileKind;
    return {};
}

int usageError(const std::string& problem, std::ostream& err) {
    err << CliTitle << ": " << problem << "\n" << UsageText;
    return ExitStatus::Usage;
}

// ---- steps shared by the commands ----

std::optional<BeamModel> readModel(const std::string& path, MessageSink& messages) {
    try {
        return modFileWrite::OpenModelFile(path);
    } catch (const KradonError& e) {
        messages.show({ProgramTitle, MessageLines(modFileWrite::OpenErrorPrefix + path, e.what()),
                       Icon::None});
        return std::nullopt;
    }
}

std::optional<std::filesystem::path> analysisFolder(MessageSink& messages) {
    try {
        return modFileWrite::DefaultAnalysisFolder();
    } catch (const std::filesystem::filesystem_error& e) {
        messages.show({CliTitle,
                       std::string("Cannot create the folder of the analysis copy: ") + e.what(),
                       Icon::None});
        return std::nullopt;
    }
}

int exitStatusOf(AnalyseOutcome outcome) {
    switch (outcome) {
    case AnalyseOutcome::Completed:
        return ExitStatus::Completed;
    case AnalyseOutcome::CheckFailed:
    case AnalyseOutcome::Cancelled:
        return ExitStatus::InputRefused;
    case AnalyseOutcome::Failed:
    case AnalyseOutcome::Unstable:
        break;
    }
    return ExitStatus::AnalysisFailed;
}

/// Writes bytes to path, replacing the file; a failure is reported as "Cannot write the WHAT".
bool writeFile(const std::string& path, const std::string& bytes, const char* what,
               MessageSink& messages) {
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file.is_open())
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.is_open())
        file.close();
    if (file.good())
        return true;
    const int reason = errno;
    messages.show({CliTitle,
                   std::string("Cannot write the ") + what + " to " + path +
                       (reason != 0 ? std::string(": ") + std::strerror(reason) : std::string()),
                   Icon::None});
    return false;
}

bool writeReport(const std::string& report, const std::string& path, std::ostream& out,
                 MessageSink& messages) {
    if (path.empty()) {
        out << report;
        return true;
    }
    return writeFile(path, report, "report", messages);
}

bool saveResults(const ProgramState& state, const std::string& path, MessageSink& messages) {
    try {
        SaveResultsFile(state, path);
        return true;
    } catch (const KradonError& e) {
        messages.show(
            {ProgramTitle, MessageLines(SaveResultsErrorPrefix + path, e.what()), Icon::None});
        return false;
    }
}

// ---- JSON ----

double at(const std::vector<double>& table, std::int32_t i) {
    return table.at(static_cast<std::size_t>(i));
}

nlohmann::ordered_json nodeJson(const ProgramState& s, std::int32_t i) {
    const ResultTables& r = s.results;
    nlohmann::ordered_json node;
    node["number"] = i;
    node["x_m"] = at(s.mesh.NodeX, i);
    node["deflection_mm"] = at(r.NodeDeflection, i) * DeflectionFactor;
    node["rotation_rad"] = at(s.equations.Displacements, 2 * i);
    node["moment_kNm"] = at(r.NodeMoment, i) / ForceDivisor;
    // Just left of node i is the end of element i - 1, just right the start of element i; the
    // end nodes have only one of them.
    node["shear_left_kN"] = nullptr;
    node["shear_right_kN"] = nullptr;
    if (i > 1)
        node["shear_left_kN"] = at(r.NodeShear, 2 * i - 1) / ForceDivisor;
    if (i < s.mesh.NodeCount)
        node["shear_right_kN"] = at(r.NodeShear, 2 * i) / ForceDivisor;
    return node;
}

nlohmann::ordered_json supportJson(const ProgramState& s, std::int32_t n) {
    const RigidSupportList& list = s.model.RigidSupport;
    const std::vector<double>& reaction = s.results.SupportReaction.at(static_cast<std::size_t>(n));
    nlohmann::ordered_json support;
    support["number"] = n;
    support["type"] = at(list.type, n) == SupportType::Pinned ? "Pinned" : "Fixed";
    support["location_m"] = at(list.location, n);
    support["vertical_kN"] = at(reaction, 1) / ForceDivisor;
    support["moment_kNm"] = at(reaction, 2) / ForceDivisor;
    return support;
}

/// The force (upwards) and moment (clockwise) that spring support or fixed displacement n
/// exerts on the beam.
nlohmann::ordered_json holdingJson(const std::vector<std::vector<double>>& reactions,
                                   const std::vector<double>& location, std::int32_t n) {
    const std::vector<double>& reaction = reactions.at(static_cast<std::size_t>(n));
    nlohmann::ordered_json holding;
    holding["number"] = n;
    holding["location_m"] = at(location, n);
    holding["force_kN"] = at(reaction, 1) / ForceDivisor;
    holding["moment_kNm"] = at(reaction, 2) / ForceDivisor;
    return holding;
}

nlohmann::ordered_json extremeJson(const Extreme& largest, const Extreme& smallest, double factor) {
    return {{"largest", {{"value", largest.value * factor}, {"x_m", largest.x}}},
            {"smallest", {{"value", smallest.value * factor}, {"x_m", smallest.x}}}};
}

nlohmann::ordered_json extremesJson(const ResultExtremes& x) {
    return {{"moment_kNm", extremeJson(x.largestMoment, x.smallestMoment, 1 / ForceDivisor)},
            {"shear_kN", extremeJson(x.largestShear, x.smallestShear, 1 / ForceDivisor)},
            {"deflection_mm",
             extremeJson(x.largestDeflection, x.smallestDeflection, DeflectionFactor)}};
}

nlohmann::ordered_json checksJson(const EquilibriumResiduals& e) {
    return {{"vertical_residual_kN", e.vertical / ForceDivisor},
            {"moment_residual_kNm", e.moment / ForceDivisor},
            {"total_load_kN", e.totalLoad / ForceDivisor}};
}

nlohmann::ordered_json elementJson(const MeshTables& mesh, std::int32_t e) {
    nlohmann::ordered_json element;
    element["number"] = e;
    element["node1"] = std::lround(at(mesh.ElementNode1, e));
    element["node2"] = std::lround(at(mesh.ElementNode2, e));
    element["length_m"] = at(mesh.ElementLength, e);
    element["E_kN_per_mm2"] = at(mesh.ElementE, e);
    element["I_cm4"] = at(mesh.ElementI, e);
    return element;
}

/// The results of a completed analysis, in the units of the report. Values that are not finite
/// numbers come out as null.
nlohmann::ordered_json resultsJson(const ProgramState& s, const std::string& modelPath) {
    nlohmann::ordered_json j;
    j["model"] = {{"file", modelPath},
                  {"span_m", s.model.span},
                  {"NodeCount", s.mesh.NodeCount},
                  {"ElementCount", s.mesh.ElementCount},
                  {"RigidSupportCount", s.model.count(RecordKind::RigidSupport)},
                  {"MeshDensFact", s.options.MeshDensFact}};
    j["times"] = {{"CalcTime_s", s.equations.CalcTime}, {"AnalysisTime_s", s.AnalysisTime}};
    j["nodes"] = nlohmann::ordered_json::array();
    for (std::int32_t i = 1; i <= s.mesh.NodeCount; ++i)
        j["nodes"].push_back(nodeJson(s, i));
    j["rigid_supports"] = nlohmann::ordered_json::array();
    for (std::int32_t n = 1; n <= s.model.count(RecordKind::RigidSupport); ++n)
        j["rigid_supports"].push_back(supportJson(s, n));
    j["spring_supports"] = nlohmann::ordered_json::array();
    for (std::int32_t n = 1; n <= s.model.count(RecordKind::SpringSupport); ++n)
        j["spring_supports"].push_back(
            holdingJson(s.results.SpringReaction, s.model.SpringSupport.location, n));
    j["fixed_displacements"] = nlohmann::ordered_json::array();
    for (std::int32_t n = 1; n <= s.model.count(RecordKind::FixedDisplacement); ++n)
        j["fixed_displacements"].push_back(
            holdingJson(s.results.DisplacementReaction, s.model.FixedDisplacement.location, n));
    j["elements"] = nlohmann::ordered_json::array();
    for (std::int32_t e = 1; e <= s.mesh.ElementCount; ++e)
        j["elements"].push_back(elementJson(s.mesh, e));
    j["extremes"] = extremesJson(s.results.Extremes);
    j["checks"] = checksJson(s.results.Residuals);
    return j;
}

// ---- the commands ----

// Columns padded to their widest cell, two blanks apart.
void printTable(const ModelTables::RecordTable& table, std::ostream& out) {
    std::vector<std::size_t> widths;
    for (const auto& column : table.columns)
        widths.push_back(column.size());
    for (const auto& row : table.rows)
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());

    const auto printRow = [&](const std::vector<std::string>& cells) {
        std::string line;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            line += cells[c];
            if (c + 1 < cells.size())
                line += std::string(widths[c] - cells[c].size() + 2, ' ');
        }
        out << line << '\n';
    };
    out << table.title << '\n';
    printRow(table.columns);
    for (const auto& row : table.rows)
        printRow(row);
}

int showModel(const std::string& path, std::ostream& out, std::ostream& err) {
    StreamMessageSink messages(err);
    const std::optional<BeamModel> model = readModel(path, messages);
    if (!model)
        return ExitStatus::FileProblem;
    bool first = true;
    for (const auto& table : ModelTables::AllTables(*model)) {
        if (!first)
            out << '\n';
        first = false;
        printTable(table, out);
    }
    return ExitStatus::Completed;
}

/// The Analyse command on the model file, then the outputs asked for.
int analyse(const AnalyseOptions& o, std::ostream& out, MessageSink& messages) {
    ProgramState state;
    std::optional<BeamModel> model = readModel(o.modelPath, messages);
    if (!model)
        return ExitStatus::FileProblem;
    state.model = std::move(*model);
    state.FileName = o.modelPath;
    state.options.MaxNoApplieds = state.model.MaxNoApplieds;
    state.options.MeshDensFact = OptionRules::RefuseMeshDensFact(o.meshDensity, messages);

    const std::optional<std::filesystem::path> copyFolder = analysisFolder(messages);
    if (!copyFolder)
        return ExitStatus::FileProblem;
    NullStatusSink status;
    AnalyseResult result;
    try {
        result = AnalyseCore(state, *copyFolder, status, messages);
    } catch (const KradonError& e) {
        // Only writing and reading back the analysis copy throws out of the command.
        messages.show({ProgramTitle,
                       MessageLines(modFileWrite::SaveErrorPrefix + copyFolder->string(), e.what()),
                       Icon::None});
        return ExitStatus::FileProblem;
    }
    if (result.outcome != AnalyseOutcome::Completed)
        return exitStatusOf(result.outcome);

    const std::string report = DoResults(state, "", state.equations.CalcTime, result.AnalysisTime);
    if (!writeReport(report, o.reportPath, out, messages))
        return ExitStatus::FileProblem;
    if (!o.resultsPath.empty() && !saveResults(state, o.resultsPath, messages))
        return ExitStatus::FileProblem;
    if (!o.jsonPath.empty() &&
        !writeFile(o.jsonPath, resultsJson(state, o.modelPath).dump(2) + "\n", "JSON results",
                   messages))
        return ExitStatus::FileProblem;
    if (!WritePictures(o.pictures, o.pictureWidth, o.pictureHeight, state, messages))
        return ExitStatus::FileProblem;
    return ExitStatus::Completed;
}

/// A results file holds no element properties or nodes: the element tables are sized with
/// zeros, so the report's element rows show 0, and with no model there are no reaction rows.
void sizeElementTables(MeshTables& mesh) {
    const auto size = static_cast<std::size_t>(mesh.ElementCount) + 1;
    for (std::vector<double>* table : {&mesh.ElementE, &mesh.ElementI, &mesh.ElementNode1,
                                       &mesh.ElementNode2, &mesh.ElementLength})
        table->assign(size, 0.0);
}

/// The report rebuilt from a results file alone, in a fresh state.
int reportFromFile(const ReportOptions& o, std::ostream& out, MessageSink& messages) {
    ProgramState state;
    ResultsFileTimes times;
    try {
        times = OpenResultsFile(o.resultsPath, state);
    } catch (const KradonError& e) {
        messages.show({ProgramTitle,
                       MessageLines(modFileWrite::OpenErrorPrefix + o.resultsPath, e.what()),
                       Icon::None});
        return ExitStatus::FileProblem;
    }
    sizeElementTables(state.mesh);
    out << DoResults(state, o.resultsPath, times.CalcTime, times.AnalysisTime);
    return ExitStatus::Completed;
}

/// Runs command with a stray core error shown as a box built from its source and description.
template <class Command> int guarded(MessageSink& messages, Command&& command) {
    try {
        return command();
    } catch (const KradonError& e) {
        messages.show({e.source(), e.what(), Icon::Critical});
    } catch (const std::exception& e) {
        messages.show({CliTitle, e.what(), Icon::Critical});
    }
    return ExitStatus::AnalysisFailed;
}

} // namespace

void StreamMessageSink::show(const Message& message) {
    const std::string& title = message.title.empty() ? std::string(ProgramTitle) : message.title;
    err_ << title << ": " << message.text << '\n';
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty())
        return usageError("no command given", err);
    const std::string& command = args[0];
    const std::span<const std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h") {
        out << UsageText;
        return ExitStatus::Completed;
    }
    if (command == "--version") {
        out << KRADON_VERSION << '\n';
        return ExitStatus::Completed;
    }
    if (command == "show") {
        if (args.size() != 2)
            return usageError("show takes exactly one model file", err);
        return showModel(args[1], out, err);
    }
    StreamMessageSink messages(err);
    if (command == "analyse") {
        AnalyseOptions options;
        const std::string problem = parseArguments<AnalyseOptions>(
            rest, AnalyseOptionTable, options, options.modelPath, command, "model file");
        if (!problem.empty())
            return usageError(problem, err);
        return guarded(messages, [&] { return analyse(options, out, messages); });
    }
    if (command == "report") {
        ReportOptions options;
        const std::string problem = parseArguments<ReportOptions>(
            rest, ReportOptionTable, options, options.resultsPath, command, "results file");
        if (!problem.empty())
            return usageError(problem, err);
        return guarded(messages, [&] { return reportFromFile(options, out, messages); });
    }
    return usageError("unknown command '" + command + "'", err);
}

} // namespace kradon::cli
