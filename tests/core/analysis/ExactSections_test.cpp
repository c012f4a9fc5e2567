// Varying E and I integrated exactly along the elements: closed forms at every mesh density, the
// midpoint rule converging to them, prismatic beams unchanged, the estimate of the midpoint
// rule's error, and failures that name the place.
#include "../TextFiles.h"
#include "AnalysisTestSupport.h"
#include "mesh/modMesh.h"
#include "model/Index.h"
#include "results/modResults.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kradon {
namespace {

using test::Analyse;
using test::Analysed;
using test::ModelBuilder;

constexpr double Densities[] = {0.2, 1, 10};
const double ln2 = std::log(2.0);
// E = 200 kN/mm2 and I0 = 10000 cm4 throughout: E I0 = 2e11 N/m2 x 1e-4 m4.
constexpr double EI0 = 2e7; // N m2
constexpr double P = 10e3;  // N
constexpr double w = 5e3;   // N/m
constexpr double L = 4;     // m, the cantilevers
constexpr double Lss = 8;   // m, the simple beam

/// A beam with a closed-form deflection (m, downwards) at every x (m).
struct ClosedForm {
    const char* name;
    BeamModel model;
    std::function<double(double)> deflection;
    double probe; // a position that is a node at every density
};

// Cantilever fixed at x = L, free at x = 0, I = I0 (1 + x/L), a tip load P at 0 and a UDL w.
// By virtual work with u = 1 + x/L and a = alpha L, v(a) = integral over 1 + alpha..2 of
//   P L^3/EI0 (u - 1)(u - 1 - alpha)/u du = P L^3/EI0 [u^2/2 - (2 + alpha) u + (1 + alpha) ln u]
// plus w L^4/(2 EI0) (u - 1)^2 (u - 1 - alpha)/u du
//   = w L^4/(2 EI0) [u^3/3 - 3u^2/2 + 3u - ln u - alpha (u^2/2 - 2u + ln u)].
double taperedCantilever(double x) {
    const double a = x / L;
    auto tip = [a](double u) { return u * u / 2 - (2 + a) * u + (1 + a) * std::log(u); };
    auto udl = [a](double u) {
        return u * u * u / 3 - 1.5 * u * u + 3 * u - std::log(u) -
               a * (u * u / 2 - 2 * u + std::log(u));
    };
    return P * L * L * L / EI0 * (tip(2) - tip(1 + a)) +
           w * std::pow(L, 4) / (2 * EI0) * (udl(2) - udl(1 + a));
}

// Cantilever fixed at x = 0 with E I = EI0 (1 + x/L)^3 and a tip load P at L. With u = 1 + x/L:
//   v(alpha L) = P L^3/EI0 * integral over 1..1+alpha of (2 - u)(1 + alpha - u)/u^3 du
//              = P L^3/EI0 [-(1 + alpha)/u^2 + (3 + alpha)/u + ln u] from 1 to 1 + alpha.
double cubicCantilever(double x) {
    const double a = x / L;
    auto F = [a](double u) { return -(1 + a) / (u * u) + (3 + a) / u + std::log(u); };
    return P * L * L * L / EI0 * (F(1 + a) - F(1));
}

/// The integral over xi0..xi1 of (p0 + p1 xi + p2 xi^2) / q(xi), q = 1 + 4 xi (1 - xi) =
/// -4 (xi - r1)(xi - r2) with r = (1 +- sqrt 2)/2, by partial fractions.
double overParabola(double p0, double p1, double p2, double xi0, double xi1) {
    const double r1 = (1 + std::sqrt(2.0)) / 2, r2 = (1 - std::sqrt(2.0)) / 2;
    auto p = [&](double xi) { return p0 + p1 * xi + p2 * xi * xi; };
    const double A = p(r1) / (r1 - r2), B = p(r2) / (r2 - r1);
    auto F = [&](double xi) {
        return p2 * xi + A * std::log(std::fabs(xi - r1)) + B * std::log(std::fabs(xi - r2));
    };
    return -(F(xi1) - F(xi0)) / 4;
}

// Simple beam of span L, I = I0 (1 + 4 x (L - x)/L^2), a point load P at L/2. By virtual work
// v(a) = integral of M m / EI dx; on each stretch between 0, a, L/2 and L, M and the unit
// load's m are linear in x = L xi, so M m / EI is overParabola's.
double parabolicSimpleBeam(double x) {
    const double a = x / Lss;
    // M m on a stretch as the product (c0 + c1 xi)(d0 + d1 xi), in N m per unit load.
    auto stretch = [&](double xi0, double xi1) {
        const double mid = (xi0 + xi1) / 2;
        const double c0 = mid <= 0.5 ? 0 : P * Lss / 2,
                     c1 = mid <= 0.5 ? P * Lss / 2 : -P * Lss / 2;
        const double d0 = mid <= a ? 0 : a * Lss, d1 = mid <= a ? Lss * (1 - a) : -a * Lss;
        return overParabola(c0 * d0, c0 * d1 + c1 * d0, c1 * d1, xi0, xi1);
    };
    std::vector<double> cuts{0, std::min(a, 0.5), std::max(a, 0.5), 1};
    double v = 0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
        if (cuts[i + 1] > cuts[i])
            v += stretch(cuts[i], cuts[i + 1]);
    return v * Lss / EI0; // dx = L dxi
}

/// A span of L m with E = 200 kN/mm2 throughout and I still to come.
ModelBuilder e200(double L) {
    return ModelBuilder().span(L).eSegment(0, L, 200);
}

std::vector<ClosedForm> closedForms() {
    return {
        {"tapered cantilever",
         e200(L).fixed(L).pointLoad(10, 0).udl(5, 0, L).linearI(0, L, 10000, 20000).build(),
         taperedCantilever, 0},
        {"cantilever with E I growing as (1 + x/L)^3",
         e200(L).fixed(0).pointLoad(10, L).curveI(0, L, "10000*(1+x/4)^3").build(), cubicCantilever,
         L},
        {"simple beam with a parabolic I",
         e200(Lss)
             .pinned(0)
             .pinned(Lss)
             .pointLoad(10, Lss / 2)
             .curveI(0, Lss, "10000*(1+x*(8-x)/16)")
             .build(),
         parabolicSimpleBeam, Lss / 2},
    };
}

// Propped cantilever fixed at 0 and pinned at L, I = I0 (1 + x/L), UDL w. Released at L, its tip
// falls by w L^4/(2 EI0) (8 ln 2 - 16/3) under the load and rises by L^3/EI0 (4 ln 2 - 5/2) per
// unit of prop force: the prop carries R = w L (8 ln 2 - 16/3) / (2 (4 ln 2 - 5/2)), the clamp
// w L - R and the moment R L - w L^2/2.
const BeamModel proppedCantilever =
    e200(L).fixed(0).pinned(L).udl(5, 0, L).linearI(0, L, 10000, 20000).build();

// Deflections at every node and the residuals; the rotations of the free ends (clockwise,
// dv/dx), the integrals of M/EI; the largest deflections, the cubic cantilever's at its tip and
// the simple beam's at midspan, where the rotation changes sign inside no element.
TEST(ExactSections, ClosedFormsAtEveryDensity) {
    const double R = w * L * (8 * ln2 - 16.0 / 3) / (2 * (4 * ln2 - 2.5));
    const double turn = -(P * L * L / EI0 * (1 - ln2) + w * L * L * L / (2 * EI0) * (ln2 - 0.5));
    for (const double d : Densities) {
        std::vector<ProgramState> runs;
        for (const ClosedForm& c : closedForms()) {
            const ProgramState& s = runs.emplace_back(Analysed(c.model, d, true));
            const double scale = std::fabs(c.deflection(c.probe));
            for (std::size_t n = 1; n <= at(s.mesh.NodeCount); ++n)
                EXPECT_NEAR(s.results.NodeDeflection[n], c.deflection(s.mesh.NodeX[n]),
                            1e-9 * scale)
                    << c.name << " at density " << d << ", x = " << s.mesh.NodeX[n];
            const EquilibriumResiduals& e = s.results.Residuals;
            EXPECT_TRUE(s.results.ExactSections) << c.name;
            EXPECT_LE(std::fabs(e.vertical), 1e-10 * e.totalLoad);
            EXPECT_LE(std::fabs(e.moment), 1e-10 * e.totalLoad * s.model.span);
        }
        EXPECT_NEAR(runs[0].equations.Displacements[2], turn, 1e-9 * std::fabs(turn)) << d;
        const ProgramState& cubic = runs[1];
        const double cubicTurn = P * L * L / (4 * EI0), tip = cubicCantilever(L);
        EXPECT_NEAR(cubic.equations.Displacements[2 * at(cubic.mesh.NodeCount)], cubicTurn,
                    1e-9 * cubicTurn);
        EXPECT_NEAR(cubic.results.Extremes.largestDeflection.value, tip, 1e-9 * tip) << d;
        const Extreme& sag = runs[2].results.Extremes.largestDeflection;
        EXPECT_NEAR(sag.value, parabolicSimpleBeam(Lss / 2), 1e-9 * sag.value) << d;
        EXPECT_NEAR(sag.x, Lss / 2, 1e-6) << d;
        const auto& reaction = Analysed(proppedCantilever, d, true).results.SupportReaction;
        EXPECT_NEAR(reaction[2][1], R, 1e-9 * R) << d;
        EXPECT_NEAR(reaction[1][1], w * L - R, 1e-9 * R) << d;
        EXPECT_NEAR(reaction[1][2], R * L - w * L * L / 2, 1e-9 * w * L * L / 2) << d;
    }
}

// The midpoint rule makes each element's flexibility integral wrong by O(h^3), so nodal
// deflections by O(h^2): doubling the density divides the error by about 4.
TEST(ExactSections, MidpointRuleConvergesAtSecondOrder) {
    for (const ClosedForm& c : closedForms()) {
        const double exact = c.deflection(c.probe);
        std::vector<double> errors;
        for (const double d : {1.0, 2.0, 4.0}) {
            const ProgramState s = Analysed(c.model, d);
            EXPECT_FALSE(s.results.ExactSections);
            errors.push_back(std::fabs(
                s.results.NodeDeflection[at(modMesh::FirstNodeAt(s.mesh, c.probe))] - exact));
        }
        for (std::size_t i = 0; i + 1 < errors.size(); ++i) {
            const double order = std::log2(errors[i] / errors[i + 1]);
            EXPECT_GT(order, 1.9) << c.name;
            EXPECT_LT(order, 2.1) << c.name;
        }
    }
}

/// The largest difference at the nodes of two runs on the same mesh, and where it is.
Extreme largestDifference(const ProgramState& rule, const ProgramState& exact,
                          const std::vector<double> ResultTables::*table) {
    Extreme largest;
    for (std::int32_t n = 1; n <= rule.mesh.NodeCount; ++n) {
        const double difference = (rule.results.*table)[at(n)] - (exact.results.*table)[at(n)];
        if (std::fabs(difference) > std::fabs(largest.value))
            largest = {difference, rule.mesh.NodeX[at(n)]};
    }
    return largest;
}

// Either run states how far the midpoint rule is from the exact integration: the two runs'
// largest differences at the nodes, over the largest exact value. The cantilevers differ most at
// their free ends, the first node and the last.
TEST(ExactSections, EstimateIsTheMidpointRuleLessTheExactIntegration) {
    for (const BeamModel& m : {closedForms()[0].model, closedForms()[1].model, proppedCantilever}) {
        const ProgramState off = Analysed(m, 0.2), on = Analysed(m, 0.2, true);
        const Extreme deflection = largestDifference(off, on, &ResultTables::NodeDeflection);
        const Extreme moment = largestDifference(off, on, &ResultTables::NodeMoment);
        const double largest = test::LargestMagnitude(on.results.NodeDeflection);
        ASSERT_GT(std::fabs(deflection.value), 1e-3 * largest);
        for (const ProgramState* s : {&off, &on}) {
            const DiscretisationEstimate& d = s->results.Discretisation;
            EXPECT_TRUE(d.varies);
            EXPECT_EQ(d.unavailable, "");
            EXPECT_NEAR(d.deflection.value, deflection.value, 1e-12);
            EXPECT_EQ(d.deflection.x, deflection.x);
            EXPECT_NEAR(d.deflectionRelative, std::fabs(deflection.value) / largest, 1e-9);
            EXPECT_NEAR(d.moment.value, moment.value, 1e-6);
            EXPECT_EQ(d.moment.x, moment.x);
        }
    }
    // The cantilever is statically determinate: its moments do not depend on E and I.
    EXPECT_LT(std::fabs(Analysed(closedForms()[0].model, 0.2).results.Discretisation.moment.value),
              1e-6);
}

// Where E x I is the same all along every element the midpoint value is exact, so the option
// changes nothing: not a bit of any result, not a line of the report.
TEST(ExactSections, PrismaticBeamsGiveIdenticalResultsAndReports) {
    ModelBuilder varied = ModelBuilder().span(12).eSegment(0, 6, 200).eSegment(6, 12, 70);
    varied.pinned(0).spring(6, 5, 2).fixed(12).udl(10, 0, 12).linearI(0, 12, 9000, 9000);
    const BeamModel models[] = {
        ModelBuilder().span(10).pinned(0).pinned(10).pointLoad(50, 4).uniformEI(200, 8356).build(),
        // A linear I that does not change and a curve without x: the same everywhere.
        varied.curveI(0, 12, "2*(3000+1000)").build()};
    for (const BeamModel& m : models) {
        for (const double d : Densities) {
            const ProgramState off = Analysed(m, d), on = Analysed(m, d, true);
            EXPECT_FALSE(on.results.ExactSections);
            EXPECT_FALSE(on.results.Discretisation.varies);
            EXPECT_EQ(on.results.NodeDeflection, off.results.NodeDeflection) << d;
            EXPECT_EQ(on.results.NodeMoment, off.results.NodeMoment) << d;
            EXPECT_EQ(on.results.NodeShear, off.results.NodeShear) << d;
            EXPECT_EQ(on.results.SupportReaction, off.results.SupportReaction) << d;
            EXPECT_EQ(DoResults(on, "", 0, 0), DoResults(off, "", 0, 0)) << d;
        }
    }
}

// With varying E and I integrated exactly, one line after the heading block says so; the element
// table still gives each element's midpoint E and I.
TEST(ExactSections, ReportSaysSoAfterTheHeadingAndKeepsMidpointElementValues) {
    const BeamModel m = closedForms()[0].model;
    const ProgramState off = Analysed(m, 1), on = Analysed(m, 1, true);
    const std::vector<std::string> plain = test::ReportLines(DoResults(off, "", 0, 0));
    const std::vector<std::string> exact = test::ReportLines(DoResults(on, "", 0, 0));
    ASSERT_EQ(exact.size(), plain.size() + 1);
    EXPECT_EQ(exact[8], ReportD42);
    EXPECT_EQ(exact[9], "Varying E and I integrated exactly along each element");
    EXPECT_EQ(exact[10], "");
    const std::string elementHeading = "-- ELEMENT DATA USED IN KRADON ANALYSIS --";
    const auto plainElements = std::find(plain.begin(), plain.end(), elementHeading);
    const auto exactElements = std::find(exact.begin(), exact.end(), elementHeading);
    ASSERT_NE(exactElements, exact.end());
    EXPECT_TRUE(std::equal(plainElements, plain.end(), exactElements, exact.end()));
    EXPECT_EQ(exact[exact.size() - 1], "   8\t\t200.000\t\t19375.000"); // I at x = 3.75 m
}

// A beam whose E x I reaches 0, changes sign or cannot be evaluated inside an element has no
// finite flexibility there, and one whose E x I varies too fast cannot be integrated in
// reasonable time: with the option the analysis stops and says where (the text before
// "Calculation Error - Aborting"); without it the midpoint rule runs as ever and only the
// estimate is missing, saying why.
TEST(ExactSections, SingularOrUnevaluableSectionsNameThePlace) {
    const auto cantilever = [] { return ModelBuilder().span(4).fixed(4).pointLoad(10, 0); };
    const std::pair<BeamModel, std::string> cases[] = {
        {cantilever().eSegment(0, 4, 200).linearI(0, 4, 0, 100).build(),
         "E x I is 0 at x = 0 m (element 1): varying E and I cannot be integrated exactly across "
         "it."},
        {cantilever().eSegment(0, 4, 200).curveI(0, 4, "1000*(x-2.2)^2").build(),
         "E x I is 0 at x = 2.2 m (element 5): varying E and I cannot be integrated exactly "
         "across it."},
        // A sign change, which the input check would have refused before the analysis.
        {cantilever().eSegment(0, 4, 200).linearI(0, 4, -100, 200).build(),
         "E x I is 0 at x = 1.333333 m (element 3): varying E and I cannot be integrated exactly "
         "across it."},
        // The curve has no value below 2.1, where only the exact integration looks.
        {cantilever()
             .eSegment(0, 4, 200)
             .iSegment(0, 2, 1e4)
             .curveI(2, 4, "10000+1000*sqr(x-2.1)")
             .build(),
         "E x I cannot be evaluated at x = 2.001068 m (element 9): I definition 2: the expression "
         "\"10000+1000*sqr(x-2.1)\" takes the root of a negative number at x = 2.001068078609898 "
         "m."},
        // 80,000 waves along the first element: more pieces than any real beam needs.
        {cantilever().curveE(0, 4, "200+100*sin(1e6*x)").iSegment(0, 4, 10000).build(),
         "1/(E x I) cannot be integrated to a relative 1e-12 near x = 0.007568 m (element 1)."},
    };
    for (const auto& [model, text] : cases) {
        const test::Run on = Analyse(model, 1, true);
        EXPECT_EQ(on.outcome, modCalcs::Outcome::Failed) << text;
        EXPECT_EQ(on.messages, (std::vector<std::string>{text, "Calculation Error - Aborting"}));
        const test::Run off = Analyse(model, 1);
        EXPECT_EQ(off.outcome, modCalcs::Outcome::Completed) << text;
        EXPECT_TRUE(off.messages.empty()) << text;
        EXPECT_TRUE(off.s.results.Discretisation.varies) << text;
        EXPECT_FALSE(off.s.results.ExactSections) << text;
        EXPECT_EQ(off.s.results.Discretisation.unavailable, text);
    }
}

} // namespace
} // namespace kradon
