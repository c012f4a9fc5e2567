#include "graphics/SheetBuilder.h"

#include "graphics/DiagramLabels.h"
#include "graphics/LoadingDiagram.h"
#include "model/KradonError.h"
#include "model/ModelTables.h"
#include "model/modText.h"
#include "results/ResultQueries.h"

#include <charconv>
#include <cmath>
#include <ctime>
#include <filesystem>

namespace kradon::sheet {
namespace {

using modGraphics::PlainNumber;
using modGraphics::PositionText;
using modGraphics::Quantity;
using modGraphics::QuantityText;

std::size_t at(std::int32_t n) {
    return static_cast<std::size_t>(n);
}

/// A residual: small by nature, so in three significant digits with an exponent.
std::string residualText(double v) {
    char buffer[32];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 2);
    return {buffer, r.ptr};
}

std::string meshDensityText(double factor) {
    // The factor is a single-precision entry widened: its float digits are what was typed.
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(factor));
    return {buffer, r.ptr};
}

Table table(std::string caption, std::vector<std::string> columns, std::vector<bool> numeric) {
    Table t;
    t.caption = std::move(caption);
    t.columns = std::move(columns);
    t.numeric = std::move(numeric);
    return t;
}

/// A table of the model's records as the properties explorer lists them; every column but
/// those named is numeric.
Table recordTable(const ModelTables::RecordTable& records, std::vector<std::size_t> textColumns) {
    Table t;
    t.caption = records.title;
    t.columns = records.columns;
    t.rows = records.rows;
    t.numeric.assign(t.columns.size(), true);
    for (const std::size_t c : textColumns)
        t.numeric[c] = false;
    return t;
}

Table propertyTable(const BeamModel& m, RecordKind kind, const PropertySegmentList& s,
                    const char* caption, const char* unit) {
    Table t = table(caption,
                    {"No.", "From (m)", "To (m)", "Variation", std::string("Value (") + unit + ")"},
                    {true, true, true, false, false});
    const std::string variationKind = kind == RecordKind::ESegment ? "evn" : "ivn";
    for (std::int32_t n = 1; n <= m.count(kind); ++n) {
        const std::string variation =
            ModelTables::variationType(m, static_cast<std::int16_t>(n), variationKind);
        std::string value = s.expression.at(at(n));
        if (variation == "None")
            value = PlainNumber(s.constant.at(at(n)));
        else if (variation == "Linear")
            value =
                PlainNumber(s.linearStart.at(at(n))) + " to " + PlainNumber(s.linearEnd.at(at(n)));
        t.rows.push_back({std::to_string(n), PlainNumber(s.disA.at(at(n))),
                          PlainNumber(s.disB.at(at(n))), variation, value});
    }
    return t;
}

Figure figure(std::string caption, int w, int h, double width,
              std::function<void(DrawingSurface&)> draw) {
    return {std::move(caption), w, h, width, std::move(draw)};
}

Figure diagram(const ProgramState& s, Quantity q, std::string caption, double width = 1,
               int w = 900, int h = 380) {
    return figure(std::move(caption), w, h, width, [&s, q](DrawingSurface& surface) {
        // A drawing message has no window to go to on a sheet; a failing step is left out.
        NullMessageSink quiet;
        modGraphics::DrawLabelledDiagram(surface, s, q, quiet);
    });
}

void inputSection(const ProgramState& s, SheetDocument& d) {
    const BeamModel& m = s.model;
    d.blocks.push_back(Heading{"1 Input", 1});
    d.blocks.push_back(Paragraph{{
        "Span: " + PlainNumber(m.span) + " m",
        "Mesh density factor: " + meshDensityText(s.options.MeshDensFact) + " (" +
            std::to_string(s.mesh.ElementCount) + " elements, " + std::to_string(s.mesh.NodeCount) +
            " nodes)",
        "Units: kN, kN/m, kNm, m; deflections in mm, downwards positive; rotations in rad and "
        "moments clockwise positive; sagging moments positive.",
    }});
    d.blocks.push_back(Heading{"Loads and supports", 2});
    const std::pair<RecordKind, ModelTables::RecordTable> kinds[] = {
        {RecordKind::PointLoad, ModelTables::casePointLoads(m)},
        {RecordKind::UDL, ModelTables::caseUniformlyDistributedLoads(m)},
        {RecordKind::TDL, ModelTables::caseTrapezoidallyDistributedLoads(m)},
        {RecordKind::MomentLoad, ModelTables::caseMomentLoads(m)},
        {RecordKind::RigidSupport, ModelTables::caseRigidSupports(m)},
        {RecordKind::SpringSupport, ModelTables::caseSpringSupports(m)},
        {RecordKind::FixedDisplacement, ModelTables::caseFixedDisplacements(m)},
    };
    std::string none;
    for (const auto& [kind, records] : kinds) {
        if (m.count(kind) == 0) {
            none += (none.empty() ? "" : ", ") + records.title;
            continue;
        }
        d.blocks.push_back(recordTable(records, kind == RecordKind::RigidSupport
                                                    ? std::vector<std::size_t>{1}
                                                    : std::vector<std::size_t>{}));
    }
    if (!none.empty())
        d.blocks.push_back(Paragraph{{"None given: " + none + "."}});
    d.blocks.push_back(
        figure("Loading diagram: loads to scale, each kind against its largest", 900, 400, 1,
               [&m](DrawingSurface& surface) { modGraphics::DrawLoadingDiagram(surface, m); }));
    d.blocks.push_back(Heading{"Young's modulus E and second moment of area I", 2});
    d.blocks.push_back(
        propertyTable(m, RecordKind::ESegment, m.ESegment, "Young's Modulus", "kN/mm2"));
    d.blocks.push_back(diagram(s, Quantity::E, "E along the span (kN/mm2)", 0.7, 760, 300));
    d.blocks.push_back(
        propertyTable(m, RecordKind::ISegment, m.ISegment, "Second Moment of Area", "cm4"));
    d.blocks.push_back(diagram(s, Quantity::I, "I along the span (cm4)", 0.7, 760, 300));
}

void reactionRows(Table& t, const char* letter, const char* kind,
                  const std::vector<std::vector<double>>& reactions,
                  const std::vector<double>& location, std::int16_t count,
                  const std::vector<double>* type = nullptr) {
    for (std::int32_t n = 1; n <= count; ++n) {
        const auto& row = reactions.at(at(n));
        std::string kindText = kind;
        if (type != nullptr)
            kindText = type->at(at(n)) == SupportType::Pinned ? "Pinned" : "Fixed";
        t.rows.push_back({letter + std::to_string(n), kindText, PositionText(location.at(at(n))),
                          QuantityText(Quantity::Shear, row.at(1)),
                          QuantityText(Quantity::Moment, row.at(2))});
    }
}

Table reactionsTable(const ProgramState& s) {
    const BeamModel& m = s.model;
    const ResultTables& r = s.results;
    Table t = table("Reactions: the force (upwards positive) and moment (clockwise positive) each "
                    "support exerts on the beam",
                    {"Support", "Kind", "x (m)", "Force (kN)", "Moment (kNm)"},
                    {false, false, true, true, true});
    reactionRows(t, "R", "", r.SupportReaction, m.RigidSupport.location,
                 m.count(RecordKind::RigidSupport), &m.RigidSupport.type);
    reactionRows(t, "K", "Spring", r.SpringReaction, m.SpringSupport.location,
                 m.count(RecordKind::SpringSupport));
    reactionRows(t, "FD", "Fixed displacement", r.DisplacementReaction,
                 m.FixedDisplacement.location, m.count(RecordKind::FixedDisplacement));
    return t;
}

/// The downward sum of every load, kN.
double sumOfLoads(const BeamModel& m) {
    double sum = 0;
    for (std::int32_t n = 1; n <= m.count(RecordKind::PointLoad); ++n)
        sum += m.PointLoad.value.at(at(n));
    for (std::int32_t n = 1; n <= m.count(RecordKind::UDL); ++n)
        sum += m.UDL.value.at(at(n)) * std::max(0.0, m.UDL.end.at(at(n)) - m.UDL.start.at(at(n)));
    for (std::int32_t n = 1; n <= m.count(RecordKind::TDL); ++n)
        sum += (m.TDL.startValue.at(at(n)) + m.TDL.endValue.at(at(n))) / 2 *
               std::max(0.0, m.TDL.end.at(at(n)) - m.TDL.start.at(at(n)));
    return sum;
}

/// The upward sum of every reaction, spring force and prescribed-displacement force, kN.
double sumOfReactions(const ProgramState& s) {
    double sum = 0;
    auto add = [&sum](const std::vector<std::vector<double>>& rows, std::int16_t count) {
        for (std::int32_t n = 1; n <= count; ++n)
            sum += rows.at(at(n)).at(1) / 1000;
    };
    add(s.results.SupportReaction, s.model.count(RecordKind::RigidSupport));
    add(s.results.SpringReaction, s.model.count(RecordKind::SpringSupport));
    add(s.results.DisplacementReaction, s.model.count(RecordKind::FixedDisplacement));
    return sum;
}

Table checksTable(const ProgramState& s) {
    Table t = table("Equilibrium of the solved beam", {"Check", "Value"}, {false, true});
    for (auto& [label, value] : CheckLines(s))
        t.rows.push_back({label, value});
    return t;
}

struct Row {
    const char* name;
    Quantity q;
    Extreme largest, smallest;
};

std::vector<Row> extremeRows(const ResultExtremes& x) {
    return {{"Moment (kNm)", Quantity::Moment, x.largestMoment, x.smallestMoment},
            {"Shear (kN)", Quantity::Shear, x.largestShear, x.smallestShear},
            {"Deflection (mm)", Quantity::Deflection, x.largestDeflection, x.smallestDeflection},
            {"Rotation (rad)", Quantity::Rotation, x.largestRotation, x.smallestRotation}};
}

Table maximaTable(const ProgramState& s) {
    Table t = table("Largest and smallest values over the whole beam, between the nodes too",
                    {"Quantity", "Largest", "at x (m)", "Smallest", "at x (m)"},
                    {false, true, true, true, true});
    for (const Row& r : extremeRows(s.results.Extremes))
        t.rows.push_back({r.name, QuantityText(r.q, r.largest.value), PositionText(r.largest.x),
                          QuantityText(r.q, r.smallest.value), PositionText(r.smallest.x)});
    return t;
}

std::string spanName(const SpanResult& span, int spans, int cantilevers) {
    return span.kind == SpanKind::Span ? "S" + std::to_string(spans)
                                       : "C" + std::to_string(cantilevers);
}

/// The extremes of two quantities per span, each value with its position.
Table spanTable(const std::vector<SpanResult>& spans, const char* caption, int first) {
    const std::vector<std::string> names =
        first == 0 ? std::vector<std::string>{"M max", "M min", "V max", "V min"}
                   : std::vector<std::string>{"defl. max", "defl. min", "rot. max", "rot. min"};
    std::vector<std::string> columns{"Span", "From (m)", "To (m)"};
    for (const auto& name : names) {
        columns.push_back(name);
        columns.push_back("at x");
    }
    Table t = table(caption, columns, std::vector<bool>(columns.size(), true));
    t.numeric[0] = false;
    int spanCount = 0, cantileverCount = 0;
    for (const SpanResult& span : spans) {
        (span.kind == SpanKind::Span ? spanCount : cantileverCount)++;
        std::vector<std::string> row{spanName(span, spanCount, cantileverCount),
                                     PositionText(span.x0), PositionText(span.x1)};
        const std::vector<Row> rows = extremeRows(span.extremes);
        for (int k = first; k < first + 2; ++k) {
            const Row& r = rows[static_cast<std::size_t>(k)];
            for (const Extreme& e : {r.largest, r.smallest}) {
                row.push_back(QuantityText(r.q, e.value));
                row.push_back(PositionText(e.x));
            }
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

Table sagTable(const std::vector<SpanResult>& spans) {
    Table t = table("Span to deflection: the deflection measured from the line joining a span's "
                    "supports, or from a cantilever's support",
                    {"Span", "Length (m)", "Deflection (mm)", "at x (m)", "Span / deflection"},
                    {false, true, true, true, true});
    int spanCount = 0, cantileverCount = 0;
    for (const SpanResult& span : spans) {
        (span.kind == SpanKind::Span ? spanCount : cantileverCount)++;
        const double ratio = SpanToDeflection(span);
        t.rows.push_back(
            {spanName(span, spanCount, cantileverCount), PositionText(span.length()),
             QuantityText(Quantity::Deflection, span.sag.value), PositionText(span.sag.x),
             std::isfinite(ratio) ? "L/" + std::to_string(std::lround(ratio)) : "no deflection"});
    }
    return t;
}

Table jumpsTable(const ProgramState& s) {
    Table t = table(
        "Both sides of every load and support between the ends",
        {"x (m)", "Moment left (kNm)", "Moment right (kNm)", "Shear left (kN)", "Shear right (kN)"},
        {true, true, true, true, true});
    for (const PointValues& j : Jumps(s))
        t.rows.push_back({PositionText(j.x), QuantityText(Quantity::Moment, j.left.moment),
                          QuantityText(Quantity::Moment, j.right.moment),
                          QuantityText(Quantity::Shear, j.left.shear),
                          QuantityText(Quantity::Shear, j.right.shear)});
    return t;
}

void resultsSection(const ProgramState& s, SheetDocument& d) {
    d.blocks.push_back(Heading{"2 Results", 1});
    d.blocks.push_back(reactionsTable(s));
    d.blocks.push_back(checksTable(s));
    d.blocks.push_back(maximaTable(s));
    const std::vector<SpanResult> spans = SpanResults(s);
    d.blocks.push_back(Paragraph{{"Spans: S between two supports (rigid, spring or prescribed "
                                  "deflection), C a cantilever beyond the last one."}});
    d.blocks.push_back(spanTable(spans, "Moment and shear per span", 0));
    d.blocks.push_back(spanTable(spans, "Deflection (mm) and rotation (rad) per span", 2));
    d.blocks.push_back(sagTable(spans));
    if (!Jumps(s).empty())
        d.blocks.push_back(jumpsTable(s));
}

void diagramSection(const ProgramState& s, SheetDocument& d) {
    d.blocks.push_back(Heading{"3 Diagrams", 1});
    d.blocks.push_back(diagram(s, Quantity::Shear, "Shear force (kN)"));
    d.blocks.push_back(diagram(s, Quantity::Moment, "Bending moment (kNm), sagging positive"));
    d.blocks.push_back(diagram(s, Quantity::Deflection, "Deflection (mm), downwards positive"));
    d.blocks.push_back(diagram(s, Quantity::Rotation, "Rotation (rad), clockwise positive"));
}

} // namespace

TitleBlock MakeTitleBlock(const std::string& modelFile, const UserDetails& user,
                          const std::string& dateTime) {
    return {"Beam calculation", std::filesystem::path(modelFile).filename().string(),
            user.name,          user.organisation,
            dateTime,           std::string("Kradon ") + KRADON_VERSION};
}

std::string NowText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M", &local);
    return buffer;
}

namespace {

/// A share as a percentage with three decimals: "0.125 %".
std::string percentText(double share) {
    char buffer[32];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, share * 100, std::chars_format::fixed, 3);
    return std::string(buffer, r.ptr) + " %";
}

/// Where E x I varies along an element: how E and I were taken, and how far the midpoint rule's
/// nodal values lie from those of the exact integration.
std::vector<std::pair<std::string, std::string>> discretisationLines(const ProgramState& s) {
    const DiscretisationEstimate& d = s.results.Discretisation;
    if (!d.varies)
        return {};
    std::vector<std::pair<std::string, std::string>> lines{
        {"E and I along each element",
         s.options.ExactSections ? "integrated exactly" : "taken at the element's midpoint"}};
    if (!d.unavailable.empty()) {
        lines.push_back({"Midpoint rule against exact integration", "not known: " + d.unavailable});
        return lines;
    }
    const auto change = [](Quantity q, const Extreme& x, double relative) {
        return QuantityText(q, x.value) + " " + modGraphics::QuantityUnit(q) +
               " at x = " + modGraphics::PositionText(x.x) + " m (" + percentText(relative) + ")";
    };
    lines.push_back({"Midpoint rule against exact integration, largest change of deflection",
                     change(Quantity::Deflection, d.deflection, d.deflectionRelative)});
    lines.push_back({"Midpoint rule against exact integration, largest change of moment",
                     change(Quantity::Moment, d.moment, d.momentRelative)});
    return lines;
}

} // namespace

std::vector<std::pair<std::string, std::string>> CheckLines(const ProgramState& s) {
    const EquilibriumResiduals& e = s.results.Residuals;
    std::vector<std::pair<std::string, std::string>> lines{
        {"Sum of the loads, downwards",
         QuantityText(Quantity::Shear, sumOfLoads(s.model) * 1000) + " kN"},
        {"Sum of the reactions, upwards",
         QuantityText(Quantity::Shear, sumOfReactions(s) * 1000) + " kN"},
        {"Residual, vertical", residualText(e.vertical / 1000) + " kN"},
        {"Residual, moment about the left end", residualText(e.moment / 1000) + " kNm"},
    };
    const auto more = discretisationLines(s);
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

SheetDocument BuildSheet(const ProgramState& state, const TitleBlock& title) {
    if (!HasExactResults(state))
        throw KradonError(ErrorNumber::InvalidArgument, "BuildSheet",
                          "The model has no analysis results to put on a sheet");
    SheetDocument d;
    d.titleBlock = title;
    inputSection(state, d);
    resultsSection(state, d);
    diagramSection(state, d);
    return d;
}

} // namespace kradon::sheet
