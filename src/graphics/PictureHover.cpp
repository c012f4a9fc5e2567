#include "graphics/PictureHover.h"

#include "graphics/DiagramLabels.h"
#include "model/modText.h"
#include "results/ResultQueries.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <vector>

namespace kradon::modGraphics {
namespace {

std::string number(double v) {
    return modText::GeneralNumber(modText::RoundTrip15(v));
}

double at(const std::vector<double>& table, std::int32_t i) {
    return table.at(static_cast<std::size_t>(i));
}

/// Every record of the model standing within tolerance of x, or covering x, one per line.
std::string recordsNear(const BeamModel& m, double x, double tolerance) {
    std::vector<std::string> lines;
    auto near = [&](double p) { return std::fabs(p - x) <= tolerance; };
    auto covers = [&](double a, double b) { return x >= a - tolerance && x <= b + tolerance; };
    for (std::int32_t n = 1; n <= m.count(RecordKind::PointLoad); ++n)
        if (near(at(m.PointLoad.location, n)))
            lines.push_back("Point Load " + std::to_string(n) + ": " +
                            number(at(m.PointLoad.value, n)) + " kN at " +
                            number(at(m.PointLoad.location, n)) + " m");
    for (std::int32_t n = 1; n <= m.count(RecordKind::UDL); ++n)
        if (covers(at(m.UDL.start, n), at(m.UDL.end, n)))
            lines.push_back("UDL " + std::to_string(n) + ": " + number(at(m.UDL.value, n)) +
                            " kN/m from " + number(at(m.UDL.start, n)) + " to " +
                            number(at(m.UDL.end, n)) + " m");
    for (std::int32_t n = 1; n <= m.count(RecordKind::TDL); ++n)
        if (covers(at(m.TDL.start, n), at(m.TDL.end, n)))
            lines.push_back("TDL " + std::to_string(n) + ": " + number(at(m.TDL.startValue, n)) +
                            " to " + number(at(m.TDL.endValue, n)) + " kN/m from " +
                            number(at(m.TDL.start, n)) + " to " + number(at(m.TDL.end, n)) + " m");
    for (std::int32_t n = 1; n <= m.count(RecordKind::MomentLoad); ++n)
        if (near(at(m.MomentLoad.location, n)))
            lines.push_back("Moment Load " + std::to_string(n) + ": " +
                            number(at(m.MomentLoad.value, n)) + " kNm at " +
                            number(at(m.MomentLoad.location, n)) + " m");
    for (std::int32_t n = 1; n <= m.count(RecordKind::RigidSupport); ++n)
        if (near(at(m.RigidSupport.location, n)))
            lines.push_back(
                "Rigid Support " + std::to_string(n) + ": " +
                (at(m.RigidSupport.type, n) == SupportType::Pinned ? "Pinned" : "Fixed") + " at " +
                number(at(m.RigidSupport.location, n)) + " m");
    for (std::int32_t n = 1; n <= m.count(RecordKind::SpringSupport); ++n)
        if (near(at(m.SpringSupport.location, n)))
            lines.push_back("Spring Support " + std::to_string(n) + ": " +
                            number(at(m.SpringSupport.vertical, n)) + " kN/mm, " +
                            number(at(m.SpringSupport.rotational, n)) + " kN/rad at " +
                            number(at(m.SpringSupport.location, n)) + " m");
    for (std::int32_t n = 1; n <= m.count(RecordKind::FixedDisplacement); ++n)
        if (near(at(m.FixedDisplacement.location, n)))
            lines.push_back("Fixed Displacement " + std::to_string(n) + ": " +
                            number(at(m.FixedDisplacement.vertical, n)) + " mm, " +
                            number(at(m.FixedDisplacement.rotational, n)) + " rad at " +
                            number(at(m.FixedDisplacement.location, n)) + " m");
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

/// The node nearest x within tolerance, else the element holding x.
std::string meshAt(const MeshTables& mesh, double x, double tolerance) {
    const std::int32_t N = mesh.NodeCount;
    if (N < 2 || mesh.NodeX.size() <= static_cast<std::size_t>(N))
        return {};
    const auto begin = mesh.NodeX.begin() + 1, end = mesh.NodeX.begin() + N + 1;
    const auto after = std::upper_bound(begin, end, x);
    std::int32_t nearest = static_cast<std::int32_t>(after - mesh.NodeX.begin());
    if (nearest > N ||
        (nearest > 1 && x - at(mesh.NodeX, nearest - 1) < at(mesh.NodeX, nearest) - x))
        --nearest;
    nearest = std::clamp(nearest, 1, N);
    if (std::fabs(at(mesh.NodeX, nearest) - x) <= tolerance)
        return "Node " + std::to_string(nearest) + " at " + number(at(mesh.NodeX, nearest)) + " m";
    const std::int32_t e =
        std::clamp(static_cast<std::int32_t>(after - mesh.NodeX.begin()) - 1, 1, N - 1);
    return "Element " + std::to_string(e) + ": " + number(at(mesh.NodeX, e)) + " to " +
           number(at(mesh.NodeX, e + 1)) + " m";
}

struct Reading {
    Quantity quantity;
    const char* symbol;
};

std::optional<Reading> readingOf(PictureKind kind) {
    switch (kind) {
    case PictureKind::BendingMoment:
        return Reading{Quantity::Moment, "M"};
    case PictureKind::Shear:
        return Reading{Quantity::Shear, "V"};
    case PictureKind::Deflection:
        return Reading{Quantity::Deflection, "deflection"};
    case PictureKind::EValue:
        return Reading{Quantity::E, "E"};
    case PictureKind::IValue:
        return Reading{Quantity::I, "I"};
    case PictureKind::Beam:
    case PictureKind::Mesh:
        break;
    }
    return std::nullopt;
}

double valueOf(Quantity q, const SectionValues& v) {
    switch (q) {
    case Quantity::Moment:
        return v.moment;
    case Quantity::Shear:
        return v.shear;
    case Quantity::Rotation:
        return v.rotation;
    default:
        return v.deflection;
    }
}

/// The exact value at x; a jump within tolerance is read at its node, both sides.
std::string resultAt(const ProgramState& s, Reading r, double x, double tolerance) {
    for (const PointValues& j : Jumps(s))
        if (std::fabs(j.x - x) <= tolerance) {
            const double left = valueOf(r.quantity, j.left), right = valueOf(r.quantity, j.right);
            if (QuantityText(r.quantity, left) == QuantityText(r.quantity, right))
                break;
            return "x = " + PositionText(j.x) + " m: " + r.symbol + " = " +
                   QuantityText(r.quantity, left) + " " + QuantityUnit(r.quantity) + " left, " +
                   QuantityText(r.quantity, right) + " " + QuantityUnit(r.quantity) + " right";
        }
    const std::optional<PointValues> p = ValuesAt(s, x);
    if (!p)
        return {};
    std::string text = "x = " + PositionText(x) + " m: " + r.symbol + " = " +
                       QuantityText(r.quantity, valueOf(r.quantity, p->right)) + " " +
                       QuantityUnit(r.quantity);
    if (r.quantity == Quantity::Deflection)
        text += ", rotation = " + QuantityText(Quantity::Rotation, p->right.rotation) + " rad";
    return text;
}

/// E or I as defined at x.
std::string propertyAt(const ProgramState& s, Reading r, double x) {
    if (!(x >= 0 && x <= s.model.span))
        return {};
    const double v = r.quantity == Quantity::E ? EValueAt(s.model, x) : IValueAt(s.model, x);
    return "x = " + PositionText(x) + " m: " + r.symbol + " = " + QuantityText(r.quantity, v) +
           " " + QuantityUnit(r.quantity);
}

} // namespace

std::string HoverText(PictureKind kind, const ProgramState& state, double x, double tolerance) {
    try {
        if (kind == PictureKind::Beam)
            return recordsNear(state.model, x, tolerance);
        if (kind == PictureKind::Mesh)
            return meshAt(state.mesh, x, tolerance);
        const std::optional<Reading> r = readingOf(kind);
        if (!r)
            return {};
        if (r->quantity == Quantity::E || r->quantity == Quantity::I)
            return propertyAt(state, *r, x);
        return resultAt(state, *r, x, tolerance);
    } catch (const std::exception&) {
        return {}; // a model or table that does not hold what it claims shows nothing
    }
}

} // namespace kradon::modGraphics
