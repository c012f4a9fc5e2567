// The envelope report, section by section.
#include "results/EnvelopeReport.h"

#include "model/modText.h"
#include "results/modResults.h"

#include <cstddef>
#include <string_view>

namespace kradon {
namespace {

constexpr const char* Tab = "\t";
constexpr const char* LineEnd = "\r\n";
constexpr const char* FixedPattern = "##0.000";

class Lines {
public:
    void line(std::string_view text = {}) {
        text_ += text;
        text_ += LineEnd;
    }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

/// How a quantity is shown: its caption, and the factor from analysis units.
struct Shown {
    const char* caption;
    double factor;
};

Shown shownAs(Quantity q) {
    switch (q) {
    case Quantity::Deflection:
        return {"Deflection (mm)", 1000};
    case Quantity::Rotation:
        return {"Rotation (mrad)", 1000};
    case Quantity::Moment:
        return {"Moment (kNm)", 0.001};
    case Quantity::Shear:
        break;
    }
    return {"Shear (kN)", 0.001};
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : ", ") + names[i];
    return text;
}

void heading(Lines& l, const CaseAnalysis& a, const EnvelopeResult& r, double totalTime) {
    l.line(ReportD42);
    l.line("-- ENVELOPE OF BEAM ANALYSIS RESULTS ----");
    l.line("------------  by T. Vestrun  -------------");
    l.line("Envelope of: " + joined(r.loadings));
    l.line("Number of nodes used in problem: " + std::to_string(a.frame.mesh.NodeCount));
    l.line("Number of elements used: " + std::to_string(a.frame.mesh.ElementCount));
    l.line("Total time taken was: " + modText::GeneralNumber(totalTime) + "secs");
    l.line(ReportD42);
    l.line();
    l.line("------ FINITE ELEMENT BEAM GEOMETRY ------");
    l.line("Overall Length of Beam " + modText::FormatNumber(a.frame.model.span, FixedPattern) +
           "m");
    for (std::size_t s = 0; s < a.spans.size(); ++s)
        l.line("Span " + std::to_string(s + 1) + " from " +
               modText::FormatNumber(a.spans[s].from, FixedPattern) + "m to " +
               modText::FormatNumber(a.spans[s].to, FixedPattern) + "m");
    l.line();
}

void extremes(Lines& l, const EnvelopeResult& r, const CaseModel& m) {
    l.line("-- LARGEST AND SMALLEST ALONG THE BEAM --");
    l.line(std::string("Result:") + Tab + Tab + "Largest:" + Tab + "At (m):" + Tab + Tab +
           "Smallest:" + Tab + "At (m):" + Tab + Tab + "Governed by:");
    l.line(ReportD68);
    for (const Quantity q :
         {Quantity::Moment, Quantity::Shear, Quantity::Deflection, Quantity::Rotation}) {
        const Shown shown = shownAs(q);
        const ExtremeRange& e = r.extremes[static_cast<std::size_t>(q)];
        l.line(std::string(shown.caption) + Tab + resultTxt(e.largest.value * shown.factor) + Tab +
               resultTxt(e.largest.x) + Tab + Tab + resultTxt(e.smallest.value * shown.factor) +
               Tab + resultTxt(e.smallest.x) + Tab + Tab + GoverningText(r, e.largest.by, m) +
               " / " + GoverningText(r, e.smallest.by, m));
    }
    l.line();
    l.line();
}

std::string rangeCells(const ValueRange& v, double factor, const EnvelopeResult& r,
                       const CaseModel& m) {
    return resultTxt(v.largest.value * factor) + Tab + GoverningText(r, v.largest.by, m) + Tab +
           resultTxt(v.smallest.value * factor) + Tab + GoverningText(r, v.smallest.by, m);
}

void reactions(Lines& l, const CaseAnalysis& a, const EnvelopeResult& r, const CaseModel& m) {
    const BeamModel& b = a.frame.model;
    l.line("----- REACTIONS AT RESTRAINED NODES ------");
    l.line(std::string("Support No. & Distance(m):") + Tab + "Type:" + Tab +
           "Vertical (kN) largest, by, smallest, by:" + Tab +
           "Moment (kNm) largest, by, smallest, by:");
    l.line(ReportD68);
    for (std::int16_t n = 1; n <= b.count(RecordKind::RigidSupport); ++n) {
        const auto i = static_cast<std::size_t>(n);
        const std::size_t row = 2 * (i - 1);
        l.line("  " + std::to_string(n) + Tab + resultTxt(b.RigidSupport.location[i]) + Tab +
               (b.RigidSupport.type[i] == SupportType::Pinned ? "Pinned" : "Fixed") + Tab +
               rangeCells(r.reactions[row], 0.001, r, m) + Tab +
               rangeCells(r.reactions[row + 1], 0.001, r, m));
    }
    l.line();
    l.line();
}

/// One table of a result along the beam, with the largest and smallest value at every node.
void along(Lines& l, const CaseAnalysis& a, const EnvelopeResult& r, const CaseModel& m,
           Quantity q) {
    const Shown shown = shownAs(q);
    l.line(std::string("-- ENVELOPE OF ") + shown.caption + " --");
    l.line(std::string("Node No. & Distance(m):") + Tab + "Largest:" + Tab + "Governed by:" + Tab +
           "Smallest:" + Tab + "Governed by:");
    l.line(ReportD68);
    const std::int32_t nodes = a.frame.mesh.NodeCount;
    for (std::int32_t n = 1; n <= nodes; ++n) {
        const auto i = static_cast<std::size_t>(n);
        // As in the results report, a node's shear is the one just right of it, and the last
        // node's the end of the last element.
        const ValueRange& v = q == Quantity::Deflection ? r.deflection[i]
                              : q == Quantity::Rotation ? r.rotation[i]
                              : q == Quantity::Moment   ? r.moment[i]
                              : n < nodes               ? r.shearRight[i]
                                                        : r.shearLeft[i];
        l.line("  " + std::to_string(n) + Tab + resultTxt(a.frame.mesh.NodeX[i]) + Tab + Tab +
               rangeCells(v, shown.factor, r, m));
        if (n % 5 == 0)
            l.line(ReportD68);
    }
    l.line();
    l.line();
}

} // namespace

std::string EnvelopeReport(const CaseAnalysis& a, const EnvelopeResult& r, const CaseModel& m,
                           double totalTime) {
    Lines l;
    heading(l, a, r, totalTime);
    extremes(l, r, m);
    reactions(l, a, r, m);
    for (const Quantity q :
         {Quantity::Moment, Quantity::Shear, Quantity::Deflection, Quantity::Rotation})
        along(l, a, r, m, q);
    return l.take();
}

} // namespace kradon
