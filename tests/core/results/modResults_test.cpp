// The results report: its layout line by line, the number patterns, the node shear choice and
// the separators.
#include "../TextFiles.h"
#include "ResultsState.h"
#include "model/KradonError.h"
#include "results/ResultsCsv.h"
#include "results/modResults.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace kradon {
namespace {

constexpr const char* D42 = "------------------------------------------";
constexpr const char* D68 = "--------------------------------------------------------------------";

/// The report cut at its CR LF line ends; a line end of any other kind is a failure.
/// Compares line by line, so a failure names the first line that differs.
void expectLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(actual.size(), expected.size());
}

std::vector<std::string> linesOf(const ProgramState& s) {
    return test::ReportLines(DoResults(s, "", 0, 0));
}

/// The lines from the one equal to first up to (not including) the one equal to last.
std::vector<std::string> section(const std::vector<std::string>& lines, const std::string& first,
                                 const std::string& last) {
    const auto begin = std::find(lines.begin(), lines.end(), first);
    const auto end = std::find(begin, lines.end(), last);
    EXPECT_NE(begin, lines.end()) << first;
    return {begin, end};
}

TEST(DoResults, WholeReportOfThreeNodes) {
    const ProgramState s = test::ThreeNodeState();
    const std::string report = DoResults(s, "/tmp/run/beam.kxr", 0.25, 1.5);
    ASSERT_EQ(report.substr(report.size() - 2), "\r\n");
    expectLines(test::ReportLines(report),
                {
                    D42,
                    "-- FINITE ELEMENT BEAM ANALYSIS RESULTS --",
                    "------------  by T. Vestrun  -------------",
                    "Results File: /tmp/run/beam.kxr",
                    "Number of nodes used in problem: 3",
                    "Number of elements used: 2",
                    "Problem calculation time 0.25secs",
                    "Total time taken was: 1.5secs",
                    D42,
                    "",
                    "------ FINITE ELEMENT BEAM GEOMETRY ------",
                    "Overall Length of Beam 4.000m",
                    "",
                    "----- REACTIONS AT RESTRAINED NODES ------",
                    "Support No. & Distance(m):    Support Type:    Vertical (kN):   Moment (kNm):",
                    D68,
                    "  1\t        000.000\t\tPinned\t        050.000\t   000.000",
                    "  2\t        004.000\t\tFixed\t        -12.346\t   001.500",
                    "",
                    "",
                    "-- STRESS RESULTANTS ALONG BEAM LENGTH --",
                    "Node No. & Distance(m):\tMoment (kNm):\tShear (kN):\tDeflection (mm):",
                    D68,
                    "  1\t     000.000\t\t000.000\t005.000\t000.000",
                    "  2\t     002.000\t\t010.000\t-04.600\t004.200",
                    "  3\t     004.000\t\t-00.250\t-04.000\t-00.100",
                    "",
                    "",
                    "-- ELEMENT DATA USED IN KRADON ANALYSIS --",
                    "Element No.:\tE-value (kN/mm2):\tI-value (cm4):",
                    D68,
                    "   1\t\t205.000\t\t8356.000",
                    "   2\t\t210.500\t\t12.000",
                });
    // An empty path, and times as general numbers.
    const auto lines = test::ReportLines(DoResults(s, "", 0.000125, 12));
    EXPECT_EQ(lines[3], "Results File: ");
    EXPECT_EQ(lines[6], "Problem calculation time 0.000125secs");
    EXPECT_EQ(lines[7], "Total time taken was: 12secs");
}

TEST(DoResults, NoRigidSupportsGivesTheHeadingThenTwoEmptyLines) {
    ProgramState s = test::ThreeNodeState();
    s.model.count(RecordKind::RigidSupport) = 0;
    s.results.SupportReaction.clear();
    const auto lines = linesOf(s);
    expectLines(section(lines, "----- REACTIONS AT RESTRAINED NODES ------",
                        "-- STRESS RESULTANTS ALONG BEAM LENGTH --"),
                {"----- REACTIONS AT RESTRAINED NODES ------",
                 "Support No. & Distance(m):    Support Type:    Vertical (kN):   Moment (kNm):",
                 D68, "", ""});
}

TEST(DoResults, SupportTypeOtherThanOneIsFixed) {
    for (const double type : {0.0, 2.0, 3.0, -1.0, 1.5}) {
        ProgramState s = test::ThreeNodeState();
        s.model.RigidSupport.type[1] = type;
        const auto lines = linesOf(s);
        EXPECT_EQ(lines[16], "  1\t        000.000\t\tFixed\t        050.000\t   000.000") << type;
    }
}

/// A beam of n nodes, 1 m apart, with node i holding the moment i kNm.
ProgramState straightBeam(std::int32_t n) {
    ProgramState s;
    ClearModelLists(s.model);
    s.model.span = n - 1;
    s.mesh.NodeCount = n;
    s.mesh.ElementCount = n - 1;
    s.mesh.NodeX.assign(n + 1, 0);
    s.results.NodeMoment.assign(n + 1, 0);
    for (std::int32_t i = 1; i <= n; ++i) {
        s.mesh.NodeX[i] = i - 1;
        s.results.NodeMoment[i] = 1000.0 * i;
    }
    s.results.NodeDeflection.assign(n + 1, 0);
    s.results.NodeShear.assign(2 * n + 1, 0);
    s.mesh.ElementE.assign(n, 200);
    s.mesh.ElementI.assign(n, 1000);
    return s;
}

TEST(DoResults, SeparatorAfterEveryFifthNodeRow) {
    struct Case {
        std::int32_t nodes;
        std::vector<std::int32_t> separatorsAfter;
    };
    for (const Case& c :
         std::vector<Case>{{4, {}}, {5, {5}}, {6, {5}}, {10, {5, 10}}, {11, {5, 10}}}) {
        const auto lines =
            section(linesOf(straightBeam(c.nodes)), "-- STRESS RESULTANTS ALONG BEAM LENGTH --",
                    "-- ELEMENT DATA USED IN KRADON ANALYSIS --");
        std::vector<std::string> expected{
            "-- STRESS RESULTANTS ALONG BEAM LENGTH --",
            "Node No. & Distance(m):\tMoment (kNm):\tShear (kN):\tDeflection (mm):", D68};
        for (std::int32_t i = 1; i <= c.nodes; ++i) {
            const std::string moment = (i < 10 ? "00" : "0") + std::to_string(i) + ".000";
            const std::string x = (i - 1 < 10 ? "00" : "0") + std::to_string(i - 1) + ".000";
            expected.push_back("  " + std::to_string(i) + "\t     " + x + "\t\t" + moment +
                               "\t000.000\t000.000");
            if (std::find(c.separatorsAfter.begin(), c.separatorsAfter.end(), i) !=
                c.separatorsAfter.end())
                expected.push_back(D68);
        }
        expected.push_back("");
        expected.push_back("");
        SCOPED_TRACE(c.nodes);
        expectLines(lines, expected);
    }
}

TEST(DoResults, ElementRowsShowTheirOwnEAndIWithoutAFifthRowSeparator) {
    ProgramState s = straightBeam(7); // six elements
    s.mesh.ElementE[4] = 205;
    s.mesh.ElementI[4] = 8356;
    const std::string heading = "-- ELEMENT DATA USED IN KRADON ANALYSIS --";
    const auto lines = linesOf(s);
    std::vector<std::string> expected{heading,
                                      "Element No.:\tE-value (kN/mm2):\tI-value (cm4):", D68};
    for (int e = 1; e <= 6; ++e)
        expected.push_back("   " + std::to_string(e) +
                           (e == 4 ? "\t\t205.000\t\t8356.000" : "\t\t200.000\t\t1000.000"));
    expectLines({std::find(lines.begin(), lines.end(), heading), lines.end()}, expected);
}

TEST(NodeRowShear, StartOfTheElementRightOfTheNodeAndEndOfTheLastElement) {
    const ProgramState s = test::ThreeNodeState();
    EXPECT_EQ(NodeRowShear(s.results, 3, 1), 5000);  // start of element 1
    EXPECT_EQ(NodeRowShear(s.results, 3, 2), -4600); // start of element 2, not 4500
    EXPECT_EQ(NodeRowShear(s.results, 3, 3), -4000); // end of element 2, not 777
}

TEST(ResultTxt, PatternsBelowAndFromZero) {
    const std::vector<std::pair<double, std::string>> cases{
        {-5.1234, "-05.123"},  {5.1234, "005.123"},    {1234.5, "1234.500"}, {0, "000.000"},
        {-12.3456, "-12.346"}, {4.2, "004.200"},       {50, "050.000"},      {-123.4, "-123.400"},
        {0.0005, "000.001"},   {999.9996, "1000.000"}, {-0.0004, "000.000"}, {-0.0005, "-00.001"},
        {-1e-12, "000.000"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(resultTxt(value), text) << value;
}

TEST(DoResults, TablesShorterThanTheirCountsThrow) {
    using Shortening = void (*)(ProgramState&);
    for (const Shortening shorten : std::initializer_list<Shortening>{
             [](ProgramState& s) { s.mesh.ElementI.pop_back(); },
             [](ProgramState& s) { s.results.NodeShear.resize(5); }, // the last node needs 5
             [](ProgramState& s) { s.results.SupportReaction.resize(2); },
             [](ProgramState& s) { s.results.SupportReaction[2].resize(2); },
             [](ProgramState& s) { ++s.mesh.NodeCount; }}) {
        ProgramState s = test::ThreeNodeState();
        shorten(s);
        try {
            DoResults(s, "", 0, 0);
            ADD_FAILURE() << "no error";
        } catch (const KradonError& e) {
            EXPECT_EQ(e.number(), ErrorNumber::SubscriptOutOfRange);
        }
    }
}

TEST(TabSeparatedRows, ReportRowsBecomeCellsASpreadsheetTakes) {
    const std::string report = DoResults(test::ThreeNodeState(), "", 0.25, 1.5);
    const std::string tsv = TabSeparatedRows(report);
    EXPECT_EQ(tsv.find('\r'), std::string::npos);
    // The support and node rows lose their padding and aligning empty cells; headings stay.
    EXPECT_NE(tsv.find("\n1\t000.000\tPinned\t050.000\t000.000\n"), std::string::npos) << tsv;
    EXPECT_NE(tsv.find("\n3\t004.000\t-00.250\t-04.000\t-00.100\n"), std::string::npos) << tsv;
    EXPECT_NE(tsv.find("\nNode No. & Distance(m):\tMoment (kNm):\tShear (kN):\tDeflection (mm):\n"),
              std::string::npos);
    EXPECT_NE(tsv.find("\n-- FINITE ELEMENT BEAM ANALYSIS RESULTS --\n"), std::string::npos);
    EXPECT_EQ(TabSeparatedRows("a\t\t b \r\nno tab"), "a\tb\nno tab");
}

} // namespace
} // namespace kradon
