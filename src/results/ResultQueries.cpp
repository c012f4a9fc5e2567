// Values anywhere on the solved beam, its jumps and its spans.
#include "results/ResultQueries.h"

#include "analysis/modSegments.h"
#include "mesh/modMesh.h"
#include "model/Index.h"
#include "model/modText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kradon {
namespace {

/// Every table holds at least the entries its count needs.
bool sized(const std::vector<double>& table, std::int64_t entries) {
    return static_cast<std::int64_t>(table.size()) >= entries;
}

SectionValues valuesOf(const modSegments::Section& section) {
    return {static_cast<double>(section.v), static_cast<double>(section.theta),
            static_cast<double>(section.M), static_cast<double>(section.V)};
}

/// Whether anything concentrated acts at node n: a point or moment load, a rigid support, a
/// prescribed value or a spring. Only there do the shear and the moment jump.
bool actsAt(const NodalTables& nodal, std::int32_t n) {
    for (const std::int32_t d : {2 * n - 1, 2 * n})
        if (nodal.ConcentratedLoad[at(d)] != 0 || Constrained(nodal, d) ||
            nodal.SpringDiagonal[at(d)] != 0)
            return true;
    return false;
}

bool heldVertically(const NodalTables& nodal, std::int32_t n) {
    return Constrained(nodal, 2 * n - 1) || nodal.SpringDiagonal[at(2 * n - 1)] != 0;
}

/// Left and right of node n. Where nothing acts at the node the two differ only by rounding,
/// and the right side stands for both; at the ends the side on the beam stands for both.
PointValues nodeValues(const ProgramState& s, std::int32_t n) {
    const NodeSides sides = SidesOfNode(s, n);
    PointValues p;
    p.x = s.mesh.NodeX[at(n)];
    p.jump = sides.left && sides.right && actsAt(s.nodal, n);
    p.right = sides.right ? *sides.right : *sides.left;
    p.left = p.jump || !sides.right ? *sides.left : p.right;
    return p;
}

/// At x inside element e.
PointValues insideElement(const ProgramState& s, std::int32_t e, double x) {
    const modSegments::ElementData el = modSegments::SolvedElement(s.mesh, s.nodal, s.results, e);
    const modSegments::Section start = modSegments::StartOfElement(s.equations, s.results, e);
    const double x0 = s.mesh.NodeX[at(e)];
    modSegments::Section section = modSegments::Along(start, el, x - x0);
    if (el.c == 0) {
        // An element without stiffness transmits nothing: its ends move on their own, and it
        // is drawn straight between them.
        const auto& d = s.equations.Displacements;
        const double chord = (d[at(2 * e + 1)] - d[at(2 * e - 1)]) / static_cast<double>(el.h);
        section.theta = chord;
        section.v = d[at(2 * e - 1)] + chord * (x - x0);
    }
    PointValues p;
    p.x = x;
    p.left = p.right = valuesOf(section);
    return p;
}

/// Elements first..last measured against the line through (x0, v0) with the given slope.
SpanResult spanBetween(const ProgramState& s, SpanKind kind, std::int32_t a, std::int32_t b,
                       double lineX, double lineV, double slope) {
    SpanResult span;
    span.kind = kind;
    span.x0 = s.mesh.NodeX[at(a)];
    span.x1 = s.mesh.NodeX[at(b)];
    span.firstElement = a;
    span.lastElement = b - 1;
    span.extremes = modSegments::FindExtremes(s.mesh, s.nodal, s.equations, s.results, a, b - 1);
    span.sag = modSegments::FarthestFromLine(s.mesh, s.nodal, s.equations, s.results, a, b - 1,
                                             lineX, lineV, slope);
    return span;
}

} // namespace

NodeSides SidesOfNode(const ProgramState& s, std::int32_t n) {
    const auto& d = s.equations.Displacements;
    const auto& r = s.results;
    const std::int32_t N = s.mesh.NodeCount;
    const double v = d[at(2 * n - 1)], theta = d[at(2 * n)];
    NodeSides sides;
    if (n < N)
        sides.right = SectionValues{v, theta, r.NodeMoment[at(n)], r.NodeShear[at(2 * n)]};
    if (n == N) // NodeMoment holds the end of the last element for the last node
        sides.left = SectionValues{v, theta, r.NodeMoment[at(n)], r.NodeShear[at(2 * n - 1)]};
    else if (n > 1) {
        const modSegments::Section before = modSegments::StartOfElement(s.equations, r, n - 1);
        const modSegments::ElementData el = modSegments::SolvedElement(s.mesh, s.nodal, r, n - 1);
        sides.left = SectionValues{v, theta, static_cast<double>(modSegments::Across(before, el).M),
                                   r.NodeShear[at(2 * n - 1)]};
    }
    return sides;
}

bool HasExactResults(const ProgramState& s) {
    const std::int64_t N = s.mesh.NodeCount, E = s.mesh.ElementCount;
    if (N < 2 || E != N - 1 || s.equations.CalcError != 0)
        return false;
    const auto& r = s.results;
    const auto& nodal = s.nodal;
    return sized(s.mesh.NodeX, N + 1) && sized(s.mesh.ElementLength, E + 1) &&
           sized(s.equations.Displacements, 2 * N + 1) && sized(r.NodeShear, 2 * N + 1) &&
           sized(r.NodeMoment, N + 1) && sized(r.NodeDeflection, N + 1) &&
           static_cast<std::int64_t>(r.ElementFlexibility.size()) == E + 1 &&
           sized(nodal.ElementLoadStart, E + 1) && sized(nodal.ElementLoadEnd, E + 1) &&
           sized(nodal.ConcentratedLoad, 2 * N + 1) && sized(nodal.RestraintFlag, 2 * N + 1) &&
           sized(nodal.PrescribedDisp, 2 * N + 1) && sized(nodal.SpringDiagonal, 2 * N + 1);
}

std::optional<PointValues> ValuesAt(const ProgramState& s, double x) {
    if (!HasExactResults(s))
        return std::nullopt;
    const auto& X = s.mesh.NodeX;
    const std::int32_t N = s.mesh.NodeCount;
    if (!(x >= X[1] && x <= X[at(N)]))
        return std::nullopt;
    if (const std::int32_t n = modMesh::FirstNodeAt(s.mesh, modText::RoundTrip15(x)); n != 0)
        return nodeValues(s, n);
    // The element whose nodes enclose x: the last node at or before it starts it.
    const auto after = std::upper_bound(X.begin() + 1, X.begin() + N + 1, x);
    const auto e = static_cast<std::int32_t>(after - X.begin()) - 1;
    return insideElement(s, std::clamp(e, 1, N - 1), x);
}

std::vector<PointValues> Jumps(const ProgramState& s) {
    std::vector<PointValues> jumps;
    if (!HasExactResults(s))
        return jumps;
    for (std::int32_t n = 2; n < s.mesh.NodeCount; ++n)
        if (actsAt(s.nodal, n))
            jumps.push_back(nodeValues(s, n));
    return jumps;
}

std::vector<SpanResult> SpanResults(const ProgramState& s) {
    std::vector<SpanResult> spans;
    if (!HasExactResults(s))
        return spans;
    const std::int32_t N = s.mesh.NodeCount;
    const auto& d = s.equations.Displacements;
    std::vector<std::int32_t> held;
    for (std::int32_t n = 1; n <= N; ++n)
        if (heldVertically(s.nodal, n))
            held.push_back(n);
    if (held.empty()) {
        spans.push_back(spanBetween(s, SpanKind::Span, 1, N, s.mesh.NodeX[1], d[1], 0));
        return spans;
    }
    // An overhang is measured from its support's deflected position, a span from the line
    // joining its two supports.
    auto support = [&](std::int32_t n) { return std::pair{s.mesh.NodeX[at(n)], d[at(2 * n - 1)]}; };
    if (held.front() > 1) {
        const auto [x, v] = support(held.front());
        spans.push_back(spanBetween(s, SpanKind::Cantilever, 1, held.front(), x, v, 0));
    }
    for (std::size_t i = 1; i < held.size(); ++i) {
        const auto [xa, va] = support(held[i - 1]);
        const auto [xb, vb] = support(held[i]);
        spans.push_back(
            spanBetween(s, SpanKind::Span, held[i - 1], held[i], xa, va, (vb - va) / (xb - xa)));
    }
    if (held.back() < N) {
        const auto [x, v] = support(held.back());
        spans.push_back(spanBetween(s, SpanKind::Cantilever, held.back(), N, x, v, 0));
    }
    return spans;
}

double SpanToDeflection(const SpanResult& span) {
    const double sag = std::fabs(span.sag.value);
    return sag == 0 ? std::numeric_limits<double>::infinity() : span.length() / sag;
}

} // namespace kradon
