// The command line of kradon-cli: usage, version, printing a model file, analysing one and
// rebuilding the report from a results file.
#include "../core/FileSafetySupport.h"
#include "../core/analysis/ModelBuilder.h"
#include "CliRun.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kradon::cli {
namespace {

using test::ModelBuilder;

TEST(Cli, VersionHelpAndUsageErrors) {
    EXPECT_EQ(completed({"--version"}).out, "1.0.6\n");
    EXPECT_TRUE(contains(completed({"--help"}).out, "kradon-cli show MODEL.kdn"));
    const std::string analyse = "analyse takes exactly one model file",
                      number = "--mesh-density needs a number, not ";
    for (const auto& [line, problem] : std::vector<std::pair<std::string, std::string>>{
             {"", "no command given"},
             {"frobnicate", "unknown command 'frobnicate'"},
             {"show", "show takes exactly one model file"},
             {"analyse", analyse},
             {"analyse a.kdn b.kdn", analyse},
             {"analyse a.kdn --bogus x", "unknown option '--bogus' for analyse"},
             {"analyse a.kdn --mesh-density", "--mesh-density needs a value"},
             {"analyse a.kdn --mesh-density abc", number + "'abc'"},
             {"analyse a.kdn --mesh-density 2x", number + "'2x'"},
             {"analyse a.kdn --mesh-density nan", number + "'nan'"},
             {"analyse --report a.txt a.kdn --report b.txt", "--report given twice"},
             {"analyse a.kdn --picture bmd", "--picture expects KIND:FILE, got 'bmd'"},
             {"analyse a.kdn --picture moment:a.png",
              "unknown picture kind 'moment' (use beam, mesh, bmd, sfd, dsd, e or i)"},
             {"analyse a.kdn --picture bmd:a.jpg", "picture file 'a.jpg' must end in .svg or .png"},
             {"analyse a.kdn --size 800",
              "--size expects WxH in pixels (for example 1200x800), got '800'"},
             {"analyse a.kdn --size 800x0", "--size sides must be 16 to 10000 pixels, got '800x0'"},
             {"analyse a.kdn --size 80x60 --size 90x60", "--size given twice"},
             {"analyse --exact-sections a.kdn --exact-sections", "--exact-sections given twice"},
             {"report a.kxr --exact-sections", "unknown option '--exact-sections' for report"},
             {"report", "report takes exactly one results file"},
             {"report a.kxr --json a.json", "unknown option '--json' for report"},
             {"at", "at takes one model file and at least one position"},
             {"at a.kdn 2 x", "at takes positions in m after the model file, not 'x'"},
             {"at a.kdn 2 --csv a", "unknown option '--csv' for at"},
             {"at a.kdn 2 --json --json", "--json given twice"},
             {"sheet a.kdn", "sheet needs -o SHEET.pdf or -o SHEET.html"},
             {"sheet a.kdn -o a.txt", "the sheet file 'a.txt' must end in .pdf or .html"},
             {"sheet a.kdn -o a.pdf --json b", "unknown option '--json' for sheet"},
             {"convert a.kdn", "convert takes a model file to read and one to write"}}) {
        const CliRun r = run(words(line));
        EXPECT_EQ(r.status, ExitStatus::Usage) << problem;
        EXPECT_EQ(r.err.rfind("kradon-cli: " + problem + "\nUsage:\n", 0), 0u) << r.err;
        EXPECT_TRUE(contains(r.err, "kradon-cli analyse MODEL.kdn"));
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(CliTest, ShowPrintsEveryKindWithTheExplorerColumns) {
    ModelBuilder b(DefaultMaxNoApplieds);
    b.span(10).pointLoad(50, 4).pinned(0).fixed(10).eSegment(0, 10, 205).curveI(0, 10, "8000 + x");
    const CliRun r = completed({"show", save("beam.kdn", b.build())});
    EXPECT_TRUE(r.err.empty());
    for (const char* table :
         {"Beam Details\nOverall span  E Values  I Values\n10m           1         1\n",
          "1             0m     10m    None       205kN/mm2  0kN/mm2  0kN/mm2  N/A\n",
          "Point Loads\nPoint Load No.  Load Value (kN)  Load Distance (m)\n"
          "1               50               4\n",
          "Rigid Supports\nSupport No.  Support Type  Location (m)\n"
          "1            Pinned        0\n2            Fixed         10\n",
          "1             0m     10m    Expression  0cm4   0cm4     0cm4     8000 + x"})
        EXPECT_TRUE(contains(r.out, table)) << table << "\nnot in\n" << r.out;
}

/// The lines from the one starting with first up to (not including) the one starting with last;
/// with rowsOnly, only those starting with two blanks, the rows of its table.
std::vector<std::string> section(const std::string& report, const std::string& first,
                                 const std::string& last, bool rowsOnly = false) {
    std::vector<std::string> out;
    bool in = false;
    for (const auto& line : test::ReportLines(report)) {
        in = line.rfind(first, 0) == 0 || (in && line.rfind(last, 0) != 0);
        if (in && (!rowsOnly || line.rfind("  ", 0) == 0))
            out.push_back(line);
    }
    return out;
}

/// The numbers of one tab-separated report row, blanks around them dropped.
std::vector<double> rowNumbers(const std::string& row) {
    std::vector<double> numbers;
    std::istringstream cells(row);
    for (std::string cell; std::getline(cells, cell, '\t');)
        if (cell.find_first_of("0123456789") != std::string::npos)
            numbers.push_back(std::stod(cell));
    return numbers;
}

class CliAnalyseTest : public CliTest {
protected:
    std::string goodModel() const {
        ModelBuilder b;
        b.span(10).pinned(0).fixed(10).pointLoad(30, 4).udl(2, 0, 10).uniformEI(205, 8356);
        return save("good.kdn", b.build());
    }
};

TEST_F(CliAnalyseTest, GoodModelPrintsTheReportWithAnEmptyPathOrWritesItToAFile) {
    const std::string model = goodModel();
    const CliRun r = completed({"analyse", model});
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> lines = test::ReportLines(r.out);
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines[1], "-- FINITE ELEMENT BEAM ANALYSIS RESULTS --");
    EXPECT_EQ(lines[3], "Results File: ");
    for (const char* part : {"Overall Length of Beam 10.000m\r\n", "\tPinned\t", "\tFixed\t",
                             "205.000\t\t8356.000\r\n"})
        EXPECT_TRUE(contains(r.out, part)) << part;

    const CliRun toFile = completed({"analyse", model, "--report", path("report.txt")});
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(withoutTimes(read("report.txt")), withoutTimes(r.out));
}

TEST_F(CliAnalyseTest, ModelsThatCannotGiveResultsExitNonZeroWithTheirCauseAndNoOutputs) {
    ModelBuilder tiny, divides;
    tiny.span(10).pinned(0).pinned(10).pointLoad(50, 4).uniformEI(1e-308, 8000);
    divides.span(10).pinned(0).pinned(10).pointLoad(50, 4).eSegment(0, 10, 205);
    divides.curveI(0, 10, "8000 + 1/(x - 4.9)");
    for (const auto& [model, status, err] : std::vector<std::tuple<BeamModel, int, std::string>>{
             {ModelBuilder().span(10).pointLoad(10, 12).build(), ExitStatus::InputRefused,
              "Kradon by Tarel Vestrun: No beam properties included in input\n"
              "Kradon by Tarel Vestrun: Number/location of supports is erroneous in input\n"
              "Input Data Checking Routine: Elements outside boundaries are:\r\n"
              "Point Load 1\r\n\n"},
             {tiny.build(), ExitStatus::AnalysisFailed,
              "FEA Subroutine: Calculation Error - Aborting\r\n"
              "The results are not all finite numbers (the deflection at x = 0.6666666666666666 m "
              "is infinite): E or I is too small, or a load too large, for the beam to be "
              "calculated.\n"},
             {divides.build(), ExitStatus::AnalysisFailed,
              "Mesh Subroutine: I definition 1: the expression \"8000 + 1/(x - 4.9)\" divides by "
              "zero at x = 4.9 m.\nFEA Subroutine: Calculation Error - Aborting\n"},
         }) {
        const CliRun r = run({"analyse", save("bad.kdn", model), "--results", path("r.kxr"),
                              "--picture", "bmd:" + path("bmd.png")});
        EXPECT_EQ(r.status, status) << err;
        EXPECT_EQ(r.err, err);
        EXPECT_EQ(r.out, "") << err;
        EXPECT_FALSE(std::filesystem::exists(dir_ / "r.kxr")) << err;
        EXPECT_FALSE(std::filesystem::exists(dir_ / "bmd.png")) << err;
    }
}

TEST_F(CliAnalyseTest, AMeshWarningGoesToStderrAndTheAnalysisCompletes) {
    // The input check looks only at the end of an E definition, so one written backwards from
    // 12 m passes it on a 10 m span; the mesher warns and lays elements out to 12 m. Where no
    // definition covers a position, E and I come from entry 0 of their lists, which the model
    // file carries like any other entry.
    ModelBuilder b;
    b.span(10).pinned(0).pinned(10).pointLoad(10, 5).eSegment(0, 10, 205).eSegment(12, 10, 205);
    BeamModel m = b.iSegment(0, 10, 8000).build();
    for (PropertySegmentList* list : {&m.ESegment, &m.ISegment})
        list->variation[0] = Variation::None;
    m.ESegment.constant[0] = 205;
    m.ISegment.constant[0] = 8000;
    const CliRun r = run({"analyse", save("overhang.kdn", m)});
    EXPECT_EQ(r.status, ExitStatus::Completed);
    EXPECT_EQ(r.err, "Mesh Subroutine: Elements defined outside boundaries\n");
    EXPECT_TRUE(contains(r.out, "Overall Length of Beam 10.000m\r\n"));
    EXPECT_TRUE(contains(r.out, "\t     012.000\t\t")) << r.out;
}

TEST_F(CliAnalyseTest, MissingDamagedOrIrregularFilesExit3WithTheOpenMessage) {
    test::writeBytes(dir_ / "damaged.kdn", std::string(100, '\0'));
    test::writeBytes(dir_ / "damaged.kxr", std::string(100, '\0'));
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    const std::string none = "No such file or directory",
                      pipe = "It is not a regular file (a pipe, a device or a socket)",
                      damaged = "The model file is damaged: it holds 72 bytes of lists where "
                                "MaxNoApplieds 0 needs at least 252";
    for (const auto& [line, reason] : std::vector<std::pair<std::string, std::string>>{
             {"show missing.kdn", none},
             {"show damaged.kdn", damaged},
             {"analyse missing.kdn", none},
             {"analyse damaged.kdn", damaged},
             {"report missing.kxr", none},
             {"report damaged.kxr", "NodeCount 0 is below 1"},
             {"show pipe", pipe},
             {"analyse pipe", pipe},
             {"report pipe", pipe},
             {"show /dev/zero", pipe}}) {
        Args args = words(line);
        if (args[1] != "/dev/zero")
            args[1] = path(args[1]);
        const CliRun r = run(args);
        EXPECT_EQ(r.status, ExitStatus::FileProblem) << line;
        EXPECT_EQ(r.err, "Kradon by Tarel Vestrun: Unkown error while opening file " + args[1] +
                             "\r\n" + reason + "\n");
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(CliAnalyseTest, ResultsFilesGiveTheReportButForPathTimesAndWhatTheyDoNotHold) {
    // tests/data/results/two-span-continuous-udl.kxr was written by `analyse --results` on the
    // sample model; what the analysis writes now must give the same report, but for its path.
    const std::string stored = KRADON_TEST_DATA "/results/two-span-continuous-udl.kxr";
    const CliRun analysed = completed(
        {"analyse", KRADON_EXAMPLES "/two-span-continuous-udl.kdn", "--results", path("r.kxr")});
    const CliRun old = completed({"report", stored}), now = completed({"report", path("r.kxr")});
    EXPECT_EQ(old.err + now.err, "");
    const std::vector<std::string> a = test::ReportLines(analysed.out),
                                   b = test::ReportLines(old.out), c = test::ReportLines(now.out);
    ASSERT_GT(a.size(), 12u);
    ASSERT_EQ(c.size(), b.size());
    EXPECT_EQ(a[3], "Results File: ");
    EXPECT_EQ(b[3], "Results File: " + stored);
    EXPECT_EQ(c[3], "Results File: " + path("r.kxr"));
    EXPECT_EQ(b[4], "Number of nodes used in problem: 17");
    EXPECT_EQ(b[11], "Overall Length of Beam 12.000m");
    // The header but its file name (line 3) is the analysis's, its times (lines 6 and 7) too;
    // the rest is the stored file's.
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (i == 3)
            continue;
        EXPECT_EQ(c[i], i < 12 ? a[i] : b[i]) << "line " << i;
    }
    const auto nodes = section(old.out, "-- STRESS RESULTANTS", "-- ELEMENT DATA");
    EXPECT_EQ(nodes, section(analysed.out, "-- STRESS RESULTANTS", "-- ELEMENT DATA"));
    EXPECT_EQ(nodes.size(), 3u + 17u + 3u + 2u); // heading, rows, rules, blanks
    // A results file holds no supports and no element properties.
    EXPECT_EQ(section(old.out, "----- REACTIONS", "-- STRESS").size(), 5u);
    EXPECT_TRUE(contains(old.out, "   1\t\t0.000\t\t0.000\r\n"));
}

// --exact-sections integrates varying E and I along the elements: the report says so after its
// heading, and either way --json states how far the midpoint rule is from it (null where E and
// I are the same along every element).
TEST_F(CliAnalyseTest, ExactSectionsSwitchAndTheDiscretisationEstimate) {
    ModelBuilder b;
    b.span(4).fixed(4).pointLoad(10, 0).eSegment(0, 4, 200).linearI(0, 4, 10000, 20000);
    const std::string tapered = save("tapered.kdn", b.build());
    for (const bool exact : {false, true}) {
        Args args{"analyse", tapered, "--json", path("t.json")};
        if (exact)
            args.emplace_back("--exact-sections");
        const CliRun r = completed(args);
        EXPECT_EQ(contains(r.out, "------------------------------------------\r\nVarying E and I "
                                  "integrated exactly along each element\r\n\r\n"),
                  exact);
        const nlohmann::json j = nlohmann::json::parse(read("t.json"));
        EXPECT_EQ(j["model"]["ExactSections"], exact);
        // The tip at 0 is where the midpoint rule deflects the beam most wrongly.
        const auto& estimate = j["checks"]["discretisation"];
        EXPECT_EQ(estimate["deflection_x_m"], 0.0);
        EXPECT_GT(estimate["deflection_change_relative"].get<double>(), 1e-4);
    }
}

TEST_F(CliAnalyseTest, JsonParsesAndItsNumbersEqualTheReport) {
    // With E and I the same along every element, exact sections change nothing.
    const CliRun r =
        completed({"analyse", goodModel(), "--exact-sections", "--json", path("r.json")});
    EXPECT_FALSE(contains(r.out, "Varying E and I"));
    // Written an element at a time, the document must still be what dump(2) makes of it.
    const std::string bytes = read("r.json");
    const auto j = nlohmann::ordered_json::parse(bytes);
    EXPECT_EQ(bytes, j.dump(2) + "\n");
    EXPECT_EQ(j["spring_supports"].dump(), "[]");
    EXPECT_TRUE(j["checks"]["discretisation"].is_null());
    constexpr double shown = 0.0005 + 1e-9; // the report shows three decimals
    const auto near = [&](const nlohmann::ordered_json& value, double cell) {
        EXPECT_NEAR(value.get<double>(), cell, shown);
    };

    EXPECT_EQ(j["model"]["span_m"], 10.0);
    EXPECT_EQ(j["model"]["MeshDensFact"], 1.0);
    const int nodeCount = j["model"]["NodeCount"];
    EXPECT_EQ(j["model"]["ElementCount"], nodeCount - 1);
    EXPECT_TRUE(
        contains(r.out, "Number of nodes used in problem: " + std::to_string(nodeCount) + "\r\n"));

    const auto rows = section(r.out, "-- STRESS RESULTANTS", "-- ELEMENT DATA", true);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(nodeCount));
    ASSERT_EQ(j["nodes"].size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& node = j["nodes"][i];
        const std::vector<double> cells = rowNumbers(rows[i]);
        ASSERT_EQ(cells.size(), 5u) << rows[i];
        const bool last = i + 1 == rows.size();
        EXPECT_EQ(node["number"], i + 1);
        EXPECT_EQ(cells[0], i + 1);
        near(node["x_m"], cells[1]);
        near(node["moment_kNm"], cells[2]);
        near(node[last ? "shear_left_kN" : "shear_right_kN"], cells[3]);
        near(node["deflection_mm"], cells[4]);
        EXPECT_EQ(node["shear_left_kN"].is_null(), i == 0);
        EXPECT_EQ(node["shear_right_kN"].is_null(), last);
    }

    // The reactions, the report's and the CSV's, are compared elsewhere; here their sum.
    ASSERT_EQ(j["rigid_supports"].size(), 2u);
    EXPECT_EQ(j["rigid_supports"][0]["type"], "Pinned");
    EXPECT_EQ(j["rigid_supports"][1]["type"], "Fixed");
    EXPECT_NEAR(j["rigid_supports"][0]["vertical_kN"].get<double>() +
                    j["rigid_supports"][1]["vertical_kN"].get<double>(),
                50.0, 1e-6); // 30 kN plus 2 kN/m over 10 m

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
    const std::string high = "Kradon by Tarel Vestrun: Your value Mesh density factor is too "
                             "high.\r\nYou are limited to 10. \n",
                      low = "Kradon by Tarel Vestrun: Your value Mesh density factor is too "
                            "low.\r\nYour minimum is 0.2.\n";
    const double lowest = 0.2f; // read in single precision, 0.2 lies just above the bound
    const std::string model = goodModel();
    for (const auto& [value, err, factor] :
         std::vector<std::tuple<std::string, std::string, double>>{{"10.5", high, 10.0},
                                                                   {"0.1", low, lowest},
                                                                   {"-3", low, lowest},
                                                                   {"0.2", "", lowest},
                                                                   {"10", "", 10.0},
                                                                   {"2", "", 2.0}}) {
        const CliRun r = run({"analyse", model, "--mesh-density", value, "--json", path("m.json")});
        EXPECT_EQ(r.status, ExitStatus::Completed) << value;
        EXPECT_EQ(r.err, err) << value;
        EXPECT_EQ(nlohmann::json::parse(read("m.json"))["model"]["MeshDensFact"].get<double>(),
                  factor)
            << value;
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

TEST_F(CliAnalyseTest, PicturesAreDrawnOffScreenAfterTheReportAtTheSizeAsked) {
    // Without the off-screen platform, a desktop platform with no display ends the program.
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    const std::string model = goodModel();
    const CliRun r = completed({"analyse", model, "--picture", "bmd:" + path("bmd.png"),
                                "--picture", "mesh:" + path("mesh.svg"), "--size", "300x200"});
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(contains(r.out, "-- FINITE ELEMENT BEAM ANALYSIS RESULTS --"));
    EXPECT_EQ(pngSize(read("bmd.png")), std::make_pair(300u, 200u));
    EXPECT_TRUE(contains(read("mesh.svg"), "<svg") && contains(read("mesh.svg"), "Node No.'s:"));
    // 1200 x 800 when no size is given.
    const CliRun plain = completed({"analyse", model, "--picture", "beam:" + path("beam.png")});
    EXPECT_EQ(pngSize(read("beam.png")), std::make_pair(1200u, 800u));
}

TEST_F(CliAnalyseTest, OutputsNamingTheModelOrEachOtherAreRefusedBeforeAnythingIsWritten) {
    const std::string model = goodModel(), modelBytes = test::ReadFile(model);
    std::filesystem::create_symlink(model, dir_ / "link.kdn");
    const std::string x = path("X.svg"), link = path("link.kdn"), png = model + ".png";
    const std::string analyse = "analyse " + model + " ";
    for (const auto& [line, message] : std::vector<std::pair<std::string, std::string>>{
             {analyse + "--report " + model, "--report " + model + " and the model " + model},
             {analyse + "--results " + link, "--results " + link + " and the model " + model},
             {analyse + "--picture bmd:" + png + " --picture sfd:" + png,
              "--picture sfd:" + png + " and --picture bmd:" + png},
             {analyse + "--report " + x + " --picture bmd:" + x,
              "--picture bmd:" + x + " and --report " + x},
             {"convert " + model + " " + link, link + " and the model " + model},
         }) {
        const CliRun r = run(words(line));
        EXPECT_EQ(r.status, ExitStatus::Usage) << message;
        EXPECT_EQ(r.err, "kradon-cli: " + message + " are the same file; nothing was written\n");
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(test::ReadFile(model), modelBytes);
        for (const std::string& file : {x, png})
            EXPECT_FALSE(std::filesystem::exists(file)) << file;
    }
}

TEST_F(CliAnalyseTest, AnOutputThatCannotBeWrittenExits3AndAFailedOneKeepsItsOldBytes) {
    const std::string model = goodModel(), nowhere = path("no-such-folder/out.svg");
    const std::string full = ": No space left on device\n";
    struct Case {
        std::string option, kind, file, head, tail;
    };
    for (const Case& c : std::vector<Case>{
             {"--report", "", path("old.txt"), "kradon-cli: Cannot write the report to ", full},
             {"--results", "", path("old.kxr"),
              "Kradon by Tarel Vestrun: Unkown error while saving file ",
              "\r\nNo space left on device\n"},
             {"--json", "", path("old.json"), "kradon-cli: Cannot write the JSON results to ",
              full},
             {"--picture", "bmd:", path("old.svg"),
              "SavePictureFile: Cannot write the picture file ", full},
         }) {
        const CliRun missing = run({"analyse", model, c.option, c.kind + nowhere});
        EXPECT_EQ(missing.status, ExitStatus::FileProblem) << c.option;
        EXPECT_EQ(missing.err.rfind(c.head + nowhere, 0), 0u) << missing.err;
        test::writeBytes(c.file, "what the user had");
        const test::InjectedWriteFault fault(SafeFile::WriteStep::Write, ENOSPC);
        const CliRun r = run({"analyse", model, c.option, c.kind + c.file});
        EXPECT_EQ(r.status, ExitStatus::FileProblem) << c.option;
        EXPECT_EQ(r.err, c.head + c.file + c.tail);
        EXPECT_EQ(test::ReadFile(c.file), "what the user had") << c.option;
    }
    // The other outputs are still written.
    const CliRun r = run({"analyse", model, "--picture", "sfd:" + nowhere, "--picture",
                          "dsd:" + path("dsd.png"), "--json", path("r.json")});
    EXPECT_EQ(r.status, ExitStatus::FileProblem);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir_ / "dsd.png"));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "r.json"));
    EXPECT_FALSE(r.out.empty());
}

TEST_F(CliAnalyseTest, AnalysisFolderOfAnotherUserOrOpenToAllIsRefused) {
    // Without XDG_RUNTIME_DIR the copies go to TMPDIR/kradon-UID, which someone made first.
    ::unsetenv("XDG_RUNTIME_DIR");
    ::setenv("TMPDIR", dir_.c_str(), 1);
    const auto taken = dir_ / ("kradon-" + std::to_string(::getuid()));
    std::filesystem::create_directory(taken);
    std::filesystem::permissions(taken, std::filesystem::perms::all);
    const CliRun r = run({"analyse", goodModel()});
    ::unsetenv("TMPDIR");
    EXPECT_EQ(r.status, ExitStatus::FileProblem);
    EXPECT_EQ(r.err, "kradon-cli: Cannot use the folder " + taken.string() +
                         ": other users may enter it\n");
    EXPECT_TRUE(std::filesystem::is_empty(taken));
}

// The program itself, its standard output on a full device: the status and stderr.
TEST_F(CliTest, StandardOutputThatCannotBeWrittenExits3) {
    const std::string model = KRADON_EXAMPLES "/cantilever.kdn", err = path("err.txt");
    for (const auto& [args, output, status] :
         std::vector<std::tuple<std::string, const char*, int>>{
             {"analyse " + model, "/dev/full", ExitStatus::FileProblem},
             {"show " + model, "/dev/full", ExitStatus::FileProblem},
             {"--help", "/dev/full", ExitStatus::FileProblem},
             {"show " + model, "/dev/null", ExitStatus::Completed}}) {
        const int ended =
            std::system((KRADON_CLI " " + args + " >" + output + " 2>" + err).c_str());
        EXPECT_TRUE(WIFEXITED(ended)) << args;
        EXPECT_EQ(WEXITSTATUS(ended), status) << args << " >" << output;
        EXPECT_EQ(contains(read("err.txt"), "standard output"), status != 0) << read("err.txt");
    }
}

} // namespace
} // namespace kradon::cli
