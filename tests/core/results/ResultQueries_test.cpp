// Values between the nodes against closed-form beams, both sides of the jumps, the extremes
// search on elements whose moment changes sign twice, and the spans with their sag.
#include "../TestFolder.h"
#include "../analysis/AnalysisTestSupport.h"
#include "ClosedFormBeams.h"
#include "results/ResultQueries.h"
#include "results/ResultsFile.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace kradon {
namespace {

using test::Analysed;
using test::Beam;
using test::ModelBuilder;
using namespace test::closed;

TEST(ValuesAt, BothSidesOfAPointLoadAndTheEnds) {
    const ProgramState s = Analysed(Beam(L).pinned(0).pinned(L).pointLoad(30, 2.9).build(), 0.2);
    const auto jump = ValuesAt(s, 2.9);
    ASSERT_TRUE(jump);
    EXPECT_TRUE(jump->jump);
    EXPECT_NEAR(jump->left.shear, -P * (L - 2.9) / L, 1e-9);
    EXPECT_NEAR(jump->right.shear, P * 2.9 / L, 1e-9);
    EXPECT_NEAR(jump->left.moment, jump->right.moment, 1e-9);
    EXPECT_EQ(jump->left.deflection, jump->right.deflection);
    // The ends have one side only: the reaction's shear just inside the beam.
    const auto start = ValuesAt(s, 0), end = ValuesAt(s, L);
    ASSERT_TRUE(start && end);
    EXPECT_FALSE(start->jump || end->jump);
    EXPECT_NEAR(start->left.shear, -P * (L - 2.9) / L, 1e-9);
    EXPECT_NEAR(end->right.shear, P * 2.9 / L, 1e-9);
    // Inside the last element, 0.1 m under a UDL of 12 kN/m: M = R (L - x) - w (L - x)^2 / 2.
    const ProgramState loadedEnd =
        Analysed(Beam(L).pinned(0).pinned(L).udl(12, L - 0.1, L).build(), 0.2);
    const auto N = static_cast<std::size_t>(loadedEnd.mesh.NodeCount);
    ASSERT_EQ(loadedEnd.mesh.NodeX[N - 1], L - 0.1);
    const double w = 12e3, R = w * 0.1 * (L - 0.05) / L, probe = L - 0.04;
    const auto inLast = ValuesAt(loadedEnd, probe);
    ASSERT_TRUE(inLast);
    EXPECT_NEAR(inLast->left.moment, R * 0.04 - w * 0.04 * 0.04 / 2, 1e-9 * R);
    for (const double x : {-1e-9, L * (1 + 1e-12), std::nan("")})
        EXPECT_FALSE(ValuesAt(s, x)) << x;
}

// E only over 0..4 and 6..10, the cut one element at density 0.2: that element transmits
// nothing and runs straight between its ends.
TEST(ValuesAt, AnElementWithoutStiffnessIsStraightBetweenItsEnds) {
    ModelBuilder beam = ModelBuilder().span(10).eSegment(0, 4, 200).eSegment(6, 10, 200);
    beam.iSegment(0, 10, 1e4).fixed(0).fixed(10);
    const ProgramState s = Analysed(beam.pointLoad(10, 4).moment(5, 8).build(), 0.2);
    const auto a = ValuesAt(s, 4), b = ValuesAt(s, 6), mid = ValuesAt(s, 5.5);
    ASSERT_TRUE(a && b && mid);
    const double va = a->right.deflection, vb = b->left.deflection;
    ASSERT_GT(std::fabs(va - vb), 1e-4);
    EXPECT_NEAR(mid->left.deflection, va + (vb - va) * 0.75, 1e-15);
    EXPECT_NEAR(mid->left.rotation, (vb - va) / 2, 1e-15);
}

TEST(ValuesAt, SameAfterTheAnalysisReturnsToInputUnitsAndNoneFromAResultsFile) {
    const BeamModel m = ClosedFormBeams()[4].model;
    ProgramState inAnalysisUnits = Analysed(m, 1);
    for (std::size_t e = 1; e < inAnalysisUnits.mesh.ElementE.size(); ++e)
        inAnalysisUnits.mesh.ElementE[e] *= 1e9, inAnalysisUnits.mesh.ElementI[e] *= 1e-8;
    ProgramState s;
    s.model = m;
    const test::TestFolder folder;
    ASSERT_EQ(test::AnalyseByCommand(s, folder.path()), AnalyseOutcome::Completed);
    // The mesh now holds E in kN/mm2 and I in cm4; the values must not notice.
    const auto a = ValuesAt(inAnalysisUnits, 3.1), b = ValuesAt(s, 3.1);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->left.deflection, b->left.deflection);
    EXPECT_EQ(a->left.rotation, b->left.rotation);
    EXPECT_EQ(a->left.moment, b->left.moment);
    std::stringstream file(ResultsFileBytes(s));
    ReadResultsFile(file, s);
    EXPECT_FALSE(HasExactResults(s));
    EXPECT_FALSE(ValuesAt(s, 3.1));
}

/// The largest deflection of a solved beam by sampling it densely: a route to the extreme that
/// does not look for roots.
Extreme sampledLargestDeflection(const ProgramState& s) {
    Extreme best{-1, 0};
    for (int i = 0; i <= 20000; ++i) {
        const double x = s.model.span * i / 20000;
        const auto v = ValuesAt(s, x);
        if (v && v->left.deflection > best.value)
            best = {v->left.deflection, x};
    }
    return best;
}

/// Where the moment changes sign inside element e, by sampling.
std::vector<double> momentSignChanges(const ProgramState& s, std::int32_t e) {
    std::vector<double> changes;
    const double x0 = s.mesh.NodeX[e], x1 = s.mesh.NodeX[e + 1];
    double previous = ValuesAt(s, x0)->right.moment;
    for (int i = 1; i <= 4000; ++i) {
        const double x = x0 + (x1 - x0) * i / 4000;
        const double m = ValuesAt(s, x)->left.moment;
        if ((m > 0) != (previous > 0))
            changes.push_back(x);
        previous = m;
    }
    return changes;
}

TEST(FindExtremes, DeflectionPeakBetweenTwoZerosOfTheMomentInOneElement) {
    // At mesh density 0.2 the stretch 0..3 m is a single element. Hogging at both of its ends
    // and sagging in between, its rotation vanishes inside while it is 0 at the clamp and
    // negative at the far end: a search that looks at the halves of the element by the signs
    // at their ends sees no change and misses the deflection peak.
    struct Case {
        const char* name;
        BeamModel model;
        double exact; // m, 0 when only the sampled route is known
    };
    const Case cases[] = {
        // A point load and a moment load close together right of the loaded stretch.
        {"point and moment load",
         Beam(10).fixed(0).pinned(10).udl(20, 0, 3).pointLoad(-25, 3).moment(5, 3.5).build(), 0},
        // Clamped at both ends of the element: w l^4 / 384 EI at its middle.
        {"clamped element", Beam(10).fixed(0).fixed(3).udl(20, 0, 3).build(),
         20e3 * 81 / (384 * EI)},
    };
    for (const auto& c : cases) {
        const ProgramState s = Analysed(c.model, 0.2);
        ASSERT_EQ(s.mesh.NodeX[2], 3) << c.name;
        const Extreme found = s.results.Extremes.largestDeflection;
        const std::vector<double> zeros = momentSignChanges(s, 1);
        ASSERT_EQ(zeros.size(), 2u) << c.name;
        EXPECT_GT(found.x, zeros[0]) << c.name;
        EXPECT_LT(found.x, zeros[1]) << c.name;
        const Extreme sampled = sampledLargestDeflection(s);
        EXPECT_GE(found.value, sampled.value) << c.name;
        EXPECT_NEAR(found.value, sampled.value, 1e-6 * found.value) << c.name;
        if (c.exact != 0) {
            EXPECT_NEAR(found.value, c.exact, 1e-12 * c.exact) << c.name;
            EXPECT_NEAR(found.x, 1.5, 1e-9) << c.name;
        }
    }
}

// Values between the nodes need every table of the solution in full: one entry short in any of
// them, a failed or an unstable run, and there are none.
TEST(HasExactResults, EveryTableOfTheSolutionMustBeComplete) {
    const ProgramState s = Analysed(ClosedFormBeams()[1].model, 1);
    ASSERT_TRUE(HasExactResults(s));
    const auto expectNeeded = [&s](auto part, auto... tables) {
        for (auto table : {tables...}) {
            ProgramState t = s;
            ((t.*part).*table).pop_back();
            EXPECT_FALSE(HasExactResults(t));
        }
    };
    using M = MeshTables;
    using N = NodalTables;
    using R = ResultTables;
    expectNeeded(&ProgramState::mesh, &M::NodeX, &M::ElementLength);
    expectNeeded(&ProgramState::equations, &EquationTables::Displacements);
    expectNeeded(&ProgramState::results, &R::NodeShear, &R::NodeMoment, &R::NodeDeflection,
                 &R::ElementFlexibility);
    expectNeeded(&ProgramState::nodal, &N::ElementLoadStart, &N::ElementLoadEnd,
                 &N::ConcentratedLoad, &N::RestraintFlag, &N::PrescribedDisp, &N::SpringDiagonal);
    ProgramState unstable = s;
    unstable.equations.CalcError = -1;
    EXPECT_FALSE(HasExactResults(unstable));
    ProgramState miscounted = s;
    ++miscounted.mesh.ElementCount;
    EXPECT_FALSE(HasExactResults(miscounted));
}

// A largest or smallest value that holds along a stretch is placed where it is first reached.
TEST(FindExtremes, AValueHeldAlongAStretchIsPlacedWhereItIsFirstReached) {
    const ProgramState s = Analysed(Beam(10).pinned(0).pinned(10).pointLoad(10, 5).build(), 1);
    const ResultExtremes& x = s.results.Extremes;
    EXPECT_EQ(x.largestShear.value, 5e3);
    EXPECT_EQ(x.largestShear.x, 5);
    EXPECT_EQ(x.smallestShear.value, -5e3);
    EXPECT_EQ(x.smallestShear.x, 0);
    EXPECT_EQ(x.smallestDeflection.value, 0);
    EXPECT_EQ(x.smallestDeflection.x, 0);
    EXPECT_EQ(x.smallestMoment.x, 0);
}

TEST(FindExtremes, RotationPeaksWhereTheMomentVanishes) {
    // Simply supported UDL: +-w L^3 / 24 EI at the ends; propped cantilever: the rotation's
    // peak lies where the moment is zero, at x = L / 4 from the clamp.
    const ProgramState ss = Analysed(ClosedFormBeams()[0].model, 0.2);
    const double end = w * L * L * L / (24 * EI);
    EXPECT_NEAR(ss.results.Extremes.largestRotation.value, end, 1e-12 * end);
    EXPECT_NEAR(ss.results.Extremes.smallestRotation.value, -end, 1e-12 * end);
    EXPECT_EQ(ss.results.Extremes.smallestRotation.x, L);
    const ProgramState pc = Analysed(ClosedFormBeams()[4].model, 0.2);
    const Extreme top = pc.results.Extremes.largestRotation;
    EXPECT_NEAR(top.x, L / 4, 1e-9);
    EXPECT_NEAR(top.value, proppedCantileverUdl(L / 4).rotation, 1e-12 * top.value);
}

TEST(Jumps, AtLoadsAndInteriorSupportsOnly) {
    ModelBuilder beam = Beam(12).pinned(0).pinned(6).pinned(12).udl(10, 0, 12);
    const ProgramState s = Analysed(beam.pointLoad(20, 3).moment(15, 9).build(), 1);
    const std::vector<PointValues> jumps = Jumps(s);
    ASSERT_EQ(jumps.size(), 3u);
    EXPECT_EQ(jumps[0].x, 3);
    EXPECT_EQ(jumps[1].x, 6);
    EXPECT_EQ(jumps[2].x, 9);
    EXPECT_NEAR(jumps[0].right.shear - jumps[0].left.shear, 20e3, 1e-6);
    // A clockwise moment load raises the sagging moment by its value.
    EXPECT_NEAR(jumps[2].right.moment - jumps[2].left.moment, 15e3, 1e-6);
    for (const auto& j : jumps)
        EXPECT_TRUE(j.jump);
}

TEST(SpanResults, SpansOverhangsAndSagFromTheSupports) {
    // On two springs of different stiffness a UDL sinks the ends by different amounts; the sag
    // from the line joining them is still 5 w l^4 / 384 EI at midspan.
    const double l = 8;
    const ProgramState springs =
        Analysed(Beam(l).spring(0, 5).spring(l, 2).udl(12, 0, l).build(), 0.2);
    ASSERT_GT(springs.equations.Displacements[1], 1e-3); // the springs do give, unequally
    const auto last = static_cast<std::size_t>(2 * springs.mesh.NodeCount - 1);
    ASSERT_GT(springs.equations.Displacements[last], 2 * springs.equations.Displacements[1]);
    const auto one = SpanResults(springs);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].kind, SpanKind::Span);
    const double sag = 5 * w * l * l * l * l / (384 * EI);
    EXPECT_NEAR(one[0].sag.value, sag, 1e-12 * sag);
    EXPECT_NEAR(one[0].sag.x, l / 2, 1e-9);
    EXPECT_NEAR(SpanToDeflection(one[0]), l / sag, 1e-9 * l / sag);

    // A 6 m span with a 2 m overhang carrying P at its tip: the tip sinks P a^2 (l + a) / 3 EI,
    // the span rises by P a l^2 / (9 sqrt 3 EI) at l / sqrt 3.
    const double back = 6, a = 2;
    const ProgramState overhang =
        Analysed(Beam(back + a).pinned(0).pinned(back).pointLoad(30, back + a).build(), 0.2);
    const auto parts = SpanResults(overhang);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].kind, SpanKind::Span);
    EXPECT_EQ(parts[1].kind, SpanKind::Cantilever);
    EXPECT_EQ(parts[1].x0, back);
    EXPECT_EQ(parts[1].x1, back + a);
    const double tip = P * a * a * (back + a) / (3 * EI);
    EXPECT_NEAR(parts[1].sag.value, tip, 1e-12 * tip);
    EXPECT_EQ(parts[1].sag.x, back + a);
    EXPECT_NEAR(SpanToDeflection(parts[1]), a / tip, 1e-9 * a / tip);
    const double rise = P * a * back * back / (9 * std::sqrt(3.0) * EI);
    EXPECT_NEAR(parts[0].sag.value, -rise, 1e-12 * rise);
    EXPECT_NEAR(parts[0].sag.x, back / std::sqrt(3.0), 1e-9);
    EXPECT_NEAR(parts[0].extremes.smallestDeflection.value, -rise, 1e-12 * rise);

    // Mirrored, with an overhang of one element: the left end is a cantilever of its own.
    const double c = 0.01;
    const ProgramState left =
        Analysed(Beam(c + back).pinned(c).pinned(c + back).pointLoad(30, 0).build(), 0.2);
    ASSERT_EQ(left.mesh.NodeX[2], c);
    const auto mirrored = SpanResults(left);
    ASSERT_EQ(mirrored.size(), 2u);
    EXPECT_EQ(mirrored[0].kind, SpanKind::Cantilever);
    EXPECT_EQ(std::pair(mirrored[0].x0, mirrored[0].x1), std::pair(0.0, c));
    const double leftTip = P * c * c * (back + c) / (3 * EI);
    EXPECT_NEAR(mirrored[0].sag.value, leftTip, 1e-9 * leftTip);
    EXPECT_EQ(mirrored[0].sag.x, 0);
    EXPECT_EQ(mirrored[1].kind, SpanKind::Span);
}

} // namespace
} // namespace kradon
