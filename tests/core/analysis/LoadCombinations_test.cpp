// Load cases, combinations and envelopes: superposition against single models analysed on their
// own, envelope bounds, and pattern loading on equal continuous spans against the three-moment
// equation and textbook coefficients.
#include "../TestFolder.h"
#include "AnalysisTestSupport.h"
#include "analysis/LoadCombinations.h"
#include "model/modFileWrite.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace kradon {
namespace {

using test::ModelBuilder;
using test::RecordingSink;

/// The loads of a built model as a case of the given name.
LoadCase caseOf(const std::string& name, const ModelBuilder& loads, bool pattern = false) {
    LoadCase c = FromBeamModel(loads.build()).cases.front();
    c.name = name;
    c.pattern = pattern;
    return c;
}

CaseModel modelOf(const BeamModel& beam, std::vector<LoadCase> cases,
                  std::vector<Combination> combinations = {}) {
    CaseModel m = FromBeamModel(beam);
    m.cases = std::move(cases);
    m.combinations = std::move(combinations);
    return m;
}

CasesOutcome analyseCases(const CaseModel& m, RecordingSink& messages) {
    const test::TestFolder folder;
    NullStatusSink status;
    return AnalyseCases(m, folder.path(), status, messages);
}

CaseAnalysis analyse(const CaseModel& m) {
    RecordingSink messages;
    CasesOutcome outcome = analyseCases(m, messages);
    EXPECT_EQ(outcome.outcome, AnalyseOutcome::Completed)
        << ::testing::PrintToString(messages.texts());
    return std::move(*outcome.analysis);
}

/// Every node value of b within tolerance x the largest magnitude of a.
void expectTablesNear(const std::vector<double>& a, const std::vector<double>& b, double tolerance,
                      const std::string& what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    const double scale = std::max(test::LargestMagnitude(a), 1e-300);
    for (std::size_t i = 0; i < a.size(); ++i)
        ASSERT_NEAR(a[i], b[i], tolerance * scale) << what << " entry " << i;
}

void expectStatesNear(const ProgramState& a, const ProgramState& b, double tolerance) {
    const auto &x = a.results, &y = b.results;
    expectTablesNear(a.equations.Displacements, b.equations.Displacements, tolerance, "v");
    expectTablesNear(x.NodeDeflection, y.NodeDeflection, tolerance, "NodeDeflection");
    expectTablesNear(x.NodeShear, y.NodeShear, tolerance, "NodeShear");
    expectTablesNear(x.NodeMoment, y.NodeMoment, tolerance, "NodeMoment");
    for (std::size_t r = 1; r < x.SupportReaction.size(); ++r)
        expectTablesNear(x.SupportReaction[r], y.SupportReaction.at(r), tolerance, "reaction");
}

// ---- superposition ----

class RandomModels : public ::testing::TestWithParam<unsigned> {};

/// A beam on three supports with a left overhang, a spring and a prescribed settlement or
/// rotation, varying E and I.
BeamModel randomBeam(std::mt19937& random, bool rotation = false) {
    std::uniform_real_distribution<double> unit(0, 1);
    const double L = 6 + 6 * unit(random);
    ModelBuilder b = ModelBuilder().span(L).pinned(0.1 * L).fixed(L).pinned(0.4 * L);
    const double prescribed = 5 * unit(random) + 1;
    b.spring(0.7 * L, 2 + unit(random))
        .fixedDisplacement(0.4 * L, rotation ? 0 : prescribed, rotation ? prescribed / 1e3 : 0);
    b.linearE(0, L / 2, 200, 210).eSegment(L / 2, L, 205);
    return b.iSegment(0, L, 8000 + 4000 * unit(random)).build();
}

ModelBuilder randomLoads(std::mt19937& random, double L) {
    std::uniform_real_distribution<double> unit(0, 1);
    ModelBuilder b;
    b.span(L).pointLoad(50 * unit(random) - 10, L * unit(random));
    b.udl(20 * unit(random), L * 0.1 * unit(random), L * (0.5 + 0.5 * unit(random)));
    b.tdl(10 * unit(random), -5 * unit(random), L * 0.2, L * (0.3 + 0.6 * unit(random)));
    b.moment(30 * unit(random) - 15, L * unit(random));
    return b;
}

/// The beam with the loads of every case scaled by its factor (0 for a case the combination
/// does not name), as one model.
BeamModel scaledSingleModel(const CaseModel& m, const Combination& k) {
    CaseModel all = m;
    all.combinations.clear();
    for (LoadCase& c : all.cases) {
        double f = 0;
        for (const auto& factor : k.factors)
            if (factor.caseName == c.name)
                f = factor.factor;
        auto& l = c.loads;
        for (std::size_t r = 1; r < l.PointLoad.value.size(); ++r) {
            l.PointLoad.value[r] *= f;
            l.UDL.value[r] *= f;
            l.TDL.startValue[r] *= f;
            l.TDL.endValue[r] *= f;
            l.MomentLoad.value[r] *= f;
        }
    }
    return AllLoadsBeam(all);
}

TEST_P(RandomModels, CombinationsEqualFactoredSumsAndSingleModelsOfScaledLoads) {
    std::mt19937 random(GetParam());
    std::uniform_real_distribution<double> factor(-1, 2);
    const BeamModel beam = randomBeam(random, GetParam() % 2 == 0);
    std::vector<LoadCase> cases;
    for (const char* name : {"G", "Q", "W"})
        cases.push_back(caseOf(name, randomLoads(random, beam.span)));
    std::vector<Combination> combinations;
    for (const char* name : {"A", "B", "C", "D"})
        combinations.push_back(
            {name, {{"G", factor(random)}, {"Q", factor(random)}, {"W", factor(random)}}});
    combinations.back().factors.pop_back(); // one combination leaves W out
    const CaseModel m = modelOf(beam, cases, combinations);
    const CaseAnalysis a = analyse(m);

    std::vector<ProgramState> alone;
    for (std::size_t c = 0; c < m.cases.size(); ++c)
        alone.push_back(CombinedState(a, m, CaseLoading(m, c)));
    const ProgramState none = CombinedState(a, m, Loading{"none", {}});
    const test::TestFolder folder;
    for (std::size_t k = 0; k < m.combinations.size(); ++k) {
        SCOPED_TRACE(m.combinations[k].name);
        const Loading loading = CombinationLoading(m, k);
        const ProgramState combined = CombinedState(a, m, loading);

        // The prescribed displacements count once: D + sum of f x (case - D).
        ProgramState sum = none;
        for (const auto& [c, f] : loading.terms) {
            auto add = [f](std::vector<double>& to, const std::vector<double>& one,
                           const std::vector<double>& zero) {
                for (std::size_t i = 0; i < to.size(); ++i)
                    to[i] += f * (one[i] - zero[i]);
            };
            const ProgramState& one = alone[c];
            add(sum.equations.Displacements, one.equations.Displacements,
                none.equations.Displacements);
            add(sum.results.NodeDeflection, one.results.NodeDeflection,
                none.results.NodeDeflection);
            add(sum.results.NodeShear, one.results.NodeShear, none.results.NodeShear);
            add(sum.results.NodeMoment, one.results.NodeMoment, none.results.NodeMoment);
            for (std::size_t r = 1; r < sum.results.SupportReaction.size(); ++r)
                add(sum.results.SupportReaction[r], one.results.SupportReaction[r],
                    none.results.SupportReaction[r]);
        }
        expectStatesNear(combined, sum, 1e-12);

        // The same loads, scaled, in one .kdn file analysed on its own.
        const auto file = folder / "single.kdn";
        modFileWrite::SaveModelFile(file, scaledSingleModel(m, m.combinations[k]));
        ProgramState single;
        single.model = modFileWrite::OpenModelFile(file);
        ASSERT_EQ(test::AnalyseByCommand(single, folder.path()), AnalyseOutcome::Completed);
        ASSERT_EQ(single.mesh.NodeX, combined.mesh.NodeX);
        // Two routes through a long double solver, summed in different orders.
        expectStatesNear(single, combined, 1e-10);
        EXPECT_NEAR(combined.results.Residuals.vertical, 0,
                    1e-9 * combined.results.Residuals.totalLoad);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomModels, ::testing::Values(1u, 2u, 3u, 4u, 5u));

/// The one case of single.model as an envelope: the same extremes and node values as the model's
/// own analysis, which single then holds.
void expectExtremesOfItsOwnAnalysis(ProgramState& single) {
    const CaseModel m = FromBeamModel(single.model);
    const EnvelopeResult r = Envelope(analyse(m), {CaseLoading(m, 0)});
    const test::TestFolder folder;
    ASSERT_EQ(test::AnalyseByCommand(single, folder.path()), AnalyseOutcome::Completed);
    const ResultExtremes& x = single.results.Extremes;
    const struct {
        Quantity quantity;
        const Extreme &largest, &smallest;
        double scale;
    } quantities[] = {{Quantity::Moment, x.largestMoment, x.smallestMoment, 1e5},
                      {Quantity::Shear, x.largestShear, x.smallestShear, 1e5},
                      {Quantity::Deflection, x.largestDeflection, x.smallestDeflection, 1e-2}};
    for (const auto& q : quantities) {
        const auto& e = r.extremes[static_cast<std::size_t>(q.quantity)];
        for (const auto& [got, expected] :
             {std::pair{&e.largest, &q.largest}, std::pair{&e.smallest, &q.smallest}}) {
            EXPECT_NEAR(got->value, expected->value, 1e-9 * q.scale);
            // A zero extreme, as at the supports, is reached at several places alike.
            if (std::fabs(expected->value) > 1e-9 * q.scale) {
                EXPECT_NEAR(got->x, expected->x, 1e-6);
            }
        }
    }
    for (std::size_t n = 1; n < r.moment.size(); ++n) {
        EXPECT_EQ(r.moment[n].largest.value, r.moment[n].smallest.value);
        EXPECT_NEAR(r.moment[n].largest.value, single.results.NodeMoment[n], 1e-9 * 1e5);
        EXPECT_NEAR(r.rotation[n].largest.value, single.equations.Displacements[2 * n], 1e-12);
    }
}

TEST(LoadCombinations, ACaseAloneHasTheExtremesOfItsOwnAnalysis) {
    const ModelBuilder beam = ModelBuilder().span(10).uniformEI(205, 8000);
    ProgramState overhang, loadedEnd;
    overhang.model = ModelBuilder(beam)
                         .pinned(0)
                         .pinned(7)
                         .udl(12, 0, 10)
                         .pointLoad(30, 8.5)
                         .tdl(0, 9, 1, 6)
                         .build();
    expectExtremesOfItsOwnAnalysis(overhang);
    // The largest moment of this one lies inside its last element.
    loadedEnd.model = ModelBuilder(beam).pinned(0).pinned(10).udl(12, 9.9, 10).build();
    expectExtremesOfItsOwnAnalysis(loadedEnd);
    const MeshTables& mesh = loadedEnd.mesh;
    EXPECT_GT(loadedEnd.results.Extremes.largestMoment.x,
              mesh.NodeX[static_cast<std::size_t>(mesh.NodeCount - 1)]);
}

// ---- envelopes ----

TEST(LoadCombinations, TheEnvelopeBoundsEveryCombinationAndReachesIt) {
    std::mt19937 random(11);
    const BeamModel beam = randomBeam(random);
    std::vector<LoadCase> cases{caseOf("G", randomLoads(random, beam.span)),
                                caseOf("Q", randomLoads(random, beam.span), true)};
    const CaseModel m = modelOf(beam, cases,
                                {{"ULS", {{"G", 1.35}, {"Q", 1.5}}},
                                 {"SLS", {{"G", 1}, {"Q", 1}}},
                                 {"UPLIFT", {{"G", 1}, {"Q", -0.5}}}});
    const CaseAnalysis a = analyse(m);
    const std::vector<Loading> loadings = EnvelopeLoadings(m);
    const EnvelopeResult envelope = Envelope(a, loadings);
    ASSERT_EQ(envelope.loadings, (std::vector<std::string>{"ULS", "SLS", "UPLIFT"}));

    // Each bound is some loading's own bound, and no loading goes beyond it.
    using Table = std::vector<ValueRange> EnvelopeResult::*;
    for (const Table table :
         {&EnvelopeResult::deflection, &EnvelopeResult::rotation, &EnvelopeResult::moment,
          &EnvelopeResult::shearLeft, &EnvelopeResult::shearRight, &EnvelopeResult::reactions}) {
        const std::vector<ValueRange>& all = envelope.*table;
        std::vector<int> reached(all.size()); // 1 for the largest, 2 for the smallest
        for (std::size_t k = 0; k < loadings.size(); ++k) {
            const EnvelopeResult one = Envelope(a, {loadings[k]});
            for (std::size_t i = 0; i < all.size(); ++i) {
                const ValueRange &e = all[i], &o = (one.*table)[i];
                ASSERT_GE(e.largest.value, o.largest.value);
                ASSERT_LE(e.smallest.value, o.smallest.value);
                if (e.largest.value == o.largest.value && e.largest.by.loading == k)
                    reached[i] |= 1;
                if (e.smallest.value == o.smallest.value && e.smallest.by.loading == k)
                    reached[i] |= 2;
            }
        }
        EXPECT_EQ(reached, std::vector<int>(all.size(), 3));
    }
}

// Of loadings that give the same value, the first one listed is named.
TEST(LoadCombinations, OnATieTheFirstLoadingGoverns) {
    const BeamModel beam =
        ModelBuilder().span(10).pinned(0).pinned(10).uniformEI(205, 8000).build();
    const CaseModel m = modelOf(beam, {caseOf("G", ModelBuilder().span(10).udl(5, 0, 10))},
                                {{"A", {{"G", 1}}}, {"B", {{"G", 1}}}});
    const EnvelopeResult r = Envelope(analyse(m), EnvelopeLoadings(m));
    for (const auto& e : r.extremes)
        EXPECT_EQ(e.largest.by.loading + e.smallest.by.loading, 0u);
    for (const auto* table : {&r.deflection, &r.rotation, &r.moment, &r.shearLeft, &r.reactions})
        for (std::size_t i = 1; i < table->size(); ++i)
            ASSERT_EQ((*table)[i].largest.by.loading + (*table)[i].smallest.by.loading, 0u) << i;
}

// ---- pattern loading on equal spans ----

/// Support moments of n equal spans L under w[i] on span i by the three-moment equation (EI
/// constant, ends pinned): M[j-1] + 4 M[j] + M[j+1] = -(w[j] + w[j+1]) L^2 / 4.
std::vector<double> supportMoments(const std::vector<double>& w, double L) {
    const std::size_t n = w.size();
    std::vector<double> M(n + 1, 0.0);
    // Tridiagonal elimination over the interior supports 1..n-1.
    std::vector<double> diag(n, 4.0), rhs(n, 0.0);
    for (std::size_t j = 1; j < n; ++j)
        rhs[j] = -(w[j - 1] + w[j]) * L * L / 4;
    for (std::size_t j = 2; j < n; ++j) {
        const double f = 1 / diag[j - 1];
        diag[j] -= f;
        rhs[j] -= f * rhs[j - 1];
    }
    for (std::size_t j = n - 1; j >= 1; --j)
        M[j] = (rhs[j] - (j + 1 < n ? M[j + 1] : 0.0)) / diag[j];
    return M;
}

/// Sagging moment at x on n equal spans, kN·m for kN/m and m.
double momentAt(const std::vector<double>& w, double L, double x) {
    const std::vector<double> M = supportMoments(w, L);
    const auto i = std::min<std::size_t>(static_cast<std::size_t>(x / L), w.size() - 1);
    const double s = x - static_cast<double>(i) * L;
    return M[i] * (1 - s / L) + M[i + 1] * s / L + w[i] * s * (L - s) / 2;
}

/// The largest sagging moment anywhere on the spans: the vertex of each span's parabola.
double largestSpanMoment(const std::vector<double>& w, double L) {
    const std::vector<double> M = supportMoments(w, L);
    double largest = -1e300;
    for (std::size_t i = 0; i < w.size(); ++i) {
        double s = L / 2;
        if (w[i] != 0)
            s = std::clamp(L / 2 + (M[i + 1] - M[i]) / (w[i] * L), 0.0, L);
        for (const double at : {0.0, s, L})
            largest = std::max(largest, momentAt(w, L, static_cast<double>(i) * L + at));
    }
    return largest;
}

class EqualSpans : public ::testing::TestWithParam<std::size_t> {};

/// Spans of L m on pins under the case G of g kN/m and the patterned Q of q kN/m, with the
/// combination ULS of 1.35 G and 1.5 Q.
CaseModel equalSpans(std::size_t spans, double L, double g, double q) {
    const double length = L * static_cast<double>(spans);
    ModelBuilder beam;
    beam.span(length).uniformEI(205, 10000);
    for (std::size_t i = 0; i <= spans; ++i)
        beam.pinned(L * static_cast<double>(i));
    const auto udl = [&](double w) { return ModelBuilder().span(length).udl(w, 0, length); };
    return modelOf(beam.build(), {caseOf("G", udl(g)), caseOf("Q", udl(q), true)},
                   {{"ULS", {{"G", 1.35}, {"Q", 1.5}}}});
}

// Every arrangement of Q by the three-moment equation, for G and Q alone and for ULS.
TEST_P(EqualSpans, PatternedEnvelopeIsTheWorstArrangementAtEveryNode) {
    const std::size_t n = GetParam();
    const double L = 6, g = 10, q = 15;
    const CaseModel m = equalSpans(n, L, g, q);
    const CaseAnalysis a = analyse(m);
    ASSERT_EQ(a.spans.size(), n);
    const struct {
        Loading loading;
        double gFactor, qFactor;
    } loadings[] = {{CaseLoading(m, 0), 1, 0},
                    {CaseLoading(m, 1), 0, 1},
                    {CombinationLoading(m, 0), 1.35, 1.5}};
    for (const auto& [loading, gFactor, qFactor] : loadings) {
        SCOPED_TRACE(loading.name);
        const EnvelopeResult r = Envelope(a, {loading});
        double largest = -1e300, smallest = 1e300;
        for (std::int32_t node = 1; node <= a.frame.mesh.NodeCount; ++node) {
            const double x = a.frame.mesh.NodeX[static_cast<std::size_t>(node)];
            double high = -1e300, low = 1e300;
            for (std::uint32_t mask = 0; mask < (1u << n); ++mask) {
                std::vector<double> w(n, gFactor * g);
                for (std::size_t i = 0; i < n; ++i)
                    w[i] += (mask >> i & 1u) ? qFactor * q : 0.0;
                const double M = momentAt(w, L, x);
                high = std::max(high, M);
                low = std::min(low, M);
                largest = std::max(largest, largestSpanMoment(w, L));
                smallest = std::min(smallest, M);
            }
            // kN·m against N·m: the exact solution leaves only rounding.
            const ValueRange& got = r.moment[static_cast<std::size_t>(node)];
            ASSERT_NEAR(got.largest.value / 1000, high, 1e-9 * (std::fabs(high) + 1)) << x;
            ASSERT_NEAR(got.smallest.value / 1000, low, 1e-9 * (std::fabs(low) + 1)) << x;
        }
        const auto& extremes = r.extremes[static_cast<std::size_t>(Quantity::Moment)];
        EXPECT_NEAR(extremes.largest.value / 1000, largest, 1e-9 * largest);
        EXPECT_NEAR(extremes.smallest.value / 1000, smallest, 1e-9 * std::fabs(smallest));
    }
}

INSTANTIATE_TEST_SUITE_P(ThreeAndFour, EqualSpans, ::testing::Values(3u, 4u));

// Between nodes too: each arrangement of Q analysed as a beam of its own, for the worst of them.
TEST(PatternLoading, ExtremesAreTheWorstArrangementAnalysedAlone) {
    const std::size_t n = 3;
    const double L = 6, g = 10, q = 15, length = L * n;
    CaseModel m = equalSpans(n, L, g, q);
    m.meshDensity = 0.2; // long elements: a span's sign changes fall inside them
    const EnvelopeResult r = Envelope(analyse(m), {CombinationLoading(m, 0)});
    std::vector<ResultExtremes> alone;
    const test::TestFolder folder;
    for (std::uint32_t mask = 0; mask < (1u << n); ++mask) {
        ModelBuilder beam;
        beam.span(length).uniformEI(205, 10000).udl(1.35 * g, 0, length);
        for (std::size_t i = 0; i <= n; ++i)
            beam.pinned(L * static_cast<double>(i));
        for (std::size_t i = 0; i < n; ++i)
            if (mask >> i & 1u)
                beam.udl(1.5 * q, L * static_cast<double>(i), L * static_cast<double>(i + 1));
        ProgramState s;
        s.model = beam.build();
        s.options.MeshDensFact = 0.2f;
        ASSERT_EQ(test::AnalyseByCommand(s, folder.path()), AnalyseOutcome::Completed);
        alone.push_back(s.results.Extremes);
    }
    const struct {
        Quantity quantity;
        Extreme ResultExtremes::*largest, ResultExtremes::*smallest;
        double scale;
    } quantities[] = {
        {Quantity::Moment, &ResultExtremes::largestMoment, &ResultExtremes::smallestMoment, 1e5},
        {Quantity::Shear, &ResultExtremes::largestShear, &ResultExtremes::smallestShear, 1e5},
        {Quantity::Deflection, &ResultExtremes::largestDeflection,
         &ResultExtremes::smallestDeflection, 1e-2}};
    for (const auto& k : quantities) {
        double largest = -1e300, smallest = 1e300;
        for (const ResultExtremes& x : alone) {
            largest = std::max(largest, (x.*k.largest).value);
            smallest = std::min(smallest, (x.*k.smallest).value);
        }
        const auto& e = r.extremes[static_cast<std::size_t>(k.quantity)];
        EXPECT_NEAR(e.largest.value, largest, 1e-9 * k.scale);
        EXPECT_NEAR(e.smallest.value, smallest, 1e-9 * k.scale);
    }
}

TEST(PatternLoading, GoverningArrangementNamesTheLoadedSpans) {
    const CaseModel m = equalSpans(3, 6, 10, 15);
    const CaseAnalysis a = analyse(m);
    const EnvelopeResult r = Envelope(a, {CombinationLoading(m, 0)});
    const auto& moment = r.extremes[static_cast<std::size_t>(Quantity::Moment)];
    EXPECT_EQ(GoverningText(r, moment.smallest.by, m), "ULS with Q on spans 1, 2");
    EXPECT_EQ(GoverningText(r, moment.largest.by, m), "ULS with Q on spans 1, 3");
    const auto node = [&a](double x) {
        const auto& X = a.frame.mesh.NodeX;
        return static_cast<std::size_t>(std::find(X.begin(), X.end(), x) - X.begin());
    };
    // Span 2's middle sags most with Q on span 2 alone.
    EXPECT_EQ(GoverningText(r, r.moment[node(9)].largest.by, m), "ULS with Q on span 2");
    EXPECT_EQ(GoverningText(r, r.moment[node(9)].smallest.by, m), "ULS with Q on spans 1, 3");
    // Over a support no span's load moves the beam: no span is named for its deflection.
    EXPECT_EQ(GoverningText(r, r.deflection[node(6)].largest.by, m), "ULS with Q on no span");
    EXPECT_EQ(GoverningText(r, r.deflection[node(6)].smallest.by, m), "ULS with Q on no span");
}

TEST(PatternLoading, SpansRunBetweenVerticalSupportsAndCantileversAreSpans) {
    // Rotational springs and fixed rotations end no span; the last record of each kind ends one.
    ModelBuilder beam = ModelBuilder().span(12).pinned(2).fixed(5).spring(7, 0, 4).spring(9, 3);
    beam.fixedDisplacement(11, 0, 0.01).fixedDisplacement(10.5, 2);
    EXPECT_EQ(SpansOf(beam.build()),
              (std::vector<Span>{{0, 2}, {2, 5}, {5, 9}, {9, 10.5}, {10.5, 12}}));
    ModelBuilder loads = ModelBuilder().span(12).udl(4, 1, 10).tdl(0, 9, 3, 12);
    const CaseLoads all = caseOf("", loads.pointLoad(7, 5).pointLoad(8, 12)).loads;
    const CaseLoads middle = LoadsOnSpan(all, {5, 9}, false);
    EXPECT_EQ(middle.count(RecordKind::UDL), 1);
    EXPECT_EQ(middle.UDL.start[1], 5);
    EXPECT_EQ(middle.UDL.end[1], 9);
    EXPECT_EQ(middle.TDL.startValue[1], 2);
    EXPECT_EQ(middle.TDL.endValue[1], 6);
    EXPECT_EQ(middle.count(RecordKind::PointLoad), 1); // the load at 5 starts this span
    const CaseLoads last = LoadsOnSpan(all, {9, 12}, true);
    EXPECT_EQ(last.count(RecordKind::PointLoad), 1); // the load at the end of the beam
    EXPECT_EQ(last.TDL.endValue[1], 9);
}

// A load on the end of a span belongs to the next span only, and one on the end of the beam to
// the last: each of these loads stands on a pin, so no support takes more than its own load.
TEST(PatternLoading, ALoadOnASpanEndIsAppliedOnce) {
    CaseModel m = equalSpans(2, 6, 0, 0);
    const auto onPins = ModelBuilder().span(12).pointLoad(10, 0).pointLoad(10, 6).pointLoad(10, 12);
    m.cases[1] = caseOf("Q", onPins, true);
    const CaseAnalysis a = analyse(m);
    const EnvelopeResult r = Envelope(a, {CaseLoading(m, 1)});
    std::vector<double> largest;
    for (const ValueRange& reaction : r.reactions)
        largest.push_back(
            std::max(std::fabs(reaction.largest.value), std::fabs(reaction.smallest.value)));
    std::sort(largest.begin(), largest.end());
    ASSERT_GE(largest.size(), 3u);
    EXPECT_EQ(std::vector<double>(largest.end() - 3, largest.end()), std::vector<double>(3, 10000));
}

/// The messages of a refused analysis of the cases.
std::vector<std::string> refusal(const CaseModel& m) {
    RecordingSink messages;
    EXPECT_EQ(analyseCases(m, messages).outcome, AnalyseOutcome::CheckFailed);
    return messages.texts();
}

TEST(PatternLoading, MoreThanSixteenSpansAreRefused) {
    ModelBuilder beam;
    beam.span(17).uniformEI(205, 1000);
    for (int i = 0; i <= 17; ++i)
        beam.pinned(i);
    const auto q = caseOf("Q", ModelBuilder().span(17).udl(1, 0, 17), true);
    EXPECT_EQ(refusal(modelOf(beam.build(), {q})),
              std::vector<std::string>{"A patterned load case is applied span by span to at most "
                                       "16 spans; this beam has 17"});
}

TEST(LoadCombinations, WithoutCombinationsTheEnvelopeIsOverTheCasesAloneAndMessagesNameTheCase) {
    const BeamModel beam =
        ModelBuilder().span(10).pinned(0).pinned(10).uniformEI(205, 8000).build();
    const auto G = caseOf("G", ModelBuilder().span(10).udl(1, 0, 10));
    const std::vector<Loading> loadings =
        EnvelopeLoadings(modelOf(beam, {G, caseOf("Q", ModelBuilder().span(10).pointLoad(5, 5))}));
    ASSERT_EQ(loadings.size(), 2u);
    EXPECT_EQ(loadings[0].name, "G");
    EXPECT_EQ(loadings[1].name, "Q");
    EXPECT_EQ(loadings[1].terms, (std::vector<std::pair<std::size_t, double>>{{1, 1.0}}));
    const auto outside = caseOf("Q", ModelBuilder().span(10).pointLoad(5, 12));
    const std::vector<std::string> texts = refusal(modelOf(beam, {G, outside}));
    ASSERT_FALSE(texts.empty());
    EXPECT_TRUE(texts.front().starts_with("Load case \"Q\": ")) << texts.front();
}

} // namespace
} // namespace kradon
