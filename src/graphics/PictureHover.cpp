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

double at(const std::vector<double>& table, std::int32_t i) {
    return table.at(static_cast<std::size_t>(i));
}

/// Names every record of one kind for which shows(n) holds, one line each: "NAME n: WHAT".
template <class Shows, class What>
void name(std::vector<std::string>& lines, const BeamModel& m, RecordKind kind, const char* title,
          Shows shows, What what) {
    for (std::int32_t n = 1; n <= m.count(kind); ++n)
        if (shows(n))
            lines.push_back(title + (" " + std::to_string(n)) + ": " + what(n));
}

/// Every record of the model standing within tolerance of x, or covering x, one per line.
std::string recordsNear(const BeamModel& m, double x, double tolerance) {
    std::vector<std::string> lines;
    auto at = [](const std::vector<double>& list, std::int32_t n) {
        return PlainNumber(list.at(static_cast<std::size_t>(n)));
    };
    auto near = [&](const std::vector<double>& p) {
        return [&, x, tolerance](std::int32_t n) {
            return std::fabs(p.at(static_cast<std::size_t>(n)) - x) <= tolerance;
        };
    };
    auto covers = [&](const std::vector<double>& a, const std::vector<double>& b) {
        return [&, x, tolerance](std::int32_t n) {
            return x >= a.at(static_cast<std::size_t>(n)) - tolerance &&
                   x <= b.at(static_cast<std::size_t>(n)) + tolerance;
        };
    };
    const auto& P = m.PointLoad;
    name(lines, m, RecordKind::PointLoad, "Point Load", near(P.location),
         [&](std::int32_t n) { return at(P.value, n) + " kN at " + at(P.location, n) + " m"; });
    const auto& U = m.UDL;
    name(lines, m, RecordKind::UDL, "UDL", covers(U.start, U.end), [&](std::int32_t n) {
        return at(U.value, n) + " kN/m from " + at(U.start, n) + " to " + at(U.end, n) + " m";
    });
    const auto& T = m.TDL;
    name(lines, m, RecordKind::TDL, "TDL", covers(T.start, T.end), [&](std::int32_t n) {
        return at(T.startValue, n) + " to " + at(T.endValue, n) + " kN/m from " + at(T.start, n) +
               " to " + at(T.end, n) + " m";
    });
    const auto& M = m.MomentLoad;
    name(lines, m, RecordKind::MomentLoad, "Moment Load", near(M.location),
         [&](std::int32_t n) { return at(M.value, n) + " kNm at " + at(M.location, n) + " m"; });
    const auto& R = m.RigidSupport;
    name(lines, m, RecordKind::RigidSupport, "Rigid Support", near(R.location),
         [&](std::int32_t n) {
             const bool pinned = R.type.at(static_cast<std::size_t>(n)) == SupportType::Pinned;
             return std::string(pinned ? "Pinned" : "Fixed") + " at " + at(R.location, n) + " m";
         });
    const auto& S = m.SpringSupport;
    name(lines, m, RecordKind::SpringSupport, "Spring Support", near(S.location),
         [&](std::int32_t n) {
             return at(S.vertical, n) + " kN/mm, " + at(S.rotational, n) + " kN/rad at " +
                    at(S.location, n) + " m";
         });
    const auto& F = m.FixedDisplacement;
    name(lines, m, RecordKind::FixedDisplacement, "Fixed Displacement", near(F.location),
         [&](std::int32_t n) {
             return at(F.vertical, n) + " mm, " + at(F.rotational, n) + " rad at " +
                    at(F.location, n) + " m";
         });
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
        return "Node " + std::to_string(nearest) + " at " + PlainNumber(at(mesh.NodeX, nearest)) +
               " m";
    const std::int32_t e =
        std::clamp(static_cast<std::int32_t>(after - mesh.NodeX.begin()) - 1, 1, N - 1);
    return "Element " + std::to_string(e) + ": " + PlainNumber(at(mesh.NodeX, e)) + " to " +
           PlainNumber(at(mesh.NodeX, e + 1)) + " m";
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
