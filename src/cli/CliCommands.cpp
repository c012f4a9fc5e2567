// kradon-cli: inspect model files, analyse them and rebuild reports from results files, from a
// terminal. Each command parses its arguments, calls the same core functions as the program's
// own commands with a sink that writes to stderr, and maps the outcome to an exit status.
#include "cli/CliCommands.h"

#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "cli/CaseCommands.h"
#include "cli/CliOutput.h"
#include "cli/PictureOption.h"
#include "graphics/SheetBuilder.h"
#include "graphics/SheetHtml.h"
#include "model/KradonError.h"
#include "model/ModelTables.h"
#include "model/OutputPaths.h"
#include "model/SafeFile.h"
#include "model/modFileWrite.h"
#include "model/modText.h"
#include "results/ResultQueries.h"
#include "results/ResultsCsv.h"
#include "results/ResultsFile.h"
#include "results/modResults.h"
#include "settings/OptionRules.h"
#include "settings/UserDetailsFile.h"

#include "json/ModelJson.h"
#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <span>
#include <sstream>
#include <stdio_ext.h>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace kradon::cli {
namespace {

constexpr const char* CaseNeedsJsonText =
    "--case and --combination need a JSON model (MODEL.kradon.json)";

constexpr const char* UsageText =
    "Usage:\n"
    "  kradon-cli analyse MODEL.kdn [--mesh-density F] [--exact-sections] [--report FILE]\n"
    "                     [--results FILE.kxr] [--json FILE] [--csv FILE] [--picture "
    "KIND:FILE]...\n"
    "                     [--size WxH]\n"
    "                                analyse the model and print its results report\n"
    "  kradon-cli analyse MODEL.kradon.json [--case NAME | --combination NAME | --envelope]\n"
    "                     [the options above]\n"
    "                                analyse every load case of a JSON model and print the\n"
    "                                report of one case, one combination or the envelope\n"
    "  kradon-cli convert IN OUT     convert a model between .kdn and .kradon.json (by the names)\n"
    "  kradon-cli at MODEL.kdn X [X ...] [--mesh-density F] [--exact-sections] [--json]\n"
    "                     [-o FILE]\n"
    "                                print deflection, rotation, moment and shear at each\n"
    "                                X (m from the left end), both sides where they jump\n"
    "  kradon-cli sheet MODEL.kdn -o SHEET.pdf|SHEET.html [--mesh-density F] [--exact-sections]\n"
    "                                analyse the model and write its calculation sheet\n"
    "  at and sheet on MODEL.kradon.json take [--case NAME | --combination NAME]: one case, or\n"
    "                                one combination without a patterned case (by default the\n"
    "                                one case of a model with one case and no combination)\n"
    "  kradon-cli report RESULTS.kxr print the report rebuilt from a results file\n"
    "  kradon-cli show MODEL.kdn     print the model's records\n"
    "  kradon-cli --version          print the program version\n"
    "  kradon-cli --help             print this text\n"
    "Options of analyse:\n"
    "  --mesh-density F     mesh density factor, 0.2 to 10 (default 1)\n"
    "  --exact-sections     integrate varying E and I exactly along each element\n"
    "  --report FILE        write the report to FILE instead of stdout\n"
    "  --results FILE.kxr   also write the results file\n"
    "  --json FILE          also write the results as JSON\n"
    "  --csv FILE           also write the node results and reactions as CSV\n"
    "  --picture KIND:FILE  also draw a picture, KIND one of beam, mesh, bmd, sfd, dsd, e, i,\n"
    "                       into FILE ending in .svg or .png; may be given several times\n"
    "  --size WxH           picture size in pixels (default 1200x800)\n"
    "  --case NAME          report the load case NAME alone (JSON models)\n"
    "  --combination NAME   report the combination NAME (JSON models)\n"
    "  --envelope           report the envelope of the combinations (JSON models; the default\n"
    "                       unless the model has one case and no combination)\n"
    "Options of at:\n"
    "  --json               print JSON instead of a table\n"
    "  -o FILE              write to FILE instead of stdout\n"
    "Exit status: 0 completed, 1 input check refused the model, 2 unstable structure or\n"
    "calculation error, 3 file missing, unreadable, damaged or unwritable, 64 usage error.\n";

/// Title of the messages kradon-cli shows itself (files it cannot write, usage errors).

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
    bool meshDensityGiven = false;
    Selection selection = Selection::Default;
    std::string selected; // the case or combination name
    bool exactSections = false;
    std::string reportPath;
    std::string resultsPath;
    std::string jsonPath;
    std::string csvPath;
    std::vector<PictureRequest> pictures;
    int pictureWidth = DefaultPictureWidth;
    int pictureHeight = DefaultPictureHeight;
};

struct ReportOptions {
    std::string resultsPath;
};

struct SheetOptions {
    std::string modelPath;
    std::string outPath;
    float meshDensity = 1;
    bool meshDensityGiven = false;
    bool exactSections = false;
    Selection selection = Selection::Default;
    std::string selected;
};

/// One option: its name, how it stores its value, whether it may be given more than once, and
/// whether it takes a value at all (a switch is set with the empty value). set returns the
/// problem with the value, empty when the value is good.
template <class Options> struct OptionSpec {
    std::string_view name;
    std::string (*set)(Options& options, const std::string& value);
    bool repeatable = false;
    bool takesValue = true;
};

template <class Options> std::string setMeshDensity(Options& o, const std::string& value) {
    float parsed = 0;
    const char* end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data(), end, parsed);
    if (ec != std::errc() || ptr != end || !std::isfinite(parsed))
        return "--mesh-density needs a number, not '" + value + "'";
    o.meshDensity = parsed;
    o.meshDensityGiven = true;
    return {};
}

/// Chooses what the report of a JSON model shows; only one choice may be made.
template <Selection selection, class Options = AnalyseOptions>
std::string select(Options& o, const std::string& value) {
    if (o.selection != Selection::Default)
        return "--case, --combination and --envelope exclude each other";
    o.selection = selection;
    o.selected = value;
    return {};
}

template <class Options> std::string setExactSections(Options& o, const std::string&) {
    o.exactSections = true;
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

const std::array<OptionSpec<AnalyseOptions>, 11> AnalyseOptionTable{{
    {"--mesh-density", setMeshDensity<AnalyseOptions>},
    {"--case", select<Selection::Case>},
    {"--combination", select<Selection::Combination>},
    {"--envelope", select<Selection::Envelope>, false, false},
    {"--exact-sections", setExactSections<AnalyseOptions>, false, false},
    {"--report", setPath<AnalyseOptions, &AnalyseOptions::reportPath>},
    {"--results", setPath<AnalyseOptions, &AnalyseOptions::resultsPath>},
    {"--json", setPath<AnalyseOptions, &AnalyseOptions::jsonPath>},
    {"--csv", setPath<AnalyseOptions, &AnalyseOptions::csvPath>},
    {"--picture", addPicture, true},
    {"--size", setPictureSize},
}};

const std::array<OptionSpec<ReportOptions>, 0> ReportOptionTable{};

const std::array<OptionSpec<SheetOptions>, 5> SheetOptionTable{{
    {"--mesh-density", setMeshDensity<SheetOptions>},
    {"--case", select<Selection::Case, SheetOptions>},
    {"--combination", select<Selection::Combination, SheetOptions>},
    {"--exact-sections", setExactSections<SheetOptions>, false, false},
    {"-o", setPath<SheetOptions, &SheetOptions::outPath>},
}};

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
        if (!option->takesValue) {
            if (std::string problem = option->set(options, {}); !problem.empty())
                return problem;
            continue;
        }
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

/// Two files of one run are the same file: nothing is read or written (exit 64, no usage text,
/// since the command line itself is well formed).
int sameFileError(const std::string& same, std::ostream& err) {
    err << CliTitle << ": " << same << "\n";
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

/// Every file an analysis would read or write, each named as the user typed it.
std::pair<std::vector<OutputPaths::NamedPath>, std::vector<OutputPaths::NamedPath>>
filesOf(const AnalyseOptions& o) {
    std::vector<OutputPaths::NamedPath> outputs;
    const auto add = [&](const char* option, const std::string& path) {
        if (!path.empty())
            outputs.push_back({std::string(option) + " " + path, path});
    };
    add("--report", o.reportPath);
    add("--results", o.resultsPath);
    add("--json", o.jsonPath);
    add("--csv", o.csvPath);
    for (const PictureRequest& picture : o.pictures)
        outputs.push_back({"--picture " + std::string(modGraphics::PictureKindName(picture.kind)) +
                               ":" + picture.file.string(),
                           picture.file});
    return {{{"the model " + o.modelPath, o.modelPath}}, std::move(outputs)};
}

/// The problem when two files of the run are one, so that one would overwrite the other.
std::string sameFileProblem(const AnalyseOptions& o) {
    const auto [inputs, outputs] = filesOf(o);
    const auto same = OutputPaths::FindSameFile(inputs, outputs);
    return same ? OutputPaths::Describe(*same) : std::string();
}

/// The same for a command that reads the model and writes at most one file (-o FILE).
std::string sameFileProblem(const std::string& modelPath, const std::string& outPath) {
    if (outPath.empty())
        return {};
    const auto same = OutputPaths::FindSameFile({{"the model " + modelPath, modelPath}},
                                                {{"-o " + outPath, outPath}});
    return same ? OutputPaths::Describe(*same) : std::string();
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

/// nlohmann::json's own text of finite doubles (its number conversion, not the standard
/// library's, which may pick other digits), remembered for a few values: the long arrays repeat
/// many (the E and I of every element, a node's moment on both sides).
class NumberTexts {
public:
    std::string_view of(double value) {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        Entry& entry = entries_[(bits * 0x9E3779B97F4A7C15u) >> 60];
        if (!entry.used || entry.bits != bits) {
            char* end = nlohmann::detail::to_chars(entry.text.data(),
                                                   entry.text.data() + entry.text.size(), value);
            entry = {bits, entry.text, static_cast<std::size_t>(end - entry.text.data()), true};
        }
        return {entry.text.data(), entry.length};
    }

private:
    struct Entry {
        std::uint64_t bits = 0;
        std::array<char, 32> text{};
        std::size_t length = 0;
        bool used = false;
    };
    std::array<Entry, 16> entries_{};
};

/// The flat objects of numbers that make up the long arrays of the JSON results, written
/// straight into text with the bytes nlohmann::json's dump gives them (its own number
/// conversion, null for what is not finite), without a json value for each.
class JsonRecord {
public:
    /// Opens an object at the given depth of indentation (blanks).
    JsonRecord(std::string& text, NumberTexts& numbers, std::size_t indent)
        : text_(text), numbers_(numbers), indent_(indent) {
        text_ += '{';
    }
    JsonRecord(const JsonRecord&) = delete;
    JsonRecord& operator=(const JsonRecord&) = delete;
    ~JsonRecord() {
        text_ += '\n';
        text_.append(indent_, ' ');
        text_ += '}';
    }

    void field(std::string_view key, double value) {
        open(key);
        if (!std::isfinite(value)) {
            text_ += "null";
            return;
        }
        text_ += numbers_.of(value);
    }
    void field(std::string_view key, long value) {
        open(key);
        std::array<char, 24> digits{};
        text_.append(digits.data(),
                     std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr);
    }
    void field(std::string_view key, std::int32_t value) { field(key, long{value}); }
    /// null when there is no value.
    void field(std::string_view key, std::optional<double> value) {
        if (value)
            return field(key, *value);
        open(key);
        text_ += "null";
    }

private:
    void open(std::string_view key) {
        text_ += first_ ? "\n" : ",\n";
        first_ = false;
        text_.append(indent_ + 2, ' ');
        text_ += '"';
        text_ += key;
        text_ += "\": ";
    }

    std::string& text_;
    NumberTexts& numbers_;
    std::size_t indent_;
    bool first_ = true;
};

void nodeJson(JsonRecord& node, const ProgramState& s, std::int32_t i) {
    const ResultTables& r = s.results;
    node.field("number", i);
    node.field("x_m", at(s.mesh.NodeX, i));
    node.field("deflection_mm", at(r.NodeDeflection, i) * DeflectionFactor);
    node.field("rotation_rad", at(s.equations.Displacements, 2 * i));
    node.field("moment_kNm", at(r.NodeMoment, i) / ForceDivisor);
    // Both sides of the node: they differ where a moment load or a support's moment acts.
    const NodeSides sides = SidesOfNode(s, i);
    const auto moment = [](const std::optional<SectionValues>& side) -> std::optional<double> {
        if (!side)
            return std::nullopt;
        return side->moment / ForceDivisor;
    };
    node.field("moment_left_kNm", moment(sides.left));
    node.field("moment_right_kNm", moment(sides.right));
    // Just left of node i is the end of element i - 1, just right the start of element i; the
    // end nodes have only one of them.
    const auto shear = [&](bool has, std::int32_t k) -> std::optional<double> {
        if (!has)
            return std::nullopt;
        return at(r.NodeShear, k) / ForceDivisor;
    };
    node.field("shear_left_kN", shear(i > 1, 2 * i - 1));
    node.field("shear_right_kN", shear(i < s.mesh.NodeCount, 2 * i));
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
    return {
        {"moment_kNm", extremeJson(x.largestMoment, x.smallestMoment, 1 / ForceDivisor)},
        {"shear_kN", extremeJson(x.largestShear, x.smallestShear, 1 / ForceDivisor)},
        {"deflection_mm", extremeJson(x.largestDeflection, x.smallestDeflection, DeflectionFactor)},
        {"rotation_rad", extremeJson(x.largestRotation, x.smallestRotation, 1)}};
}

/// null where E and I vary along no element (the midpoint rule is exact there), the reason where
/// the exact integration could not be made, else the largest differences of the midpoint rule
/// from it at the nodes.
nlohmann::ordered_json discretisationJson(const DiscretisationEstimate& d) {
    if (!d.varies)
        return nullptr;
    if (!d.unavailable.empty())
        return {{"unavailable", d.unavailable}};
    return {{"deflection_change_mm", d.deflection.value * DeflectionFactor},
            {"deflection_x_m", d.deflection.x},
            {"deflection_change_relative", d.deflectionRelative},
            {"moment_change_kNm", d.moment.value / ForceDivisor},
            {"moment_x_m", d.moment.x},
            {"moment_change_relative", d.momentRelative}};
}

nlohmann::ordered_json checksJson(const ResultTables& r) {
    const EquilibriumResiduals& e = r.Residuals;
    return {{"vertical_residual_kN", e.vertical / ForceDivisor},
            {"moment_residual_kNm", e.moment / ForceDivisor},
            {"total_load_kN", e.totalLoad / ForceDivisor},
            {"discretisation", discretisationJson(r.Discretisation)}};
}

void elementJson(JsonRecord& element, const MeshTables& mesh, std::int32_t e) {
    element.field("number", e);
    element.field("node1", std::lround(at(mesh.ElementNode1, e)));
    element.field("node2", std::lround(at(mesh.ElementNode2, e)));
    element.field("length_m", at(mesh.ElementLength, e));
    element.field("E_kN_per_mm2", at(mesh.ElementE, e));
    element.field("I_cm4", at(mesh.ElementI, e));
}

/// Writes a JSON object member by member, with the bytes of dump(2) of the whole object, so that
/// its long arrays go out an element at a time and the document is never held whole.
class JsonObjectWriter {
public:
    explicit JsonObjectWriter(const ByteSink& sink) : sink_(sink) { text_ = "{\n"; }
    JsonObjectWriter(const JsonObjectWriter&) = delete;
    JsonObjectWriter& operator=(const JsonObjectWriter&) = delete;

    void member(std::string_view key, const nlohmann::ordered_json& value) {
        open(key);
        indented(value.dump(2), 2);
    }
    /// A member that is an array of the values element(1) ... element(count).
    template <class Element>
    void array(std::string_view key, std::int32_t count, const Element& element) {
        elements(key, count, [&](std::int32_t i) { indented(element(i).dump(2), 4); });
    }
    /// A member that is an array of count flat objects, write(record, i) filling object i
    /// (1 ... count).
    template <class Write>
    void records(std::string_view key, std::int32_t count, const Write& write) {
        elements(key, count, [&](std::int32_t i) {
            JsonRecord record(text_, numbers_, 4);
            write(record, i);
        });
    }
    /// Closes the object and hands on what is left.
    void end() {
        text_ += "\n}\n";
        flush();
    }

private:
    static constexpr std::size_t PieceBytes = 64 * 1024;

    /// A member that is an array of count elements, appendElement(i) writing element i after
    /// its indentation; handed on in pieces as it grows.
    template <class AppendElement>
    void elements(std::string_view key, std::int32_t count, const AppendElement& appendElement) {
        open(key);
        if (count <= 0) {
            text_ += "[]";
            return;
        }
        text_ += "[\n";
        for (std::int32_t i = 1; i <= count; ++i) {
            text_ += "    ";
            appendElement(i);
            text_ += i < count ? ",\n" : "\n";
            if (text_.size() >= PieceBytes)
                flush();
        }
        text_ += "  ]";
    }

    void open(std::string_view key) {
        text_ += first_ ? "  \"" : ",\n  \"";
        first_ = false;
        text_ += key;
        text_ += "\": ";
    }
    /// A value dumped on its own, with its inner lines moved right by blanks (a line break
    /// stands only between the tokens of a dumped value; breaks in strings are escaped).
    void indented(const std::string& dumped, std::size_t blanks) {
        for (const char c : dumped) {
            text_ += c;
            if (c == '\n')
                text_.append(blanks, ' ');
        }
    }
    void flush() {
        sink_(text_);
        text_.clear();
    }

    const ByteSink& sink_;
    std::string text_;
    NumberTexts numbers_;
    bool first_ = true;
};

/// The results of a completed analysis, in the units of the report, as a JSON document. Values
/// that are not finite numbers come out as null.
void writeResultsJson(const ProgramState& s, const std::string& modelPath, const ByteSink& sink) {
    JsonObjectWriter j(sink);
    j.member("model", {{"file", modelPath},
                       {"span_m", s.model.span},
                       {"NodeCount", s.mesh.NodeCount},
                       {"ElementCount", s.mesh.ElementCount},
                       {"RigidSupportCount", s.model.count(RecordKind::RigidSupport)},
                       {"MeshDensFact", s.options.MeshDensFact},
                       {"ExactSections", s.options.ExactSections}});
    j.member("times", {{"CalcTime_s", s.equations.CalcTime}, {"AnalysisTime_s", s.AnalysisTime}});
    j.records("nodes", s.mesh.NodeCount,
              [&](JsonRecord& node, std::int32_t i) { nodeJson(node, s, i); });
    j.array("rigid_supports", s.model.count(RecordKind::RigidSupport),
            [&](std::int32_t n) { return supportJson(s, n); });
    j.array("spring_supports", s.model.count(RecordKind::SpringSupport), [&](std::int32_t n) {
        return holdingJson(s.results.SpringReaction, s.model.SpringSupport.location, n);
    });
    j.array("fixed_displacements", s.model.count(RecordKind::FixedDisplacement),
            [&](std::int32_t n) {
                return holdingJson(s.results.DisplacementReaction,
                                   s.model.FixedDisplacement.location, n);
            });
    j.records("elements", s.mesh.ElementCount,
              [&](JsonRecord& element, std::int32_t e) { elementJson(element, s.mesh, e); });
    j.member("extremes", extremesJson(s.results.Extremes));
    j.member("checks", checksJson(s.results));
    j.end();
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

/// What one set of results is made from: the model file, and for a JSON model the case or
/// combination.
struct RunRequest {
    const std::string& modelPath;
    float meshDensity = 1;
    bool meshDensityGiven = false;
    bool exactSections = false;
    Selection selection = Selection::Default;
    const std::string& selected;
};

/// The request for the case or combination of a JSON model that r names.
CaseAnalyseRequest caseRequest(const RunRequest& r) {
    CaseAnalyseRequest request;
    request.modelPath = r.modelPath;
    if (r.meshDensityGiven)
        request.meshDensity = r.meshDensity;
    request.exactSections = r.exactSections;
    request.selection = r.selection;
    request.selected = r.selected;
    return request;
}

/// A JSON model, with its load cases, combinations and envelope.
int analyseCases(const AnalyseOptions& o, std::ostream& out, MessageSink& messages) {
    CaseAnalyseRequest request = caseRequest(
        {o.modelPath, o.meshDensity, o.meshDensityGiven, o.exactSections, o.selection, o.selected});
    request.reportPath = o.reportPath;
    request.resultsPath = o.resultsPath;
    request.jsonPath = o.jsonPath;
    request.csvPath = o.csvPath;
    request.pictures = o.pictures;
    request.pictureWidth = o.pictureWidth;
    request.pictureHeight = o.pictureHeight;
    return AnalyseCaseModel(request, out, messages);
}

/// The Analyse command on the model file at the mesh density asked for. status is the exit
/// status when the analysis did not complete.
struct AnalysisRun {
    ProgramState state;
    int status = ExitStatus::Completed;
};

AnalysisRun analyseModel(const std::string& modelPath, float meshDensity, bool exactSections,
                         MessageSink& messages);

/// The results of a .kdn model, or of one case or combination of a JSON model.
AnalysisRun analyseOneState(const RunRequest& r, MessageSink& messages) {
    if (!ModelJson::IsJsonModelPath(r.modelPath))
        return analyseModel(r.modelPath, r.meshDensity, r.exactSections, messages);
    AnalysisRun run;
    run.status = AnalyseCaseState(caseRequest(r), run.state, messages);
    return run;
}

AnalysisRun analyseModel(const std::string& modelPath, float meshDensity, bool exactSections,
                         MessageSink& messages) {
    AnalysisRun run;
    ProgramState& state = run.state;
    std::optional<BeamModel> model = readModel(modelPath, messages);
    if (!model) {
        run.status = ExitStatus::FileProblem;
        return run;
    }
    state.model = std::move(*model);
    state.FileName = modelPath;
    state.options.MaxNoApplieds = state.model.MaxNoApplieds;
    state.options.MeshDensFact = OptionRules::RefuseMeshDensFact(meshDensity, messages);
    state.options.ExactSections = exactSections;

    const std::optional<std::filesystem::path> copyFolder = AnalysisFolder(messages);
    if (!copyFolder) {
        run.status = ExitStatus::FileProblem;
        return run;
    }
    NullStatusSink status;
    try {
        run.status = ExitStatusOf(AnalyseCore(state, *copyFolder, status, messages).outcome);
    } catch (const KradonError& e) {
        // Only writing and reading back the analysis copy throws out of the command.
        messages.show({ProgramTitle,
                       MessageLines(modFileWrite::SaveErrorPrefix + copyFolder->string(), e.what()),
                       Icon::None});
        run.status = ExitStatus::FileProblem;
    }
    return run;
}

/// The Analyse command on the model file, then the outputs asked for.
int analyse(const AnalyseOptions& o, std::ostream& out, MessageSink& messages) {
    if (ModelJson::IsJsonModelPath(o.modelPath))
        return analyseCases(o, out, messages);
    const AnalysisRun run = analyseModel(o.modelPath, o.meshDensity, o.exactSections, messages);
    if (run.status != ExitStatus::Completed)
        return run.status;
    const ProgramState& state = run.state;
    const auto report = [&state](const ByteSink& sink) {
        WriteResults(state, "", state.equations.CalcTime, state.AnalysisTime, sink);
    };
    if (!WriteReport(report, o.reportPath, out, messages))
        return ExitStatus::FileProblem;
    if (!o.resultsPath.empty() && !saveResults(state, o.resultsPath, messages))
        return ExitStatus::FileProblem;
    const auto json = [&](const ByteSink& sink) { writeResultsJson(state, o.modelPath, sink); };
    if (!o.jsonPath.empty() && !WriteOutputFile(o.jsonPath, json, "JSON results", messages))
        return ExitStatus::FileProblem;
    if (!o.csvPath.empty() && !WriteOutputFile(o.csvPath, ResultsCsv(state), "CSV", messages))
        return ExitStatus::FileProblem;
    if (!WritePictures(o.pictures, o.pictureWidth, o.pictureHeight, state, messages))
        return ExitStatus::FileProblem;
    return ExitStatus::Completed;
}

// ---- values at points ----

struct AtOptions {
    std::string modelPath;
    std::vector<double> positions; // m
    float meshDensity = 1;
    bool meshDensityGiven = false;
    bool exactSections = false;
    Selection selection = Selection::Default;
    std::string selected;
    bool json = false;
    std::string outPath;
};

/// The model file first, then the positions; --json, --exact-sections, --mesh-density F,
/// --case NAME or --combination NAME and -o FILE anywhere.
/// A number after the model is a position even when it starts with '-'.
std::string parseAtArguments(std::span<const std::string> args, AtOptions& o) {
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool choice = arg == "--case" || arg == "--combination";
        const bool valued = arg == "--mesh-density" || arg == "-o" || choice;
        if (valued || arg == "--json" || arg == "--exact-sections") {
            if (!seen.insert(arg).second)
                return arg + " given twice";
            if (!valued) {
                (arg == "--json" ? o.json : o.exactSections) = true;
                continue;
            }
            if (i + 1 == args.size())
                return arg + " needs a value";
            const std::string& value = args[++i];
            if (choice) {
                const std::string problem =
                    arg == "--case" ? select<Selection::Case, AtOptions>(o, value)
                                    : select<Selection::Combination, AtOptions>(o, value);
                if (!problem.empty())
                    return problem;
                continue;
            }
            if (arg == "-o") {
                o.outPath = value;
                continue;
            }
            if (std::string problem = setMeshDensity(o, value); !problem.empty())
                return problem;
            continue;
        }
        const std::optional<double> x = modText::ParseNumber(arg);
        if (!o.modelPath.empty() && x) {
            o.positions.push_back(*x);
            continue;
        }
        if (arg.size() >= 2 && arg.front() == '-')
            return "unknown option '" + arg + "' for at";
        if (!o.modelPath.empty())
            return "at takes positions in m after the model file, not '" + arg + "'";
        o.modelPath = arg;
    }
    if (o.modelPath.empty() || o.positions.empty())
        return "at takes one model file and at least one position";
    return {};
}

nlohmann::ordered_json sideJson(const SectionValues& v) {
    return {{"deflection_mm", v.deflection * DeflectionFactor},
            {"rotation_rad", v.rotation},
            {"moment_kNm", v.moment / ForceDivisor},
            {"shear_kN", v.shear / ForceDivisor}};
}

std::string pointsJson(const ProgramState& s, const std::string& modelPath,
                       const std::vector<PointValues>& points) {
    nlohmann::ordered_json j;
    j["model"] = {
        {"file", modelPath}, {"span_m", s.model.span}, {"MeshDensFact", s.options.MeshDensFact}};
    j["points"] = nlohmann::ordered_json::array();
    for (const PointValues& p : points)
        j["points"].push_back({{"x_m", p.x},
                               {"jump", p.jump},
                               {"left", sideJson(p.left)},
                               {"right", sideJson(p.right)}});
    return j.dump(2) + "\n";
}

/// One row per position, two (left and right) where the shear or moment jumps.
std::string pointsTable(const std::vector<PointValues>& points) {
    ModelTables::RecordTable table{
        "Values at points",
        {"x_m", "side", "deflection_mm", "rotation_rad", "moment_kNm", "shear_kN"},
        {}};
    auto row = [&table](double x, const char* side, const SectionValues& v) {
        table.rows.push_back({ShortestNumber(x), side,
                              ShortestNumber(v.deflection * DeflectionFactor),
                              ShortestNumber(v.rotation), ShortestNumber(v.moment / ForceDivisor),
                              ShortestNumber(v.shear / ForceDivisor)});
    };
    for (const PointValues& p : points) {
        if (!p.jump) {
            row(p.x, "", p.left);
            continue;
        }
        row(p.x, "left", p.left);
        row(p.x, "right", p.right);
    }
    std::ostringstream out;
    printTable(table, out);
    return out.str();
}

int valuesAtPoints(const AtOptions& o, std::ostream& out, MessageSink& messages) {
    const AnalysisRun run = analyseOneState(
        {o.modelPath, o.meshDensity, o.meshDensityGiven, o.exactSections, o.selection, o.selected},
        messages);
    if (run.status != ExitStatus::Completed)
        return run.status;
    std::vector<PointValues> points;
    for (const double x : o.positions) {
        const std::optional<PointValues> p = ValuesAt(run.state, x);
        if (!p) {
            messages.show({CliTitle,
                           "position " + modText::GeneralNumber(x) +
                               " m is not on the beam (0 to " +
                               modText::GeneralNumber(run.state.model.span) + " m)",
                           Icon::None});
            return ExitStatus::Usage;
        }
        points.push_back(*p);
    }
    const std::string text =
        o.json ? pointsJson(run.state, o.modelPath, points) : pointsTable(points);
    return WriteReport(text, o.outPath, out, messages, "values") ? ExitStatus::Completed
                                                                 : ExitStatus::FileProblem;
}

// ---- the calculation sheet ----

enum class SheetFormat { Pdf, Html };

/// The format the output file's extension asks for (any case), if it names one.
std::optional<SheetFormat> sheetFormat(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".pdf")
        return SheetFormat::Pdf;
    if (ext == ".html" || ext == ".htm")
        return SheetFormat::Html;
    return std::nullopt;
}

std::string checkSheetOptions(const SheetOptions& o) {
    if (o.outPath.empty())
        return "sheet needs -o SHEET.pdf or -o SHEET.html";
    if (!sheetFormat(o.outPath))
        return "the sheet file '" + o.outPath + "' must end in .pdf or .html";
    return {};
}

/// The user's name and organisation from the desktop's settings; a note when there are none.
UserDetails sheetUser(MessageSink& messages) {
    const std::filesystem::path file = DesktopSettingsFile();
    const UserDetails user = ReadUserDetails(file);
    if (user.name.empty() && user.organisation.empty())
        messages.show({CliTitle,
                       "no user details in " +
                           (file.empty() ? std::string("the settings") : file.string()) +
                           "; the title block names no one (start the desktop program once to "
                           "enter them)",
                       Icon::None});
    return user;
}

int writeSheet(const SheetOptions& o, MessageSink& messages) {
    const AnalysisRun run = analyseOneState(
        {o.modelPath, o.meshDensity, o.meshDensityGiven, o.exactSections, o.selection, o.selected},
        messages);
    if (run.status != ExitStatus::Completed)
        return run.status;
    const UserDetails user = sheetUser(messages);
    const sheet::SheetDocument document =
        sheet::BuildSheet(run.state, sheet::MakeTitleBlock(o.modelPath, user, sheet::NowText()));
    std::string problem;
    const std::optional<std::string> bytes = *sheetFormat(o.outPath) == SheetFormat::Html
                                                 ? sheet::SheetHtml(document)
                                                 : SheetPdfBytes(document, problem);
    if (!bytes) {
        messages.show({CliTitle,
                       "Cannot write the calculation sheet to " + o.outPath + ": " + problem,
                       Icon::None});
        return ExitStatus::FileProblem;
    }
    return WriteOutputFile(o.outPath, *bytes, "calculation sheet", messages)
               ? ExitStatus::Completed
               : ExitStatus::FileProblem;
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

int FinishStandardOutput(int status, std::ostream& err) {
    std::cout.flush();
    const bool streamFailed = !std::cout;
    const bool pending = ::__fpending(stdout) != 0;
    errno = 0;
    const bool flushFailed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    int error = errno;
    errno = 0;
    const bool closeFailed = std::fclose(stdout) != 0;
    if (error == 0)
        error = errno;
    // Closing a standard output that was closed before the start, with nothing to write, is no
    // failure.
    const bool closedBefore = closeFailed && !pending && errno == EBADF;
    // A failure that a command has already reported has given it its own status.
    if (status != ExitStatus::Completed ||
        (!streamFailed && !flushFailed && (!closeFailed || closedBefore)))
        return status;
    err << CliTitle << ": Cannot write to standard output"
        << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
    return ExitStatus::FileProblem;
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
        if (options.selection != Selection::Default &&
            !ModelJson::IsJsonModelPath(options.modelPath))
            return usageError("--case, --combination and --envelope need a JSON model "
                              "(MODEL.kradon.json)",
                              err);
        if (const std::string same = sameFileProblem(options); !same.empty())
            return sameFileError(same, err);
        return guarded(messages, [&] { return analyse(options, out, messages); });
    }
    if (command == "convert") {
        if (args.size() != 3)
            return usageError("convert takes a model file to read and one to write", err);
        return guarded(messages, [&] { return ConvertModel(args[1], args[2], messages); });
    }
    if (command == "at") {
        AtOptions options;
        if (const std::string problem = parseAtArguments(rest, options); !problem.empty())
            return usageError(problem, err);
        if (options.selection != Selection::Default &&
            !ModelJson::IsJsonModelPath(options.modelPath))
            return usageError(CaseNeedsJsonText, err);
        if (const std::string same = sameFileProblem(options.modelPath, options.outPath);
            !same.empty())
            return sameFileError(same, err);
        return guarded(messages, [&] { return valuesAtPoints(options, out, messages); });
    }
    if (command == "sheet") {
        SheetOptions options;
        std::string problem = parseArguments<SheetOptions>(
            rest, SheetOptionTable, options, options.modelPath, command, "model file");
        if (problem.empty())
            problem = checkSheetOptions(options);
        if (problem.empty() && options.selection != Selection::Default &&
            !ModelJson::IsJsonModelPath(options.modelPath))
            problem = CaseNeedsJsonText;
        if (!problem.empty())
            return usageError(problem, err);
        if (const std::string same = sameFileProblem(options.modelPath, options.outPath);
            !same.empty())
            return sameFileError(same, err);
        return guarded(messages, [&] { return writeSheet(options, messages); });
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
