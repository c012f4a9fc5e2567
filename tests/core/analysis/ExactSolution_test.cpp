// The sound analysis: beams known in closed form and every load and support at every mesh
// density, equilibrium with springs and prescribed displacements, parts that cannot stand,
// results independent of the mesh, and agreement with the stiffness method on small meshes.
#include "../../../bench/BenchModels.h"
#include "AnalysisTestSupport.h"
#include "FullMeshReference.h"
#include "model/Index.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kradon {
namespace {

using test::Analyse;
using test::Analysed;
using test::Beam;
using test::ModelBuilder;
using test::NodeAt;

constexpr double densities[] = {0.2, 1, 3.7, 10};
constexpr double EI = 2e7; // N m2, test::Beam's

/// The loads of a model (kN) in analysis units (N), added up independently of the program:
/// downward force, clockwise moment about the left end, and the sum of magnitudes for scale.
struct LoadSums {
    double vertical = 0, moment = 0, magnitude = 0;
};

LoadSums loadSums(const BeamModel& m) {
    LoadSums l;
    for (int r = 1; r <= m.count(RecordKind::PointLoad); ++r) {
        l.vertical += 1e3 * m.PointLoad.value[r];
        l.moment += 1e3 * m.PointLoad.value[r] * m.PointLoad.location[r];
        l.magnitude += 1e3 * std::fabs(m.PointLoad.value[r]);
    }
    for (int r = 1; r <= m.count(RecordKind::MomentLoad); ++r) {
        l.moment += 1e3 * m.MomentLoad.value[r];
        l.magnitude += 1e3 * std::fabs(m.MomentLoad.value[r]) / m.span;
    }
    // A linear load from w1 at a to w2 at b is a uniform w1 plus a triangle rising to w2 - w1.
    auto linear = [&l](double a, double b, double w1, double w2) {
        if (!(b > a))
            return;
        const double L = b - a, uniform = 1e3 * w1 * L, triangle = 1e3 * (w2 - w1) * L / 2;
        l.vertical += uniform + triangle;
        l.moment += uniform * (a + L / 2) + triangle * (a + 2 * L / 3);
        l.magnitude += 1e3 * (std::fabs(w1) + std::fabs(w2)) * L;
    };
    for (int r = 1; r <= m.count(RecordKind::UDL); ++r)
        linear(m.UDL.start[r], m.UDL.end[r], m.UDL.value[r], m.UDL.value[r]);
    for (int r = 1; r <= m.count(RecordKind::TDL); ++r)
        linear(m.TDL.start[r], m.TDL.end[r], m.TDL.startValue[r], m.TDL.endValue[r]);
    return l;
}

/// Requires every reaction, spring force and prescribed-displacement force to balance the loads
/// to 1e-10 of the largest force in play.
void expectEquilibrium(const ProgramState& s, const std::string& what) {
    const BeamModel& m = s.model;
    const LoadSums loads = loadSums(m);
    double vertical = loads.vertical, moment = loads.moment, scale = loads.magnitude;
    auto react = [&](const std::vector<std::vector<double>>& rows,
                     const std::vector<double>& location, int count) {
        for (int r = 1; r <= count; ++r) {
            vertical -= rows[r][1];
            moment += rows[r][2] - rows[r][1] * location[r];
            scale = std::max({scale, std::fabs(rows[r][1]), std::fabs(rows[r][2]) / m.span});
        }
    };
    react(s.results.SupportReaction, m.RigidSupport.location, m.count(RecordKind::RigidSupport));
    react(s.results.SpringReaction, m.SpringSupport.location, m.count(RecordKind::SpringSupport));
    react(s.results.DisplacementReaction, m.FixedDisplacement.location,
          m.count(RecordKind::FixedDisplacement));
    EXPECT_LE(std::fabs(vertical), 1e-10 * scale) << what;
    EXPECT_LE(std::fabs(moment), 1e-10 * scale * m.span) << what;
    EXPECT_LE(std::fabs(s.results.Residuals.vertical), 1e-10 * scale) << what;
    EXPECT_LE(std::fabs(s.results.Residuals.moment), 1e-10 * scale * m.span) << what;
}

/// One value of a solved beam (N, N·m, m, rad): column 1 (vertical) or 2 (moment) of the row of
/// a reaction table, or, with no table, the deflection (0), rotation (1) or moment (2) at the
/// node at x.
struct Probe {
    std::vector<std::vector<double>> ResultTables::*table;
    double where;
    std::size_t column;
    double value;
};
using Rows = std::vector<std::vector<double>> ResultTables::*;
constexpr Rows rigid = &ResultTables::SupportReaction, springs = &ResultTables::SpringReaction;
constexpr auto R = [](double n, double v) { return Probe{rigid, n, 1, v}; };
constexpr auto RM = [](double n, double v) { return Probe{rigid, n, 2, v}; };
constexpr auto Spring = [](double n, double v) { return Probe{springs, n, 1, v}; };
constexpr auto Held = [](double n, double v) {
    return Probe{&ResultTables::DisplacementReaction, n, 1, v};
};
constexpr auto Deflection = [](double x, double v) { return Probe{nullptr, x, 0, v}; };
constexpr auto Rotation = [](double x, double v) { return Probe{nullptr, x, 1, v}; };
constexpr auto Moment = [](double x, double v) { return Probe{nullptr, x, 2, v}; };

double valueOf(const ProgramState& s, const Probe& p) {
    if (p.table)
        return (s.results.*p.table).at(static_cast<std::size_t>(p.where)).at(p.column);
    const std::size_t n = NodeAt(s, p.where);
    const double values[] = {s.results.NodeDeflection[n], s.equations.Displacements[2 * n],
                             s.results.NodeMoment[n]};
    return values[p.column];
}

/// Requires the probes to 1e-9 at every density (of the loads where a force or moment is 0)
/// and every result to balance the loads.
void expectAtEveryDensity(const char* name, const ModelBuilder& b,
                          const std::vector<Probe>& probes) {
    SCOPED_TRACE(name);
    const BeamModel m = b.build();
    const double force = loadSums(m).magnitude;
    for (const double d : densities) {
        const ProgramState s = Analysed(m, d);
        for (const Probe& p : probes) {
            const double floor = p.column == 2 ? force * m.span : p.table ? force : 1e-6;
            EXPECT_NEAR(valueOf(s, p), p.value, 1e-9 * std::max(std::fabs(p.value), floor))
                << "probe " << p.column << " at " << p.where << ", density " << d;
        }
        expectEquilibrium(s, "density " + std::to_string(d));
    }
}

/// A span of 10 m with I = 10000 cm4 and E = 200 kN/mm2 but over 5..5.000001 m: one element
/// there transmits nothing.
ModelBuilder cutAt5() {
    return ModelBuilder()
        .span(10)
        .iSegment(0, 10, 10000)
        .eSegment(0, 5, 200)
        .eSegment(5.000001, 10, 200);
}

TEST(SoundAnalysis, BeamsKnownInClosedFormAtEveryDensity) {
    // 50 kN of UDL centred at 5 and 20 kN at 3.3: 25 + 13.4 and 25 + 6.6.
    expectAtEveryDensity("partial UDL and a point load",
                         Beam(10).pinned(0).pinned(10).udl(10, 2.5, 7.5).pointLoad(20, 3.3),
                         {R(1, 38.4e3), R(2, 31.6e3)});
    expectAtEveryDensity(
        "every point load at a support enters its reaction",
        Beam(10).pinned(0).pinned(10).pointLoad(10, 0).pointLoad(6, 0).pointLoad(5, 5),
        {R(1, 18.5e3), R(2, 2.5e3)});
    expectAtEveryDensity("an interior fixed support balances both sides, hogging",
                         Beam(10).fixed(5).pointLoad(10, 0).pointLoad(10, 10),
                         {R(1, 20e3), RM(1, 0), Moment(5, -50e3)});
    // Fixed at both ends under a central load: P/2 and P L / 8 at each end, all on the first
    // support of each kind at a node.
    const auto several =
        Beam(10).pinned(0).fixed(0).pinned(0).pinned(10).fixed(10).pointLoad(10, 5);
    expectAtEveryDensity("several supports at one node share nothing", several,
                         {R(1, 5e3), RM(1, 0), R(2, 0), RM(2, -12.5e3), R(3, 0), R(4, 5e3),
                          RM(4, 0), R(5, 0), RM(5, 12.5e3)});
    // The reaction table has a row for every type code of the supports added up besides row 0.
    EXPECT_EQ(Analysed(several.build()).results.SupportReaction.size(), 1u + 1 + 2 + 1 + 1 + 2);
    // Fixed-end moment of a central UDL of length c on span L: w c (3L^2 - c^2) / (24 L).
    const double fem = 3e3 * 3 * (3 * 25 - 9) / (24 * 5);
    expectAtEveryDensity("fixed-fixed partial UDL", Beam(5).fixed(0).fixed(5).udl(3, 1, 4),
                         {R(1, 4.5e3), R(2, 4.5e3), Moment(0, -fem), RM(2, fem)});
    expectAtEveryDensity(
        "cantilever fixed at the right end", Beam(4).fixed(4).pointLoad(3, 0),
        {R(1, 3e3), Moment(4, -12e3), RM(1, 12e3), Deflection(0, 3e3 * 64 / (3 * EI))});
    expectAtEveryDensity("two-span continuous UDL",
                         Beam(10).pinned(0).pinned(5).pinned(10).udl(4, 0, 10),
                         {R(2, 1.25 * 4e3 * 5), R(1, 0.375 * 4e3 * 5), Moment(5, -4e3 * 25 / 8)});
    // Clockwise moments on the beam: support + load - P L = 0 about the support.
    expectAtEveryDensity("moment load at a fixed support",
                         Beam(4).fixed(0).moment(5, 0).pointLoad(1, 4), {RM(1, -9e3)});
    // The full mesh lost 1.9 % here at 10,000 elements.
    expectAtEveryDensity("hundred-metre beam under UDL",
                         Beam(100).pinned(0).pinned(100).udl(1, 0, 100).pointLoad(0, 50),
                         {Deflection(50, 5e3 * 1e8 / (384 * EI)), Moment(50, 1e3 * 1e4 / 8),
                          Rotation(0, 1e3 * 1e6 / (24 * EI))});
    // A cantilever on a tip spring k under a tip load: the spring takes P k / (k + 3EI/L^3)
    // and deflects by its force / k.
    const double k = 2e6, spring = 10e3 * k / (k + 3 * EI / 125);
    expectAtEveryDensity("cantilever on a spring", Beam(5).fixed(0).spring(5, 2).pointLoad(10, 5),
                         {Spring(1, spring), R(1, 10e3 - spring), Deflection(5, spring / k)});
    // Fixed at 0 and pushed down 10 mm at L: the displacement is held by 3 EI d / L^3.
    const double held = 3 * EI * 0.01 / 125;
    expectAtEveryDensity("cantilever pushed down at its tip",
                         Beam(5).fixed(0).fixedDisplacement(5, 10),
                         {Deflection(5, 0.01), Held(1, -held), R(1, held), RM(1, -held * 5)});
    // E is missing over 1e-6 m at 5 m: one element that transmits nothing, and two cantilevers.
    expectAtEveryDensity("element without stiffness", cutAt5().fixed(0).fixed(10).pointLoad(10, 3),
                         {R(1, 10e3), RM(1, -30e3), R(2, 0), RM(2, 0),
                          Deflection(3, 10e3 * 27 / (3 * EI)), Deflection(5.000001, 0)});
    for (const double gap : {1e-9, 1e-14}) {
        // Pins at 5 and 5 + gap make the middle nearly a clamp for both 5 m spans: propped
        // cantilevers under w, 3wL/8 at the outer pins and wL^2/8 hogging at the middle.
        const double L = 10 + gap, w = 2e3;
        expectAtEveryDensity("two supports almost together",
                             Beam(L).pinned(0).pinned(5).pinned(5 + gap).pinned(L).udl(2, 0, L),
                             {R(1, 3 * w * 5 / 8), R(4, 3 * w * 5 / 8), Moment(5, -w * 25 / 8)});
        // P at a = 6 on span L: deflection under it P a^2 b^2 / (3 EI L), reactions P b/L, P a/L.
        expectAtEveryDensity(
            "loads almost together",
            Beam(10).pinned(0).pinned(10).pointLoad(5, 6).pointLoad(5, 6 + gap),
            {Deflection(6, 10e3 * 36 * 16 / (30 * EI)), R(1, 4e3), Moment(6, 10e3 * 24 / 10)});
    }
}

TEST(SoundAnalysis, ACurveOfEThatIsZeroAtOneMidpointCutsTheBeamThere) {
    // Elements take E at their midpoints. A curve that is 0 at the midpoint of one element, the
    // one ending at or after 5 m or the last one, and nowhere else, leaves that element without
    // stiffness though a node of it is no key point: the beam is two cantilevers, and a load on
    // the left one moves nothing right of the cut.
    const auto beam = [](ModelBuilder withE, double P) {
        return withE.span(8).iSegment(0, 8, 10000).fixed(0).fixed(8).pointLoad(P, 2).udl(1, 0, 8);
    };
    const MeshTables mesh = Analysed(beam(ModelBuilder().eSegment(0, 8, 200), 10).build()).mesh;
    for (const double cutEnd : {5.0, 8.0}) {
        std::size_t e = 1;
        while (mesh.NodeX[e + 1] < cutEnd)
            ++e;
        char xm[32];
        std::snprintf(xm, sizeof xm, "%.17g", (mesh.NodeX[e] + mesh.NodeX[e + 1]) * 0.5);
        SCOPED_TRACE(std::string("cut at ") + xm);
        const auto curve = ModelBuilder().curveE(0, 8, "200 * (x - " + std::string(xm) + ")^2");
        const ProgramState light = Analysed(beam(curve, 10).build());
        const ProgramState heavy = Analysed(beam(curve, 20).build());
        ASSERT_EQ(light.mesh.NodeX, mesh.NodeX);
        for (std::size_t k = 1; k < light.mesh.ElementE.size(); ++k)
            ASSERT_EQ(light.mesh.ElementE[k] == 0, k == e) << "element " << k;

        const auto& before = light.results.SupportReaction;
        const auto& after = heavy.results.SupportReaction;
        EXPECT_NEAR(after[1][1] - before[1][1], 10e3, 1e-6);
        EXPECT_NEAR(after[1][2] - before[1][2], -20e3, 1e-6);
        EXPECT_EQ(after[2], before[2]);
        const double scale = std::fabs(light.results.NodeDeflection[e]);
        for (auto n = e + 1; n <= static_cast<std::size_t>(mesh.NodeCount); ++n)
            EXPECT_NEAR(heavy.results.NodeDeflection[n], light.results.NodeDeflection[n],
                        1e-9 * scale)
                << "node " << n << " right of the cut";
        expectEquilibrium(light, "light");
        expectEquilibrium(heavy, "heavy");
    }
}

TEST(SoundAnalysis, ExtremesOfATriangularLoadBetweenNodes) {
    // w0 rising from 0 at the left to w0 at L: largest moment w0 L^2 / (9 sqrt 3) at L / sqrt 3,
    // shears -w0 L / 6 and w0 L / 3 at the ends.
    const double L = 9, w0 = 4e3;
    for (const double d : densities) {
        const auto s = Analysed(Beam(L).pinned(0).pinned(L).tdl(0, 4, 0, L).build(), d);
        const auto& x = s.results.Extremes;
        const double Mmax = w0 * L * L / (9 * std::sqrt(3.0));
        EXPECT_NEAR(x.largestMoment.value, Mmax, 1e-9 * Mmax) << d;
        EXPECT_NEAR(x.largestMoment.x, L / std::sqrt(3.0), 1e-9 * L) << d;
        EXPECT_NEAR(x.smallestMoment.value, 0, 1e-9 * Mmax) << d;
        EXPECT_NEAR(x.smallestShear.value, -w0 * L / 6, 1e-9 * w0 * L) << d;
        EXPECT_NEAR(x.largestShear.value, w0 * L / 3, 1e-9 * w0 * L) << d;
        EXPECT_NEAR(x.largestShear.x, L, 1e-12) << d;
        // The deflection peaks where the rotation vanishes, at 0.51933 L.
        const double xv = L * std::sqrt(1 - std::sqrt(8.0 / 15));
        const double vmax = w0 * xv *
                            (7 * std::pow(L, 4) - 10 * L * L * xv * xv + 3 * std::pow(xv, 4)) /
                            (360 * EI * L);
        EXPECT_NEAR(x.largestDeflection.value, vmax, 1e-9 * vmax) << d;
        EXPECT_NEAR(x.largestDeflection.x, xv, 1e-6 * L) << d;
    }
    // 20 kN/m falling to -10 kN/m over 10 m: R1 = 50 kN, and the shear 20 x - 1.5 x^2 - 50 kN is
    // largest where the load changes sign, at 20/3 m, between nodes.
    for (const double d : densities) {
        const auto s = Analysed(Beam(10).pinned(0).pinned(10).tdl(20, -10, 0, 10).build(), d);
        const Extreme& largest = s.results.Extremes.largestShear;
        EXPECT_NEAR(largest.value, 50e3 / 3, 1e-9 * 50e3) << d;
        EXPECT_NEAR(largest.x, 20.0 / 3, 1e-9) << d;
    }
}

// Where a rigid support and a fixed displacement both hold a node's rotation, the first Fixed
// support takes the moment; a Pinned one leaves it to the fixed displacement.
TEST(SoundAnalysis, TheMomentAtANodeGoesToTheFirstFixedSupportElseToAFixedDisplacement) {
    const auto beam = [](bool fixedAtZero) {
        ModelBuilder b = Beam(10).pointLoad(10, 5).pinned(10);
        fixedAtZero ? b.fixed(0) : b.pinned(0);
        return b.fixedDisplacement(0, 0, 0.001).build();
    };
    const auto pinned = Analysed(beam(false)), fixed = Analysed(beam(true));
    EXPECT_EQ(pinned.results.SupportReaction[2][2], 0);
    EXPECT_GT(std::fabs(pinned.results.DisplacementReaction[1][2]), 1e3);
    EXPECT_GT(std::fabs(fixed.results.SupportReaction[2][2]), 1e3);
    EXPECT_EQ(fixed.results.DisplacementReaction[1][2], 0);
    EXPECT_EQ(fixed.results.DisplacementReaction[1][1], 0);
    expectEquilibrium(pinned, "pinned");
    expectEquilibrium(fixed, "fixed");
}

// Without E over a stretch the beam falls into parts, and each part must stand on its own
// supports: two vertical ones, or a vertical and a rotational one; a node alone between two
// cuts needs both held at that node. A part that cannot stand makes the beam unstable, and the
// message names the stretch without E.
TEST(SoundAnalysis, EachPartBetweenCutsStandsOnItsOwnSupportsOrTheBeamIsUnstable) {
    using O = modCalcs::Outcome;
    // E only over 0..4.5 and 5.5..10: the stretch between is one element at density 0.2; a
    // support at 5 makes a node alone between two cuts.
    using B = ModelBuilder;
    const std::pair<O, void (*)(B&)> cases[] = {
        {O::Completed, [](B& b) { b.fixed(0).fixed(10); }},
        {O::Completed, [](B& b) { b.fixed(0).fixed(5).fixed(10); }}, // a node alone clamped
        {O::Unstable, [](B& b) { b.fixed(0).pinned(5).fixed(10); }}, // a node alone pinned
        {O::Unstable, [](B& b) { b.fixed(0).spring(5, 0, 5).fixed(10); }},
        {O::Unstable, [](B& b) { b.pinned(0).fixed(10); }}, // the left part on one pin
        {O::Unstable, [](B& b) { b.fixed(0).pinned(8); }},  // the right part on one pin
        {O::Completed, [](B& b) { b.fixed(0).pinned(7).pinned(9); }},
        {O::Completed, [](B& b) { b.fixed(0).pinned(8).spring(10, 0, 5); }},
        {O::Unstable, [](B& b) { b.fixed(0).spring(10, 0, 5); }}, // on a rotational spring alone
    };
    for (const auto& c : cases) {
        ModelBuilder b;
        b.span(10).pointLoad(10, 2).pointLoad(10, 8).eSegment(0, 4.5, 200).eSegment(5.5, 10, 200);
        c.second(b.iSegment(0, 10, 10000));
        EXPECT_EQ(Analyse(b.build(), 0.2).outcome, c.first) << "case " << &c - cases;
    }
    // A cantilever whose outer half has no E; one meeting an element without E beyond which a
    // pin holds the rest vertically only; and two cantilevers with 2 m without E between them:
    // from density 1 on the gap has several elements whose inner nodes float (the old
    // elimination printed deflections of 1e33 m here), at 0.2 it is one element.
    const auto span = [] { return ModelBuilder().span(10).iSegment(0, 10, 10000); };
    const BeamModel hanging = span().fixed(0).pointLoad(10, 10).eSegment(0, 5, 200).build();
    const BeamModel pinnedPart = cutAt5().fixed(0).pinned(10).pointLoad(10, 8).build();
    const BeamModel gap =
        span().fixed(0).fixed(10).pointLoad(10, 2).eSegment(0, 4, 200).eSegment(6, 10, 200).build();
    const auto twoCantilevers = Analyse(gap, 0.2);
    ASSERT_EQ(twoCantilevers.outcome, modCalcs::Outcome::Completed);
    EXPECT_NEAR(twoCantilevers.s.results.SupportReaction[1][1], 10e3, 1e-8);
    EXPECT_NEAR(twoCantilevers.s.results.SupportReaction[2][1], 0, 1e-8);
    for (const BeamModel* m : {&hanging, &pinnedPart, &gap})
        for (const double d : {0.2, 1.0, 10.0}) {
            if (m == &gap && d == 0.2)
                continue; // the two cantilevers above
            const auto r = Analyse(*m, d);
            EXPECT_EQ(r.outcome, O::Unstable) << d;
            ASSERT_GE(r.messages.size(), 2u);
            EXPECT_TRUE(r.messages.front().starts_with(
                "Structure is unstable - Aborting analysis\r\nE is not defined from "))
                << d << r.messages.front();
            EXPECT_EQ(r.messages.back(), "Calculation Error - Aborting") << d;
            EXPECT_EQ(r.s.model, *m);
            EXPECT_EQ(r.s.equations.CalcError, -1);
            EXPECT_EQ(r.s.mesh.NodeCount, 0);
        }
}

/// A random model with every kind of record: decimal positions, loads on supports, positions
/// that coincide or differ only below the 15th digit, springs, prescribed displacements, and E
/// and I of every variation.
BeamModel richModel(std::mt19937& rng, bool prismatic) {
    auto uniform = [&](double a, double b) { return std::uniform_real_distribution<>(a, b)(rng); };
    auto pick = [&](int n) { return std::uniform_int_distribution<>(0, n)(rng); };
    const double L = std::round(uniform(2, 100) * 1000) / 1000;
    std::vector<double> used{0, L};
    auto pos = [&]() -> double {
        switch (pick(5)) {
        case 0: // a position already used, perhaps as its own sum of decimals
            return used[static_cast<std::size_t>(pick(static_cast<int>(used.size()) - 1))];
        case 1: {
            const double x = std::round(uniform(0, L) * 10) / 10;
            return std::min(L, 0.1 * (x * 10 - 1) + 0.1);
        }
        default:
            return used.emplace_back(std::round(uniform(0, L) * 1000) / 1000);
        }
    };
    auto val = [&] { return std::round(uniform(-50, 50) * 100) / 100; };
    auto stretch = [&] {
        const double a = pos(), c = pos();
        return std::pair{std::min(a, c), std::max(a, c)};
    };
    ModelBuilder b(30);
    b.span(L).support(1 + pick(1), pos());
    for (int i = pick(3); i > 0; --i)
        b.support(1 + pick(1), pos());
    for (int i = pick(2); i > 0; --i)
        b.spring(pos(), pick(1) * uniform(0.5, 50), pick(1) * uniform(100, 5000));
    for (int i = pick(2); i > 0; --i)
        b.fixedDisplacement(pos(), pick(1) * val() / 10, pick(1) * val() / 1e4);
    for (int i = 1 + pick(3); i > 0; --i)
        b.pointLoad(val(), pos());
    for (int i = pick(2); i > 0; --i) {
        const auto [a, c] = stretch();
        b.udl(val(), a, c);
    }
    for (int i = pick(2); i > 0; --i) {
        const auto [a, c] = stretch();
        b.tdl(val(), val(), a, c);
    }
    for (int i = pick(2); i > 0; --i)
        b.moment(val(), pos());
    if (prismatic)
        return b.uniformEI(uniform(10, 300), uniform(500, 50000)).build();
    test::AddE(b, pick(2), L);
    const int i = pick(2);
    if (i == 0)
        b.iSegment(0, L, 5000 + pick(10) * 1000);
    else if (i == 1)
        b.curveI(0, L, "5000 + 100 * x");
    else
        b.iSegment(0, L / 2, 6000).iSegment(L / 2, L, 9000);
    return b.build();
}

// With E and I at the elements' midpoints or integrated exactly along them.
TEST(SoundAnalysisProperty, RandomModelsBalanceAtEveryDensity) {
    std::mt19937 rng(2026);
    int completed = 0;
    for (int trial = 0; trial < 60; ++trial) {
        const BeamModel m = richModel(rng, false);
        for (const double d : densities)
            for (const bool exact : {false, true}) {
                const auto r = Analyse(m, d, exact);
                if (r.outcome == modCalcs::Outcome::Unstable)
                    continue;
                ASSERT_EQ(r.outcome, modCalcs::Outcome::Completed) << "trial " << trial;
                completed += !exact;
                expectEquilibrium(r.s, "trial " + std::to_string(trial) + " at " +
                                           std::to_string(d) + (exact ? " exactly" : ""));
            }
    }
    EXPECT_GT(completed, 150);
}

/// The deflection, rotation, moment just right and shears of every key point.
std::vector<double> keyPointValues(const ProgramState& s) {
    std::vector<double> v;
    for (const double x : modMesh::KeyPoints(s.model)) {
        const auto n = NodeAt(s, x);
        const auto& r = s.results;
        v.insert(v.end(), {s.equations.Displacements[2 * n - 1], s.equations.Displacements[2 * n],
                           r.NodeMoment[n], r.NodeShear[2 * n - 1], r.NodeShear[2 * n]});
    }
    return v;
}

/// Requires two lists of key point values to agree to 1e-9 of the largest value of each kind.
void expectSameValues(const std::vector<double>& a, const std::vector<double>& b,
                      const std::string& what) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t j = 0; j < 5; ++j) {
        double largest = 0;
        for (std::size_t i = j; i < a.size(); i += 5)
            largest = std::max({largest, std::fabs(a[i]), std::fabs(b[i])});
        for (std::size_t i = j; i < a.size(); i += 5)
            EXPECT_NEAR(a[i], b[i], 1e-9 * largest) << what << " value " << i;
    }
}

TEST(SoundAnalysisProperty, PrismaticKeyPointValuesDoNotDependOnTheMesh) {
    std::mt19937 rng(77);
    int compared = 0;
    for (int trial = 0; trial < 40; ++trial) {
        const BeamModel m = richModel(rng, true);
        const auto coarse = Analyse(m, 0.2), fine = Analyse(m, 10);
        ASSERT_EQ(coarse.outcome, fine.outcome) << "trial " << trial;
        if (coarse.outcome != modCalcs::Outcome::Completed)
            continue;
        ++compared;
        expectSameValues(keyPointValues(coarse.s), keyPointValues(fine.s),
                         "trial " + std::to_string(trial));
    }
    EXPECT_GT(compared, 20);
}

TEST(SoundAnalysisProperty, LargestModelBalancesAndMatchesTheCoarseMesh) {
    BeamModel m = bench::largestBeam();
    const auto fine = Analyse(m, 10), coarse = Analyse(m, 0.2);
    ASSERT_EQ(fine.outcome, modCalcs::Outcome::Completed);
    ASSERT_EQ(coarse.outcome, modCalcs::Outcome::Completed);
    EXPECT_GT(fine.s.mesh.ElementCount, 30000);
    expectEquilibrium(fine.s, "density 10");
    expectEquilibrium(coarse.s, "density 0.2");
    expectSameValues(keyPointValues(coarse.s), keyPointValues(fine.s), "largest model");
}

TEST(SoundAnalysisProperty, AgreesWithTheStiffnessMethodOnSmallMeshes) {
    // On a few dozen elements both routes must agree to 1e-9 of the largest value of each kind;
    // the reference's forces come from k u in double and carry its rounding on top.
    std::mt19937 rng(4242);
    int compared = 0;
    for (int trial = 0; trial < 100; ++trial) {
        const auto r = Analyse(test::RandomModel(rng), 1);
        if (r.outcome != modCalcs::Outcome::Completed)
            continue;
        MeshTables mesh = r.s.mesh; // E and I back in N/m2 and m4, as the solution took them
        for (std::size_t e = 1; e < mesh.ElementE.size(); ++e)
            mesh.ElementE[e] *= 1e9, mesh.ElementI[e] *= 1e-8;
        const auto ref = test::SolveFullMesh(mesh, r.s.nodal);
        ASSERT_TRUE(ref.solved) << "trial " << trial;
        ++compared;
        auto compare = [&](const std::vector<double>& exact, const std::vector<double>& full,
                           double rounding, const char* what) {
            const double largest = test::LargestMagnitude(full);
            for (std::size_t i = 1; i < full.size(); ++i)
                ASSERT_NEAR(exact[i], full[i], 1e-9 * largest + rounding)
                    << what << " " << i << " trial " << trial;
        };
        compare(r.s.results.NodeShear, ref.NodeShear, 1e-14 * ref.forceScale, "shear");
        compare(r.s.results.NodeMoment, ref.NodeMoment, 1e-14 * ref.forceScale, "moment");
        // Deflections at the odd equations, rotations at the even ones, each of its own scale.
        for (std::size_t parity : {0, 1}) {
            std::vector<double> mine(ref.Displacements.size()), full(mine.size());
            for (std::size_t i = 1; i < mine.size(); ++i)
                if (i % 2 == parity)
                    mine[i] = r.s.equations.Displacements[i], full[i] = ref.Displacements[i];
            compare(mine, full, 0, parity ? "deflection" : "rotation");
        }
    }
    EXPECT_GT(compared, 40);
}

} // namespace
} // namespace kradon
