// The numbers kradon-cli hands out: values at points against closed-form beams, and the results
// CSV read back against the JSON.
#include "../core/TestFolder.h"
#include "../core/TextFiles.h"
#include "../core/results/ClosedFormBeams.h"
#include "CliRun.h"
#include "cli/CliCommands.h"
#include "model/ModelTables.h"
#include "model/modFileWrite.h"
#include "model/modText.h"
#include "results/ResultsCsv.h"

#include <QProcess>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace kradon::cli {
namespace {

using test::ModelBuilder;
using namespace test::closed;

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
    EXPECT_EQ(test::ReadFile(folder_ / "at.txt"), table.out);

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
              "kradon-cli: Cannot write the values to " + path("none/at.txt") +
                  ": No such file or directory\n"},
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
    const nlohmann::json j = nlohmann::json::parse(test::ReadFile(folder_ / "r.json"));
    std::istringstream csv(test::ReadFile(folder_ / "r.csv"));
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

// ---- the calculation sheet ----

/// What a program printed on stdout; fails the test when it cannot run.
std::string programOutput(const QString& program, const QStringList& args) {
    QProcess tool;
    tool.start(program, args);
    EXPECT_TRUE(tool.waitForFinished(60000)) << program.toStdString() << " (poppler-utils)";
    EXPECT_EQ(tool.exitCode(), 0) << program.toStdString();
    return tool.readAllStandardOutput().toStdString();
}

std::string pdfText(const std::filesystem::path& pdf) {
    return programOutput("pdftotext", {"-layout", QString::fromStdString(pdf.string()), "-"});
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

/// Whether the text holds the cells one after the other, whole words, blanks between them.
bool hasRow(const std::string& text, const std::vector<std::string>& cells) {
    std::string joined;
    for (const std::string& cell : cells)
        joined += cell + ' ';
    const std::vector<std::string> all = words(text);
    const std::vector<std::string> row = words(joined);
    return std::search(all.begin(), all.end(), row.begin(), row.end()) != all.end();
}

std::string fixed(double v, const char* pattern = "0.000") {
    return modText::FormatNumber(v, pattern);
}

/// The rows the sheet's maxima table and reactions table must hold, from the JSON results.
std::vector<std::vector<std::string>> expectedRows(const nlohmann::json& j) {
    std::vector<std::vector<std::string>> rows;
    const auto& x = j["extremes"];
    const std::pair<const char*, const char*> quantities[] = {{"Moment (kNm)", "moment_kNm"},
                                                              {"Shear (kN)", "shear_kN"},
                                                              {"Deflection (mm)", "deflection_mm"},
                                                              {"Rotation (rad)", "rotation_rad"}};
    for (const auto& [name, key] : quantities) {
        const char* pattern = std::string(key) == "rotation_rad" ? "0.000000" : "0.000";
        const auto& e = x[key];
        rows.push_back({name, fixed(e["largest"]["value"], pattern), fixed(e["largest"]["x_m"]),
                        fixed(e["smallest"]["value"], pattern), fixed(e["smallest"]["x_m"])});
    }
    for (const auto& r : j["rigid_supports"])
        rows.push_back({"R" + std::to_string(r["number"].get<int>()), r["type"],
                        fixed(r["location_m"]), fixed(r["vertical_kN"]), fixed(r["moment_kNm"])});
    for (const auto& r : j["spring_supports"])
        rows.push_back({"K" + std::to_string(r["number"].get<int>()), "Spring",
                        fixed(r["location_m"]), fixed(r["force_kN"]), fixed(r["moment_kNm"])});
    for (const auto& r : j["fixed_displacements"])
        rows.push_back({"FD" + std::to_string(r["number"].get<int>()), "Fixed", "displacement",
                        fixed(r["location_m"]), fixed(r["force_kN"]), fixed(r["moment_kNm"])});
    // Where E x I varies along an element, the midpoint rule's distance from the exact one.
    if (const auto& d = j["checks"]["discretisation"]; d.is_object())
        rows.push_back(
            {"Midpoint rule against exact integration, largest change of deflection",
             fixed(d["deflection_change_mm"]) + " mm at x = " + fixed(d["deflection_x_m"]) + " m"});
    return rows;
}

/// Every record of the model as the sheet's input tables list it.
std::vector<std::vector<std::string>> recordRows(const BeamModel& m) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& table :
         {ModelTables::casePointLoads(m), ModelTables::caseUniformlyDistributedLoads(m),
          ModelTables::caseTrapezoidallyDistributedLoads(m), ModelTables::caseMomentLoads(m),
          ModelTables::caseRigidSupports(m), ModelTables::caseSpringSupports(m),
          ModelTables::caseFixedDisplacements(m)})
        for (const auto& row : table.rows)
            rows.push_back(row);
    for (const auto* list : {&m.ESegment, &m.ISegment})
        for (int n = 1;
             n <= m.count(list == &m.ESegment ? RecordKind::ESegment : RecordKind::ISegment); ++n)
            rows.push_back({std::to_string(n), modText::GeneralNumber(list->disA[n]),
                            modText::GeneralNumber(list->disB[n])});
    return rows;
}

/// The cells of every table of an XHTML page by caption, read with an XML reader; fails the
/// test when the page is not well-formed. Also counts the inline SVG pictures and any attribute
/// that would fetch something from outside the page.
struct HtmlTables {
    std::map<std::string, std::vector<std::vector<std::string>>> tables;
    int pictures = 0;
    int outsideReferences = 0;
};

HtmlTables readHtml(const std::string& html) {
    HtmlTables result;
    QXmlStreamReader xml(QString::fromStdString(html));
    std::string caption, cell;
    std::vector<std::string> row;
    bool inCell = false, inCaption = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const std::string name = xml.name().toString().toStdString();
        if (xml.isStartElement()) {
            for (const auto& a : xml.attributes())
                if (a.name() == QLatin1String("src") || a.name() == QLatin1String("href"))
                    ++result.outsideReferences;
            result.pictures += name == "svg";
            inCaption = name == "caption";
            if (inCaption)
                caption.clear();
            if (name == "td" || name == "th") {
                inCell = true;
                cell.clear();
            }
            if (name == "tr")
                row.clear();
        } else if (xml.isCharacters()) {
            if (inCell)
                cell += xml.text().toString().toStdString();
            if (inCaption)
                caption += xml.text().toString().toStdString();
        } else if (xml.isEndElement()) {
            if (name == "td" || name == "th") {
                row.push_back(cell);
                inCell = false;
            }
            inCaption = inCaption && name != "caption";
            if (name == "tr")
                result.tables[caption].push_back(row);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line "
                                 << xml.lineNumber();
    return result;
}

bool holdsRow(const HtmlTables& html, const std::vector<std::string>& wanted) {
    for (const auto& [caption, rows] : html.tables)
        for (const auto& row : rows) {
            std::string joined, expected;
            for (const auto& c : row)
                joined += c + " ";
            for (const auto& c : wanted)
                expected += c + " ";
            if (joined.rfind(expected, 0) == 0)
                return true;
        }
    return false;
}

TEST_F(ExportTest, SheetOfEverySampleHoldsItsRecordsMaximaAndReactionsInPdfAndHtml) {
    std::vector<std::filesystem::path> samples;
    for (const auto& entry : std::filesystem::directory_iterator(KRADON_EXAMPLES))
        if (entry.path().extension() == ".kdn")
            samples.push_back(entry.path());
    ASSERT_GE(samples.size(), 5u);
    for (const auto& model : samples) {
        const std::string name = model.stem().string();
        const CliRun json = run({"analyse", model.string(), "--json", path(name + ".json"),
                                 "--report", path(name + ".txt")});
        ASSERT_EQ(json.status, ExitStatus::Completed) << name << json.err;
        const CliRun pdf = run({"sheet", model.string(), "-o", path(name + ".pdf")});
        ASSERT_EQ(pdf.status, ExitStatus::Completed) << name << pdf.err;
        const CliRun html = run({"sheet", model.string(), "-o", path(name + ".html")});
        ASSERT_EQ(html.status, ExitStatus::Completed) << name << html.err;

        const nlohmann::json j = nlohmann::json::parse(test::ReadFile(folder_ / (name + ".json")));
        const std::string text = pdfText(folder_ / (name + ".pdf"));
        const HtmlTables tables = readHtml(test::ReadFile(folder_ / (name + ".html")));
        const BeamModel m = modFileWrite::OpenModelFile(model);
        for (const auto& row : recordRows(m)) {
            EXPECT_TRUE(hasRow(text, row)) << name << ": record " << ::testing::PrintToString(row);
            EXPECT_TRUE(holdsRow(tables, row)) << name << ": " << ::testing::PrintToString(row);
        }
        for (const auto& row : expectedRows(j)) {
            EXPECT_TRUE(hasRow(text, row)) << name << ": " << ::testing::PrintToString(row);
            std::vector<std::string> cells = row;
            if (cells.size() == 6) // the HTML keeps "Fixed displacement" in one cell
                cells = {row[0], row[1] + " " + row[2], row[3], row[4], row[5]};
            EXPECT_TRUE(holdsRow(tables, cells)) << name << ": " << ::testing::PrintToString(cells);
        }
        EXPECT_FALSE(hasRow(text, {"Moment (kNm)", "-999.999"})); // the search can fail
        EXPECT_FALSE(holdsRow(tables, {"Moment (kNm)", "-999.999"}));
        // Every page names itself "Page n of m" in its title block.
        const auto pages = std::count(text.begin(), text.end(), '\f');
        for (long n = 1; n <= pages; ++n)
            EXPECT_NE(text.find("Page " + std::to_string(n) + " of " + std::to_string(pages)),
                      std::string::npos)
                << name << " page " << n;
        EXPECT_EQ(tables.pictures, 7) << name; // loading, E, I and four diagrams
        EXPECT_EQ(tables.outsideReferences, 0) << name;
    }
}

TEST_F(ExportTest, SheetTitleBlockNamesTheUserFromTheDesktopSettingsAndEmbedsItsFonts) {
    const std::string model = save("ss.kdn", ClosedFormBeams()[1].model);
    const auto config = folder_ / "config";
    std::filesystem::create_directories(config / "kradon");
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const CliRun nobody = run({"sheet", model, "-o", path("nobody.html")});
    EXPECT_EQ(nobody.status, ExitStatus::Completed);
    EXPECT_EQ(nobody.err, "kradon-cli: no user details in " +
                              (config / "kradon/kradon.conf").string() +
                              "; the title block names no one (start the desktop program once "
                              "to enter them)\n");
    EXPECT_NE(test::ReadFile(folder_ / "nobody.html").find("By: (no user details)"),
              std::string::npos);

    std::ofstream(config / "kradon/kradon.conf")
        << "[Config]\nname=Ada Engineer\norg=\"Beam Works, Ltd\"\n";
    const CliRun someone = run({"sheet", model, "-o", path("ada.pdf")});
    EXPECT_EQ(someone.status, ExitStatus::Completed);
    EXPECT_EQ(someone.err, "");
    const std::string text = pdfText(folder_ / "ada.pdf");
    EXPECT_NE(text.find("By: Ada Engineer, Beam Works, Ltd"), std::string::npos) << text;
    EXPECT_NE(text.find("Model: ss.kdn"), std::string::npos);
    EXPECT_NE(text.find("Kradon 1.0.6"), std::string::npos);
    // Every font is embedded: the "emb" column of pdffonts says yes on each font's line.
    const std::string fonts = programOutput("pdffonts", {QString::fromStdString(path("ada.pdf"))});
    std::istringstream lines(fonts);
    int fontLines = 0;
    for (std::string line; std::getline(lines, line);)
        if (line.find("TrueType") != std::string::npos) {
            ++fontLines;
            EXPECT_NE(line.find(" yes "), std::string::npos) << line;
        }
    EXPECT_GE(fontLines, 1);
    const std::string info = programOutput("pdfinfo", {QString::fromStdString(path("ada.pdf"))});
    EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;

    for (const auto& [args, problem] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"sheet", model}, "sheet needs -o SHEET.pdf or -o SHEET.html"},
             {{"sheet", model, "-o", "a.txt"}, "the sheet file 'a.txt' must end in .pdf or .html"},
             {{"sheet", model, "-o", "a.pdf", "--json", "b"}, "unknown option '--json' for sheet"},
         }) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, ExitStatus::Usage);
        EXPECT_EQ(r.err.rfind("kradon-cli: " + problem + "\n", 0), 0u) << r.err;
    }
}

} // namespace
} // namespace kradon::cli
