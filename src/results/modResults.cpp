// The results report, line by line in the fixed order of its five sections.
#include "results/modResults.h"

#include "model/KradonError.h"
#include "model/modText.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace kradon {
namespace {

constexpr const char* ReportSource = "DoResults";
constexpr const char* Tab = "\t";
constexpr const char* LineEnd = "\r\n";
constexpr const char* FixedPattern = "##0.000";

// Forces and moments are held in N and N·m and shown in kN and kNm; deflections are held in m
// and shown in mm.
constexpr double ForceDivisor = 1000;
constexpr double DeflectionFactor = 1000;

std::string blanks(std::size_t n) {
    return std::string(n, ' ');
}

/// Entry i of a table, or the error of a table shorter than its count.
double entry(const std::vector<double>& table, std::int64_t i, const char* name) {
    if (i < 0 || static_cast<std::uint64_t>(i) >= table.size())
        throw KradonError(ErrorNumber::SubscriptOutOfRange, ReportSource,
                          std::string(name) + " has no entry " + std::to_string(i));
    return table[static_cast<std::size_t>(i)];
}

double reaction(const ResultTables& results, std::int32_t s, std::int32_t component) {
    if (s < 0 || static_cast<std::size_t>(s) >= results.SupportReaction.size())
        throw KradonError(ErrorNumber::SubscriptOutOfRange, ReportSource,
                          "SupportReaction has no row " + std::to_string(s));
    return entry(results.SupportReaction[static_cast<std::size_t>(s)], component,
                 "SupportReaction");
}

class ReportText {
public:
    void line(std::string_view text = {}) {
        text_ += text;
        text_ += LineEnd;
    }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

void heading(ReportText& r, const ProgramState& s, const std::string& path, double calcTime,
             double totalTime) {
    r.line(ReportD42);
    r.line("-- FINITE ELEMENT BEAM ANALYSIS RESULTS --");
    r.line("------------  by T. Vestrun  -------------");
    r.line("Results File: " + path);
    r.line("Number of nodes used in problem: " + std::to_string(s.mesh.NodeCount));
    r.line("Number of elements used: " + std::to_string(s.mesh.ElementCount));
    r.line("Problem calculation time " + modText::GeneralNumber(calcTime) + "secs");
    r.line("Total time taken was: " + modText::GeneralNumber(totalTime) + "secs");
    r.line(ReportD42);
    if (s.results.ExactSections)
        r.line(ExactSectionsLine);
    r.line();
    r.line("------ FINITE ELEMENT BEAM GEOMETRY ------");
    r.line("Overall Length of Beam " + modText::FormatNumber(s.model.span, FixedPattern) + "m");
    r.line();
}

std::string supportRow(const ProgramState& s, std::int32_t n) {
    const BeamModel& m = s.model;
    const char* type = entry(m.RigidSupport.type, n, "RigidSupport.type") == SupportType::Pinned
                           ? "Pinned"
                           : "Fixed";
    return blanks(2) + std::to_string(n) + Tab + blanks(8) +
           resultTxt(entry(m.RigidSupport.location, n, "RigidSupport.location")) + Tab + Tab +
           type + Tab + blanks(8) + resultTxt(reaction(s.results, n, 1) / ForceDivisor) + Tab +
           blanks(3) + resultTxt(reaction(s.results, n, 2) / ForceDivisor);
}

void reactions(ReportText& r, const ProgramState& s) {
    r.line("----- REACTIONS AT RESTRAINED NODES ------");
    r.line("Support No. & Distance(m):    Support Type:    Vertical (kN):   Moment (kNm):");
    r.line(ReportD68);
    for (std::int32_t n = 1; n <= s.model.count(RecordKind::RigidSupport); ++n)
        r.line(supportRow(s, n));
    r.line();
    r.line();
}

std::string nodeRow(const ProgramState& s, std::int32_t i) {
    const ResultTables& res = s.results;
    return blanks(2) + std::to_string(i) + Tab + blanks(5) +
           resultTxt(entry(s.mesh.NodeX, i, "NodeX")) + Tab + Tab +
           resultTxt(entry(res.NodeMoment, i, "NodeMoment") / ForceDivisor) + Tab +
           resultTxt(NodeRowShear(res, s.mesh.NodeCount, i) / ForceDivisor) + Tab +
           resultTxt(entry(res.NodeDeflection, i, "NodeDeflection") * DeflectionFactor);
}

void stressResultants(ReportText& r, const ProgramState& s) {
    r.line("-- STRESS RESULTANTS ALONG BEAM LENGTH --");
    r.line(std::string("Node No. & Distance(m):") + Tab + "Moment (kNm):" + Tab +
           "Shear (kN):" + Tab + "Deflection (mm):");
    r.line(ReportD68);
    for (std::int32_t i = 1; i <= s.mesh.NodeCount; ++i) {
        r.line(nodeRow(s, i));
        if (i % 5 == 0)
            r.line(ReportD68);
    }
    r.line();
    r.line();
}

void elementData(ReportText& r, const ProgramState& s) {
    r.line("-- ELEMENT DATA USED IN KRADON ANALYSIS --");
    r.line(std::string("Element No.:") + Tab + "E-value (kN/mm2):" + Tab + "I-value (cm4):");
    r.line(ReportD68);
    for (std::int32_t e = 1; e <= s.mesh.ElementCount; ++e)
        r.line(blanks(3) + std::to_string(e) + Tab + Tab +
               modText::FormatNumber(entry(s.mesh.ElementE, e, "ElementE"), FixedPattern) + Tab +
               Tab + modText::FormatNumber(entry(s.mesh.ElementI, e, "ElementI"), FixedPattern));
}

} // namespace

std::string resultTxt(double value) {
    // A small negative value that rounds to zero is shown as zero: with the below-zero pattern it
    // would lose its sign and one character, and the next column would run into it.
    const std::string belowZero = modText::FormatNumber(value, "##00.000");
    return belowZero.front() == '-' ? belowZero : modText::FormatNumber(value, "#000.000");
}

double NodeRowShear(const ResultTables& results, std::int32_t NodeCount, std::int32_t i) {
    // A node between two elements has two shears; the row shows the one just right of the node
    // (the start of element i), and the last node, which has only the end of the last element,
    // shows that one.
    const std::int64_t k = i < NodeCount ? 2 * std::int64_t{i} : 2 * std::int64_t{NodeCount} - 1;
    return entry(results.NodeShear, k, "NodeShear");
}

std::string DoResults(const ProgramState& state, const std::string& path, double calcTime,
                      double totalTime) {
    ReportText report;
    heading(report, state, path, calcTime, totalTime);
    reactions(report, state);
    stressResultants(report, state);
    elementData(report, state);
    return report.take();
}

} // namespace kradon
