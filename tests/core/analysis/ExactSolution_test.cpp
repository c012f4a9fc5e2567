// The sound analysis: every load and support applied at every mesh density, equilibrium with
// springs and prescribed displacements, results independent of the mesh, nearly rigid and
// stiffless stretches, and agreement with the stiffness method on small meshes.
#include "../../../bench/BenchModels.h"
#include "AnalysisTestSupport.h"
#include "FullMeshReference.h"
#include "analysis/modSegments.h"
#include "mesh/modMesh.h"
#include "model/Index.h"
#include "model/modText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace kradon {
namespace {

using test::Analyse;
using test::Analysed;
using test::ModelBuilder;

constexpr double densities[] = {0.2, 1, 3.7, 10};

std::size_t nodeAt(const ProgramState& s, double x) {
    const auto n = modMesh::FirstNodeAt(s.mesh, x);
    EXPECT_NE(n, 0) << "no node at " << x;
    return at(n);
}

/// The loads of a model (kN) in analysis units (N), added up independently of the program:
/// downward force, clockwise moment about the left end, and the sum of magnitudes for scale.
struct LoadSums {
    double vertical = 0, moment = 0, magnitude = 0;
};

LoadSums loadSums(BeamModel m) {
    for (auto* list : {&m.PointLoad.value, &m.MomentLoad.value, &m.UDL.value, &m.TDL.startValue,
                       &m.TDL.endValue})
        for (double& v : *list)
            v *= 1000;
    LoadSums l;
    for (int r = 1; r <= m.count(RecordKind::PointLoad); ++r) {
        l.vertical += m.PointLoad.value[r];
        l.moment += m.PointLoad.value[r] * m.PointLoad.location[r];
        l.magnitude += std::fabs(m.PointLoad.value[r]);
    }
    for (int r = 1; r <= m.count(RecordKind::MomentLoad); ++r) {
        l.moment += m.MomentLoad.value[r];
        l.magnitude += std::fabs(m.MomentLoad.value[r]) / m.span;
    }
    // A linear load from w1 at a to w2 at b is a uniform w1 plus a triangle rising to w2 - w1.
    auto linear = [&l](double a, double b, double w1, double w2) {
        if (!(b > a))
            return;
        const double L = b - a, uniform = w1 * L, triangle = (w2 - w1) * L / 2;
        l.vertical += uniform + triangle;
        l.moment += uniform * (a + L / 2) + triangle * (a + 2 * L / 3);
        l.magnitude += (std::fabs(w1) + std::fabs(w2)) * L;
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
            scale = std::max(scale, std::fabs(rows[r][1]));
            scale = std::max(scale, std::fabs(rows[r][2]) / m.span);
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

// Reactions (support, column 1 vertical or 2 moment, value in N or N·m) at every density.
TEST(SoundAnalysis, ReactionsOfStaticallyKnownBeamsAtEveryDensity) {
    const auto beam = [] { return ModelBuilder().span(10).uniformEI(200, 10000); };
    const struct {
        const char* name;
        BeamModel model;
        std::vector<std::array<double, 3>> reactions;
    } cases[] = {
        // 50 kN of UDL centred at 5 and 20 kN at 3.3: 25 + 13.4 and 25 + 6.6.
        {"partial UDL and a point load",
         beam().pinned(0).pinned(10).udl(10, 2.5, 7.5).pointLoad(20, 3.3).build(),
         {{1, 1, 38.4e3}, {2, 1, 31.6e3}}},
        {"every point load at a support enters its reaction",
         beam().pinned(0).pinned(10).pointLoad(10, 0).pointLoad(6, 0).pointLoad(5, 5).build(),
         {{1, 1, 18.5e3}, {2, 1, 2.5e3}}},
        {"an interior fixed support balances both sides",
         beam().fixed(5).pointLoad(10, 0).pointLoad(10, 10).build(),
         {{1, 1, 20e3}, {1, 2, 0}}},
        // Fixed at both ends under a central load: P/2 and P L / 8 at each end, all on the first
        // support of each kind at a node.
        {"several supports at one node share nothing",
         beam().pinned(0).fixed(0).pinned(0).pinned(10).fixed(10).pointLoad(10, 5).build(),
         {{1, 1, 5e3},
          {1, 2, 0},
          {2, 1, 0},
          {2, 2, -12.5e3},
          {3, 1, 0},
          {4, 1, 5e3},
          {4, 2, 0},
          {5, 1, 0},
          {5, 2, 12.5e3}}},
    };
    for (const auto& c : cases)
        for (const double d : densities) {
            const auto s = Analysed(c.model, d);
            for (const auto& [support, column, value] : c.reactions)
                EXPECT_NEAR(s.results.SupportReaction[std::size_t(support)][std::size_t(column)],
                            value, 1e-7)
                    << c.name << " support " << support << " column " << column << " at " << d;
            expectEquilibrium(s, c.name);
        }
    // Hogging over the interior fixed support.
    const auto s = Analysed(cases[2].model);
    // The reaction table has a row for every type code of the supports added up (1 + 2 + 1 +
    // 1 + 2 here) besides row 0.
    EXPECT_EQ(Analysed(cases[3].model).results.SupportReaction.size(), 8u);
    EXPECT_NEAR(s.results.NodeMoment[nodeAt(s, 5)], -50e3, 1e-8);
}

TEST(SoundAnalysis, FixedFixedPartialUdlIsSymmetricAtEveryDensity) {
    const BeamModel m =
        ModelBuilder().span(5).fixed(0).fixed(5).udl(3, 1, 4).uniformEI(200, 10000).build();
    // Fixed-end moment of a central UDL of length c on span L: w c (3L^2 - c^2) / (24 L).
    const double w = 3e3, c = 3, L = 5, fem = w * c * (3 * L * L - c * c) / (24 * L);
    for (const double d : {0.2, 1.0, 10.0}) {
        const auto s = Analysed(m, d);
        EXPECT_NEAR(s.results.SupportReaction[1][1], 4.5e3, 1e-8) << d;
        EXPECT_NEAR(s.results.SupportReaction[2][1], 4.5e3, 1e-8) << d;
        EXPECT_NEAR(s.results.NodeMoment[1], -fem, 1e-8 * fem) << d;
        EXPECT_NEAR(s.results.SupportReaction[2][2], fem, 1e-8 * fem) << d;
    }
}

TEST(SoundAnalysis, HundredMetreBeamUnderUdlIsExactAtTheFinestMesh) {
    // EI = 2e7 N m2; the full mesh lost 1.9 % here at 10,000 elements.
    const double L = 100, w = 1e3, EI = 2e7;
    const BeamModel m = ModelBuilder()
                            .span(L)
                            .pinned(0)
                            .pinned(L)
                            .udl(1, 0, L)
                            .pointLoad(0, L / 2)
                            .uniformEI(200, 10000)
                            .build();
    for (const double d : {0.2, 1.0, 10.0}) {
        const auto s = Analysed(m, d);
        const auto mid = nodeAt(s, L / 2);
        const double v = 5 * w * std::pow(L, 4) / (384 * EI);
        EXPECT_NEAR(s.results.NodeDeflection[mid], v, 1e-9 * v) << d;
        EXPECT_NEAR(s.results.NodeMoment[mid], w * L * L / 8, 1e-9 * w * L * L / 8) << d;
        const double rotation = w * std::pow(L, 3) / (24 * EI); // clockwise at the left end
        EXPECT_NEAR(s.equations.Displacements[2], rotation, 1e-9 * rotation) << d;
    }
}

TEST(SoundAnalysis, TwoSupportsAlmostTogetherActAsAClamp) {
    // Pins at 5 and 5 + gap make the middle nearly a clamp for both 5 m spans: propped
    // cantilevers under w, 3wL/8 at the outer pins and wL^2/8 hogging at the middle.
    for (const double gap : {1e-9, 1e-14}) {
        const double L = 5, w = 2e3;
        const auto s = Analysed(ModelBuilder()
                                    .span(2 * L + gap)
                                    .pinned(0)
                                    .pinned(L)
                                    .pinned(L + gap)
                                    .pinned(2 * L + gap)
                                    .udl(2, 0, 2 * L + gap)
                                    .uniformEI(200, 10000)
                                    .build(),
                                10);
        const auto& R = s.results.SupportReaction;
        EXPECT_NEAR(R[1][1], 3 * w * L / 8, 1e-9 * w * L) << gap;
        EXPECT_NEAR(R[4][1], 3 * w * L / 8, 1e-9 * w * L) << gap;
        EXPECT_NEAR(R[2][1] + R[3][1], 10 * w * L / 8, 1e-9 * w * L) << gap;
        EXPECT_NEAR(s.results.NodeMoment[nodeAt(s, L)], -w * L * L / 8, 1e-9 * w * L * L) << gap;
        expectEquilibrium(s, "gap");
    }
}

TEST(SoundAnalysis, LoadsAlmostTogetherOnASimpleBeam) {
    const double L = 10, P = 10e3, EI = 2e7;
    for (const double gap : {1e-9, 1e-14}) {
        const auto s = Analysed(ModelBuilder()
                                    .span(L)
                                    .pinned(0)
                                    .pinned(L)
                                    .pointLoad(5, 6)
                                    .pointLoad(5, 6 + gap)
                                    .uniformEI(200, 10000)
                                    .build(),
                                10);
        // P at a = 6 on span L: deflection under it P a^2 b^2 / (3 EI L), reactions P b/L, P a/L.
        const double a = 6, b = 4, v = P * a * a * b * b / (3 * EI * L);
        EXPECT_NEAR(s.results.NodeDeflection[nodeAt(s, 6)], v, 1e-9 * v) << gap;
        EXPECT_NEAR(s.results.SupportReaction[1][1], P * b / L, 1e-9 * P) << gap;
        EXPECT_NEAR(s.results.NodeMoment[nodeAt(s, 6)], P * a * b / L, 1e-9 * P * L) << gap;
    }
}

TEST(SoundAnalysis, ElementWithoutStiffnessCutsTheBeamIntoTwoCantilevers) {
    // E is missing over a stretch of 1e-6 m at 5 m: one element that transmits nothing.
    const auto s = Analysed(ModelBuilder()
                                .span(10)
                                .fixed(0)
                                .fixed(10)
                                .pointLoad(10, 3)
                                .eSegment(0, 5, 200)
                                .eSegment(5.000001, 10, 200)
                                .iSegment(0, 10, 10000)
                                .build(),
                            3.7);
    const auto& R = s.results.SupportReaction;
    EXPECT_NEAR(R[1][1], 10e3, 1e-8);
    EXPECT_NEAR(R[1][2], -30e3, 1e-8);
    EXPECT_NEAR(R[2][1], 0, 1e-8);
    EXPECT_NEAR(R[2][2], 0, 1e-8);
    const double EI = 2e7, tip = 10e3 * 27 / (3 * EI);
    EXPECT_NEAR(s.results.NodeDeflection[nodeAt(s, 3)], tip, 1e-9 * tip);
    for (std::int32_t n = nodeAt(s, 5.000001); n <= s.mesh.NodeCount; ++n)
        EXPECT_EQ(s.results.NodeDeflection[at(n)], 0) << "node " << n;
}

TEST(SoundAnalysis, StretchesThatCannotStandAreUnstable) {
    // A cantilever whose outer half has no E; and a cantilever meeting an element without E,
    // beyond which a pinned end holds the right part vertically only.
    const BeamModel hanging = ModelBuilder()
                                  .span(10)
                                  .fixed(0)
                                  .pointLoad(10, 10)
                                  .eSegment(0, 5, 200)
                                  .iSegment(0, 10, 10000)
                                  .build();
    const BeamModel pinnedPart = ModelBuilder()
                                     .span(10)
                                     .fixed(0)
                                     .pinned(10)
                                     .pointLoad(10, 8)
                                     .eSegment(0, 5, 200)
                                     .eSegment(5.000001, 10, 200)
                                     .iSegment(0, 10, 10000)
                                     .build();
    // Two cantilevers with 2 m without E between them: from density 1 on the gap has several
    // elements and the nodes inside it float (the old elimination printed deflections of 1e33 m
    // here); at density 0.2 it is one element and the beam is two cantilevers.
    const BeamModel gap = ModelBuilder()
                              .span(10)
                              .fixed(0)
                              .fixed(10)
                              .pointLoad(10, 2)
                              .eSegment(0, 4, 200)
                              .eSegment(6, 10, 200)
                              .iSegment(0, 10, 10000)
                              .build();
    const auto twoCantilevers = Analyse(gap, 0.2);
    ASSERT_EQ(twoCantilevers.outcome, modCalcs::Outcome::Completed);
    EXPECT_NEAR(twoCantilevers.s.results.SupportReaction[1][1], 10e3, 1e-8);
    EXPECT_NEAR(twoCantilevers.s.results.SupportReaction[2][1], 0, 1e-8);
    const struct {
        const BeamModel& model;
        std::vector<double> densities;
    } cases[] = {{hanging, {0.2, 1, 10}}, {pinnedPart, {0.2, 1, 10}}, {gap, {1, 10}}};
    for (const auto& c : cases)
        for (const double d : c.densities) {
            const auto r = Analyse(c.model, d);
            EXPECT_EQ(r.outcome, modCalcs::Outcome::Unstable) << d;
            ASSERT_GE(r.messages.size(), 2u);
            // Each of these beams lacks E somewhere; the message names where.
            EXPECT_EQ(r.messages.front().rfind("Structure is unstable - Aborting analysis\r\n"
                                               "E is not defined from ",
                                               0),
                      0u)
                << d << r.messages.front();
            EXPECT_EQ(r.messages.back(), "Calculation Error - Aborting") << d;
        }
}

// Where a rigid support and a fixed displacement both hold a node's rotation, the first Fixed
// support takes the moment; a Pinned one leaves it to the fixed displacement.
TEST(SoundAnalysis, TheMomentAtANodeGoesToTheFirstFixedSupportElseToAFixedDisplacement) {
    const auto beam = [](bool fixedAtZero) {
        ModelBuilder b;
        b.span(10).pointLoad(10, 5).uniformEI(200, 1e4).pinned(10);
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

// E only over 0..4.5 and 5.5..10: the stretch between, one element at density 0.2, cuts the beam
// into parts, and each part must stand on its own supports: two vertical ones, or a vertical and a
// rotational one; a node alone between two cuts (a support at 5 makes one) needs both held at that
// node.
TEST(SoundAnalysis, EachPartBetweenCutsStandsOnItsOwnSupportsOrTheBeamIsUnstable) {
    using O = modCalcs::Outcome;
    const struct {
        const char* name;
        void (*supports)(ModelBuilder&);
        O outcome;
    } cases[] = {
        {"both parts clamped", [](ModelBuilder& b) { b.fixed(0).fixed(10); }, O::Completed},
        {"a node alone clamped", [](ModelBuilder& b) { b.fixed(0).fixed(5).fixed(10); },
         O::Completed},
        {"a node alone pinned", [](ModelBuilder& b) { b.fixed(0).pinned(5).fixed(10); },
         O::Unstable},
        {"a node alone on a rotational spring",
         [](ModelBuilder& b) { b.fixed(0).spring(5, 0, 5).fixed(10); }, O::Unstable},
        {"left part on one pin", [](ModelBuilder& b) { b.pinned(0).fixed(10); }, O::Unstable},
        {"right part on one pin", [](ModelBuilder& b) { b.fixed(0).pinned(8); }, O::Unstable},
        {"right part on two pins", [](ModelBuilder& b) { b.fixed(0).pinned(7).pinned(9); },
         O::Completed},
        {"right part on a pin and a rotational spring",
         [](ModelBuilder& b) { b.fixed(0).pinned(8).spring(10, 0, 5); }, O::Completed},
        {"right part on a rotational spring alone",
         [](ModelBuilder& b) { b.fixed(0).spring(10, 0, 5); }, O::Unstable},
    };
    for (const auto& c : cases) {
        ModelBuilder b;
        b.span(10).pointLoad(10, 2).pointLoad(10, 8).eSegment(0, 4.5, 200).eSegment(5.5, 10, 200);
        c.supports(b.iSegment(0, 10, 10000));
        EXPECT_EQ(Analyse(b.build(), 0.2).outcome, c.outcome) << c.name;
    }
}

TEST(SoundAnalysis, SpringsAndPrescribedDisplacementsCarryTheirShare) {
    const double L = 5, P = 10e3, k = 2e6, EI = 2e7, d = 0.01, held = 3 * EI * d / std::pow(L, 3);
    for (const double density : densities) {
        // A cantilever on a tip spring k under a tip load: the spring takes P k / (k + 3EI/L^3)
        // and deflects by its force / k.
        const auto s = Analysed(ModelBuilder()
                                    .span(L)
                                    .fixed(0)
                                    .spring(L, 2)
                                    .pointLoad(10, L)
                                    .uniformEI(200, 1e4)
                                    .build(),
                                density);
        const double spring = P * k / (k + 3 * EI / std::pow(L, 3));
        EXPECT_NEAR(s.results.SpringReaction[1][1], spring, 1e-9 * P);
        EXPECT_NEAR(s.results.SupportReaction[1][1], P - spring, 1e-9 * P);
        EXPECT_NEAR(s.results.NodeDeflection[nodeAt(s, L)], spring / k, 1e-9 * spring / k);
        // Fixed at 0 and pushed down 10 mm at L: the displacement is held by 3 EI d / L^3.
        const auto p = Analysed(
            ModelBuilder().span(L).fixed(0).fixedDisplacement(L, 10).uniformEI(200, 1e4).build(),
            density);
        EXPECT_EQ(p.results.NodeDeflection[nodeAt(p, L)], d);
        EXPECT_NEAR(p.results.DisplacementReaction[1][1], -held, 1e-6);
        EXPECT_NEAR(p.results.SupportReaction[1][1], held, 1e-6);
        EXPECT_NEAR(p.results.SupportReaction[1][2], -3 * EI * d / (L * L), 1e-6);
        expectEquilibrium(s, "spring");
        expectEquilibrium(p, "prescribed");
    }
}

TEST(SoundAnalysis, ExtremesOfATriangularLoadBetweenNodes) {
    // w0 rising from 0 at the left to w0 at L: largest moment w0 L^2 / (9 sqrt 3) at L / sqrt 3,
    // shears -w0 L / 6 and w0 L / 3 at the ends.
    const double L = 9, w0 = 4e3;
    for (const double d : {0.2, 1.0, 10.0}) {
        const auto s = Analysed(
            ModelBuilder().span(L).pinned(0).pinned(L).tdl(0, 4, 0, L).uniformEI(200, 1e4).build(),
            d);
        const auto& x = s.results.Extremes;
        const double Mmax = w0 * L * L / (9 * std::sqrt(3.0));
        EXPECT_NEAR(x.largestMoment.value, Mmax, 1e-9 * Mmax) << d;
        EXPECT_NEAR(x.largestMoment.x, L / std::sqrt(3.0), 1e-9 * L) << d;
        EXPECT_NEAR(x.smallestMoment.value, 0, 1e-9 * Mmax) << d;
        EXPECT_NEAR(x.smallestShear.value, -w0 * L / 6, 1e-9 * w0 * L) << d;
        EXPECT_NEAR(x.largestShear.value, w0 * L / 3, 1e-9 * w0 * L) << d;
        EXPECT_NEAR(x.largestShear.x, L, 1e-12) << d;
        // The deflection peaks where the rotation vanishes, at 0.51933 L.
        const double EI = 2e7, xv = L * std::sqrt(1 - std::sqrt(8.0 / 15));
        const double vmax = w0 * xv *
                            (7 * std::pow(L, 4) - 10 * L * L * xv * xv + 3 * std::pow(xv, 4)) /
                            (360 * EI * L);
        EXPECT_NEAR(x.largestDeflection.value, vmax, 1e-9 * vmax) << d;
        EXPECT_NEAR(x.largestDeflection.x, xv, 1e-6 * L) << d;
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
        default: {
            const double x = std::round(uniform(0, L) * 1000) / 1000;
            used.push_back(x);
            return x;
        }
        }
    };
    auto val = [&] { return std::round(uniform(-50, 50) * 100) / 100; };
    ModelBuilder b(30);
    b.span(L);
    b.support(1 + pick(1), pos());
    for (int i = pick(3); i > 0; --i)
        b.support(1 + pick(1), pos());
    for (int i = pick(2); i > 0; --i)
        b.spring(pos(), pick(1) * uniform(0.5, 50), pick(1) * uniform(100, 5000));
    for (int i = pick(2); i > 0; --i)
        b.fixedDisplacement(pos(), pick(1) * val() / 10, pick(1) * val() / 1e4);
    for (int i = 1 + pick(3); i > 0; --i)
        b.pointLoad(val(), pos());
    for (int i = pick(2); i > 0; --i) {
        const double a = pos(), c = pos();
        b.udl(val(), std::min(a, c), std::max(a, c));
    }
    for (int i = pick(2); i > 0; --i) {
        const double a = pos(), c = pos();
        b.tdl(val(), val(), std::min(a, c), std::max(a, c));
    }
    for (int i = pick(2); i > 0; --i)
        b.moment(val(), pos());
    if (prismatic)
        return b.uniformEI(uniform(10, 300), uniform(500, 50000)).build();
    test::AddE(b, pick(2), L);
    switch (pick(2)) {
    case 0:
        b.iSegment(0, L, 5000 + pick(10) * 1000);
        break;
    case 1:
        b.curveI(0, L, "5000 + 100 * x");
        break;
    default:
        b.iSegment(0, L / 2, 6000).iSegment(L / 2, L, 9000);
        break;
    }
    return b.build();
}

TEST(SoundAnalysisProperty, RandomModelsBalanceAtEveryDensity) {
    std::mt19937 rng(2026);
    int completed = 0, unstable = 0;
    for (int trial = 0; trial < 60; ++trial) {
        const BeamModel m = richModel(rng, false);
        for (const double d : densities) {
            const auto r = Analyse(m, d);
            if (r.outcome == modCalcs::Outcome::Unstable) {
                ++unstable;
                continue;
            }
            ASSERT_EQ(r.outcome, modCalcs::Outcome::Completed) << "trial " << trial;
            ++completed;
            expectEquilibrium(r.s,
                              "trial " + std::to_string(trial) + " density " + std::to_string(d));
        }
    }
    EXPECT_GT(completed, 150);
}

/// The deflection, rotation, moment just right and shears of every key point.
std::vector<double> keyPointValues(const ProgramState& s) {
    std::vector<double> v;
    for (const double x : modMesh::KeyPoints(s.model)) {
        const auto n = modMesh::FirstNodeAt(s.mesh, x);
        const auto& r = s.results;
        v.insert(v.end(),
                 {s.equations.Displacements[2 * at(n) - 1], s.equations.Displacements[2 * at(n)],
                  r.NodeMoment[at(n)], r.NodeShear[2 * at(n) - 1], r.NodeShear[2 * at(n)]});
    }
    return v;
}

/// Requires two lists of one kind of value to agree to 1e-9 of the largest value.
void expectSameValues(const std::vector<double>& a, const std::vector<double>& b,
                      const std::string& what) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); k += 5)
        for (std::size_t j = 0; j < 5; ++j) {
            double largest = 0;
            for (std::size_t i = j; i < a.size(); i += 5)
                largest = std::max({largest, std::fabs(a[i]), std::fabs(b[i])});
            EXPECT_NEAR(a[k + j], b[k + j], 1e-9 * largest) << what << " value " << k + j;
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
    for (int r = 1; r <= 30; ++r)
        EXPECT_NE(modMesh::FirstNodeAt(fine.s.mesh, m.RigidSupport.location[r]), 0);
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
            double largest = 0;
            for (const double v : full)
                largest = std::max(largest, std::fabs(v));
            for (std::size_t i = 1; i < full.size(); ++i)
                ASSERT_NEAR(exact[i], full[i], 1e-9 * largest + rounding)
                    << what << " " << i << " trial " << trial;
        };
        const double recovery = 1e-14 * ref.forceScale;
        compare(r.s.results.NodeShear, ref.NodeShear, recovery, "shear");
        compare(r.s.results.NodeMoment, ref.NodeMoment, recovery, "moment");
        std::vector<double> v(ref.Displacements.size()), vr(v.size()), t(v.size()), tr(v.size());
        for (std::size_t i = 1; i < v.size(); ++i)
            ((i % 2 ? v : t)[i] = r.s.equations.Displacements[i],
             (i % 2 ? vr : tr)[i] = ref.Displacements[i]);
        compare(v, vr, 0, "deflection");
        compare(t, tr, 0, "rotation");
    }
    EXPECT_GT(compared, 40);
}

} // namespace
} // namespace kradon
