#include "graphics/DiagramLabels.h"

#include "graphics/LabelLayout.h"
#include "mesh/modMesh.h"
#include "model/modText.h"
#include "results/ResultQueries.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <vector>

namespace kradon::modGraphics {
namespace {

struct QuantityInfo {
    const char* unit; // of the values shown
    const char* pattern;
};

QuantityInfo infoOf(Quantity q) {
    switch (q) {
    case Quantity::Moment:
        return {"kNm", "0.000"};
    case Quantity::Shear:
        return {"kN", "0.000"};
    case Quantity::Deflection:
        return {"mm", "0.000"};
    case Quantity::Rotation:
        return {"rad", "0.000000"};
    case Quantity::E:
        return {"kN/mm2", "0.000"};
    case Quantity::I:
        break;
    }
    return {"cm4", "0.000"};
}

template <class Step> void skipOnFailure(Step&& step) noexcept {
    try {
        step();
    } catch (const std::exception&) {
    }
}

/// User units per screen pixel along x and y.
double unitsPerPixelX(const DrawingSurface& s) {
    return s.ScaleWidth() / s.pixelWidth();
}
double unitsPerPixelY(const DrawingSurface& s) {
    return s.ScaleHeight() / s.pixelHeight();
}

struct Extremes {
    Extreme largest, smallest; // the tables' units
};

/// The largest and smallest value of the quantity and where; nothing when the state cannot
/// tell (no exact results, no elements).
std::optional<Extremes> extremesOf(const ProgramState& s, Quantity q) {
    const ResultExtremes& x = s.results.Extremes;
    switch (q) {
    case Quantity::Moment:
    case Quantity::Shear:
    case Quantity::Deflection:
    case Quantity::Rotation: {
        if (!HasExactResults(s))
            return std::nullopt;
        if (q == Quantity::Moment)
            return Extremes{x.largestMoment, x.smallestMoment};
        if (q == Quantity::Shear)
            return Extremes{x.largestShear, x.smallestShear};
        if (q == Quantity::Deflection)
            return Extremes{x.largestDeflection, x.smallestDeflection};
        return Extremes{x.largestRotation, x.smallestRotation};
    }
    case Quantity::E:
    case Quantity::I:
        break;
    }
    // E and I: each element holds the value defined at its middle.
    const auto& table = q == Quantity::E ? s.mesh.ElementE : s.mesh.ElementI;
    const std::int32_t E = s.mesh.ElementCount;
    if (E < 1 || table.size() <= static_cast<std::size_t>(E) ||
        s.mesh.NodeX.size() <= static_cast<std::size_t>(E) + 1)
        return std::nullopt;
    auto middle = [&s](std::size_t k) { return (s.mesh.NodeX[k] + s.mesh.NodeX[k + 1]) / 2; };
    Extremes e{{table[1], middle(1)}, {table[1], middle(1)}};
    for (std::int32_t i = 2; i <= E; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (table[k] > e.largest.value)
            e.largest = {table[k], middle(k)};
        if (table[k] < e.smallest.value)
            e.smallest = {table[k], middle(k)};
    }
    return e;
}

std::string titleOf(Quantity q) {
    switch (q) {
    case Quantity::Moment:
        return BendingMomentTitle;
    case Quantity::Shear:
        return ShearForceTitle;
    case Quantity::Deflection:
        return DeflectedShapeTitle;
    case Quantity::Rotation:
        return RotationTitle;
    case Quantity::E:
        return std::string("E") + PropertyTitleMiddle + "kN/mm2";
    case Quantity::I:
        break;
    }
    return std::string("I") + PropertyTitleMiddle + "cm4";
}

/// The frame's xm and ym, read back from the scale the diagram set.
struct Frame {
    double xm, ym, span;
};

Frame frameOf(const DrawingSurface& s, double span) {
    return {-s.ScaleLeft(), -s.ScaleTop(), span};
}

/// The title and the scale label stay clear of every value.
void reserveFrameTexts(LabelPlacer& placer, const DrawingSurface& s, const Frame& f,
                       const std::string& title) {
    placer.reserve(placer.boxAt(title, {3.5 * f.xm, -0.95 * f.ym}));
    const std::string scale = "Scales: X: 1 Y: " + PlainNumber(NiceStep(f.ym));
    placer.reserve(placer.boxAt(scale, {-0.9 * f.xm, 0.8 * f.ym}));
    (void)s;
}

/// The moment just left of every node where a moment jumps there, the node's own (right) moment
/// elsewhere; empty without exact results.
std::vector<double> momentsLeftOfNodes(const ProgramState& s) {
    if (!HasExactResults(s))
        return {};
    std::vector<double> left = s.results.NodeMoment;
    for (const PointValues& j : Jumps(s)) {
        const std::int32_t n = modMesh::FirstNodeAt(s.mesh, modText::RoundTrip15(j.x));
        if (n > 0)
            left[static_cast<std::size_t>(n)] = j.left.moment;
    }
    return left;
}

void drawCurve(DrawingSurface& surface, const ProgramState& s, Quantity q, MessageSink& messages,
               std::vector<ValueLabel>& shearLabels) {
    switch (q) {
    case Quantity::Moment: {
        const std::vector<double> left = momentsLeftOfNodes(s);
        DrawNodeDiagram(surface, s.model, s.mesh, s.results.NodeMoment, "bmd", messages,
                        left.empty() ? nullptr : &left);
        return;
    }
    case Quantity::Shear:
        DrawShearDiagram(surface, s.model, s.mesh, s.results.NodeShear, messages, &shearLabels);
        return;
    case Quantity::Deflection:
        DrawNodeDiagram(surface, s.model, s.mesh, s.results.NodeDeflection, "dsd", messages);
        return;
    case Quantity::Rotation:
        DrawRotationDiagram(surface, s.model, s.mesh, s.equations.Displacements, messages);
        return;
    case Quantity::E:
        DrawPropertyDiagram(surface, s.model, s.mesh, "E", messages);
        return;
    case Quantity::I:
        DrawPropertyDiagram(surface, s.model, s.mesh, "I", messages);
        return;
    }
}

/// A small triangle under the axis at x, in the colour of the support's symbol.
void supportMark(DrawingSurface& surface, double x, Rgb colour) {
    const double dx = 5 * unitsPerPixelX(surface), dy = 8 * unitsPerPixelY(surface);
    surface.line(x, 0, x - dx, dy, colour);
    surface.line(x - dx, dy, x + dx, dy, colour);
    surface.line(x + dx, dy, x, 0, colour);
}

void markSupports(DrawingSurface& surface, const BeamModel& m) {
    surface.pen.DrawWidth = 2;
    auto each = [&](RecordKind kind, const std::vector<double>& location,
                    const std::vector<double>* vertical, Rgb colour) {
        for (std::int32_t r = 1; r <= m.count(kind); ++r)
            skipOnFailure([&] {
                const auto k = static_cast<std::size_t>(r);
                if (vertical == nullptr || vertical->at(k) != 0)
                    supportMark(surface, location.at(k), colour);
            });
    };
    each(RecordKind::RigidSupport, m.RigidSupport.location, nullptr, colours::Blue);
    each(RecordKind::SpringSupport, m.SpringSupport.location, &m.SpringSupport.vertical,
         colours::Green);
    each(RecordKind::FixedDisplacement, m.FixedDisplacement.location, &m.FixedDisplacement.vertical,
         colours::Navy);
}

void labelExtremes(DrawingSurface& surface, LabelPlacer& placer, const ProgramState& s,
                   Quantity q) {
    const std::optional<Extremes> e = extremesOf(s, q);
    if (!e)
        return;
    const char* unit = QuantityUnit(q);
    surface.pen.ForeColor = MarkColour;
    surface.pen.FillStyle = FillMode::Solid;
    surface.pen.DrawWidth = 1;
    const double r = 4 * unitsPerPixelX(surface);
    // A quantity that does not vary has one value to give, not a largest and a smallest.
    const bool same = QuantityText(q, e->largest.value) == QuantityText(q, e->smallest.value);
    for (const auto& [extreme, word] :
         {std::pair{e->largest, "max "}, std::pair{e->smallest, "min "}}) {
        if (same && std::string_view(word) == "min ")
            break;
        skipOnFailure([&] {
            const std::string text =
                same ? QuantityText(q, extreme.value) + " " + unit + " throughout"
                     : word + QuantityText(q, extreme.value) + " " + unit + " at " +
                           PositionText(extreme.x) + " m";
            const double y = ShownValue(q, extreme.value);
            surface.circle(extreme.x, y, r, MarkColour);
            placer.print(surface, text, placer.around(text, extreme.x, y), true);
        });
    }
    surface.pen.FillStyle = FillMode::Transparent;
}

/// Both moments at every jump of the moment: the left one left of the node, the right one right.
void labelMomentJumps(DrawingSurface& surface, LabelPlacer& placer, const ProgramState& s) {
    const double largest = std::max(std::fabs(s.results.Extremes.largestMoment.value),
                                    std::fabs(s.results.Extremes.smallestMoment.value));
    surface.pen.ForeColor = colours::Black;
    for (const PointValues& j : Jumps(s)) {
        if (!(std::fabs(j.right.moment - j.left.moment) > 1e-9 * largest))
            continue;
        skipOnFailure([&] {
            constexpr double f = 1e-3;
            const std::string left = QuantityText(Quantity::Moment, j.left.moment);
            const std::string right = QuantityText(Quantity::Moment, j.right.moment);
            const double h = surface.TextHeight(left);
            const double w = surface.TextWidth(left);
            const double gap = surface.TextWidth("0");
            const Point leftSpots[] = {{j.x - w - gap, j.left.moment * f - h / 2},
                                       {j.x - w - gap, j.left.moment * f - 1.6 * h},
                                       {j.x - w - gap, j.left.moment * f + 0.6 * h}};
            const Point rightSpots[] = {{j.x + gap, j.right.moment * f - h / 2},
                                        {j.x + gap, j.right.moment * f - 1.6 * h},
                                        {j.x + gap, j.right.moment * f + 0.6 * h}};
            placer.print(surface, left, leftSpots);
            placer.print(surface, right, rightSpots);
        });
    }
}

void labelShears(DrawingSurface& surface, LabelPlacer& placer,
                 const std::vector<ValueLabel>& labels) {
    surface.pen.ForeColor = colours::Black;
    for (const ValueLabel& label : labels)
        skipOnFailure([&] {
            std::vector<Point> spots{{label.x, label.y}};
            const auto more = placer.around(label.text, label.x, label.y / 1.1, 2);
            spots.insert(spots.end(), more.begin(), more.end());
            placer.print(surface, label.text, spots);
        });
}

/// The spacing, a 1, 2 or 5 times a power of ten times base, that keeps labels of the given
/// extent (user units) apart.
double readableStep(double base, double extent) {
    double step = base;
    for (int i = 0; i < 60 && step < extent; ++i)
        step *= (i % 3 == 1) ? 2.5 : 2;
    return step;
}

void labelAxes(DrawingSurface& surface, LabelPlacer& placer, const Frame& f, const char* unit) {
    surface.pen.ForeColor = colours::Navy;
    surface.pen.FontBold = false;
    // The values of the horizontal grid lines, every one that leaves room for the text.
    const double s = NiceStep(f.ym);
    const double h = surface.TextHeight("0");
    const double step = readableStep(s, 1.5 * h);
    const std::string unitText = std::string("(") + unit + ")";
    const Point unitSpot[] = {{-0.015 * f.span - surface.TextWidth(unitText), -0.97 * f.ym}};
    placer.print(surface, unitText, unitSpot);
    const long count = static_cast<long>(std::floor(0.9 * f.ym / step));
    for (long k = -count; k <= count; ++k)
        skipOnFailure([&] {
            const double y = k * step;
            const std::string text = PlainNumber(y);
            const double w = surface.TextWidth(text);
            const Point spot[] = {{-0.015 * f.span - w, y - h / 2}};
            placer.print(surface, text, spot);
        });
    // Metres along the bottom edge, as many as fit.
    const double widest = surface.TextWidth(modText::GeneralNumber(std::floor(f.span)) + "0");
    const double xstep = readableStep(1, 1.5 * widest);
    const double bottom = f.ym - 1.25 * h;
    if (!(f.span / xstep < 1000))
        return; // a span no label step can cover: the grid alone must do
    for (long k = 0; k * xstep <= f.span * (1 + 1e-12); ++k)
        skipOnFailure([&] {
            const std::string text = PlainNumber(k * xstep);
            const Point spot[] = {{k * xstep - surface.TextWidth(text) / 2, bottom}};
            placer.print(surface, text, spot);
        });
    const Point metreSpot[] = {{f.span + 0.02 * f.span, bottom}};
    placer.print(surface, "x (m)", metreSpot);
}

} // namespace

const char* QuantityUnit(Quantity q) {
    return infoOf(q).unit;
}

double ShownValue(Quantity q, double value) {
    // As the JSON results give them: forces divided by 1000, deflections multiplied.
    switch (q) {
    case Quantity::Moment:
    case Quantity::Shear:
        return value / 1000;
    case Quantity::Deflection:
        return value * 1000;
    case Quantity::Rotation:
    case Quantity::E:
    case Quantity::I:
        break;
    }
    return value;
}

std::string QuantityText(Quantity q, double value) {
    // E and I are given as entered: their digits are the user's own.
    if (q == Quantity::E || q == Quantity::I)
        return PlainNumber(value);
    return modText::FormatNumber(ShownValue(q, value), infoOf(q).pattern);
}

std::string PlainNumber(double v) {
    return modText::GeneralNumber(modText::RoundTrip15(v));
}

std::string PositionText(double x) {
    return modText::FormatNumber(x, "0.000");
}

void DrawLabelledDiagram(DrawingSurface& surface, const ProgramState& state, Quantity q,
                         MessageSink& messages) {
    std::vector<ValueLabel> shearLabels;
    skipOnFailure([&] { drawCurve(surface, state, q, messages, shearLabels); });
    const Pen saved = surface.pen;
    skipOnFailure([&] {
        const Frame f = frameOf(surface, state.model.span);
        if (!(f.ym > 0) || !(f.span > 0) || !std::isfinite(f.ym) || !std::isfinite(f.span))
            return;
        LabelPlacer placer(surface);
        reserveFrameTexts(placer, surface, f, titleOf(q));
        if (q != Quantity::E && q != Quantity::I)
            markSupports(surface, state.model);
        labelExtremes(surface, placer, state, q);
        labelAxes(surface, placer, f, QuantityUnit(q));
        if (q == Quantity::Moment && HasExactResults(state))
            labelMomentJumps(surface, placer, state);
        labelShears(surface, placer, shearLabels);
    });
    surface.pen = saved;
}

} // namespace kradon::modGraphics
