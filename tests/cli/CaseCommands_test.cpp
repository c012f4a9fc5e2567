// kradon-cli on JSON models: converting to and from .kdn, analysing a case, a combination or
// the envelope, and the JSON results of every case and combination.
#include "../core/FileSafetySupport.h"
#include "CliRun.h"

#include <nlohmann/json.hpp>

namespace kradon::cli {
namespace {

const std::string Example = KRADON_EXAMPLES "/three-span-patterned.kradon.json";
using CaseCli = CliTest;

TEST_F(CaseCli, EverySampleConvertsToJsonReportsAsItsKdnAndComesBackByteForByte) {
    for (const auto& entry : std::filesystem::directory_iterator(KRADON_EXAMPLES)) {
        if (entry.path().extension() != ".kdn")
            continue;
        const std::string kdn = entry.path().string(), json = path("m.kradon.json");
        SCOPED_TRACE(kdn);
        completed({"convert", kdn, json});
        const CliRun fromJson = completed({"analyse", json});
        EXPECT_EQ(withoutTimes(fromJson.out), withoutTimes(run({"analyse", kdn}).out));
        completed({"convert", json, path("back.kdn")});
        EXPECT_EQ(read("back.kdn"), test::ReadFile(kdn));
    }
}

TEST_F(CaseCli, ConversionsTheTargetCannotHoldAreRefusedWithTheReason) {
    const std::string out = path("out.kdn"), bad = path("bad.kradon.json");
    test::writeBytes(bad, R"({"format": "kradon-model", "version": 3})");
    for (const auto& [from, err] : std::vector<std::pair<std::string, std::string>>{
             {Example, "kradon-cli: Cannot convert " + Example + " to " + out +
                           ": A .kdn file holds one load case named \"Loads\" and nothing more: "
                           "this model has 2 load cases\n"},
             {bad, "Kradon by Tarel Vestrun: Unkown error while opening file " + bad +
                       "\r\nversion: 3 is not a version this program reads (1)\n"}}) {
        const CliRun r = run({"convert", from, out});
        EXPECT_EQ(r.status, ExitStatus::FileProblem) << from;
        EXPECT_EQ(r.err, err);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST_F(CaseCli, ThePatternedCombinationAndTheEnvelopeGetTheEnvelopeReport) {
    const CliRun uls = completed({"analyse", Example, "--combination", "ULS"});
    EXPECT_TRUE(contains(uls.out, "Envelope of: ULS\r\n"));
    // 1.35 x 10 x 0.1 x 6^2 + 1.5 x 15 x 7/60 x 6^2 over the first interior support.
    EXPECT_TRUE(contains(uls.out,
                         "Moment (kNm)\t120.513\t002.587\t\t-143.100\t006.000\t\tULS with Q on "
                         "spans 1, 3 / ULS with Q on spans 1, 2\r\n"))
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
    // A rule follows every fifth node row, and no other.
    const std::string rule(68, '-');
    EXPECT_TRUE(contains(uls.out, "ULS with Q on span 2\r\n" + rule + "\r\n  6\t003.750"));
    EXPECT_FALSE(contains(uls.out, rule + "\r\n  5\t"));
    // Node 25, at 18 m, ends each table.
    EXPECT_TRUE(contains(uls.out,
                         "\n  25\t018.000\t\t093.150\tULS with Q on spans 1, 3\t025.650\tULS "
                         "with Q on span 2\r\n"));
    const CliRun envelope = run({"analyse", Example});
    EXPECT_TRUE(contains(envelope.out, "Envelope of: ULS, SLS\r\n"));
    EXPECT_EQ(withoutTimes(run({"analyse", Example, "--envelope"}).out),
              withoutTimes(envelope.out));
}

TEST_F(CaseCli, SelectionsThatCannotBeMadeAreUsageErrors) {
    const std::string kdn = KRADON_EXAMPLES "/cantilever.kdn", x = Example,
                      single = "--results, --csv and --picture need one case or combination "
                               "without a patterned case; an envelope has no single set of results";
    for (const auto& [line, message] : std::vector<std::pair<std::string, std::string>>{
             {"analyse " + kdn + " --case G",
              "--case, --combination and --envelope need a JSON model (MODEL.kradon.json)"},
             {"analyse " + x + " --case G --envelope",
              "--case, --combination and --envelope exclude each other"},
             {"analyse " + x + " --case W", "the model has no load case \"W\" (it has G, Q)"},
             {"analyse " + x + " --combination ALS",
              "the model has no combination \"ALS\" (it has ULS, SLS)"},
             {"analyse " + x + " --results " + path("r.kxr"), single},
             {"analyse " + x + " --csv " + path("r.csv"), single},
             {"at " + x + " 6", "an envelope has no single set of results: choose one with --case "
                                "NAME (G, Q) or --combination NAME (ULS, SLS)"},
             {"sheet " + x + " -o " + path("s.html") + " --combination SLS",
              "\"SLS\" has a patterned load case: its results are an envelope, which has no single "
              "set of results; choose --case NAME (G, Q) or --combination NAME (ULS, SLS) without "
              "a patterned case"},
             {"at " + kdn + " 1 --case Loads",
              "--case and --combination need a JSON model (MODEL.kradon.json)"},
         }) {
        const CliRun r = run(words(line));
        EXPECT_EQ(r.status, ExitStatus::Usage) << line;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), "kradon-cli: " + message);
    }
}

TEST_F(CaseCli, JsonResultsHoldEveryCaseCombinationAndTheEnvelope) {
    completed({"analyse", Example, "--case", "G", "--json", path("r.json")});
    const auto j = nlohmann::json::parse(read("r.json"));
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

TEST_F(CaseCli, AnalyseAtSheetAndCsvTakeOneCase) {
    // G alone is the beam with G's loads only: 10 kN/m on three 6 m spans, 0.1 w L2 over the
    // inner supports.
    const CliRun at = completed({"at", Example, "6", "--case", "G", "--json"});
    const auto points = nlohmann::json::parse(at.out)["points"];
    EXPECT_NEAR(points[0]["left"]["moment_kNm"].get<double>(), -36, 1e-9);
    completed({"analyse", Example, "--case", "G", "--csv", path("g.csv")});
    EXPECT_TRUE(contains(read("g.csv"), "node"));
    completed({"sheet", Example, "--case", "G", "-o", path("g.html")});
    EXPECT_TRUE(contains(read("g.html"), "<html"));
}

TEST_F(CaseCli, APrescribedVerticalDisplacementEndsASpanOfThePattern) {
    test::writeBytes(path("fd.kradon.json"), R"({"format": "kradon-model", "version": 1,
        "span_m": 10, "E": [{"from_m": 0, "to_m": 10, "constant": 205}],
        "I": [{"from_m": 0, "to_m": 10, "constant": 8000}], "prescribed_displacements":
        [{"x_m": 4, "vertical_mm": 2}], "supports": [{"x_m": 0, "kind": "pinned"}, {"x_m": 10,
        "kind": "pinned"}], "load_cases": [{"name": "Q", "pattern": true, "loads": [{"kind":
        "udl", "from_m": 0, "to_m": 10, "kN_per_m": 5}]}]})");
    completed({"analyse", path("fd.kradon.json"), "--json", path("fd.json")});
    EXPECT_EQ(nlohmann::json::parse(read("fd.json"))["model"]["spans"].dump(),
              R"([{"from_m":0.0,"number":1,"to_m":4.0},{"from_m":4.0,"number":2,"to_m":10.0}])");
}

TEST_F(CaseCli, ExactSectionsOfTheModelAreThoseOfTheOption) {
    const std::string kdn = KRADON_EXAMPLES "/tapered-beam-curve.kdn";
    completed({"convert", kdn, path("plain.kradon.json")});
    std::string text = read("plain.kradon.json");
    EXPECT_FALSE(contains(text, "exact_sections")); // written only when asked for
    const std::string density = "\"mesh_density\": 1,\n";
    ASSERT_NE(text.find(density), std::string::npos);
    text.replace(text.find(density), density.size(), density + "  \"exact_sections\": true,\n");
    test::writeBytes(path("exact.kradon.json"), text);
    const auto points = [](const Args& args) {
        return nlohmann::json::parse(completed(args).out)["points"];
    };
    const auto exact = points(Args{"at", kdn, "2.5", "--exact-sections", "--json"});
    EXPECT_EQ(points(Args{"at", path("exact.kradon.json"), "2.5", "--json"}), exact);
    EXPECT_EQ(points(Args{"at", path("plain.kradon.json"), "2.5", "--exact-sections", "--json"}),
              exact);
    EXPECT_NE(points(Args{"at", path("plain.kradon.json"), "2.5", "--json"}), exact);
    // The key survives a round trip and keeps the model out of a .kdn file.
    completed({"convert", path("exact.kradon.json"), path("again.kradon.json")});
    EXPECT_EQ(read("again.kradon.json"), text);
    EXPECT_NE(run({"convert", path("exact.kradon.json"), path("m.kdn")}).status, 0);
}

} // namespace
} // namespace kradon::cli
