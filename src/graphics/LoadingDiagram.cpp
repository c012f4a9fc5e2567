#include "graphics/LoadingDiagram.h"

#include "graphics/DiagramLabels.h"
#include "graphics/LabelLayout.h"
#include "model/modText.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>
#include <string>
#include <vector>

namespace kradon::modGraphics {
namespace {

template <class Step> void skipOnFailure(Step&& step) noexcept {
    try {
        step();
    } catch (const std::exception&) {
    }
}

double at(const std::vector<double>& list, std::int32_t n) {
    return list.at(static_cast<std::size_t>(n));
}

/// The geometry of the drawing in user units: x along the beam in m; y downwards, the beam at
/// 0, loads above it and supports below.
struct Layout {
    double L;       // span
    double height;  // of the whole picture
    double upx;     // user units per pixel along x
    double upy;     // and along y
    double arrow;   // the longest point load arrow
    double area;    // the highest distributed load
    double support; // the height of a support symbol
};

Layout layoutFor(DrawingSurface& surface, double L) {
    const double width = 1.12 * L;
    const double height = width * surface.pixelHeight() / surface.pixelWidth();
    surface.setScale(-0.06 * L, -0.55 * height, 1.06 * L, 0.45 * height);
    return {L,
            height,
            width / surface.pixelWidth(),
            height / surface.pixelHeight(),
            0.3 * height,
            0.2 * height,
            0.07 * height};
}

/// A line with an arrow head at its end (x2, y2).
void arrow(DrawingSurface& s, const Layout& g, double x1, double y1, double x2, double y2,
           Rgb colour) {
    s.line(x1, y1, x2, y2, colour);
    const double dx = (x2 - x1) / g.upx, dy = (y2 - y1) / g.upy; // in pixels
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return;
    const double ux = dx / length, uy = dy / length, head = 6, spread = 3.5;
    for (const double side : {1.0, -1.0})
        s.line(x2, y2, x2 + (-ux * head + side * uy * spread) * g.upx,
               y2 + (-uy * head - side * ux * spread) * g.upy, colour);
}

/// The largest magnitude among the values of records 1..count.
double largest(const std::vector<double>& values, std::int16_t count) {
    double m = 0;
    for (std::int32_t n = 1; n <= count; ++n)
        m = std::max(m, std::fabs(at(values, n)));
    return m;
}

/// A point load: an arrow as long as the load is large, pointing the way it acts (downwards
/// when positive), its head on the beam for a downward load.
void pointLoad(DrawingSurface& s, const Layout& g, double x, double P, double Pmax) {
    const double length = g.arrow * (Pmax > 0 ? std::fabs(P) / Pmax : 1);
    if (P >= 0)
        arrow(s, g, x, -length, x, 0, colours::Red);
    else
        arrow(s, g, x, 0, x, -length, colours::Red);
}

/// A linearly varying load from w1 at a to w2 at b: its area above the beam, as high as the
/// intensity is large, with arrows the way it acts.
void distributedLoad(DrawingSurface& s, const Layout& g, double a, double b, double w1, double w2,
                     double wmax) {
    if (!(b > a))
        return;
    auto height = [&](double w) { return g.area * (wmax > 0 ? std::fabs(w) / wmax : 1); };
    auto w = [&](double x) { return w1 + (w2 - w1) * (x - a) / (b - a); };
    std::vector<double> corners{a};
    if ((w1 > 0 && w2 < 0) || (w1 < 0 && w2 > 0))
        corners.push_back(a + (b - a) * w1 / (w1 - w2)); // where it changes direction
    corners.push_back(b);
    s.line(a, 0, a, -height(w1), colours::Red);
    for (std::size_t i = 1; i < corners.size(); ++i)
        s.line(corners[i - 1], -height(w(corners[i - 1])), corners[i], -height(w(corners[i])),
               colours::Red);
    s.line(b, -height(w2), b, 0, colours::Red);
    // Arrows about every 30 pixels, at most 40 of them.
    const int count = std::clamp(static_cast<int>((b - a) / g.upx / 30), 1, 40);
    for (int k = 0; k <= count; ++k) {
        const double x = a + (b - a) * k / count, h = height(w(x));
        if (h < 4 * g.upy)
            continue;
        if (w(x) >= 0)
            arrow(s, g, x, -h, x, 0, colours::Red);
        else
            arrow(s, g, x, 0, x, -h, colours::Red);
    }
}

/// A moment load: three quarters of a circle round the point, with its arrow turning clockwise
/// for a positive (clockwise) moment; larger moments make larger circles.
void momentLoad(DrawingSurface& s, const Layout& g, double x, double M, double Mmax) {
    const double pixels = 10 + 12 * (Mmax > 0 ? std::fabs(M) / Mmax : 1);
    const double rx = pixels * g.upx, ry = pixels * g.upy;
    // y grows downwards, so an increasing angle turns clockwise on the picture.
    const double start = M >= 0 ? -0.75 * std::numbers::pi : 0.75 * std::numbers::pi;
    const double sweep = (M >= 0 ? 1.5 : -1.5) * std::numbers::pi;
    constexpr int steps = 24;
    double px = x + rx * std::cos(start), py = ry * std::sin(start);
    for (int k = 1; k <= steps; ++k) {
        const double t = start + sweep * k / steps;
        const double nx = x + rx * std::cos(t), ny = ry * std::sin(t);
        if (k == steps)
            arrow(s, g, px, py, nx, ny, colours::Red);
        else
            s.line(px, py, nx, ny, colours::Red);
        px = nx;
        py = ny;
    }
}

void pinned(DrawingSurface& s, const Layout& g, double x) {
    const double h = g.support, w = 0.7 * h * g.upx / g.upy;
    s.line(x, 0, x - w, h, colours::Blue);
    s.line(x - w, h, x + w, h, colours::Blue);
    s.line(x + w, h, x, 0, colours::Blue);
}

void fixed(DrawingSurface& s, const Layout& g, double x) {
    const double h = g.support, w = 0.7 * h * g.upx / g.upy;
    s.line(x - w, 0, x - w, h, colours::Blue);
    s.line(x - w, h, x + w, h, colours::Blue);
    s.line(x + w, h, x + w, 0, colours::Blue);
    s.line(x + w, 0, x - w, 0, colours::Blue);
    for (const double f : {-0.5, 0.0, 0.5})
        s.line(x + f * w - 0.5 * w, h, x + f * w + 0.5 * w, 0, colours::Blue);
}

void spring(DrawingSurface& s, const Layout& g, double x, double vertical, double rotational) {
    if (rotational != 0)
        s.circle(x, 0, 6 * g.upx, colours::Green);
    if (vertical == 0)
        return;
    const double h = 1.3 * g.support, w = 5 * g.upx;
    double py = 0, px = x;
    constexpr int zigs = 6;
    for (int k = 1; k <= zigs + 1; ++k) {
        const double ny = h * k / (zigs + 1);
        const double nx = k == zigs + 1 ? x : x + (k % 2 == 1 ? w : -w);
        s.line(px, py, nx, ny, colours::Green);
        px = nx;
        py = ny;
    }
    s.line(x - 2 * w, h, x + 2 * w, h, colours::Green);
}

void prescribed(DrawingSurface& s, const Layout& g, double x) {
    const double h = g.support, w = 0.5 * h * g.upx / g.upy;
    s.line(x, 0, x - w, h, colours::Navy);
    s.line(x - w, h, x + w, h, colours::Navy);
    s.line(x + w, h, x, 0, colours::Navy);
    s.line(x - w, 1.25 * h, x + w, 1.25 * h, colours::Navy);
}

/// A label and where it may go: centred on x in rows from y by step.
struct Tag {
    std::string text;
    Rgb colour;
    double x, y, step;
};

/// The height (user units, upwards) a load's symbol reaches above the beam.
struct Heights {
    double Pmax, wmax, Mmax;
};

Heights heightsOf(const BeamModel& m) {
    return {largest(m.PointLoad.value, m.count(RecordKind::PointLoad)),
            std::max(largest(m.UDL.value, m.count(RecordKind::UDL)),
                     std::max(largest(m.TDL.startValue, m.count(RecordKind::TDL)),
                              largest(m.TDL.endValue, m.count(RecordKind::TDL)))),
            largest(m.MomentLoad.value, m.count(RecordKind::MomentLoad))};
}

std::vector<Tag> tagsOf(const DrawingSurface& s, const BeamModel& m, const Layout& g) {
    const double h = s.TextHeight("0");
    const Heights top = heightsOf(m);
    auto share = [](double v, double largestValue) {
        return largestValue > 0 ? std::fabs(v) / largestValue : 1;
    };
    std::vector<Tag> tags;
    auto id = [](const char* letter, std::int32_t n) { return letter + std::to_string(n) + " "; };
    // Each load's label sits just above its symbol, and stacks upwards from there.
    auto above = [h](double height) { return -height - 1.2 * h; };
    for (std::int32_t n = 1; n <= m.count(RecordKind::PointLoad); ++n)
        tags.push_back({id("P", n) + PlainNumber(at(m.PointLoad.value, n)) + " kN", colours::Red,
                        at(m.PointLoad.location, n),
                        above(g.arrow * share(at(m.PointLoad.value, n), top.Pmax)), -h});
    for (std::int32_t n = 1; n <= m.count(RecordKind::UDL); ++n)
        tags.push_back({id("U", n) + PlainNumber(at(m.UDL.value, n)) + " kN/m", colours::Red,
                        (at(m.UDL.start, n) + at(m.UDL.end, n)) / 2,
                        above(g.area * share(at(m.UDL.value, n), top.wmax)), -h});
    for (std::int32_t n = 1; n <= m.count(RecordKind::TDL); ++n) {
        const double w =
            std::max(std::fabs(at(m.TDL.startValue, n)), std::fabs(at(m.TDL.endValue, n)));
        tags.push_back({id("T", n) + PlainNumber(at(m.TDL.startValue, n)) + " to " +
                            PlainNumber(at(m.TDL.endValue, n)) + " kN/m",
                        colours::Red, (at(m.TDL.start, n) + at(m.TDL.end, n)) / 2,
                        above(g.area * share(w, top.wmax)), -h});
    }
    for (std::int32_t n = 1; n <= m.count(RecordKind::MomentLoad); ++n)
        tags.push_back({id("M", n) + PlainNumber(at(m.MomentLoad.value, n)) + " kNm", colours::Red,
                        at(m.MomentLoad.location, n), above(24 * g.upy), -h});
    const double below = 1.5 * g.support + 0.2 * h;
    for (std::int32_t n = 1; n <= m.count(RecordKind::RigidSupport); ++n)
        tags.push_back(
            {id("R", n) + (at(m.RigidSupport.type, n) == SupportType::Pinned ? "Pinned" : "Fixed"),
             colours::Blue, at(m.RigidSupport.location, n), below, h});
    for (std::int32_t n = 1; n <= m.count(RecordKind::SpringSupport); ++n)
        tags.push_back({id("K", n) + PlainNumber(at(m.SpringSupport.vertical, n)) + " kN/mm " +
                            PlainNumber(at(m.SpringSupport.rotational, n)) + " kN/rad",
                        colours::Green, at(m.SpringSupport.location, n), below, h});
    for (std::int32_t n = 1; n <= m.count(RecordKind::FixedDisplacement); ++n)
        tags.push_back({id("FD", n) + PlainNumber(at(m.FixedDisplacement.vertical, n)) + " mm " +
                            PlainNumber(at(m.FixedDisplacement.rotational, n)) + " rad",
                        colours::Navy, at(m.FixedDisplacement.location, n), below, h});
    return tags;
}

/// The distinct positions of every record and the beam's ends, in ascending order.
std::vector<double> positionsOf(const BeamModel& m) {
    std::vector<double> p{0, m.span};
    auto add = [&](RecordKind kind, std::initializer_list<const std::vector<double>*> lists) {
        for (std::int32_t n = 1; n <= m.count(kind); ++n)
            for (const auto* list : lists)
                p.push_back(at(*list, n));
    };
    add(RecordKind::PointLoad, {&m.PointLoad.location});
    add(RecordKind::UDL, {&m.UDL.start, &m.UDL.end});
    add(RecordKind::TDL, {&m.TDL.start, &m.TDL.end});
    add(RecordKind::MomentLoad, {&m.MomentLoad.location});
    add(RecordKind::RigidSupport, {&m.RigidSupport.location});
    add(RecordKind::SpringSupport, {&m.SpringSupport.location});
    add(RecordKind::FixedDisplacement, {&m.FixedDisplacement.location});
    std::sort(p.begin(), p.end());
    p.erase(std::unique(p.begin(), p.end()), p.end());
    return p;
}

void drawLoads(DrawingSurface& s, const BeamModel& m, const Layout& g) {
    const Heights top = heightsOf(m);
    const double wmax = top.wmax;
    for (std::int32_t n = 1; n <= m.count(RecordKind::UDL); ++n)
        skipOnFailure([&] {
            distributedLoad(s, g, at(m.UDL.start, n), at(m.UDL.end, n), at(m.UDL.value, n),
                            at(m.UDL.value, n), wmax);
        });
    for (std::int32_t n = 1; n <= m.count(RecordKind::TDL); ++n)
        skipOnFailure([&] {
            distributedLoad(s, g, at(m.TDL.start, n), at(m.TDL.end, n), at(m.TDL.startValue, n),
                            at(m.TDL.endValue, n), wmax);
        });
    const double Pmax = top.Pmax;
    for (std::int32_t n = 1; n <= m.count(RecordKind::PointLoad); ++n)
        skipOnFailure(
            [&] { pointLoad(s, g, at(m.PointLoad.location, n), at(m.PointLoad.value, n), Pmax); });
    const double Mmax = top.Mmax;
    for (std::int32_t n = 1; n <= m.count(RecordKind::MomentLoad); ++n)
        skipOnFailure([&] {
            momentLoad(s, g, at(m.MomentLoad.location, n), at(m.MomentLoad.value, n), Mmax);
        });
}

void drawSupports(DrawingSurface& s, const BeamModel& m, const Layout& g) {
    for (std::int32_t n = 1; n <= m.count(RecordKind::RigidSupport); ++n)
        skipOnFailure([&] {
            const double x = at(m.RigidSupport.location, n);
            if (at(m.RigidSupport.type, n) == SupportType::Fixed)
                fixed(s, g, x);
            else
                pinned(s, g, x);
        });
    for (std::int32_t n = 1; n <= m.count(RecordKind::SpringSupport); ++n)
        skipOnFailure([&] {
            spring(s, g, at(m.SpringSupport.location, n), at(m.SpringSupport.vertical, n),
                   at(m.SpringSupport.rotational, n));
        });
    for (std::int32_t n = 1; n <= m.count(RecordKind::FixedDisplacement); ++n)
        skipOnFailure([&] { prescribed(s, g, at(m.FixedDisplacement.location, n)); });
}

void drawLabels(DrawingSurface& s, const BeamModel& m, const Layout& g) {
    LabelPlacer placer(s);
    for (const Tag& tag : tagsOf(s, m, g))
        skipOnFailure([&] {
            s.pen.ForeColor = tag.colour;
            std::vector<Point> rows = placer.rows(tag.text, tag.x, tag.y, tag.step, 6);
            placer.print(s, tag.text, rows);
        });
    // The scale: a tick at every position, its value where there is room.
    s.pen.ForeColor = colours::Black;
    const double y = 0.3 * g.height, tick = 4 * g.upy;
    skipOnFailure([&] { s.line(0, y, g.L, y, colours::Black); });
    for (const double x : positionsOf(m))
        skipOnFailure([&] {
            s.line(x, y - tick, x, y + tick, colours::Black);
            const std::string text = PlainNumber(x);
            std::vector<Point> rows = placer.rows(text, x, y + 1.5 * tick, s.TextHeight(text), 2);
            placer.print(s, text, rows);
        });
    const Point unit[] = {{g.L + 0.03 * g.L, y - s.TextHeight("m") / 2}};
    placer.print(s, "m", unit);
}

} // namespace

void DrawLoadingDiagram(DrawingSurface& surface, const BeamModel& model) {
    skipOnFailure([&] {
        surface.clear();
        const Layout g = layoutFor(surface, model.span);
        surface.pen.DrawWidth = 1;
        surface.pen.DrawStyle = LineStyle::Solid;
        surface.pen.FillStyle = FillMode::Transparent;
        drawLoads(surface, model, g);
        drawSupports(surface, model, g);
        surface.pen.DrawWidth = 3;
        surface.line(0, 0, model.span, 0, colours::Black);
        surface.pen.DrawWidth = 1;
        drawLabels(surface, model, g);
    });
}

} // namespace kradon::modGraphics
