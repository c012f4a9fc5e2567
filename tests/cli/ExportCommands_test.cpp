// The numbers kradon-cli hands out: values at points against closed-form beams, and the results
// CSV read back against the JSON.
#include "../core/TestFolder.h"
#include "../core/results/ClosedFormBeams.h"
#include "cli/CliCommands.h"
#include "model/modFileWrite.h"
#include "results/ResultsCsv.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace kradon::cli {
namespace {

using test::ModelBuilder;
using namespace test::closed;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", folder_.path().c_str(), 1); }
    std::string save(const std::string& name, const BeamModel& m) {
        modFileWrite::SaveModelFile(folder_ / name, m);
        return (folder_ / name).string();
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    const test::TestFolder folder_;
};

/// The largest magnitude of each quantity along the exact beam, for relative tolerances.
SectionValues peaks(const ClosedForm& exact) {
    SectionValues p;
    for (int i = 0; i <= 1000; ++i) {
        const SectionValues v = exact(L * i / 1000);
        p.deflection = std::max(p.deflection, std::fabs(v.deflection));
        p.rotation = std::max(p.rotation, std::fabs(v.rotation));
        p.moment = std::max(p.moment, std::fabs(v.moment));
        p.shear = std::max(p.shear, std::fabs(v.shear));
    }
    return p;
}

TEST_F(ExportTest, AtMatchesClosedFormBeamsBetweenTheNodesAtTheCoarsestMesh) {
    const std::vector<double> fractions{0.013, 0.21, 0.37, 0.5, 0.6183, 0.77, 0.9999};
    for (const auto& beam : ClosedFormBeams()) {
        std::vector<std::string> args{"at", save("beam.kdn", beam.model), "--json",
                                      "--mesh-density", "0.2"};
        for (const double f : fractions)
            args.push_back(ShortestNumber(f * L));
        const CliRun r = run(args);
        ASSERT_EQ(r.status, ExitStatus::Completed) << beam.name << r.err;
        const nlohmann::json j = nlohmann::json::parse(r.out);
        ASSERT_EQ(j["points"].size(), fractions.size());
        const SectionValues peak = peaks(beam.exact);
        for (const auto& point : j["points"]) {
            const double x = point["x_m"];
            const SectionValues want = beam.exact(x);
            const auto& got = point["left"];
            EXPECT_EQ(point["jump"], false);
            EXPECT_EQ(point["left"], point["right"]);
            // 1e-12 of the largest value of each quantity: the values come from the closed form
            // of each element, carried in extended precision from its start.
            const std::string where = std::string(beam.name) + " at " + std::to_string(x);
            EXPECT_NEAR(got["deflection_mm"].get<double>(), want.deflection * 1e3,
                        1e-12 * peak.deflection * 1e3)
                << where;
            EXPECT_NEAR(got["rotation_rad"].get<double>(), want.rotation, 1e-12 * peak.rotation)
                << where;
            EXPECT_NEAR(got["moment_kNm"].get<double>(), want.moment / 1e3,
                        1e-12 * peak.moment / 1e3)
                << where;
            EXPECT_NEAR(got["shear_kN"].get<double>(), want.shear / 1e3, 1e-12 * peak.shear / 1e3)
                << where;
        }
    }
}

TEST_F(ExportTest, AtPrintsBothSidesOfAJumpAndRefusesWhatIsNotOnTheBeam) {
    const std::string model = save("ss.kdn", ClosedFormBeams()[1].model); // 30 kN at 2.9 m
    const CliRun table = run({"at", model, "1", "2.9"});
    ASSERT_EQ(table.status, ExitStatus::Completed) << table.err;
    std::vector<std::string> lines;
    std::istringstream in(table.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u) << table.out;
    EXPECT_EQ(lines[1].rfind("x_m  side   deflection_mm", 0), 0u) << lines[1];
    EXPECT_EQ(lines[3].rfind("2.9  left ", 0), 0u) << lines[3];
    EXPECT_EQ(lines[4].rfind("2.9  right", 0), 0u) << lines[4];

    const CliRun written = run({"at", model, "-o", path("at.txt"), "1", "2.9"});
    EXPECT_EQ(written.status, ExitStatus::Completed);
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(readFile(folder_ / "at.txt"), table.out);

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    for (const auto& c : std::vector<Case>{
             {{"at"}, ExitStatus::Usage, "kradon-cli: at takes one model file and at least one"},
             {{"at", model}, ExitStatus::Usage, "kradon-cli: at takes one model file and"},
             {{"at", model, "2", "x"},
              ExitStatus::Usage,
              "kradon-cli: at takes positions in m after the model file, not 'x'"},
             {{"at", model, "2", "--csv", "a"},
              ExitStatus::Usage,
              "kradon-cli: unknown option '--csv' for at"},
             {{"at", model, "2", "--json", "--json"},
              ExitStatus::Usage,
              "kradon-cli: --json given twice"},
             {{"at", model, "-1"},
              ExitStatus::Usage,
              "kradon-cli: position -1 m is not on the beam (0 to 7.3 m)\n"},
             {{"at", model, "7.4"},
              ExitStatus::Usage,
              "kradon-cli: position 7.4 m is not on the beam (0 to 7.3 m)\n"},
             {{"at", model, "1", "-o", path("none/at.txt")},
              ExitStatus::FileProblem,
              "kradon-cli: Cannot write " + path("none/at.txt") + ": No such file or directory\n"},
         }) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.err;
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
    }
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, ','))
        cells.push_back(cell);
    if (!line.empty() && line.back() == ',')
        cells.emplace_back();
    return cells;
}

/// A CSV cell against a JSON number, exactly; an empty cell stands for null.
void expectSame(const std::string& cell, const nlohmann::json& value, const std::string& what) {
    if (value.is_null()) {
        EXPECT_EQ(cell, "") << what;
        return;
    }
    ASSERT_FALSE(cell.empty()) << what;
    EXPECT_EQ(std::stod(cell), value.get<double>()) << what;
}

TEST_F(ExportTest, CsvReadBackEqualsTheJson) {
    const std::string model = save("held.kdn", ModelBuilder()
                                                   .span(9)
                                                   .uniformEI(200, 10000)
                                                   .pinned(0)
                                                   .fixed(6)
                                                   .spring(9, 2, 300)
                                                   .fixedDisplacement(3, 4)
                                                   .udl(7.5, 0, 9)
                                                   .pointLoad(11.1, 7.7)
                                                   .moment(-13, 4.4)
                                                   .build());
    const CliRun r = run({"analyse", model, "--csv", path("r.csv"), "--json", path("r.json"),
                          "--report", path("r.txt")});
    ASSERT_EQ(r.status, ExitStatus::Completed) << r.err;
    const nlohmann::json j = nlohmann::json::parse(readFile(folder_ / "r.json"));
    std::istringstream csv(readFile(folder_ / "r.csv"));
    std::string line;
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "node,x_m,deflection_mm,rotation_rad,moment_left_kNm,moment_right_kNm,"
                    "shear_left_kN,shear_right_kN");
    for (const auto& node : j["nodes"]) {
        ASSERT_TRUE(std::getline(csv, line));
        const std::vector<std::string> cells = split(line);
        ASSERT_EQ(cells.size(), 8u) << line;
        const std::string what = "node " + cells[0];
        EXPECT_EQ(std::stoi(cells[0]), node["number"].get<int>());
        expectSame(cells[1], node["x_m"], what);
        expectSame(cells[2], node["deflection_mm"], what);
        expectSame(cells[3], node["rotation_rad"], what);
        expectSame(cells[4], node["moment_left_kNm"], what);
        expectSame(cells[5], node["moment_right_kNm"], what);
        expectSame(cells[6], node["shear_left_kN"], what);
        expectSame(cells[7], node["shear_right_kN"], what);
    }
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "support,x_m,kind,force_kN,moment_kNm");
    auto expectRows = [&](const nlohmann::json& rows, const char* force, const char* moment,
                          const std::function<std::string(const nlohmann::json&)>& kind) {
        for (const auto& row : rows) {
            ASSERT_TRUE(std::getline(csv, line));
            const std::vector<std::string> cells = split(line);
            ASSERT_EQ(cells.size(), 5u) << line;
            EXPECT_EQ(std::stoi(cells[0]), row["number"].get<int>()) << line;
            expectSame(cells[1], row["location_m"], line);
            EXPECT_EQ(cells[2], kind(row)) << line;
            expectSame(cells[3], row[force], line);
            expectSame(cells[4], row[moment], line);
        }
    };
    expectRows(j["rigid_supports"], "vertical_kN", "moment_kNm",
               [](const nlohmann::json& row) { return row["type"].get<std::string>(); });
    expectRows(j["spring_supports"], "force_kN", "moment_kNm",
               [](const nlohmann::json&) { return std::string("Spring"); });
    expectRows(j["fixed_displacements"], "force_kN", "moment_kNm",
               [](const nlohmann::json&) { return std::string("Fixed displacement"); });
    EXPECT_FALSE(std::getline(csv, line)) << line;
    // The moment load at 4.4 m shows on both sides of its node.
    int momentNodes = 0;
    for (const auto& node : j["nodes"]) {
        if (node["x_m"] != 4.4)
            continue;
        ++momentNodes;
        EXPECT_NEAR(node["moment_right_kNm"].get<double>() - node["moment_left_kNm"].get<double>(),
                    -13, 1e-9);
    }
    EXPECT_EQ(momentNodes, 1);
}

} // namespace
} // namespace kradon::cli
