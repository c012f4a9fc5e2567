#include "graphics/EnvelopeDiagram.h"

#include "graphics/DiagramLabels.h"
#include "graphics/LabelLayout.h"

#include <algorithm>
#include <cmath>
#include <exception>

namespace kradon::modGraphics {
namespace {

template <class Step> void skip(Step&& step) noexcept {
    try {
        step();
    } catch (const std::exception&) {
    }
}

/// One curve of the envelope as drawn: the value at each node's left and right (they differ
/// only for the shear, which jumps at the nodes), in the units shown.
struct Curve {
    std::vector<double> left, right; // 1..NodeCount
};

struct Picture {
    const char* title = "";
    kradon::Quantity quantity = kradon::Quantity::Moment;
    modGraphics::Quantity shown = modGraphics::Quantity::Moment;
    Curve largest, smallest;
};

Curve curveOf(const std::vector<ValueRange>& left, const std::vector<ValueRange>& right,
              bool largest, double factor) {
    Curve c;
    const auto value = [&](const ValueRange& v) {
        return factor * (largest ? v.largest.value : v.smallest.value);
    };
    for (const ValueRange& v : left)
        c.left.push_back(value(v));
    for (const ValueRange& v : right)
        c.right.push_back(value(v));
    return c;
}

std::optional<Picture> pictureOf(PictureKind kind, const EnvelopeResult& r) {
    Picture p;
    const std::vector<ValueRange>*left = nullptr, *right = nullptr;
    double factor = 1;
    switch (kind) {
    case PictureKind::BendingMoment:
        p = {BendingMomentTitle, kradon::Quantity::Moment, Quantity::Moment, {}, {}};
        left = right = &r.moment;
        factor = 0.001;
        break;
    case PictureKind::Shear:
        p = {ShearForceTitle, kradon::Quantity::Shear, Quantity::Shear, {}, {}};
        left = &r.shearLeft;
        right = &r.shearRight;
        factor = 0.001;
        break;
    case PictureKind::Deflection:
        p = {DeflectedShapeTitle, kradon::Quantity::Deflection, Quantity::Deflection, {}, {}};
        left = right = &r.deflection;
        factor = 1000;
        break;
    default:
        return std::nullopt;
    }
    p.largest = curveOf(*left, *right, true, factor);
    p.smallest = curveOf(*left, *right, false, factor);
    return p;
}

double largestMagnitude(const Curve& c, std::size_t nodes) {
    double m = 0;
    for (std::size_t n = 1; n <= nodes && n < c.left.size() && n < c.right.size(); ++n)
        m = std::max({m, std::fabs(c.left[n]), std::fabs(c.right[n])});
    return m;
}

/// The curve from node to node; the shear starts at the first node's right value and ends at
/// the last node's left value, with a step at every node between.
void drawCurve(DrawingSurface& surface, const std::vector<double>& x, const Curve& c,
               std::size_t nodes, Rgb colour, bool shear) {
    for (std::size_t n = 2; n <= nodes; ++n)
        skip([&] {
            surface.line(x.at(n - 1), c.right.at(n - 1), x.at(n), c.left.at(n), colour);
            if (shear && n < nodes && c.left.at(n) != c.right.at(n))
                surface.line(x.at(n), c.left.at(n), x.at(n), c.right.at(n), colour);
        });
}

} // namespace

std::string EnvelopeCaption(const EnvelopeResult& r) {
    std::string text = "Envelope of ";
    for (std::size_t i = 0; i < r.loadings.size(); ++i)
        text += (i == 0 ? "" : ", ") + r.loadings[i];
    return text;
}

bool DrawEnvelopeDiagram(DrawingSurface& surface, PictureKind kind, const CaseAnalysis& a,
                         const EnvelopeResult& r, const CaseModel& m, MessageSink& messages) {
    const std::optional<Picture> p = pictureOf(kind, r);
    if (!p)
        return false;
    const auto nodes = static_cast<std::size_t>(std::max<std::int32_t>(a.frame.mesh.NodeCount, 0));
    const std::vector<double>& x = a.frame.mesh.NodeX;
    const double span = a.frame.model.span;
    skip([&] { surface.clear(); });
    surface.pen.DrawWidth = RoundDrawWidth(1.5);
    const double M =
        std::max(largestMagnitude(p->largest, nodes), largestMagnitude(p->smallest, nodes));
    const DiagramFrame frame = FrameFor(span, M);
    DrawDiagramFrame(surface, span, frame, p->title, messages);
    surface.pen.DrawWidth = 3;
    surface.pen.DrawStyle = LineStyle::Solid;
    const bool shear = kind == PictureKind::Shear;
    drawCurve(surface, x, p->largest, nodes, colours::Red, shear);
    drawCurve(surface, x, p->smallest, nodes, colours::Blue, shear);
    // The moment and shear outlines close on the axis at both ends, as their diagrams do.
    if (kind != PictureKind::Deflection && nodes >= 1)
        for (const auto& [c, colour] :
             {std::pair{&p->largest, colours::Red}, std::pair{&p->smallest, colours::Blue}})
            skip([&] {
                surface.line(x.at(1), 0, x.at(1), c->right.at(1), colour);
                surface.line(x.at(nodes), c->left.at(nodes), x.at(nodes), 0, colour);
            });
    // What the curves are, along the foot of the frame; then the two extremes with what
    // governs each, clear of it.
    surface.pen.DrawWidth = RoundDrawWidth(1.5);
    LabelPlacer placer(surface);
    skip([&] { placer.reserve(placer.boxAt(p->title, {3.5 * frame.xm, -0.95 * frame.ym})); });
    skip([&] {
        const std::string caption = EnvelopeCaption(r) + ": largest red, smallest blue";
        const Point at{3.5 * frame.xm, 0.82 * frame.ym};
        placer.reserve(placer.boxAt(caption, at));
        surface.pen.ForeColor = colours::Black;
        surface.CurrentX = at.x;
        surface.CurrentY = at.y;
        surface.print(caption);
    });
    const ExtremeRange& e = r.extremes[static_cast<std::size_t>(p->quantity)];
    surface.pen.ForeColor = MarkColour;
    surface.pen.FillStyle = FillMode::Solid;
    surface.pen.DrawWidth = 1;
    const double radius = 4 * surface.ScaleWidth() / surface.pixelWidth();
    for (const auto& [b, word] : {std::pair{&e.largest, "max "}, std::pair{&e.smallest, "min "}})
        skip([&] {
            const double y = ShownValue(p->shown, b->value);
            const std::string text = word + QuantityText(p->shown, b->value) + " " +
                                     QuantityUnit(p->shown) + " at " + PositionText(b->x) +
                                     " m: " + GoverningText(r, b->by, m);
            surface.circle(b->x, y, radius, MarkColour);
            placer.print(surface, text, placer.around(text, b->x, y), true);
        });
    surface.pen.FillStyle = FillMode::Transparent;
    surface.pen.ForeColor = colours::Black;
    return true;
}

} // namespace kradon::modGraphics
