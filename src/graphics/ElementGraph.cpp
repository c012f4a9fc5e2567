#include "graphics/ElementGraph.h"

#include <charconv>
#include <cmath>
#include <exception>

namespace kradon {

namespace {

// A failing surface operation is passed over, as the window's own drawing passes over it.
template <class Step> void skipOnFailure(Step&& step) noexcept {
    try {
        step();
    } catch (const std::exception&) {
    }
}

// The half-height of the range of an element that does not move: 1 mm puts its flat line in
// the middle of the picture with the axis, at the scale of a small real deflection.
constexpr double FlatHalfRange = 1e-3;

struct SampleRange {
    double lowest = 1e101;
    double highest = -1e101;
};

SampleRange sampleRange(const ElementEndValues& values, long n, double w) {
    SampleRange r;
    for (long i = 1; i <= n; ++i) {
        const double y = FunctionEval1(values, static_cast<double>(i) * values.eleLength / w);
        if (y > r.highest)
            r.highest = y;
        if (y < r.lowest)
            r.lowest = y;
    }
    // Make room for the zero line; the second test sees the lowest value just set.
    if (r.lowest >= 0)
        r.lowest = -0.1 * r.highest;
    if (r.highest <= 0)
        r.highest = -0.1 * r.lowest;
    return r;
}

std::string trimmedMantissa(std::string_view mantissa) {
    std::string m(mantissa);
    const auto point = m.find('.');
    if (point == std::string::npos)
        return m;
    while (m.back() == '0')
        m.pop_back();
    if (m.back() == '.')
        m.pop_back();
    return m;
}

} // namespace

double FunctionEval1(const ElementEndValues& v, double x) {
    const double L = v.eleLength;
    const double A = (v.Rot_i + v.Rot_j) / (L * L) + 2 * (v.Def_i - v.Def_j) / (L * L * L);
    const double B = 3 * (v.Def_j - v.Def_i) / (L * L) - (2 * v.Rot_i + v.Rot_j) / L;
    return A * x * x * x + B * x * x + v.Rot_i * x + v.Def_i;
}

std::string FormatScientific(double v) {
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v > 0 ? "Infinity" : "-Infinity";
    if (v == 0)
        return "0e+00";
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 2);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const auto e = text.find('e');
    return trimmedMantissa(text.substr(0, e)) + std::string(text.substr(e));
}

ElementGraph drawGraph(DrawingSurface& surface, const ElementEndValues& values) {
    ElementGraph graph;
    const double L = values.eleLength;
    skipOnFailure([&] { surface.clear(); });
    // Sample once per pixel column, measured in pixels as the surface is now.
    skipOnFailure([&] { surface.setScale(0, 0, surface.pixelWidth(), surface.pixelHeight()); });
    const double w = surface.pixelWidth() - 1;
    const long n = std::lround(w);

    const SampleRange range = sampleRange(values, n, w);
    graph.extreme = range.highest > -range.lowest ? range.highest : range.lowest;
    graph.lowest = range.lowest;
    graph.highest = range.highest;
    if (graph.lowest == graph.highest) {
        graph.lowest = -FlatHalfRange;
        graph.highest = FlatHalfRange;
    }
    skipOnFailure(
        [&] { surface.setScale(-0.1 * L, 1.1 * graph.lowest, 1.1 * L, 1.1 * graph.highest); });

    surface.pen.ForeColor = colours::Blue;
    surface.pen.DrawWidth = 1;
    double lastX = 0;
    double lastY = FunctionEval1(values, 0);
    skipOnFailure([&] { surface.line(lastX, lastY, lastX, lastY, colours::Blue); });
    for (long i = 0; i <= n; ++i) {
        const double x = static_cast<double>(i) * L / w;
        const double y = FunctionEval1(values, x);
        skipOnFailure([&] { surface.line(lastX, lastY, x, y, colours::Blue); });
        if (y == graph.extreme) {
            skipOnFailure([&] { surface.line(x, 0, x, y, colours::Red); });
            graph.extremeX = x;
            graph.maxDispLbl =
                MaxDispPrefix + FormatScientific(y) + "m at " + FormatScientific(x) + "m";
        }
        lastX = x;
        lastY = y;
    }

    surface.pen.DrawWidth = 2;
    skipOnFailure([&] { surface.line(0, 0, L, 0, colours::Black); });
    return graph;
}

} // namespace kradon
