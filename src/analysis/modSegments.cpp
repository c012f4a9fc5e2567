// The exact solution of the meshed beam through the flexibility of its members.
#include "analysis/modSegments.h"

#include "analysis/BandMatrix.h"
#include "mesh/modSections.h"
#include "model/Index.h"
#include "model/KradonError.h"

#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace kradon::modSegments {
namespace {

/// A stretch of elements between two consecutive structural nodes.
struct Member {
    std::int32_t first = 0; // elements first..last
    std::int32_t last = 0;
    bool elastic = true; // false: one element without stiffness, which transmits nothing
    Real length = 0;
    /// The end sections of the member clamped at its start, under its own loads, under a unit
    /// shear and under a unit moment at its start.
    Section load, unitShear, unitMoment;
};

struct Structure {
    std::vector<std::int32_t> node; // structural node i = 0..S -> its mesh node
    std::vector<Member> members;    // member m = 1..S joins structural nodes m - 1 and m
    std::int32_t S() const { return static_cast<std::int32_t>(node.size()) - 1; }
};

bool carries(const MeshTables& mesh, std::int32_t e) {
    return mesh.ElementE[at(e)] * mesh.ElementI[at(e)] != 0;
}

/// The key points (every segment end) and both ends of every element without stiffness.
std::vector<std::int32_t> structuralNodes(const MeshTables& mesh) {
    std::vector<char> structural(at(mesh.NodeCount) + 2, 0);
    structural[1] = 1;
    std::int32_t n = 1;
    for (std::size_t i = 1; i < mesh.SegmentDivisions.size(); ++i) {
        n += static_cast<std::int32_t>(mesh.SegmentDivisions[i]);
        structural[at(n)] = 1;
    }
    structural[at(mesh.NodeCount)] = 1;
    for (std::int32_t e = 1; e <= mesh.ElementCount; ++e)
        if (!carries(mesh, e))
            structural[at(e)] = structural[at(e + 1)] = 1;
    std::vector<std::int32_t> nodes;
    for (std::int32_t k = 1; k <= mesh.NodeCount; ++k)
        if (structural[at(k)])
            nodes.push_back(k);
    return nodes;
}

Member memberBetween(const MeshTables& mesh, const NodalTables& nodal, std::int32_t a,
                     std::int32_t b) {
    Member m;
    m.first = a;
    m.last = b - 1;
    m.elastic = carries(mesh, a);
    m.unitShear.V = 1;
    m.unitMoment.M = 1;
    for (std::int32_t e = m.first; e <= m.last; ++e) {
        const ElementData element = ElementAt(mesh, nodal, e);
        m.length += element.h;
        m.load = Across(m.load, element);
        ElementData unloaded = element;
        unloaded.wa = unloaded.slope = 0;
        m.unitShear = Across(m.unitShear, unloaded);
        m.unitMoment = Across(m.unitMoment, unloaded);
    }
    return m;
}

Structure structureOf(const MeshTables& mesh, const NodalTables& nodal) {
    Structure st;
    st.node = structuralNodes(mesh);
    st.members.resize(st.node.size());
    for (std::size_t m = 1; m < st.node.size(); ++m)
        st.members[m] = memberBetween(mesh, nodal, st.node[m - 1], st.node[m]);
    return st;
}

/// Which rigid-body motions a node's supports hold: vertical, rotation.
struct Held {
    bool vertical = false;
    bool rotation = false;
};

Held heldAt(const NodalTables& nodal, std::int32_t n) {
    auto holds = [&nodal](std::int32_t d) {
        return Constrained(nodal, d) || nodal.SpringDiagonal[at(d)] != 0;
    };
    return {holds(2 * n - 1), holds(2 * n)};
}

/// A part of the beam held together by elastic members, nodes first..last: it stands when its
/// supports hold both rigid-body motions (two distinct vertical supports, or a vertical and a
/// rotational one); a part that is one node on its own needs both held at that node.
bool partStands(const NodalTables& nodal, const Structure& st, std::int32_t first,
                std::int32_t last) {
    int verticals = 0, rotations = 0;
    for (std::int32_t i = first; i <= last; ++i) {
        const Held held = heldAt(nodal, st.node[at(i)]);
        verticals += held.vertical;
        rotations += held.rotation;
    }
    if (first == last)
        return verticals > 0 && rotations > 0;
    return verticals >= 2 || (verticals >= 1 && rotations >= 1);
}

bool isMechanism(const NodalTables& nodal, const Structure& st) {
    std::int32_t first = 0;
    for (std::int32_t m = 1; m <= st.S(); ++m) {
        if (st.members[at(m)].elastic)
            continue;
        if (!partStands(nodal, st, first, m - 1))
            return true;
        first = m;
    }
    return !partStands(nodal, st, first, st.S());
}

// Unknowns and equations of the structure, numbered from 1: per structural node i its
// deflection and rotation (and its vertical and rotational equilibrium), per member m the shear
// and moment at its start (and its two compatibility conditions), interleaved so that every
// equation couples unknowns at most three places apart.
std::int32_t deflectionOf(std::int32_t i) {
    return 4 * i + 1;
}
std::int32_t rotationOf(std::int32_t i) {
    return 4 * i + 2;
}
std::int32_t shearOf(std::int32_t m) {
    return 4 * m - 1;
}
std::int32_t momentOf(std::int32_t m) {
    return 4 * m;
}

/// Equilibrium of structural node i, or its prescribed values where it is held. The member on
/// its left ends with the shear and moment of its start carried across it; the spring forces
/// (k v upwards, kr theta anticlockwise) resist the displacements.
void nodeEquations(BandMatrix<Real>& A, const NodalTables& nodal, const Structure& st,
                   std::int32_t i) {
    const std::int32_t n = st.node[at(i)];
    const std::int32_t rv = deflectionOf(i), rr = rotationOf(i);
    for (const std::int32_t d : {2 * n - 1, 2 * n}) {
        const std::int32_t row = d == 2 * n - 1 ? rv : rr;
        if (Constrained(nodal, d)) {
            A(row, row) = 1;
            A.Rhs[at(row)] = nodal.PrescribedDisp[at(d)];
            continue;
        }
        A(row, row) = nodal.SpringDiagonal[at(d)];
        A.Rhs[at(row)] = nodal.ConcentratedLoad[at(d)];
        const bool vertical = row == rv;
        if (i < st.S())
            A(row, vertical ? shearOf(i + 1) : momentOf(i + 1)) += 1;
        if (i > 0) {
            const Member& left = st.members[at(i)];
            const Section& end1 = left.unitShear;
            const Section& end2 = left.unitMoment;
            A(row, shearOf(i)) -= vertical ? end1.V : end1.M;
            A(row, momentOf(i)) -= vertical ? end2.V : end2.M;
            A.Rhs[at(row)] += vertical ? left.load.V : left.load.M;
        }
    }
}

/// The end of member m deflects and turns as its start, its length and its end forces make it;
/// a member without stiffness instead carries its fixed-end forces at its start.
void memberEquations(BandMatrix<Real>& A, const NodalTables& nodal, const Structure& st,
                     std::int32_t m) {
    const Member& mb = st.members[at(m)];
    const std::int32_t rv = shearOf(m), rr = momentOf(m);
    if (!mb.elastic) {
        A(rv, shearOf(m)) = 1;
        A.Rhs[at(rv)] = -nodal.ElementNodalLoads[1][at(mb.first)];
        A(rr, momentOf(m)) = 1;
        A.Rhs[at(rr)] = -nodal.ElementNodalLoads[2][at(mb.first)];
        return;
    }
    A(rv, deflectionOf(m)) = 1;
    A(rv, deflectionOf(m - 1)) = -1;
    A(rv, rotationOf(m - 1)) = -mb.length;
    A(rv, shearOf(m)) = -mb.unitShear.v;
    A(rv, momentOf(m)) = -mb.unitMoment.v;
    A.Rhs[at(rv)] = mb.load.v;
    A(rr, rotationOf(m)) = 1;
    A(rr, rotationOf(m - 1)) = -1;
    A(rr, shearOf(m)) = -mb.unitShear.theta;
    A(rr, momentOf(m)) = -mb.unitMoment.theta;
    A.Rhs[at(rr)] = mb.load.theta;
}

BandMatrix<Real> systemOf(const NodalTables& nodal, const Structure& st) {
    BandMatrix<Real> A(4 * st.S() + 2);
    for (std::int32_t i = 0; i <= st.S(); ++i)
        nodeEquations(A, nodal, st, i);
    for (std::int32_t m = 1; m <= st.S(); ++m)
        memberEquations(A, nodal, st, m);
    return A;
}

/// v as a double; a value that is not finite throws.
double finite(Real v) {
    if (!std::isfinite(v))
        throw KradonError(ErrorNumber::Overflow, ErrorSource::Calcs, "Overflow");
    return static_cast<double>(v);
}

/// Writes the deflection and rotation of node n; a held degree of freedom takes its prescribed
/// value exactly.
void storeDisplacements(const NodalTables& nodal, EquationTables& equations, ResultTables& results,
                        std::int32_t n, Real v, Real theta) {
    auto value = [&nodal](std::int32_t d, Real x) {
        const double v = finite(x);
        return Constrained(nodal, d) ? nodal.PrescribedDisp[at(d)] : v;
    };
    equations.Displacements[at(2 * n - 1)] = value(2 * n - 1, v);
    equations.Displacements[at(2 * n)] = value(2 * n, theta);
    results.NodeDeflection[at(n)] = equations.Displacements[at(2 * n - 1)];
}

/// Fills every node of member m from the solved start section, element by element; its last
/// node takes the solved end displacements.
void fillMember(const MeshTables& mesh, const NodalTables& nodal, const Structure& st,
                const std::vector<Real>& x, std::int32_t m, EquationTables& equations,
                ResultTables& results) {
    const Member& mb = st.members[at(m)];
    Section s{x[at(deflectionOf(m - 1))], x[at(rotationOf(m - 1))], x[at(shearOf(m))],
              x[at(momentOf(m))]};
    for (std::int32_t e = mb.first; e <= mb.last; ++e) {
        if (e > mb.first)
            storeDisplacements(nodal, equations, results, e, s.v, s.theta);
        results.NodeShear[2 * at(e)] = finite(s.V);
        results.NodeMoment[at(e)] = finite(s.M);
        s = Across(s, ElementAt(mesh, nodal, e));
        results.NodeShear[2 * at(e) + 1] = finite(s.V);
    }
    if (mb.last == mesh.ElementCount)
        results.NodeMoment[at(mesh.NodeCount)] = finite(s.M);
}

void fill(const MeshTables& mesh, const NodalTables& nodal, const Structure& st,
          const std::vector<Real>& x, EquationTables& equations, ResultTables& results) {
    for (std::int32_t i = 0; i <= st.S(); ++i)
        storeDisplacements(nodal, equations, results, st.node[at(i)], x[at(deflectionOf(i))],
                           x[at(rotationOf(i))]);
    for (std::int32_t m = 1; m <= st.S(); ++m)
        fillMember(mesh, nodal, st, x, m, equations, results);
}

/// Keeps the largest and the smallest value offered, with its position.
struct Range {
    Extreme* largest;
    Extreme* smallest;
    bool any = false;
    void offer(Real value, Real x) {
        const auto v = static_cast<double>(value);
        if (!any || v > largest->value)
            *largest = {v, static_cast<double>(x)};
        if (!any || v < smallest->value)
            *smallest = {v, static_cast<double>(x)};
        any = true;
    }
};

/// Up to six positions along an element, in ascending order: its two ends and the points
/// between them where a function turns.
struct Points {
    std::array<Real, 6> s{};
    int n = 0;
    void add(Real v) { s[static_cast<std::size_t>(n++)] = v; }
    Real operator[](int i) const { return s[static_cast<std::size_t>(i)]; }
};

/// 0, the roots of a + b s + c s^2 strictly inside (0, h) in ascending order, and h.
Points piecesOfQuadratic(Real a, Real b, Real c, Real h) {
    Points p;
    p.add(0);
    auto keep = [&](Real s) {
        if (s > 0 && s < h)
            p.add(s);
    };
    if (c == 0) {
        if (b != 0)
            keep(-a / b);
    } else if (const Real disc = b * b - 4 * a * c; disc >= 0) {
        // The form without cancellation: q = -(b + sign(b) sqrt(disc)) / 2, roots q / c, a / q.
        const Real q = -(b + std::copysign(std::sqrt(disc), b)) / 2;
        Real r1 = q / c, r2 = q != 0 ? a / q : r1;
        if (r2 < r1)
            std::swap(r1, r2);
        keep(r1);
        if (r2 != r1)
            keep(r2);
    }
    p.add(h);
    return p;
}

/// Where f changes sign between a and b, by bisection; f(a) and f(b) have opposite signs.
template <typename F> Real bisect(F f, Real a, Real b, bool positiveAtA) {
    for (int i = 0; i < 80; ++i) {
        const Real mid = (a + b) / 2;
        if (mid <= a || mid >= b)
            break;
        ((f(mid) > 0) == positiveAtA ? a : b) = mid;
    }
    return (a + b) / 2;
}

/// The zeros of f on an element whose pieces (between consecutive points) f is monotone on:
/// each piece holds at most one, found by bisection where f changes sign across it. f at the
/// first and last point is given (the element's ends are known); points where f is exactly zero
/// are given as well, so a zero may come twice.
template <typename F> Points zerosOnPieces(const Points& pieces, F f, Real atFirst, Real atLast) {
    Points zeros;
    Real fa = atFirst;
    for (int k = 0; k + 1 < pieces.n; ++k) {
        const Real a = pieces[k], b = pieces[k + 1];
        const Real fb = k + 2 == pieces.n ? atLast : f(b);
        if (fa == 0)
            zeros.add(a);
        else if ((fa > 0 && fb < 0) || (fa < 0 && fb > 0))
            zeros.add(bisect(f, a, b, fa > 0));
        fa = fb;
    }
    if (fa == 0)
        zeros.add(pieces[pieces.n - 1]);
    return zeros;
}

/// The sagging moment s into an element: the moment is a cubic with M' = -V.
Real momentAlong(const Section& start, const ElementData& el, Real s) {
    return start.M - start.V * s - el.wa * s * s / 2 - el.slope * s * s * s / 6;
}

/// Where the shear vanishes inside an element, with its ends: between them the moment is
/// monotone (M' = -V).
Points momentPieces(const Section& start, const ElementData& el) {
    return piecesOfQuadratic(start.V, el.wa, el.slope / 2, el.h);
}

/// Where the moment vanishes inside an element, with its ends: between them the rotation
/// (theta' = -M / EI) is monotone.
Points rotationPieces(const Section& start, const Section& end, const ElementData& el,
                      const Points& momentTurns) {
    const Points zeros = zerosOnPieces(
        momentTurns, [&](Real s) { return momentAlong(start, el, s); }, start.M, end.M);
    Points pieces;
    pieces.add(0);
    for (int i = 0; i < zeros.n; ++i)
        if (zeros[i] > pieces[pieces.n - 1] && zeros[i] < el.h)
            pieces.add(zeros[i]);
    pieces.add(el.h);
    return pieces;
}

/// The section at the end of element e, its displacements those of the next node and its
/// moment by statics from the start.
Section endOfElement(const EquationTables& equations, const ResultTables& results,
                     const Section& start, const ElementData& el, std::int32_t e) {
    return {equations.Displacements[at(2 * e + 1)], equations.Displacements[at(2 * e + 2)],
            results.NodeShear[2 * at(e) + 1], momentAlong(start, el, el.h)};
}

std::int32_t lastElement(const MeshTables& mesh, std::int32_t last) {
    return last == 0 ? mesh.ElementCount : last;
}

/// Along() where E x I varies along the element: the moment M(t) = m0 + m1 t + m2 t^2 + m3 t^3
/// turns the section by the integral of M c and deflects it by that of (s - t) M c.
Section alongVarying(const Section& a, const ElementData& el, Real s) {
    const FlexibilityIntegrals f =
        s == el.h
            ? el.sections->element[at(el.e)].whole
            : modSections::IntegrateFlexibility(*el.sections, el.e, el.x0, static_cast<double>(s));
    const Real m[4] = {a.M, -a.V, -el.wa / 2, -el.slope / 6};
    const Real s2 = s * s;
    Section b;
    b.V = a.V + el.wa * s + el.slope * s2 / 2;
    b.M = a.M - a.V * s - el.wa * s2 / 2 - el.slope * s2 * s / 6;
    Real turn = 0, drop = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        turn += m[k] * f.A[k];
        drop += m[k] * f.B[k];
    }
    b.theta = a.theta - turn;
    b.v = a.v + a.theta * s - drop;
    return b;
}

} // namespace

ElementData ElementAt(const MeshTables& mesh, const NodalTables& nodal, std::int32_t e) {
    // In double: E, I, h and the intensities are doubles, and a flexibility rounded to double
    // changes nothing that matters.
    const double EI = mesh.ElementE[at(e)] * mesh.ElementI[at(e)];
    const double h = mesh.ElementLength[at(e)];
    const double wa = nodal.ElementLoadStart[at(e)], wb = nodal.ElementLoadEnd[at(e)];
    ElementData element{h, EI == 0 ? 0.0 : 1 / EI, wa, h == 0 ? 0.0 : (wb - wa) / h};
    if (mesh.Sections.varying(e) != nullptr) {
        element.sections = &mesh.Sections;
        element.e = e;
        element.x0 = mesh.NodeX[at(e)];
    }
    return element;
}

Section Along(const Section& a, const ElementData& el, Real s) {
    if (el.sections != nullptr)
        return alongVarying(a, el, s);
    // Divisions by the factorials are multiplications by their reciprocals: this is the inner
    // loop of the whole analysis.
    constexpr Real half = 0.5L, sixth = 1.0L / 6, f24 = 1.0L / 24, f120 = 1.0L / 120;
    const Real s2 = s * s, s3 = s2 * s, s4 = s3 * s;
    Section b;
    b.V = a.V;
    b.M = a.M - a.V * s;
    // EI v'' = -M: the rotation and deflection are the integrals of -M/EI.
    Real integralM = a.M * s - a.V * s2 * half;
    Real momentM = a.M * s2 * half - a.V * s3 * sixth;
    if (el.wa != 0 || el.slope != 0) {
        const Real s5 = s4 * s;
        b.V += el.wa * s + el.slope * s2 * half;
        b.M -= el.wa * s2 * half + el.slope * s3 * sixth;
        integralM -= el.wa * s3 * sixth + el.slope * s4 * f24;
        momentM -= el.wa * s4 * f24 + el.slope * s5 * f120;
    }
    b.theta = a.theta - el.c * integralM;
    b.v = a.v + a.theta * s - el.c * momentM;
    return b;
}

Section StartOfElement(const EquationTables& equations, const ResultTables& results,
                       std::int32_t e) {
    return {equations.Displacements[at(2 * e - 1)], equations.Displacements[at(2 * e)],
            results.NodeShear[2 * at(e)], results.NodeMoment[at(e)]};
}

Solution SolveBeam(const MeshTables& mesh, const NodalTables& nodal, EquationTables& equations,
                   ResultTables& results) {
    const Structure st = structureOf(mesh, nodal);
    if (isMechanism(nodal, st))
        return Solution::Mechanism;
    BandMatrix<Real> A = systemOf(nodal, st);
    if (!BandGaussSolve(A))
        return Solution::Mechanism;
    fill(mesh, nodal, st, A.Rhs, equations, results);
    results.ElementFlexibility.assign(at(mesh.ElementCount) + 1, 0.0);
    for (std::int32_t e = 1; e <= mesh.ElementCount; ++e)
        results.ElementFlexibility[at(e)] = static_cast<double>(ElementAt(mesh, nodal, e).c);
    return Solution::Solved;
}

ElementData SolvedElement(const MeshTables& mesh, const NodalTables& nodal,
                          const ResultTables& results, std::int32_t e) {
    ElementData el = ElementAt(mesh, nodal, e);
    el.c = results.ElementFlexibility[at(e)];
    return el;
}

ResultExtremes FindExtremes(const MeshTables& mesh, const NodalTables& nodal,
                            const EquationTables& equations, const ResultTables& results,
                            std::int32_t first, std::int32_t last) {
    ResultExtremes x;
    Range moment{&x.largestMoment, &x.smallestMoment};
    Range shear{&x.largestShear, &x.smallestShear};
    Range deflection{&x.largestDeflection, &x.smallestDeflection};
    Range rotation{&x.largestRotation, &x.smallestRotation};
    for (std::int32_t e = first; e <= lastElement(mesh, last); ++e) {
        const Section start = StartOfElement(equations, results, e);
        const ElementData el = SolvedElement(mesh, nodal, results, e);
        const Real x0 = mesh.NodeX[at(e)], x1 = mesh.NodeX[at(e + 1)];
        const Section end = endOfElement(equations, results, start, el, e);
        for (const auto& [section, position] : {std::pair{start, x0}, std::pair{end, x1}}) {
            moment.offer(section.M, position);
            shear.offer(section.V, position);
            deflection.offer(section.v, position);
            rotation.offer(section.theta, position);
        }
        // The moment is extreme where the shear vanishes, the shear where the load does.
        const Points shearZeros = momentPieces(start, el);
        for (int i = 1; i + 1 < shearZeros.n; ++i)
            moment.offer(momentAlong(start, el, shearZeros[i]), x0 + shearZeros[i]);
        const Points loadZeros = piecesOfQuadratic(el.wa, el.slope, 0, el.h);
        for (int i = 1; i + 1 < loadZeros.n; ++i)
            shear.offer(Along(start, el, loadZeros[i]).V, x0 + loadZeros[i]);
        if (el.c == 0)
            continue; // no curvature: deflection and rotation are straight between the nodes
        // The rotation is extreme where the moment vanishes, the deflection where the rotation
        // does; each is monotone between the zeros of the one before.
        const Points pieces = rotationPieces(start, end, el, shearZeros);
        for (int i = 1; i + 1 < pieces.n; ++i)
            rotation.offer(Along(start, el, pieces[i]).theta, x0 + pieces[i]);
        const Points level = zerosOnPieces(
            pieces, [&](Real s) { return Along(start, el, s).theta; }, start.theta, end.theta);
        for (int i = 0; i < level.n; ++i)
            deflection.offer(Along(start, el, level[i]).v, x0 + level[i]);
    }
    return x;
}

Extreme FarthestFromLine(const MeshTables& mesh, const NodalTables& nodal,
                         const EquationTables& equations, const ResultTables& results,
                         std::int32_t first, std::int32_t last, double x0, double v0,
                         double slope) {
    Extreme farthest;
    auto offer = [&](Real v, Real x) {
        const Real d = v - (v0 + slope * (x - x0));
        if (std::fabs(static_cast<double>(d)) > std::fabs(farthest.value))
            farthest = {static_cast<double>(d), static_cast<double>(x)};
    };
    for (std::int32_t e = first; e <= lastElement(mesh, last); ++e) {
        const Section start = StartOfElement(equations, results, e);
        const ElementData el = SolvedElement(mesh, nodal, results, e);
        const Real xe = mesh.NodeX[at(e)];
        const Section end = endOfElement(equations, results, start, el, e);
        offer(start.v, xe);
        offer(end.v, mesh.NodeX[at(e + 1)]);
        if (el.c == 0)
            continue;
        // Farthest from the line where the beam runs parallel to it.
        const Points level = zerosOnPieces(
            rotationPieces(start, end, el, momentPieces(start, el)),
            [&](Real s) { return Along(start, el, s).theta - slope; }, start.theta - slope,
            end.theta - slope);
        for (int i = 0; i < level.n; ++i)
            offer(Along(start, el, level[i]).v, xe + level[i]);
    }
    if (farthest.value == 0)
        farthest.x = x0;
    return farthest;
}

} // namespace kradon::modSegments
