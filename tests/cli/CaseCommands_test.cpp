// kradon-cli on JSON models: converting to and from .kdn, analysing a case, a combination or
// the envelope, and the JSON results of every case and combination.
#include "../core/TestFolder.h"
#include "CliRun.h"
#include "cli/CliCommands.h"
#include "model/modFileWrite.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace kradon::cli {
namespace {

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

/// A report without its two timing lines, which differ from run to run.
std::string withoutTimes(const std::string& report) {
    std::istringstream in(report);
    std::string line, kept;
    while (std::getline(in, line))
        if (line.find("time") == std::string::npos)
            kept += line + "\n";
    return kept;
}

const std::string Example = KRADON_EXAMPLES "/three-span-patterned.kradon.json";

class CaseCli : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", folder_.path().c_str(), 1); }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    const test::TestFolder folder_;
};

TEST_F(CaseCli, EverySampleConvertsToJsonAndBackByteForByte) {
    for (const auto& entry : std::filesystem::directory_iterator(KRADON_EXAMPLES)) {
        if (entry.path().extension() != ".kdn")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        ASSERT_EQ(run({"convert", entry.path().string(), path("m.kradon.json")}).status, 0);
        ASSERT_EQ(run({"convert", path("m.kradon.json"), path("back.kdn")}).status, 0);
        EXPECT_EQ(fileText(path("back.kdn")), fileText(entry.path()));
    }
}

TEST_F(CaseCli, ConversionsTheTargetCannotHoldAreRefusedWithTheReason) {
    const CliRun several = run({"convert", Example, path("out.kdn")});
    EXPECT_EQ(several.status, ExitStatus::FileProblem);
    EXPECT_EQ(several.err, "kradon-cli: Cannot convert " + Example + " to " + path("out.kdn") +
                               ": A .kdn file holds one load case named \"Loads\" and nothing "
                               "more: this model has 2 load cases\n");
    EXPECT_FALSE(std::filesystem::exists(path("out.kdn")));

    BeamModel stale = modFileWrite::OpenModelFile(KRADON_EXAMPLES "/cantilever.kdn");
    stale.PointLoad.value[7] = 3; // an entry beyond the records, as an older file may hold
    modFileWrite::SaveModelFile(path("stale.kdn"), stale);
    const CliRun refused = run({"convert", path("stale.kdn"), path("stale.kradon.json")});
    EXPECT_EQ(refused.status, ExitStatus::FileProblem);
    EXPECT_NE(refused.err.find("Point load value holds a value in entry 7, which is not one of "
                               "its 1 records"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(path("stale.kradon.json")));

    writeText(path("bad.kradon.json"), R"({"format": "kradon-model", "version": 3})");
    const CliRun bad = run({"convert", path("bad.kradon.json"), path("bad.kdn")});
    EXPECT_EQ(bad.status, ExitStatus::FileProblem);
    EXPECT_EQ(bad.err, "Kradon by Tarel Vestrun: Unkown error while opening file " +
                           path("bad.kradon.json") +
                           "\r\nversion: 3 is not a version this program reads (1)\n");
}

TEST_F(CaseCli, AOneCaseJsonModelReportsAsItsKdnDoes) {
    const std::string kdn = KRADON_EXAMPLES "/propped-cantilever-spring.kdn";
    ASSERT_EQ(run({"convert", kdn, path("m.kradon.json")}).status, 0);
    const CliRun fromJson = run({"analyse", path("m.kradon.json")});
    const CliRun fromKdn = run({"analyse", kdn});
    ASSERT_EQ(fromJson.status, 0) << fromJson.err;
    EXPECT_EQ(withoutTimes(fromJson.out), withoutTimes(fromKdn.out));
}

TEST_F(CaseCli, ACaseAloneReportsAsTheBeamWithOnlyItsLoads) {
    // G alone is the beam with G's loads: its report is that of the same beam in a .kdn file.
    const CliRun g = run({"analyse", Example, "--case", "G"});
    ASSERT_EQ(g.status, 0) << g.err;
    const std::string json = R"({"format": "kradon-model", "version": 1, "span_m": 18,
        "E": [{"from_m": 0, "to_m": 18, "constant": 205}],
        "I": [{"from_m": 0, "to_m": 18, "constant": 16270}],
        "supports": [{"x_m": 0, "kind": "pinned"}, {"x_m": 6, "kind": "pinned"},
                     {"x_m": 12, "kind": "pinned"}, {"x_m": 18, "kind": "pinned"}],
        "load_cases": [{"name": "Loads",
                        "loads": [{"kind": "udl", "from_m": 0, "to_m": 18, "kN_per_m": 10}]}]})";
    writeText(path("g.kradon.json"), json);
    ASSERT_EQ(run({"convert", path("g.kradon.json"), path("g.kdn")}).status, 0);
    EXPECT_EQ(withoutTimes(g.out), withoutTimes(run({"analyse", path("g.kdn")}).out));
}

TEST_F(CaseCli, ThePatternedCombinationAndTheEnvelopeGetTheEnvelopeReport) {
    const CliRun uls = run({"analyse", Example, "--combination", "ULS"});
    ASSERT_EQ(uls.status, 0) << uls.err;
    EXPECT_NE(uls.out.find("Envelope of: ULS\r\n"), std::string::npos);
    // 1.35 x 10 x 0.1 x 6^2 + 1.5 x 15 x 7/60 x 6^2 over the first interior support.
    EXPECT_NE(uls.out.find("Moment (kNm)\t120.513\t002.587\t\t-143.100\t006.000\t\tULS with Q on "
                           "spans 1, 3 / ULS with Q on spans 1, 2\r\n"),
              std::string::npos)
        << uls.out;
    // Node 9 stands over that support: its row in the moment table, then in the shear table.
    const std::string row = "  9\t006.000\t\t";
    const auto moments = uls.out.find("-- ENVELOPE OF Moment (kNm) --");
    const auto shears = uls.out.find("-- ENVELOPE OF Shear (kN) --");
    ASSERT_LT(moments, shears);
    EXPECT_EQ(uls.out.find(row, moments),
              uls.out.find(row + "-35.100\tULS with Q on span 3\t-143.100"));
    EXPECT_EQ(uls.out.find(row, shears),
              uls.out.find(row + "-29.250\tULS with Q on span 3\t-119.250"));
    const CliRun envelope = run({"analyse", Example});
    EXPECT_NE(envelope.out.find("Envelope of: ULS, SLS\r\n"), std::string::npos);
    EXPECT_EQ(withoutTimes(run({"analyse", Example, "--envelope"}).out),
              withoutTimes(envelope.out));
}

TEST_F(CaseCli, SelectionsThatCannotBeMadeAreUsageErrors) {
    struct Row {
        std::vector<std::string> args;
        std::string message;
    };
    const std::string kdn = KRADON_EXAMPLES "/cantilever.kdn";
    const Row rows[] = {
        {{"analyse", kdn, "--case", "G"},
         "kradon-cli: --case, --combination and --envelope need a JSON model (MODEL.kradon.json)"},
        {{"analyse", Example, "--case", "G", "--envelope"},
         "kradon-cli: --case, --combination and --envelope exclude each other"},
        {{"analyse", Example, "--case", "W"},
         "kradon-cli: the model has no load case \"W\" (it has G, Q)"},
        {{"analyse", Example, "--combination", "ALS"},
         "kradon-cli: the model has no combination \"ALS\" (it has ULS, SLS)"},
        {{"analyse", Example, "--results", path("r.kxr")},
         "kradon-cli: --results, --csv and --picture need one case or combination without a "
         "patterned case; an envelope has no single set of results"},
        {{"analyse", Example, "--csv", path("r.csv")},
         "kradon-cli: --results, --csv and --picture need one case or combination without a "
         "patterned case; an envelope has no single set of results"},
        {{"at", Example, "6"},
         "kradon-cli: an envelope has no single set of results: choose one with --case NAME (G, "
         "Q) or --combination NAME (ULS, SLS)"},
        {{"sheet", Example, "-o", path("s.html"), "--combination", "SLS"},
         "kradon-cli: \"SLS\" has a patterned load case: its results are an envelope, which has "
         "no single set of results; choose --case NAME (G, Q) or --combination NAME (ULS, SLS) "
         "without a patterned case"},
        {{"at", kdn, "1", "--case", "Loads"},
         "kradon-cli: --case and --combination need a JSON model (MODEL.kradon.json)"},
        {{"convert", Example}, "kradon-cli: convert takes a model file to read and one to write"},
    };
    for (const Row& row : rows) {
        const CliRun r = run(row.args);
        EXPECT_EQ(r.status, ExitStatus::Usage);
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), row.message);
    }
}

TEST_F(CaseCli, JsonResultsHoldEveryCaseCombinationAndTheEnvelope) {
    ASSERT_EQ(run({"analyse", Example, "--case", "G", "--json", path("r.json")}).status, 0);
    const auto j = nlohmann::json::parse(fileText(path("r.json")));
    const std::size_t nodes = j["nodes"].size();
    EXPECT_EQ(nodes, j["model"]["NodeCount"].get<std::size_t>());
    EXPECT_EQ(j["model"]["spans"].size(), 3u);
    ASSERT_EQ(j["cases"].size(), 2u);
    EXPECT_EQ(j["cases"][1]["pattern"], true);
    ASSERT_EQ(j["combinations"].size(), 2u);
    EXPECT_EQ(j["envelope"]["of"], (std::vector<std::string>{"ULS", "SLS"}));
    const auto& uls = j["combinations"][0]["results"];
    EXPECT_EQ(uls["moment_kNm"]["largest"].size(), nodes);
    EXPECT_TRUE(uls["shear_left_kN"]["largest"][0].is_null());
    EXPECT_TRUE(uls["shear_right_kN"]["largest"][nodes - 1].is_null());
    const auto& b = uls["rigid_supports"][1]["vertical_kN"];
    EXPECT_NEAR(b["largest"].get<double>(), 251.1, 1e-9);
    EXPECT_EQ(b["largest_by"], "ULS with Q on spans 1, 2");
    const auto& lowest = j["envelope"]["results"]["extremes"]["moment_kNm"]["smallest"];
    EXPECT_NEAR(lowest["value"].get<double>(), -143.1, 1e-9);
    EXPECT_EQ(lowest["x_m"], 6);
    EXPECT_EQ(lowest["by"], "ULS with Q on spans 1, 2");
    EXPECT_EQ(j["cases"][1]["results"]["extremes"]["moment_kNm"]["smallest"]["by"],
              "Q on spans 1, 2");
}

TEST_F(CaseCli, AtSheetAndCsvTakeOneCase) {
    // G alone: 10 kN/m on three 6 m spans, 0.1 w L2 over the inner supports.
    const CliRun at = run({"at", Example, "6", "--case", "G", "--json"});
    ASSERT_EQ(at.status, 0) << at.err;
    const auto points = nlohmann::json::parse(at.out)["points"];
    EXPECT_NEAR(points[0]["left"]["moment_kNm"].get<double>(), -36, 1e-9);
    EXPECT_EQ(run({"analyse", Example, "--case", "G", "--csv", path("g.csv")}).status, 0);
    EXPECT_NE(fileText(path("g.csv")).find("node"), std::string::npos);
    EXPECT_EQ(run({"sheet", Example, "--case", "G", "-o", path("g.html")}).status, 0);
    EXPECT_NE(fileText(path("g.html")).find("<html"), std::string::npos);
}

TEST_F(CaseCli, ExactSectionsOfTheModelAreThoseOfTheOption) {
    const std::string kdn = KRADON_EXAMPLES "/tapered-beam-curve.kdn";
    ASSERT_EQ(run({"convert", kdn, path("plain.kradon.json")}).status, 0);
    std::string text = fileText(path("plain.kradon.json"));
    const std::string density = "\"mesh_density\": 1,\n";
    ASSERT_NE(text.find(density), std::string::npos);
    text.replace(text.find(density), density.size(), density + "  \"exact_sections\": true,\n");
    writeText(path("exact.kradon.json"), text);
    const auto points = [](const CliRun& r) {
        EXPECT_EQ(r.status, 0) << r.err;
        return nlohmann::json::parse(r.out)["points"];
    };
    const auto exact = points(run({"at", kdn, "2.5", "--exact-sections", "--json"}));
    EXPECT_EQ(points(run({"at", path("exact.kradon.json"), "2.5", "--json"})), exact);
    EXPECT_EQ(points(run({"at", path("plain.kradon.json"), "2.5", "--exact-sections", "--json"})),
              exact);
    EXPECT_NE(points(run({"at", path("plain.kradon.json"), "2.5", "--json"})), exact);
    // The key survives a round trip and keeps the model out of a .kdn file.
    ASSERT_EQ(run({"convert", path("exact.kradon.json"), path("again.kradon.json")}).status, 0);
    EXPECT_EQ(fileText(path("again.kradon.json")), text);
    EXPECT_NE(run({"convert", path("exact.kradon.json"), path("m.kdn")}).status, 0);
}

} // namespace
} // namespace kradon::cli
