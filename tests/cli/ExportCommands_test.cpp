// The numbers kradon-cli hands out: values at points against closed-form beams, the JSON and CSV
// results, and the calculation sheet.
#include "../core/FileSafetySupport.h"
#include "../core/results/ClosedFormBeams.h"
#include "CliRun.h"
#include "model/ModelTables.h"
#include "model/modText.h"
#include "results/ResultsCsv.h"

#include <QProcess>
#include <QString>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>

namespace kradon::cli {
namespace {

using test::ModelBuilder;
using namespace test::closed;
using ExportTest = CliTest;

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
        Args args{"at", save("beam.kdn", beam.model), "--json", "--mesh-density", "0.2"};
        for (const double f : fractions)
            args.push_back(ShortestNumber(f * L));
        const CliRun r = completed(args);
        const nlohmann::json j = nlohmann::json::parse(r.out);
        ASSERT_EQ(j["points"].size(), fractions.size());
        const SectionValues peak = peaks(beam.exact);
        for (const auto& point : j["points"]) {
            const double x = point["x_m"];
            const SectionValues want = beam.exact(x);
            EXPECT_EQ(point["jump"], false);
            EXPECT_EQ(point["left"], point["right"]);
            // 1e-12 of the largest value of each quantity: the values come from the closed form
            // of each element, carried in extended precision from its start.
            const std::tuple<const char*, double, double> quantities[] = {
                {"deflection_mm", want.deflection * 1e3, peak.deflection * 1e3},
                {"rotation_rad", want.rotation, peak.rotation},
                {"moment_kNm", want.moment / 1e3, peak.moment / 1e3},
                {"shear_kN", want.shear / 1e3, peak.shear / 1e3}};
            for (const auto& [key, value, largest] : quantities)
                EXPECT_NEAR(point["left"][key].get<double>(), value, 1e-12 * largest)
                    << beam.name << " at " << x << ": " << key;
        }
    }
}

TEST_F(ExportTest, AtPrintsBothSidesOfAJumpAndRefusesWhatIsNotOnTheBeam) {
    const std::string model = save("ss.kdn", ClosedFormBeams()[1].model); // 30 kN at 2.9 m
    const CliRun table = completed({"at", model, "1", "2.9"});
    std::vector<std::string> lines;
    std::istringstream in(table.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u) << table.out;
    EXPECT_EQ(lines[1].rfind("x_m  side   deflection_mm", 0), 0u) << lines[1];
    EXPECT_EQ(lines[3].rfind("2.9  left ", 0), 0u) << lines[3];
    EXPECT_EQ(lines[4].rfind("2.9  right", 0), 0u) << lines[4];

    EXPECT_EQ(completed({"at", model, "-o", path("at.txt"), "1", "2.9"}).out, "");
    EXPECT_EQ(read("at.txt"), table.out);

    // The usage errors of at are with the others; these need the model.
    const std::string none = path("none/at.txt");
    for (const auto& [args, status, err] : std::vector<std::tuple<Args, int, std::string>>{
             {{"at", model, "-1"},
              ExitStatus::Usage,
              "position -1 m is not on the beam (0 to 7.3 m)\n"},
             {{"at", model, "7.4"},
              ExitStatus::Usage,
              "position 7.4 m is not on the beam (0 to 7.3 m)\n"},
             {{"at", model, "1", "-o", none},
              ExitStatus::FileProblem,
              "Cannot write the values to " + none + ": No such file or directory\n"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, status) << args[2];
        EXPECT_EQ(r.err, "kradon-cli: " + err);
    }
}

/// The cells of a CSV line, an empty one for each empty field.
std::vector<std::string> cellsOf(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream in(line + ",");
    for (std::string cell; std::getline(in, cell, ',');)
        cells.push_back(cell);
    return cells;
}

TEST_F(ExportTest, JsonBalancesAndItsCsvReadsBackEqual) {
    // 1/3 m elements give numbers of every length; the moment load gives a node two moments.
    ModelBuilder b;
    b.span(9).uniformEI(200, 10000).pinned(0).fixed(6).spring(9, 2, 300).fixedDisplacement(3, 4);
    b.udl(7.5, 0, 9).pointLoad(11.1, 7.7).moment(-13, 4.4);
    const CliRun r =
        completed({"analyse", save("held.kdn", b.build()), "--mesh-density", "3", "--csv",
                   path("r.csv"), "--json", path("r.json"), "--report", path("r.txt")});
    // Written an element at a time, the document must still be what dump(2) makes of it.
    const std::string bytes = read("r.json");
    const auto j = nlohmann::ordered_json::parse(bytes);
    EXPECT_EQ(bytes, j.dump(2) + "\n");

    // Every force is reported, and they balance: the spring pushes up with 2 kN/mm times its
    // deflection in mm, the fixed support turns by nothing, the pushed node moves 4 mm.
    std::map<double, nlohmann::ordered_json> at;
    double largest = 0;
    for (const auto& node : j["nodes"]) {
        at[node["x_m"].get<double>()] = node;
        largest = std::max(largest, node["deflection_mm"].get<double>());
    }
    const auto& spring = j["spring_supports"][0];
    const auto& pushed = j["fixed_displacements"][0];
    EXPECT_NEAR(spring["force_kN"].get<double>(), 2 * at[9]["deflection_mm"].get<double>(), 1e-9);
    EXPECT_EQ(at[6]["rotation_rad"], 0.0);
    EXPECT_NEAR(at[3]["deflection_mm"].get<double>(), 4, 1e-12);
    const double up = j["rigid_supports"][0]["vertical_kN"].get<double>() +
                      j["rigid_supports"][1]["vertical_kN"].get<double>() +
                      spring["force_kN"].get<double>() + pushed["force_kN"].get<double>();
    EXPECT_NEAR(up, 7.5 * 9 + 11.1, 1e-9);
    EXPECT_NEAR(j["checks"]["total_load_kN"].get<double>(), 7.5 * 9 + 11.1, 1e-12);
    EXPECT_LT(std::fabs(j["checks"]["vertical_residual_kN"].get<double>()), 1e-9);
    EXPECT_LT(std::fabs(j["checks"]["moment_residual_kNm"].get<double>()), 1e-9);
    EXPECT_GE(j["extremes"]["deflection_mm"]["largest"]["value"].get<double>(), largest);
    // The moment load at 4.4 m shows on both sides of its node.
    EXPECT_NEAR(at[4.4]["moment_right_kNm"].get<double>() -
                    at[4.4]["moment_left_kNm"].get<double>(),
                -13, 1e-9);

    std::istringstream csv(read("r.csv"));
    std::string line;
    // Each row against the JSON values it shows, exactly: a text for itself, null as an empty
    // cell, a number as the number the cell reads back as.
    const auto expectRow = [&](const std::vector<nlohmann::ordered_json>& want) {
        ASSERT_TRUE(std::getline(csv, line));
        const std::vector<std::string> cells = cellsOf(line);
        ASSERT_EQ(cells.size(), want.size()) << line;
        for (std::size_t k = 0; k < want.size(); ++k)
            if (want[k].is_string() || want[k].is_null())
                EXPECT_EQ(cells[k], want[k].is_null() ? "" : want[k].get<std::string>()) << line;
            else
                EXPECT_EQ(cells[k].empty() ? std::nan("") : std::stod(cells[k]),
                          want[k].get<double>())
                    << line << ", cell " << k;
    };
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "node,x_m,deflection_mm,rotation_rad,moment_left_kNm,moment_right_kNm,"
                    "shear_left_kN,shear_right_kN");
    for (const auto& n : j["nodes"])
        expectRow({n["number"], n["x_m"], n["deflection_mm"], n["rotation_rad"],
                   n["moment_left_kNm"], n["moment_right_kNm"], n["shear_left_kN"],
                   n["shear_right_kN"]});
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(std::getline(csv, line));
    EXPECT_EQ(line, "support,x_m,kind,force_kN,moment_kNm");
    for (const auto& r : j["rigid_supports"])
        expectRow({r["number"], r["location_m"], r["type"], r["vertical_kN"], r["moment_kNm"]});
    for (const auto& r : j["spring_supports"])
        expectRow({r["number"], r["location_m"], "Spring", r["force_kN"], r["moment_kNm"]});
    for (const auto& r : j["fixed_displacements"])
        expectRow(
            {r["number"], r["location_m"], "Fixed displacement", r["force_kN"], r["moment_kNm"]});
    EXPECT_FALSE(std::getline(csv, line)) << line;
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

std::string pdfText(const std::string& pdf) {
    return programOutput("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
}
/// Whether the text holds the cells one after the other, whole words, blanks between them.
bool hasRow(const std::string& text, const std::vector<std::string>& cells) {
    std::string joined;
    for (const std::string& cell : cells)
        joined += cell + ' ';
    const std::vector<std::string> all = words(text), row = words(joined);
    return std::search(all.begin(), all.end(), row.begin(), row.end()) != all.end();
}

std::string fixed(double v, const char* pattern = "0.000") {
    return modText::FormatNumber(v, pattern);
}

using Rows = std::vector<std::vector<std::string>>;

/// The rows the sheet's maxima table and reactions table must hold, from the JSON results.
Rows expectedRows(const nlohmann::json& j) {
    Rows rows;
    for (const auto& [name, key, pattern] : {std::tuple{"Moment (kNm)", "moment_kNm", "0.000"},
                                             {"Shear (kN)", "shear_kN", "0.000"},
                                             {"Deflection (mm)", "deflection_mm", "0.000"},
                                             {"Rotation (rad)", "rotation_rad", "0.000000"}}) {
        const auto& e = j["extremes"][key];
        rows.push_back({name, fixed(e["largest"]["value"], pattern), fixed(e["largest"]["x_m"]),
                        fixed(e["smallest"]["value"], pattern), fixed(e["smallest"]["x_m"])});
    }
    for (const auto& [list, prefix, kind, force] :
         {std::tuple{"rigid_supports", "R", "", "vertical_kN"},
          {"spring_supports", "K", "Spring", "force_kN"},
          {"fixed_displacements", "FD", "Fixed displacement", "force_kN"}})
        for (const auto& r : j[list])
            rows.push_back({prefix + std::to_string(r["number"].get<int>()),
                            *kind ? kind : r["type"].get<std::string>(), fixed(r["location_m"]),
                            fixed(r[force]), fixed(r["moment_kNm"])});
    // Where E x I varies along an element, the midpoint rule's distance from the exact one.
    if (const auto& d = j["checks"]["discretisation"]; d.is_object())
        rows.push_back(
            {"Midpoint rule against exact integration, largest change of deflection",
             fixed(d["deflection_change_mm"]) + " mm at x = " + fixed(d["deflection_x_m"]) + " m"});
    return rows;
}

/// Every record of the model as the sheet's input tables list it.
Rows recordRows(const BeamModel& m) {
    Rows rows;
    for (const auto& table :
         {ModelTables::casePointLoads(m), ModelTables::caseUniformlyDistributedLoads(m),
          ModelTables::caseTrapezoidallyDistributedLoads(m), ModelTables::caseMomentLoads(m),
          ModelTables::caseRigidSupports(m), ModelTables::caseSpringSupports(m),
          ModelTables::caseFixedDisplacements(m)})
        rows.insert(rows.end(), table.rows.begin(), table.rows.end());
    for (const auto& [list, kind] :
         {std::pair{&m.ESegment, RecordKind::ESegment}, {&m.ISegment, RecordKind::ISegment}})
        for (int n = 1; n <= m.count(kind); ++n)
            rows.push_back({std::to_string(n), modText::GeneralNumber(list->disA[n]),
                            modText::GeneralNumber(list->disB[n])});
    return rows;
}

/// The text of an XHTML page, read with an XML reader; fails the test when the page is not
/// well-formed. Also counts the inline SVG pictures and any attribute that would fetch something
/// from outside the page.
struct HtmlPage {
    std::string text;
    int pictures = 0, outsideReferences = 0;
};

HtmlPage readHtml(const std::string& html) {
    HtmlPage page;
    QXmlStreamReader xml(QString::fromStdString(html));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            for (const auto& a : xml.attributes())
                page.outsideReferences +=
                    a.name() == QLatin1String("src") || a.name() == QLatin1String("href");
            page.pictures += xml.name() == QLatin1String("svg");
        }
        page.text += ' ' + xml.text().toString().toStdString(); // a blank between cells
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line "
                                 << xml.lineNumber();
    return page;
}

TEST_F(ExportTest, SheetOfEverySampleHoldsItsRecordsMaximaAndReactionsInPdfAndHtml) {
    int samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KRADON_EXAMPLES)) {
        if (entry.path().extension() != ".kdn")
            continue;
        ++samples;
        const std::string model = entry.path().string(), name = entry.path().stem().string();
        for (const Args& args : {Args{"analyse", model, "--json", path(name + ".json")},
                                 Args{"sheet", model, "-o", path(name + ".pdf")},
                                 Args{"sheet", model, "-o", path(name + ".html")}})
            completed(args);
        const std::string text = pdfText(path(name + ".pdf"));
        const HtmlPage page = readHtml(read(name + ".html"));
        Rows rows = recordRows(modFileWrite::OpenModelFile(model));
        for (const auto& row : expectedRows(nlohmann::json::parse(read(name + ".json"))))
            rows.push_back(row);
        for (const std::string* sheet : {&text, &page.text}) {
            for (const auto& row : rows)
                EXPECT_TRUE(hasRow(*sheet, row)) << name << ": " << ::testing::PrintToString(row);
            EXPECT_FALSE(hasRow(*sheet, {"Moment (kNm)", "-999.999"})); // the search can fail
        }
        EXPECT_EQ(page.pictures, 7) << name; // loading, E, I and four diagrams
        EXPECT_EQ(page.outsideReferences, 0) << name;
    }
    EXPECT_GE(samples, 5);
}

TEST_F(ExportTest, SheetTitleBlockNamesTheUserFromTheDesktopSettingsAndEmbedsItsFonts) {
    const std::string model = save("ss.kdn", ClosedFormBeams()[1].model);
    const auto config = dir_ / "config";
    std::filesystem::create_directories(config / "kradon");
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    const CliRun nobody = completed({"sheet", model, "-o", path("nobody.html")});
    EXPECT_EQ(nobody.err, "kradon-cli: no user details in " +
                              (config / "kradon/kradon.conf").string() +
                              "; the title block names no one (start the desktop program once "
                              "to enter them)\n");
    EXPECT_TRUE(contains(read("nobody.html"), "By: (no user details)"));

    test::writeBytes(config / "kradon/kradon.conf",
                     "[Config]\nname=Ada Engineer\norg=\"Beam Works, Ltd\"\n");
    EXPECT_EQ(completed({"sheet", model, "-o", path("ada.pdf")}).err, "");
    const std::string text = pdfText(path("ada.pdf"));
    for (const char* part : {"By: Ada Engineer, Beam Works, Ltd", "Model: ss.kdn", "Kradon 1.0.6"})
        EXPECT_TRUE(contains(text, part)) << part << " not in " << text;
    // Every font is embedded: the "emb" column of pdffonts says yes on each font's line.
    std::istringstream fonts(programOutput("pdffonts", {QString::fromStdString(path("ada.pdf"))}));
    int fontLines = 0;
    for (std::string line; std::getline(fonts, line);)
        if (line.find("TrueType") != std::string::npos) {
            ++fontLines;
            EXPECT_TRUE(contains(line, " yes ")) << line;
        }
    EXPECT_GE(fontLines, 1);
    const std::string info = programOutput("pdfinfo", {QString::fromStdString(path("ada.pdf"))});
    EXPECT_TRUE(contains(info, "595 x 842 pts (A4)")) << info;
}

} // namespace
} // namespace kradon::cli
