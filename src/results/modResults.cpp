// The results report, line by line in the fixed order of its five sections.
#include "results/modResults.h"

#include "model/KradonError.h"
#include "model/modText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <vector>

namespace kradon {
namespace {

constexpr const char* ReportSource = "DoResults";
constexpr const char* Tab = "\t";
constexpr const char* LineEnd = "\r\n";
constexpr modText::NumberPattern FixedPattern{1, 3};     // "##0.000"
constexpr modText::NumberPattern BelowZeroPattern{2, 3}; // "##00.000"
constexpr modText::NumberPattern FromZeroPattern{3, 3};  // "#000.000"
/// The report is handed on in pieces of about this many bytes.
constexpr std::size_t PieceBytes = 64 * 1024;

// Forces and moments are held in N and N·m and shown in kN and kNm; deflections are held in m
// and shown in mm.
constexpr double ForceDivisor = 1000;
constexpr double DeflectionFactor = 1000;

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

/// The report as it is written: each line is made in place at the end of the piece being
/// filled, and full pieces go to the sink.
class ReportText {
public:
    explicit ReportText(const ByteSink& sink) : sink_(sink) { text_.reserve(PieceBytes + 1024); }
    ReportText(const ReportText&) = delete;
    ReportText& operator=(const ReportText&) = delete;

    ReportText& add(std::string_view text) {
        text_ += text;
        return *this;
    }
    ReportText& add(std::int32_t n) {
        std::array<char, 16> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), n).ptr;
        text_.append(digits.data(), end);
        return *this;
    }
    ReportText& blanks(std::size_t n) {
        text_.append(n, ' ');
        return *this;
    }
    ReportText& result(double value) {
        AppendResultTxt(text_, value);
        return *this;
    }
    ReportText& fixed(double value) {
        modText::AppendNumber(text_, value, FixedPattern);
        return *this;
    }
    /// Ends the line made so far, after text.
    void line(std::string_view text = {}) {
        text_ += text;
        text_ += LineEnd;
        if (text_.size() >= PieceBytes)
            flush();
    }
    void flush() {
        if (!text_.empty())
            sink_(text_);
        text_.clear();
    }

private:
    const ByteSink& sink_;
    std::string text_;
};

void heading(ReportText& r, const ProgramState& s, const std::string& path, double calcTime,
             double totalTime) {
    r.line(ReportD42);
    r.line("-- FINITE ELEMENT BEAM ANALYSIS RESULTS --");
    r.line("------------  by T. Vestrun  -------------");
    r.add("Results File: ").line(path);
    r.add("Number of nodes used in problem: ").add(s.mesh.NodeCount).line();
    r.add("Number of elements used: ").add(s.mesh.ElementCount).line();
    r.add("Problem calculation time ").add(modText::GeneralNumber(calcTime)).line("secs");
    r.add("Total time taken was: ").add(modText::GeneralNumber(totalTime)).line("secs");
    r.line(ReportD42);
    if (s.results.ExactSections)
        r.line(ExactSectionsLine);
    r.line();
    r.line("------ FINITE ELEMENT BEAM GEOMETRY ------");
    r.add("Overall Length of Beam ").fixed(s.model.span).line("m");
    r.line();
}

void supportRow(ReportText& r, const ProgramState& s, std::int32_t n) {
    const BeamModel& m = s.model;
    const char* type = entry(m.RigidSupport.type, n, "RigidSupport.type") == SupportType::Pinned
                           ? "Pinned"
                           : "Fixed";
    r.blanks(2).add(n).add(Tab).blanks(8);
    r.result(entry(m.RigidSupport.location, n, "RigidSupport.location")).add(Tab).add(Tab);
    r.add(type).add(Tab).blanks(8).result(reaction(s.results, n, 1) / ForceDivisor).add(Tab);
    r.blanks(3).result(reaction(s.results, n, 2) / ForceDivisor).line();
}

void reactions(ReportText& r, const ProgramState& s) {
    r.line("----- REACTIONS AT RESTRAINED NODES ------");
    r.line("Support No. & Distance(m):    Support Type:    Vertical (kN):   Moment (kNm):");
    r.line(ReportD68);
    for (std::int32_t n = 1; n <= s.model.count(RecordKind::RigidSupport); ++n)
        supportRow(r, s, n);
    r.line();
    r.line();
}

void nodeRow(ReportText& r, const ProgramState& s, std::int32_t i) {
    const ResultTables& res = s.results;
    r.blanks(2).add(i).add(Tab).blanks(5).result(entry(s.mesh.NodeX, i, "NodeX")).add(Tab);
    r.add(Tab).result(entry(res.NodeMoment, i, "NodeMoment") / ForceDivisor).add(Tab);
    r.result(NodeRowShear(res, s.mesh.NodeCount, i) / ForceDivisor).add(Tab);
    r.result(entry(res.NodeDeflection, i, "NodeDeflection") * DeflectionFactor).line();
}

void stressResultants(ReportText& r, const ProgramState& s) {
    r.line("-- STRESS RESULTANTS ALONG BEAM LENGTH --");
    r.add("Node No. & Distance(m):").add(Tab).add("Moment (kNm):").add(Tab);
    r.add("Shear (kN):").add(Tab).line("Deflection (mm):");
    r.line(ReportD68);
    for (std::int32_t i = 1; i <= s.mesh.NodeCount; ++i) {
        nodeRow(r, s, i);
        if (i % 5 == 0)
            r.line(ReportD68);
    }
    r.line();
    r.line();
}

void elementData(ReportText& r, const ProgramState& s) {
    r.line("-- ELEMENT DATA USED IN KRADON ANALYSIS --");
    r.add("Element No.:").add(Tab).add("E-value (kN/mm2):").add(Tab).line("I-value (cm4):");
    r.line(ReportD68);
    for (std::int32_t e = 1; e <= s.mesh.ElementCount; ++e) {
        r.blanks(3).add(e).add(Tab).add(Tab).fixed(entry(s.mesh.ElementE, e, "ElementE"));
        r.add(Tab).add(Tab).fixed(entry(s.mesh.ElementI, e, "ElementI")).line();
    }
}

} // namespace

void AppendResultTxt(std::string& out, double value) {
    // A small negative value that rounds to zero is shown as zero: with the below-zero pattern it
    // would lose its sign and one character, and the next column would run into it.
    modText::AppendSignedNumber(out, value, BelowZeroPattern, FromZeroPattern);
}

std::string resultTxt(double value) {
    std::string text;
    AppendResultTxt(text, value);
    return text;
}

double NodeRowShear(const ResultTables& results, std::int32_t NodeCount, std::int32_t i) {
    // A node between two elements has two shears; the row shows the one just right of the node
    // (the start of element i), and the last node, which has only the end of the last element,
    // shows that one.
    const std::int64_t k = i < NodeCount ? 2 * std::int64_t{i} : 2 * std::int64_t{NodeCount} - 1;
    return entry(results.NodeShear, k, "NodeShear");
}

void WriteResults(const ProgramState& state, const std::string& path, double calcTime,
                  double totalTime, const ByteSink& sink) {
    ReportText report(sink);
    heading(report, state, path, calcTime, totalTime);
    reactions(report, state);
    stressResultants(report, state);
    elementData(report, state);
    report.flush();
}

std::string DoResults(const ProgramState& state, const std::string& path, double calcTime,
                      double totalTime) {
    std::string text;
    WriteResults(state, path, calcTime, totalTime,
                 [&text](std::string_view piece) { text += piece; });
    return text;
}

} // namespace kradon
