// The command line of kradon-cli: usage, version, printing a model file, analysing one and
// rebuilding the report from a results file.
#include "../core/FileSafetySupport.h"
#include "../core/TestFolder.h"
#include "../core/TextFiles.h"
#include "../core/analysis/ModelBuilder.h"
#include "CliRun.h"
#include "cli/CliCommands.h"
#include "model/BeamModel.h"
#include "model/modFileWrite.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kradon::cli {
namespace {

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The analysis copy goes to the per-user runtime folder; keep it inside this test's.
        ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    const test::TestFolder folder_;
    const std::filesystem::path dir_ = folder_.path();
};

TEST(Cli, VersionAndHelp) {
    const CliRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "1.0.6\n");

    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("kradon-cli show MODEL.kdn"), std::string::npos);
}

TEST(Cli, UsageErrorsExit64WithUsageText) {
    struct Case {
        std::vector<std::string> args;
        std::string problem;
    };
    for (const auto& c : std::vector<Case>{
             {{}, "no command given"},
             {{"frobnicate"}, "unknown command 'frobnicate'"},
             {{"show"}, "show takes exactly one model file"},
             {{"show", "a.kdn", "b.kdn"}, "show takes exactly one model file"},
             {{"analyse"}, "analyse takes exactly one model file"},
             {{"analyse", "a.kdn", "b.kdn"}, "analyse takes exactly one model file"},
             {{"analyse", "a.kdn", "--bogus", "x"}, "unknown option '--bogus' for analyse"},
             {{"analyse", "a.kdn", "--mesh-density"}, "--mesh-density needs a value"},
             {{"analyse", "a.kdn", "--mesh-density", "abc"},
              "--mesh-density needs a number, not 'abc'"},
             {{"analyse", "a.kdn", "--mesh-density", "2x"},
              "--mesh-density needs a number, not '2x'"},
             {{"analyse", "a.kdn", "--mesh-density", "nan"},
              "--mesh-density needs a number, not 'nan'"},
             {{"analyse", "--report", "a.txt", "a.kdn", "--report", "b.txt"},
              "--report given twice"},
             {{"analyse", "a.kdn", "--picture", "bmd"}, "--picture expects KIND:FILE, got 'bmd'"},
             {{"analyse", "a.kdn", "--picture", "moment:a.png"},
              "unknown picture kind 'moment' (use beam, mesh, bmd, sfd, dsd, e or i)"},
             {{"analyse", "a.kdn", "--picture", "bmd:a.jpg"},
              "picture file 'a.jpg' must end in .svg or .png"},
             {{"analyse", "a.kdn", "--size", "800"},
              "--size expects WxH in pixels (for example 1200x800), got '800'"},
             {{"analyse", "a.kdn", "--size", "800x0"},
              "--size sides must be 16 to 10000 pixels, got '800x0'"},
             {{"analyse", "a.kdn", "--size", "80x60", "--size", "90x60"}, "--size given twice"},
             {{"analyse", "--exact-sections", "a.kdn", "--exact-sections"},
              "--exact-sections given twice"},
             {{"report", "a.kxr", "--exact-sections"},
              "unknown option '--exact-sections' for report"},
             {{"report"}, "report takes exactly one results file"},
             {{"report", "a.kxr", "b.kxr"}, "report takes exactly one results file"},
             {{"report", "a.kxr", "--json", "a.json"}, "unknown option '--json' for report"},
         }) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, ExitStatus::Usage) << c.problem;
        EXPECT_EQ(r.err.rfind("kradon-cli: " + c.problem + "\nUsage:\n", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("kradon-cli analyse MODEL.kdn"), std::string::npos);
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(CliTest, ShowPrintsEveryKindWithTheExplorerColumns) {
    BeamModel m;
    m.span = 10;
    ClearModelLists(m);
    m.count(RecordKind::PointLoad) = 1;
    m.PointLoad.value[1] = 50;
    m.PointLoad.location[1] = 4;
    m.count(RecordKind::RigidSupport) = 2;
    m.RigidSupport.type[1] = 1;
    m.RigidSupport.type[2] = 2;
    m.RigidSupport.location[2] = 10;
    m.count(RecordKind::ISegment) = 1;
    m.ISegment.variation[1] = 3;
    m.ISegment.disB[1] = 10;
    m.ISegment.expression[1] = "8000 + x";
    const auto path = dir_ / "beam.kdn";
    modFileWrite::SaveModelFile(path, m);

    const CliRun r = run({"show", path.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    EXPECT_NE(r.out.find("Beam Details\n"
                         "Overall span  E Values  I Values\n"
                         "10m           0         1\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Point Loads\n"
                         "Point Load No.  Load Value (kN)  Load Distance (m)\n"
                         "1               50               4\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Rigid Supports\n"
                         "Support No.  Support Type  Location (m)\n"
                         "1            Pinned        0\n"
                         "2            Fixed         10\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(
        r.out.find("1             0m     10m    Expression  0cm4   0cm4     0cm4     8000 + x"),
        std::string::npos)
        << r.out;
}

using test::ModelBuilder;
using test::UnstableModel;

/// The lines from the one starting with first up to (not including) the one starting with last.
std::vector<std::string> section(const std::string& report, const std::string& first,
                                 const std::string& last) {
    std::vector<std::string> out;
    bool in = false;
    for (const auto& line : test::ReportLines(report)) {
        if (line.rfind(first, 0) == 0)
            in = true;
        else if (line.rfind(last, 0) == 0)
            in = false;
        if (in)
            out.push_back(line);
    }
    return out;
}

/// The numbers of one tab-separated report row, blanks around them dropped.
std::vector<double> rowNumbers(const std::string& row) {
    std::vector<double> numbers;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, '\t');)
        if (cell.find_first_not_of(' ') != std::string::npos &&
            cell.find_first_of("0123456789") != std::string::npos &&
            cell.find_first_of("PF") == std::string::npos)
            numbers.push_back(std::stod(cell));
    return numbers;
}

class CliAnalyseTest : public CliTest {
protected:
    std::string save(const std::string& name, const BeamModel& m) {
        const auto path = dir_ / name;
        modFileWrite::SaveModelFile(path, m);
        return path.string();
    }
    std::string goodModel() {
        return save("good.kdn", ModelBuilder()
                                    .span(10)
                                    .pinned(0)
                                    .fixed(10)
                                    .pointLoad(30, 4)
                                    .udl(2, 0, 10)
                                    .uniformEI(205, 8356)
                                    .build());
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
};

TEST_F(CliAnalyseTest, GoodModelPrintsTheReportWithAnEmptyPath) {
    const CliRun r = run({"analyse", goodModel()});
    ASSERT_EQ(r.status, ExitStatus::Completed) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("------------------------------------------\r\n"
                          "-- FINITE ELEMENT BEAM ANALYSIS RESULTS --\r\n"
                          "------------  by T. Vestrun  -------------\r\n"
                          "Results File: \r\n"
                          "Number of nodes used in problem: ",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("Overall Length of Beam 10.000m\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("\tPinned\t"), std::string::npos);
    EXPECT_NE(r.out.find("\tFixed\t"), std::string::npos);
    EXPECT_NE(r.out.find("205.000\t\t8356.000\r\n"), std::string::npos);
}

TEST_F(CliAnalyseTest, ReportOptionWritesTheReportToTheFileInstead) {
    const CliRun r = run({"analyse", goodModel(), "--report", path("report.txt")});
    ASSERT_EQ(r.status, ExitStatus::Completed) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string report = test::ReadFile(dir_ / "report.txt");
    EXPECT_EQ(report.rfind("------------------------------------------\r\n", 0), 0u);
    EXPECT_NE(report.find("Results File: \r\n"), std::string::npos);
}

TEST_F(CliAnalyseTest, InputCheckRefusalShowsAllItsMessagesAndExits1) {
    const std::string model =
        save("refused.kdn", ModelBuilder().span(10).pointLoad(10, 12).build());
    const CliRun r = run({"analyse", model});
    EXPECT_EQ(r.status, ExitStatus::InputRefused);
    EXPECT_EQ(r.err, "Kradon by Tarel Vestrun: No beam properties included in input\n"
                     "Kradon by Tarel Vestrun: Number/location of supports is erroneous in input\n"
                     "Input Data Checking Routine: Elements outside boundaries are:\r\n"
                     "Point Load 1\r\n\n");
    EXPECT_EQ(r.out, "");
}

/// A simply supported 10 m beam under a point load, E and I constant, its span set afterwards.
BeamModel simpleBeam(double E, double span = 10) {
    BeamModel m =
        ModelBuilder().span(10).pinned(0).pinned(10).pointLoad(50, 4).uniformEI(E, 8000).build();
    m.span = span;
    return m;
}

TEST_F(CliAnalyseTest, ModelsThatCannotGiveResultsExitNonZeroWithTheirCauseAndNoReport) {
    struct Case {
        const char* name;
        BeamModel model;
        int status;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"span -5", simpleBeam(205, -5), ExitStatus::InputRefused,
         "Input Data Checking Routine: The span must be a positive finite number, not -5 m\r\n\n"},
        {"E = -200", simpleBeam(-200), ExitStatus::InputRefused,
         "Input Data Checking Routine: E-value 1 has a negative value (-200)\r\n\n"},
        {"E = 1e-308", simpleBeam(1e-308), ExitStatus::AnalysisFailed,
         "FEA Subroutine: Calculation Error - Aborting\r\n"
         "The results are not all finite numbers (the deflection at x = 0.6666666666666666 m is "
         "infinite): "
         "E or I is too small, or a load too large, for the beam to be calculated.\n"},
        {"division by zero",
         ModelBuilder()
             .span(10)
             .pinned(0)
             .pinned(10)
             .pointLoad(50, 4)
             .eSegment(0, 10, 205)
             .curveI(0, 10, "8000 + 1/(x - 4.9)")
             .build(),
         ExitStatus::AnalysisFailed,
         "Mesh Subroutine: I definition 1: the expression \"8000 + 1/(x - 4.9)\" divides by "
         "zero at x = 4.9 m.\n"
         "FEA Subroutine: Calculation Error - Aborting\n"},
        {"E to 10 m of 11 m",
         ModelBuilder()
             .span(11)
             .pinned(0)
             .pinned(11)
             .pointLoad(50, 4)
             .eSegment(0, 10, 205)
             .iSegment(0, 11, 8000)
             .build(),
         ExitStatus::AnalysisFailed,
         "Input Data Checking Routine: E is not defined from 10 m to 11 m: that stretch carries "
         "nothing.\n"
         "Gauss Elimination Error: Structure is unstable - Aborting analysis\r\n"
         "E is not defined from 10 m to 11 m: that stretch carries nothing.\n"
         "FEA Subroutine: Calculation Error - Aborting\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = run({"analyse", save("bad.kdn", c.model), "--results", path("r.kxr")});
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
        EXPECT_EQ(r.out, "") << c.name;
        EXPECT_FALSE(std::filesystem::exists(dir_ / "r.kxr")) << c.name;
    }
}

TEST_F(CliAnalyseTest, AStretchWithoutEOrIIsWarnedAboutAndTheAnalysisGoesOn) {
    // Two cantilevers with a cut between them, the cut one element long at the lowest density.
    BeamModel m = ModelBuilder()
                      .span(10)
                      .fixed(0)
                      .fixed(10)
                      .pointLoad(10, 4)
                      .eSegment(0, 4, 205)
                      .eSegment(6, 10, 205)
                      .iSegment(0, 10, 8000)
                      .build();
    const CliRun cut = run({"analyse", save("cut.kdn", m), "--mesh-density", "0.2"});
    EXPECT_EQ(cut.status, ExitStatus::Completed);
    EXPECT_EQ(cut.err, "Input Data Checking Routine: E is not defined from 4 m to 6 m: that "
                       "stretch carries nothing.\n");
    EXPECT_NE(cut.out.find("Overall Length of Beam 10.000m"), std::string::npos);
}

TEST_F(CliAnalyseTest, MeshWarningGoesToStderrAndTheAnalysisCompletes) {
    // The input check looks only at the end of an E definition, so one written backwards from
    // 12 m passes it on a 10 m span; the mesher warns and lays elements out to 12 m. Where no
    // definition covers a position, E and I come from entry 0 of their lists, which the model
    // file carries like any other entry.
    BeamModel m = ModelBuilder()
                      .span(10)
                      .pinned(0)
                      .pinned(10)
                      .pointLoad(10, 5)
                      .eSegment(0, 10, 205)
                      .eSegment(12, 10, 205)
                      .iSegment(0, 10, 8000)
                      .build();
    for (PropertySegmentList* list : {&m.ESegment, &m.ISegment})
        list->variation[0] = Variation::None;
    m.ESegment.constant[0] = 205;
    m.ISegment.constant[0] = 8000;
    const CliRun r = run({"analyse", save("overhang.kdn", m)});
    EXPECT_EQ(r.status, ExitStatus::Completed);
    EXPECT_EQ(r.err, "Mesh Subroutine: Elements defined outside boundaries\n");
    EXPECT_NE(r.out.find("Overall Length of Beam 10.000m\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("\t     012.000\t\t"), std::string::npos) << r.out;
}

TEST_F(CliAnalyseTest, MissingOrDamagedFilesExit3WithTheOpenMessage) {
    std::ofstream(dir_ / "damaged.kdn", std::ios::binary) << std::string(100, '\0');
    std::ofstream(dir_ / "damaged.kxr", std::ios::binary) << std::string(100, '\0');
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"show", path("missing.kdn")},
                                               {"show", path("damaged.kdn")},
                                               {"analyse", path("missing.kdn")},
                                               {"analyse", path("damaged.kdn")},
                                               {"report", path("missing.kxr")},
                                               {"report", path("damaged.kxr")}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, ExitStatus::FileProblem) << args[1];
        EXPECT_EQ(r.err.rfind("Kradon by Tarel Vestrun: Unkown error while opening file " +
                                  args[1] + "\r\n",
                              0),
                  0u)
            << r.err;
        EXPECT_EQ(r.out, "");
    }
    // The reason stands on a line of its own.
    EXPECT_NE(
        run({"show", path("damaged.kdn")}).err.find("damaged.kdn\r\nThe model file is damaged"),
        std::string::npos);
}

TEST_F(CliAnalyseTest, UnwritableTargetsExit3WithAClearMessage) {
    const std::string model = goodModel();
    const std::string nowhere = path("no-such-folder/out");
    struct Case {
        std::string option, message;
    };
    for (const auto& c : std::vector<Case>{
             {"--report", "kradon-cli: Cannot write the report to " + nowhere},
             {"--results", "Kradon by Tarel Vestrun: Unkown error while saving file " + nowhere},
             {"--json", "kradon-cli: Cannot write the JSON results to " + nowhere}}) {
        const CliRun r = run({"analyse", model, c.option, nowhere});
        EXPECT_EQ(r.status, ExitStatus::FileProblem) << c.option;
        EXPECT_EQ(r.err.rfind(c.message, 0), 0u) << r.err;
    }
}

TEST_F(CliAnalyseTest, ReportFromTheResultsFileMatchesButForPathAndTimes) {
    const CliRun analysed = run({"analyse", goodModel(), "--results", path("r.kxr")});
    ASSERT_EQ(analysed.status, ExitStatus::Completed) << analysed.err;
    const CliRun rebuilt = run({"report", path("r.kxr")});
    ASSERT_EQ(rebuilt.status, ExitStatus::Completed) << rebuilt.err;
    EXPECT_EQ(rebuilt.err, "");

    std::vector<std::string> a = test::ReportLines(analysed.out),
                             b = test::ReportLines(rebuilt.out);
    ASSERT_GT(a.size(), 12u);
    ASSERT_GT(b.size(), 12u);
    EXPECT_EQ(a[3], "Results File: ");
    EXPECT_EQ(b[3], "Results File: " + path("r.kxr"));
    // Lines 6 and 7 hold the times; those of the file are the analysis's own.
    EXPECT_EQ(a[6], b[6]);
    EXPECT_EQ(a[7], b[7]);
    const std::vector<std::size_t> sameLines{0, 1, 2, 4, 5, 8, 9, 10, 11};
    for (const std::size_t i : sameLines)
        EXPECT_EQ(a[i], b[i]) << "line " << i;
    const auto nodes = [](const std::string& report) {
        return section(report, "-- STRESS RESULTANTS", "-- ELEMENT DATA");
    };
    EXPECT_EQ(nodes(analysed.out), nodes(rebuilt.out));
    EXPECT_GT(nodes(rebuilt.out).size(), 5u);
    // A results file holds no supports and no element properties.
    EXPECT_EQ(section(rebuilt.out, "----- REACTIONS", "-- STRESS").size(), 5u);
    EXPECT_NE(rebuilt.out.find("   1\t\t0.000\t\t0.000\r\n"), std::string::npos);
}

TEST_F(CliAnalyseTest, StoredResultsFileGivesTheNodeRowsOfTodaysAnalysis) {
    // tests/data/results/two-span-continuous-udl.kxr was written by `analyse --results` on the
    // sample model; its node rows must not drift from what the analysis gives now.
    const std::string stored = KRADON_TEST_DATA "/results/two-span-continuous-udl.kxr";
    const CliRun rebuilt = run({"report", stored});
    ASSERT_EQ(rebuilt.status, ExitStatus::Completed) << rebuilt.err;
    EXPECT_EQ(rebuilt.err, "");
    const CliRun analysed = run({"analyse", KRADON_EXAMPLES "/two-span-continuous-udl.kdn"});
    ASSERT_EQ(analysed.status, ExitStatus::Completed) << analysed.err;

    const std::vector<std::string> lines = test::ReportLines(rebuilt.out);
    ASSERT_GT(lines.size(), 12u);
    EXPECT_EQ(lines[3], "Results File: " + stored);
    EXPECT_EQ(lines[4], "Number of nodes used in problem: 17");
    EXPECT_EQ(lines[11], "Overall Length of Beam 12.000m");
    const auto nodes = [](const std::string& report) {
        return section(report, "-- STRESS RESULTANTS", "-- ELEMENT DATA");
    };
    EXPECT_EQ(nodes(rebuilt.out), nodes(analysed.out));
    EXPECT_EQ(nodes(rebuilt.out).size(), 3u + 17u + 3u + 2u); // heading, rows, separators, blanks
}

TEST_F(CliAnalyseTest, JsonGivesRotationsSpringAndPrescribedForcesExtremesAndChecks) {
    // A 6 m cantilever fixed at 0 on a 2 kN/mm spring at 6 m, pushed 5 mm down at 3 m, under
    // 4 kN/m: every force is reported, and they balance.
    const std::string model = save("held.kdn", ModelBuilder()
                                                   .span(6)
                                                   .fixed(0)
                                                   .spring(6, 2)
                                                   .fixedDisplacement(3, 5)
                                                   .udl(4, 0, 6)
                                                   .uniformEI(200, 10000)
                                                   .build());
    const CliRun r = run({"analyse", model, "--json", path("h.json")});
    ASSERT_EQ(r.status, ExitStatus::Completed) << r.err;
    const nlohmann::json j = nlohmann::json::parse(test::ReadFile(dir_ / "h.json"));
    ASSERT_EQ(j["spring_supports"].size(), 1u);
    ASSERT_EQ(j["fixed_displacements"].size(), 1u);
    const auto& spring = j["spring_supports"][0];
    const auto& pushed = j["fixed_displacements"][0];
    EXPECT_EQ(spring["location_m"], 6.0);
    EXPECT_EQ(pushed["location_m"], 3.0);
    const auto& last = j["nodes"].back();
    // The spring pushes up with 2 kN/mm times the tip deflection in mm.
    EXPECT_NEAR(spring["force_kN"].get<double>(), 2 * last["deflection_mm"].get<double>(), 1e-9);
    EXPECT_EQ(j["nodes"][0]["rotation_rad"], 0.0);
    const double up = j["rigid_supports"][0]["vertical_kN"].get<double>() +
                      spring["force_kN"].get<double>() + pushed["force_kN"].get<double>();
    EXPECT_NEAR(up, 24.0, 1e-9);
    EXPECT_LT(std::fabs(j["checks"]["vertical_residual_kN"].get<double>()), 1e-9);
    EXPECT_LT(std::fabs(j["checks"]["moment_residual_kNm"].get<double>()), 1e-9);
    EXPECT_EQ(j["checks"]["total_load_kN"], 24.0);
    const auto& deflection = j["extremes"]["deflection_mm"];
    double largest = 0;
    for (const auto& node : j["nodes"])
        largest = std::max(largest, node["deflection_mm"].get<double>());
    EXPECT_GE(deflection["largest"]["value"].get<double>(), largest);
    EXPECT_EQ(j["extremes"]["moment_kNm"]["smallest"]["x_m"], 0.0);
}

TEST_F(CliAnalyseTest, JsonIsWrittenWithTheBytesTheJsonLibraryGivesIt) {
    // Written an element at a time, the document must still be what dump(2) makes of it: moment
    // loads give nodes with two moments, the ends null shears, no spring an empty array, and
    // 1/3 m steps numbers of every length.
    const std::string model = save("jumps.kdn", ModelBuilder()
                                                    .span(7)
                                                    .pinned(0)
                                                    .pinned(7)
                                                    .moment(-12.5, 7.0 / 3)
                                                    .tdl(1e-7, 3e5, 1, 6)
                                                    .uniformEI(205, 8356)
                                                    .build());
    const CliRun r = run({"analyse", model, "--mesh-density", "3", "--json", path("j.json")});
    ASSERT_EQ(r.status, ExitStatus::Completed) << r.err;
    const std::string bytes = test::ReadFile(dir_ / "j.json");
    const auto j = nlohmann::ordered_json::parse(bytes);
    EXPECT_EQ(j["spring_supports"].dump(), "[]");
    EXPECT_TRUE(j["nodes"][0]["shear_left_kN"].is_null());
    EXPECT_TRUE(j["nodes"].back()["shear_right_kN"].is_null());
    EXPECT_EQ(bytes, j.dump(2) + "\n");
}

// --exact-sections integrates varying E and I along the elements: the report says so after its
// heading, and either way --json states how far the midpoint rule is from it (null where E and
// I are the same along every element).
TEST_F(CliAnalyseTest, ExactSectionsSwitchAndTheDiscretisationEstimate) {
    const std::string tapered = save("tapered.kdn", ModelBuilder()
                                                        .span(4)
                                                        .fixed(4)
                                                        .pointLoad(10, 0)
                                                        .eSegment(0, 4, 200)
                                                        .linearI(0, 4, 10000, 20000)
                                                        .build());
    const std::string line = "------------------------------------------\r\n"
                             "Varying E and I integrated exactly along each element\r\n\r\n";
    std::vector<nlohmann::json> estimates;
    for (const bool exact : {false, true}) {
        std::vector<std::string> args{"analyse", tapered, "--json", path("t.json")};
        if (exact)
            args.emplace_back("--exact-sections");
        const CliRun r = run(args);
        ASSERT_EQ(r.status, ExitStatus::Completed) << r.err;
        EXPECT_EQ(r.out.find(line) != std::string::npos, exact);
        const nlohmann::json j = nlohmann::json::parse(test::ReadFile(dir_ / "t.json"));
        EXPECT_EQ(j["model"]["ExactSections"], exact);
        estimates.push_back(j["checks"]["discretisation"]);
        // The tip at 0 is where the midpoint rule deflects the beam most wrongly, and the
        // cantilever's moments do not depend on E and I.
        EXPECT_EQ(estimates.back()["deflection_x_m"], 0.0);
        EXPECT_GT(estimates.back()["deflection_change_relative"].get<double>(), 1e-4);
        EXPECT_LT(std::fabs(estimates.back()["moment_change_kNm"].get<double>()), 1e-9);
    }
    EXPECT_NEAR(estimates[0]["deflection_change_mm"].get<double>(),
                estimates[1]["deflection_change_mm"].get<double>(), 1e-12);

    const CliRun prismatic =
        run({"analyse", goodModel(), "--exact-sections", "--json", path("p.json")});
    ASSERT_EQ(prismatic.status, ExitStatus::Completed) << prismatic.err;
    EXPECT_EQ(prismatic.out.find("Varying E and I"), std::string::npos);
    EXPECT_TRUE(nlohmann::json::parse(test::ReadFile(dir_ / "p.json"))["checks"]["discretisation"]
                    .is_null());
}

TEST_F(CliAnalyseTest, JsonParsesAndItsNumbersEqualTheReport) {
    const CliRun r = run({"analyse", goodModel(), "--json", path("r.json")});
    ASSERT_EQ(r.status, ExitStatus::Completed) << r.err;
    const nlohmann::json j = nlohmann::json::parse(test::ReadFile(dir_ / "r.json"));
    // The report shows three decimals.
    constexpr double shown = 0.0005 + 1e-9;

    EXPECT_EQ(j["model"]["span_m"], 10.0);
    EXPECT_EQ(j["model"]["MeshDensFact"], 1.0);
    const int nodeCount = j["model"]["NodeCount"];
    EXPECT_EQ(j["model"]["ElementCount"], nodeCount - 1);
    EXPECT_NE(r.out.find("Number of nodes used in problem: " + std::to_string(nodeCount) + "\r\n"),
              std::string::npos);

    std::vector<std::string> rows = section(r.out, "-- STRESS RESULTANTS", "-- ELEMENT DATA");
    std::erase_if(rows, [](const std::string& row) { return row.rfind("  ", 0) != 0; });
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(nodeCount));
    ASSERT_EQ(j["nodes"].size(), rows.size());
    for (int i = 0; i < nodeCount; ++i) {
        const auto& node = j["nodes"][static_cast<std::size_t>(i)];
        const std::vector<double> cells = rowNumbers(rows[static_cast<std::size_t>(i)]);
        ASSERT_EQ(cells.size(), 5u) << rows[static_cast<std::size_t>(i)];
        EXPECT_EQ(node["number"], i + 1);
        EXPECT_EQ(cells[0], i + 1);
        EXPECT_NEAR(node["x_m"].get<double>(), cells[1], shown);
        EXPECT_NEAR(node["moment_kNm"].get<double>(), cells[2], shown);
        const bool last = i + 1 == nodeCount;
        EXPECT_NEAR(node[last ? "shear_left_kN" : "shear_right_kN"].get<double>(), cells[3], shown);
        EXPECT_EQ(node["shear_left_kN"].is_null(), i == 0);
        EXPECT_EQ(node["shear_right_kN"].is_null(), last);
        EXPECT_NEAR(node["deflection_mm"].get<double>(), cells[4], shown);
    }

    std::vector<std::string> supports = section(r.out, "----- REACTIONS", "-- STRESS");
    std::erase_if(supports, [](const std::string& row) { return row.rfind("  ", 0) != 0; });
    ASSERT_EQ(supports.size(), 2u);
    ASSERT_EQ(j["rigid_supports"].size(), 2u);
    const char* types[] = {"Pinned", "Fixed"};
    for (std::size_t n = 0; n < 2; ++n) {
        const auto& support = j["rigid_supports"][n];
        const std::vector<double> cells = rowNumbers(supports[n]);
        ASSERT_EQ(cells.size(), 4u) << supports[n];
        EXPECT_EQ(support["type"], types[n]);
        EXPECT_NEAR(support["location_m"].get<double>(), cells[1], shown);
        EXPECT_NEAR(support["vertical_kN"].get<double>(), cells[2], shown);
        EXPECT_NEAR(support["moment_kNm"].get<double>(), cells[3], shown);
    }
    // Vertical equilibrium: 30 kN plus 2 kN/m over 10 m.
    EXPECT_NEAR(j["rigid_supports"][0]["vertical_kN"].get<double>() +
                    j["rigid_supports"][1]["vertical_kN"].get<double>(),
                50.0, 1e-6);

    ASSERT_EQ(j["elements"].size(), static_cast<std::size_t>(nodeCount - 1));
    double length = 0;
    for (std::size_t e = 0; e < j["elements"].size(); ++e) {
        const auto& element = j["elements"][e];
        EXPECT_EQ(element["node1"], e + 1);
        EXPECT_EQ(element["node2"], e + 2);
        EXPECT_EQ(element["E_kN_per_mm2"], 205.0);
        EXPECT_EQ(element["I_cm4"], 8356.0);
        length += element["length_m"].get<double>();
    }
    EXPECT_NEAR(length, 10.0, 1e-9);
}

TEST_F(CliAnalyseTest, MeshDensityOutsideItsBoundsIsBroughtInsideWithAMessage) {
    struct Case {
        std::string value;
        std::string err;
        double MeshDensFact;
    };
    const std::string model = goodModel();
    for (const auto& c : std::vector<Case>{
             {"10.5",
              "Kradon by Tarel Vestrun: Your value Mesh density factor is too high.\r\n"
              "You are limited to 10. \n",
              10.0},
             {"0.1",
              "Kradon by Tarel Vestrun: Your value Mesh density factor is too low.\r\n"
              "Your minimum is 0.2.\n",
              static_cast<double>(0.2f)},
             {"-3",
              "Kradon by Tarel Vestrun: Your value Mesh density factor is too low.\r\n"
              "Your minimum is 0.2.\n",
              static_cast<double>(0.2f)},
             // Read in single precision, 0.2 lies just above the bound.
             {"0.2", "", static_cast<double>(0.2f)},
             {"10", "", 10.0},
             {"2", "", 2.0}}) {
        const CliRun r =
            run({"analyse", model, "--mesh-density", c.value, "--json", path("m.json")});
        EXPECT_EQ(r.status, ExitStatus::Completed) << c.value;
        EXPECT_EQ(r.err, c.err) << c.value;
        const nlohmann::json j = nlohmann::json::parse(test::ReadFile(dir_ / "m.json"));
        EXPECT_EQ(j["model"]["MeshDensFact"].get<double>(), c.MeshDensFact) << c.value;
    }
}

/// Width and height from the IHDR chunk of a PNG file, or 0 x 0 if it is not one.
std::pair<unsigned, unsigned> pngSize(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return {0, 0};
    const auto word = [&](std::size_t at) {
        unsigned v = 0;
        for (std::size_t i = at; i < at + 4; ++i)
            v = v << 8 | static_cast<unsigned char>(bytes[i]);
        return v;
    };
    return {word(16), word(20)};
}

TEST_F(CliAnalyseTest, PicturesAreDrawnAfterTheReportAtTheSizeAsked) {
    const CliRun r = run({"analyse", goodModel(), "--picture", "bmd:" + path("bmd.png"),
                          "--picture", "mesh:" + path("mesh.svg"), "--size", "300x200"});
    ASSERT_EQ(r.status, ExitStatus::Completed) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("-- FINITE ELEMENT BEAM ANALYSIS RESULTS --"), std::string::npos);
    EXPECT_EQ(pngSize(test::ReadFile(dir_ / "bmd.png")), std::make_pair(300u, 200u));
    const std::string svg = test::ReadFile(dir_ / "mesh.svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("Node No.'s:"), std::string::npos);
}

TEST_F(CliAnalyseTest, PicturesDefaultTo1200By800) {
    const CliRun r = run({"analyse", goodModel(), "--picture", "beam:" + path("beam.png")});
    ASSERT_EQ(r.status, ExitStatus::Completed) << r.err;
    EXPECT_EQ(pngSize(test::ReadFile(dir_ / "beam.png")), std::make_pair(1200u, 800u));
}

TEST_F(CliAnalyseTest, UnwritablePictureExits3AndTheOthersAreStillDrawn) {
    const std::string nowhere = path("no-such-folder/sfd.png");
    const CliRun r = run({"analyse", goodModel(), "--picture", "sfd:" + nowhere, "--picture",
                          "dsd:" + path("dsd.png"), "--json", path("r.json")});
    EXPECT_EQ(r.status, ExitStatus::FileProblem);
    EXPECT_EQ(r.err.rfind("SavePictureFile: Cannot write the picture file " + nowhere, 0), 0u)
        << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "dsd.png"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "r.json"));
    EXPECT_FALSE(r.out.empty());
}

TEST_F(CliAnalyseTest, PicturesAreDrawnOffScreenWhateverThePlatformSetting) {
    // Without the off-screen platform, a desktop platform with no display ends the program.
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    const CliRun r = run({"analyse", goodModel(), "--picture", "dsd:" + path("dsd.png")});
    EXPECT_EQ(r.status, ExitStatus::Completed) << r.err;
    EXPECT_EQ(pngSize(test::ReadFile(dir_ / "dsd.png")), std::make_pair(1200u, 800u));
}

TEST_F(CliAnalyseTest, OutputsNamingTheModelOrEachOtherAreRefusedBeforeAnythingIsWritten) {
    const std::string model = goodModel();
    const std::string modelBytes = test::ReadFile(model);
    std::filesystem::create_symlink(model, dir_ / "link.kdn");
    std::filesystem::create_hard_link(model, dir_ / "hard.kdn");
    struct Case {
        std::vector<std::string> options;
        std::string message;
    };
    const std::string x = path("X.svg");
    for (const auto& c : std::vector<Case>{
             {{"--report", model}, "--report " + model + " and the model " + model},
             {{"--results", path("link.kdn")},
              "--results " + path("link.kdn") + " and the model " + model},
             {{"--json", path("hard.kdn")},
              "--json " + path("hard.kdn") + " and the model " + model},
             {{"--picture", "bmd:" + model + ".png", "--picture", "sfd:" + model + ".png"},
              "--picture sfd:" + model + ".png and --picture bmd:" + model + ".png"},
             {{"--report", x, "--picture", "bmd:" + x},
              "--picture bmd:" + x + " and --report " + x},
             {{"--json", path("r.json"), "--results", dir_.string() + "/./r.json"},
              "--json " + path("r.json") + " and --results " + dir_.string() + "/./r.json"},
         }) {
        std::vector<std::string> args = {"analyse", model};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun r = run(args);
        EXPECT_EQ(r.status, ExitStatus::Usage) << c.message;
        EXPECT_EQ(r.err, "kradon-cli: " + c.message + " are the same file; nothing was written\n");
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(test::ReadFile(model), modelBytes);
        EXPECT_FALSE(std::filesystem::exists(x));
        EXPECT_FALSE(std::filesystem::exists(model + ".png"));
        EXPECT_FALSE(std::filesystem::exists(dir_ / "r.json"));
    }
    const CliRun convert = run({"convert", model, path("link.kdn")});
    EXPECT_EQ(convert.status, ExitStatus::Usage);
    EXPECT_EQ(convert.err, "kradon-cli: " + path("link.kdn") + " and the model " + model +
                               " are the same file; nothing was written\n");
    EXPECT_EQ(test::ReadFile(model), modelBytes);
}

TEST_F(CliAnalyseTest, AnOutputThatFailsKeepsItsOldBytesAndExits3) {
    const std::string model = goodModel();
    struct Case {
        std::string option, value, file, message;
    };
    for (const auto& c : std::vector<Case>{
             {"--report", path("old.txt"), path("old.txt"),
              "kradon-cli: Cannot write the report to " + path("old.txt") +
                  ": No space left on device\n"},
             {"--results", path("old.kxr"), path("old.kxr"),
              "Kradon by Tarel Vestrun: Unkown error while saving file " + path("old.kxr") +
                  "\r\nNo space left on device\n"},
             {"--json", path("old.json"), path("old.json"),
              "kradon-cli: Cannot write the JSON results to " + path("old.json") +
                  ": No space left on device\n"},
             {"--picture", "bmd:" + path("old.svg"), path("old.svg"),
              "SavePictureFile: Cannot write the picture file " + path("old.svg") +
                  ": No space left on device\n"},
         }) {
        test::writeBytes(c.file, "what the user had");
        const test::InjectedWriteFault fault(SafeFile::WriteStep::Write, ENOSPC);
        const CliRun r = run({"analyse", model, c.option, c.value});
        EXPECT_EQ(r.status, ExitStatus::FileProblem) << c.option;
        EXPECT_EQ(r.err, c.message);
        EXPECT_EQ(test::ReadFile(c.file), "what the user had") << c.option;
    }
}

TEST_F(CliAnalyseTest, AReportOntoAFullDiskKeepsTheOldReport) {
    const std::string model = goodModel();
    const auto mountPoint = dir_ / "small";
    std::filesystem::create_directory(mountPoint);
    const test::SmallFilesystem disk(mountPoint);
    if (!disk.mounted())
        GTEST_SKIP() << test::SmallFilesystem::SkipText;
    const auto report = mountPoint / "report.txt";
    test::writeBytes(report, "last week's report");
    disk.fill();
    const CliRun r = run({"analyse", model, "--report", report.string()});
    EXPECT_EQ(r.status, ExitStatus::FileProblem);
    EXPECT_EQ(test::ReadFile(report), "last week's report");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mountPoint),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(CliAnalyseTest, AnalysisFolderOfAnotherUserOrOpenToAllIsRefused) {
    // Without XDG_RUNTIME_DIR the copies go to TMPDIR/kradon-UID, which someone made first.
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", dir_.c_str(), 1);
    const auto taken = dir_ / ("kradon-" + std::to_string(::getuid()));
    std::filesystem::create_directory(taken);
    std::filesystem::permissions(taken, std::filesystem::perms::all);
    const std::string model = goodModel();
    const CliRun r = run({"analyse", model});
    ::unsetenv("TMPDIR");
    EXPECT_EQ(r.status, ExitStatus::FileProblem);
    EXPECT_EQ(r.err, "kradon-cli: Cannot use the folder " + taken.string() +
                         ": other users may enter it\n");
    EXPECT_TRUE(std::filesystem::is_empty(taken));
}

TEST_F(CliAnalyseTest, NoPictureWhenTheInputCheckRefusesTheModel) {
    const std::string model =
        save("refused.kdn", ModelBuilder().span(10).pointLoad(10, 12).build());
    const CliRun r = run({"analyse", model, "--picture", "bmd:" + path("bmd.png")});
    EXPECT_EQ(r.status, ExitStatus::InputRefused);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "bmd.png"));
}

} // namespace
} // namespace kradon::cli

namespace kradon::cli {
namespace {

/// Starts the kradon-cli program with args and this process's environment, its files set up by
/// actions when given; its process id.
pid_t startProgram(const std::vector<std::string>& args,
                   const posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<std::string> words{KRADON_CLI};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    EXPECT_EQ(::posix_spawn(&pid, KRADON_CLI, actions, nullptr, argv.data(), environ), 0);
    return pid;
}

/// The exit status of the program, -1 when it did not end by itself.
int exitStatusOf(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

/// The report without its two time lines, which differ from run to run.
std::string reportWithoutTimes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string kept, line;
    while (std::getline(in, line))
        if (line.find("time") == std::string::npos)
            kept += line + "\n";
    return kept;
}

/// Runs kradon-cli with its standard output on stdoutFile and its standard error in the test
/// folder; the exit status, or -1 when it had not ended after 20 s (it is killed then).
struct ProgramRun {
    int status;
    std::string err;
};
ProgramRun runProgram(const std::vector<std::string>& args, const std::string& stdoutFile,
                      const std::filesystem::path& errFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, stdoutFile.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    const pid_t pid = startProgram(args, &actions);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    for (int tenth = 0; tenth < 200; ++tenth) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadFile(errFile)};
        ::usleep(100'000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return {-1, test::ReadFile(errFile)};
}

TEST_F(CliTest, StandardOutputThatCannotBeWrittenExits3) {
    const std::string model = std::string(KRADON_EXAMPLES) + "/cantilever.kdn";
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"analyse", model}, {"show", model}, {"--help"}}) {
        const ProgramRun r = runProgram(args, "/dev/full", dir_ / "err.txt");
        EXPECT_EQ(r.status, ExitStatus::FileProblem) << args[0];
        EXPECT_NE(r.err.find("standard output"), std::string::npos) << r.err;
    }
    const ProgramRun fine = runProgram({"show", model}, "/dev/null", dir_ / "err.txt");
    EXPECT_EQ(fine.status, 0) << fine.err;
}

TEST_F(CliTest, APipeOrDeviceAsTheModelOrResultsFileIsRefusedAtOnce) {
    const auto pipe = dir_ / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const auto& args : std::vector<std::vector<std::string>>{{"show", pipe.string()},
                                                                  {"analyse", pipe.string()},
                                                                  {"report", pipe.string()},
                                                                  {"show", "/dev/zero"}}) {
        const ProgramRun r = runProgram(args, "/dev/null", dir_ / "err.txt");
        EXPECT_EQ(r.status, ExitStatus::FileProblem) << args[0] << " " << args[1];
        EXPECT_NE(r.err.find("Unkown error while opening file " + args[1] +
                             "\r\nIt is not a regular file"),
                  std::string::npos)
            << r.err;
    }
}

// Eight kradon-cli processes analyse eight different models (five samples, three of them at a
// second mesh density) at the same time, round after round, sharing one per-user folder for
// their analysis copies. Each report must be the one its model gives when analysed alone.
TEST_F(CliTest, ConcurrentAnalysesEachReportTheirOwnModel) {
    struct Job {
        const char* model;
        const char* density;
    };
    const std::vector<Job> jobs = {{"cantilever.kdn", "1"},
                                   {"propped-cantilever-spring.kdn", "1"},
                                   {"simply-supported-point-load.kdn", "1"},
                                   {"tapered-beam-curve.kdn", "1"},
                                   {"two-span-continuous-udl.kdn", "1"},
                                   {"cantilever.kdn", "2"},
                                   {"simply-supported-point-load.kdn", "3"},
                                   {"two-span-continuous-udl.kdn", "0.5"}};
    const auto startJob = [&](std::size_t j, const std::string& report) {
        return startProgram({"analyse", std::string(KRADON_EXAMPLES) + "/" + jobs[j].model,
                             "--mesh-density", jobs[j].density, "--report", report});
    };
    std::vector<std::string> alone;
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        const auto report = dir_ / ("alone-" + std::to_string(j) + ".txt");
        ASSERT_EQ(exitStatusOf(startJob(j, report.string())), 0) << jobs[j].model;
        alone.push_back(reportWithoutTimes(report));
    }
    for (std::size_t a = 0; a < jobs.size(); ++a)
        for (std::size_t b = a + 1; b < jobs.size(); ++b)
            ASSERT_NE(alone[a], alone[b]) << "the jobs must give different reports";

    for (int round = 0; round < 4; ++round) {
        std::vector<pid_t> running;
        for (std::size_t j = 0; j < jobs.size(); ++j)
            running.push_back(startJob(j, (dir_ / ("job-" + std::to_string(j) + ".txt")).string()));
        for (std::size_t j = 0; j < jobs.size(); ++j) {
            EXPECT_EQ(exitStatusOf(running[j]), 0) << jobs[j].model;
            EXPECT_EQ(reportWithoutTimes(dir_ / ("job-" + std::to_string(j) + ".txt")), alone[j])
                << "round " << round << ", " << jobs[j].model << " at " << jobs[j].density;
        }
    }
    const auto copies = dir_ / "kradon";
    EXPECT_TRUE(std::filesystem::is_empty(copies)) << "every analysis removed its copy";
}

} // namespace
} // namespace kradon::cli
