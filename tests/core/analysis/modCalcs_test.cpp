// Whole analyses against closed forms, the driver's log and failures, the input check, and the
// banded solver against the dense elimination kept here as the reference.
#include "../TestFolder.h"
#include "../results/ClosedFormBeams.h"
#include "AnalysisTestSupport.h"
#include "FullMeshReference.h"
#include "ModelBuilder.h"
#include "analysis/AnalyseCommand.h"
#include "analysis/BandMatrix.h"
#include "analysis/modCalcs.h"
#include "analysis/modCheck.h"
#include "analysis/modUnits.h"
#include "mesh/modMesh.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <vector>

namespace kradon {
namespace {

using test::ModelBuilder;
using test::RecordingSink;
using test::RecordingStatus;
using test::UnstableModel;

// E 200 kN/mm2 and I 10000 cm4: EI = 2e11 N/m2 x 1e-4 m4.
constexpr double EI = 2e7;

/// Closed forms hold at every mesh density: the results at the nodes are exact.
class ClosedForm : public ::testing::TestWithParam<double> {
protected:
    static ProgramState analysed(const BeamModel& m) { return test::Analysed(m, GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(MeshDensities, ClosedForm, ::testing::Values(0.2, 1.0, 10.0));

std::size_t node(const ProgramState& s, double x) {
    return static_cast<std::size_t>(modMesh::FirstNodeAt(s.mesh, x));
}

// Hermite elements are exact at the nodes for these loads; 1e-9 relative covers rounding.
void expectRel(double actual, double expected) {
    EXPECT_NEAR(actual, expected, 1e-9 * std::fabs(expected) + 1e-9) << "expected " << expected;
}

// Every closed-form beam at every node: deflection, rotation, moment, the shear at the end of
// every element (the side of a load that the closed form gives) and the end reactions.
TEST_P(ClosedForm, EveryNodeOfTheClosedFormBeams) {
    for (const auto& beam : test::closed::ClosedFormBeams()) {
        const auto s = analysed(beam.model);
        const auto& r = s.results;
        const auto N = static_cast<std::size_t>(s.mesh.NodeCount);
        std::vector<SectionValues> exact(N + 1);
        SectionValues scale;
        for (std::size_t n = 1; n <= N; ++n) {
            exact[n] = beam.exact(s.mesh.NodeX[n]);
            scale.deflection = std::max(scale.deflection, std::fabs(exact[n].deflection));
            scale.rotation = std::max(scale.rotation, std::fabs(exact[n].rotation));
            scale.moment = std::max(scale.moment, std::fabs(exact[n].moment));
            scale.shear = std::max(scale.shear, std::fabs(exact[n].shear));
        }
        for (std::size_t n = 1; n <= N; ++n) {
            EXPECT_NEAR(r.NodeDeflection[n], exact[n].deflection, 1e-9 * scale.deflection)
                << beam.name << " node " << n;
            EXPECT_NEAR(s.equations.Displacements[2 * n], exact[n].rotation,
                        1e-9 * scale.rotation + 1e-15)
                << beam.name << " node " << n;
            EXPECT_NEAR(r.NodeMoment[n], exact[n].moment, 1e-9 * scale.moment)
                << beam.name << " node " << n;
            if (n > 1) {
                EXPECT_NEAR(r.NodeShear[2 * n - 1], exact[n].shear, 1e-9 * scale.shear)
                    << beam.name << " node " << n;
            }
        }
        // Upwards and clockwise on the beam: the shear and moment just inside each end.
        EXPECT_NEAR(r.SupportReaction[1][1], -beam.exact(0).shear, 1e-9 * scale.shear);
        if (beam.model.RigidSupport.type[1] == SupportType::Fixed) {
            EXPECT_NEAR(r.SupportReaction[1][2], exact[1].moment, 1e-9 * scale.moment);
        }
        if (beam.model.count(RecordKind::RigidSupport) == 2) {
            EXPECT_NEAR(r.SupportReaction[2][1], exact[N].shear, 1e-9 * scale.shear);
            const double fixedEnd = beam.model.RigidSupport.type[2] == SupportType::Fixed;
            EXPECT_NEAR(r.SupportReaction[2][2], -fixedEnd * exact[N].moment, 1e-9 * scale.moment);
        }
    }
}

TEST_P(ClosedForm, CantileverFixedAtTheRightEnd) {
    const double L = 4, P = 3e3;
    const auto right =
        analysed(ModelBuilder().span(L).fixed(L).pointLoad(3, 0).uniformEI(200, 10000).build());
    const auto last = static_cast<std::size_t>(right.mesh.NodeCount);
    expectRel(right.results.SupportReaction[1][1], P);
    expectRel(right.results.NodeMoment[last], -P * L);
    expectRel(right.results.SupportReaction[1][2], P * L);
    expectRel(right.results.NodeDeflection[1], P * L * L * L / (3 * EI));
}

TEST_P(ClosedForm, TwoSpanContinuousUdl) {
    const double L = 5, w = 4e3;
    const auto s = analysed(ModelBuilder()
                                .span(2 * L)
                                .pinned(0)
                                .pinned(L)
                                .pinned(2 * L)
                                .udl(4, 0, 2 * L)
                                .uniformEI(200, 10000)
                                .build());
    expectRel(s.results.SupportReaction[2][1], 1.25 * w * L);
    expectRel(s.results.SupportReaction[1][1], 0.375 * w * L);
    expectRel(s.results.NodeMoment[node(s, L)], -w * L * L / 8);
}

TEST_P(ClosedForm, MomentReactionBalancesMomentLoadAtFixedSupport) {
    const auto s = analysed(
        ModelBuilder().span(4).fixed(0).moment(5, 0).pointLoad(1, 4).uniformEI(200, 10000).build());
    // Clockwise moments on the beam: support + load - P L = 0 about the support.
    expectRel(s.results.SupportReaction[1][2] + 5e3, -1e3 * 4);
}

TEST(RunAnalysis, LogLinesAndPercentagesInOrder) {
    ProgramState s;
    s.model =
        ModelBuilder().span(10).pinned(0).pinned(10).pointLoad(10, 5).uniformEI(200, 10000).build();
    RecordingSink sink;
    RecordingStatus status;
    ASSERT_EQ(modCalcs::RunAnalysis(s, status, sink), modCalcs::Outcome::Completed);
    const std::vector<std::string> expected{"Meshing....",
                                            "pb 10",
                                            "Element Stiffnesses......",
                                            "pb 30",
                                            "Restricting Global Matrix...",
                                            "pb 40",
                                            "Solving.......",
                                            "pb 70",
                                            "Backsubstituting.......",
                                            "pb 80",
                                            "Preparing Graphics.....",
                                            "pb 100"};
    EXPECT_EQ(status.log, expected);
}

TEST(AnalyseCore, UnstableNamesItsCauseAndKeepsTheModel) {
    const test::TestFolder dir;
    ProgramState s;
    s.model = UnstableModel();
    const BeamModel before = s.model;
    RecordingSink sink;
    RecordingStatus status;
    const AnalyseResult r = AnalyseCore(s, dir.path(), status, sink);
    EXPECT_EQ(r.outcome, AnalyseOutcome::Unstable);
    // The stretch without E is warned about before the analysis and named as the likely cause.
    const std::string cause = "E is not defined from 5 m to 10 m: that stretch carries nothing.";
    ASSERT_EQ(sink.texts(), (std::vector<std::string>{
                                cause, "Structure is unstable - Aborting analysis\r\n" + cause,
                                "Calculation Error - Aborting"}));
    EXPECT_EQ(sink.shown[0].title, "Input Data Checking Routine");
    EXPECT_EQ(sink.shown[1].title, "Gauss Elimination Error");
    EXPECT_EQ(sink.shown[2].title, "FEA Subroutine");
    EXPECT_EQ(s.model, before);
}

TEST(AnalyseCore, AGateThatStopsAtTheWarningsChangesNothing) {
    const test::TestFolder dir;
    ProgramState s;
    s.model = UnstableModel();
    s.results.NodeMoment = {0, 7};
    const ProgramState before = s;
    RecordingSink sink;
    RecordingStatus status;
    std::vector<std::string> given;
    const AnalyseResult r = AnalyseCore(s, dir.path(), status, sink, [&](const auto& warnings) {
        given = warnings;
        return false;
    });
    EXPECT_EQ(r.outcome, AnalyseOutcome::Cancelled);
    EXPECT_EQ(given, std::vector<std::string>{
                         "E is not defined from 5 m to 10 m: that stretch carries nothing."});
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_TRUE(status.log.empty());
    EXPECT_EQ(s.model, before.model);
    EXPECT_EQ(s.results.NodeMoment, before.results.NodeMoment);
}

TEST(AnalyseCore, ResultsThatAreNotFiniteFailTheRunAndLeaveNoResults) {
    // E = 1e-308 kN/mm2 makes every stiffness too small for the deflections to be held.
    const test::TestFolder dir;
    ProgramState s;
    s.model =
        ModelBuilder().span(10).pinned(0).pinned(10).pointLoad(10, 5).uniformEI(1e-308, 1).build();
    RecordingSink sink;
    RecordingStatus status;
    EXPECT_EQ(AnalyseCore(s, dir.path(), status, sink).outcome, AnalyseOutcome::Failed);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].title, "FEA Subroutine");
    EXPECT_EQ(sink.shown[0].text,
              "Calculation Error - Aborting\r\nThe results are not all finite numbers (the "
              "deflection at x = 0.625 m is infinite): E or I is too small, or a load too large, "
              "for the beam to be calculated.");
    EXPECT_EQ(s.mesh.NodeCount, 0);
    EXPECT_EQ(s.results.NodeDeflection, std::vector<double>{0.0});
}

// Every table from its first entry on; the node of equations and shears as they are numbered.
TEST(NonFiniteResult, NamesTheFirstResultThatIsNotANumberAndWhere) {
    const double inf = INFINITY, nan = NAN;
    using Rows = std::vector<std::vector<double>>;
    const struct {
        std::vector<double> deflection, displacements, moment, shear;
        Rows rigid, springs;
        const char* named;
    } cases[] = {
        {{0, inf, 0}, {}, {}, {}, {}, {}, "the deflection at x = 0 m is infinite"},
        {{}, {0, 0, nan, 0, 0}, {}, {}, {}, {}, "the rotation at x = 0 m is not a number"},
        {{}, {0, 0, 0, -inf, 0}, {0, 0, nan}, {}, {}, {}, "the rotation at x = 2 m is infinite"},
        {{}, {}, {0, 0, nan}, {}, {}, {}, "the bending moment at x = 2 m is not a number"},
        {{}, {}, {}, {0, 0, 0, inf}, {}, {}, "the shear force at x = 2 m is infinite"},
        {{}, {}, {}, {}, {{}, {0, 0, inf}}, {}, "the reaction of rigid support 1 is infinite"},
        {{},
         {},
         {},
         {},
         {},
         {{}, {0, 0}, {0, nan}},
         "the reaction of spring support 2 is not a number"},
    };
    for (const auto& c : cases) {
        ProgramState s;
        s.mesh.NodeX = {0, 0, 2};
        s.results.NodeDeflection = c.deflection;
        s.equations.Displacements = c.displacements;
        s.results.NodeMoment = c.moment;
        s.results.NodeShear = c.shear;
        s.results.SupportReaction = c.rigid;
        s.results.SpringReaction = c.springs;
        EXPECT_EQ(modCalcs::NonFiniteResult(s), std::optional<std::string>(c.named));
    }
    EXPECT_EQ(modCalcs::NonFiniteResult(ProgramState{}), std::nullopt);
}

TEST(AnalyseCore, CompletedRunKeepsTheModelAndTheMeshInInputUnitsAndTimesTheRun) {
    const test::TestFolder dir;
    ProgramState s;
    s.model =
        ModelBuilder().span(10).pinned(0).pinned(10).pointLoad(10, 5).uniformEI(200, 10000).build();
    RecordingSink sink;
    RecordingStatus status;
    const AnalyseResult r = AnalyseCore(s, dir.path(), status, sink);
    EXPECT_EQ(r.outcome, AnalyseOutcome::Completed);
    EXPECT_EQ(s.model.PointLoad.value[1], 10);
    EXPECT_EQ(s.mesh.ElementE[1], 200);
    EXPECT_GE(r.AnalysisTime, 0);
    EXPECT_EQ(status.log.front(), "pb 0");
    EXPECT_EQ(status.log[1], "Kradon Analysis Initialised......");
    EXPECT_EQ(AnalysisTimeText(2.5), "Previous Analysis time was 2.5s");
}

TEST(RunAnalysis, UnstableIsAnOutcomeThatLeavesTheModelAlone) {
    // A cantilever with E defined nowhere near the tip: the last elements have no stiffness.
    ProgramState s;
    s.model = ModelBuilder()
                  .span(10)
                  .fixed(0)
                  .pointLoad(10, 10)
                  .eSegment(0, 5, 200)
                  .iSegment(0, 10, 10000)
                  .build();
    const BeamModel before = s.model;
    RecordingSink sink;
    RecordingStatus status;
    EXPECT_EQ(modCalcs::RunAnalysis(s, status, sink), modCalcs::Outcome::Unstable);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{
                                "Structure is unstable - Aborting analysis\r\nE is not defined "
                                "from 5 m to 10 m: that stretch carries nothing.",
                                "Calculation Error - Aborting"}));
    EXPECT_EQ(status.log.back(), "Solving.......");
    EXPECT_EQ(s.model, before);
    EXPECT_EQ(s.equations.CalcError, -1);
    EXPECT_EQ(s.mesh.NodeCount, 0);
}

TEST(CheckInput, MessagesAndOrder) {
    RecordingSink empty;
    EXPECT_FALSE(modCheck::CheckInput(ModelBuilder().build(), empty));
    EXPECT_EQ(empty.texts(), std::vector<std::string>{"No input for calculation"});
    EXPECT_EQ(empty.shown[0].title, "Kradon by Tarel Vestrun");

    RecordingSink three;
    EXPECT_FALSE(modCheck::CheckInput(ModelBuilder().span(10).pinned(3).pinned(3).build(), three));
    EXPECT_EQ(three.texts(),
              (std::vector<std::string>{"No beam properties included in input",
                                        "Number/location of supports is erroneous in input",
                                        "No loads/displacements included in input"}));

    RecordingSink outside;
    EXPECT_FALSE(modCheck::CheckInput(ModelBuilder()
                                          .span(10)
                                          .pinned(0)
                                          .pinned(10)
                                          .pointLoad(1, 10)
                                          .pointLoad(1, 10.001)
                                          .uniformEI(200, 1)
                                          .iSegment(0, 11, 1)
                                          .build(),
                                      outside));
    ASSERT_EQ(outside.shown.size(), 1u);
    EXPECT_EQ(outside.shown[0].text,
              "Elements outside boundaries are:\r\nPoint Load 2\r\nI-value 2\r\n");
    EXPECT_EQ(outside.shown[0].title, "Input Data Checking Routine");

    RecordingSink negative;
    EXPECT_FALSE(modCheck::CheckInput(ModelBuilder()
                                          .span(10)
                                          .pinned(0)
                                          .pinned(10)
                                          .pointLoad(1, 2)
                                          .pointLoad(1, -1)
                                          .uniformEI(200, 1)
                                          .build(),
                                      negative));
    ASSERT_EQ(negative.shown.size(), 1u);
    EXPECT_EQ(negative.shown[0].text,
              "Point Load 2 lies before the left end of the beam (x < 0)\r\n");

    // One line per record, its first problem; the span's own line comes first.
    RecordingSink several;
    const double nan = std::nan("");
    BeamModel bad = ModelBuilder()
                        .span(10)
                        .pinned(0)
                        .pinned(10)
                        .pointLoad(nan, -1)
                        .udl(nan, 2, nan)
                        .uniformEI(200, 1)
                        .build();
    bad.span = nan;
    EXPECT_FALSE(modCheck::CheckInput(bad, several));
    ASSERT_EQ(several.shown.size(), 1u);
    EXPECT_EQ(several.shown[0].text, "The span must be a positive finite number, not NaN\r\n"
                                     "Point Load 1 lies before the left end of the beam (x < 0)\r\n"
                                     "UDL 1 has a position that is not a finite number\r\n");
}

TEST(CheckInput, NegativeEAndIAreRefusedByRecord) {
    BeamModel m = ModelBuilder()
                      .span(10)
                      .pinned(0)
                      .pinned(10)
                      .pointLoad(1, 2)
                      .eSegment(0, 5, -200)
                      .linearE(5, 10, -1, 200)
                      .linearE(5, 10, 200, 200)
                      .iSegment(0, 10, 0)
                      .iSegment(0, 10, -8000)
                      .build();
    RecordingSink sink;
    EXPECT_FALSE(modCheck::CheckInput(m, sink));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "E-value 1 has a negative value (-200)\r\n"
                                  "E-value 2 has a negative value (-1)\r\n"
                                  "I-value 2 has a negative value (-8000)\r\n");
}

TEST(CheckInput, ASpanThatIsNoLengthIsNamedAloneNotEveryRecordAsOutside) {
    const std::pair<double, const char*> spans[] = {
        {-5, "-5 m"}, {0, "0 m"}, {-0.0, "0 m"}, {INFINITY, "Infinity"}, {NAN, "NaN"}};
    for (const auto& [span, named] : spans) {
        BeamModel m =
            ModelBuilder().span(10).pinned(0).pinned(10).pointLoad(1, 2).uniformEI(200, 1).build();
        m.span = span;
        RecordingSink sink;
        EXPECT_FALSE(modCheck::CheckInput(m, sink)) << named;
        EXPECT_EQ(sink.texts(),
                  std::vector<std::string>{"The span must be a positive finite number, not " +
                                           std::string(named) + "\r\n"});
        ASSERT_EQ(sink.shown.size(), 1u) << named;
        EXPECT_EQ(sink.shown[0].title, "Input Data Checking Routine");
    }
    // The smallest span there is passes.
    BeamModel tiny = ModelBuilder().span(1).pinned(0).pinned(0).pointLoad(1, 0).build();
    tiny.span = 5e-324;
    RecordingSink sink;
    modCheck::CheckInput(tiny, sink);
    for (const std::string& text : sink.texts())
        EXPECT_EQ(text.find("The span"), std::string::npos) << text;
}

TEST(CoverageWarnings, OneLinePerStretchWithoutEThenWithoutI) {
    const BeamModel m =
        ModelBuilder().span(12).eSegment(2, 4, 200).eSegment(3.5, 8, 200).iSegment(0, 6, 1).build();
    EXPECT_EQ(modCheck::CoverageWarnings(m),
              (std::vector<std::string>{
                  "E is not defined from 0 m to 2 m: that stretch carries nothing.",
                  "E is not defined from 8 m to 12 m: that stretch carries nothing.",
                  "I is not defined from 6 m to 12 m: that stretch carries nothing."}));
    EXPECT_TRUE(modCheck::CoverageWarnings(
                    ModelBuilder().span(10).uniformEI(200, 1).eSegment(20, 30, 1).build())
                    .empty());
}

TEST(CheckSupports, BothRigidBodyMotionsMustBeHeld) {
    const auto check = [](const ModelBuilder& b) { return modCheck::CheckSupports(b.build()); };
    EXPECT_TRUE(check(ModelBuilder().pinned(0).spring(10, 5)));
    EXPECT_TRUE(check(ModelBuilder().fixed(0)));
    EXPECT_TRUE(check(ModelBuilder().pinned(0).pinned(6)));
    EXPECT_TRUE(check(ModelBuilder().pinned(1).pinned(0.5).pinned(1.5)));
    EXPECT_FALSE(check(ModelBuilder().pinned(3).pinned(3)));
    EXPECT_FALSE(check(ModelBuilder().pinned(0)));
    EXPECT_FALSE(check(ModelBuilder().spring(2, 5)));
    EXPECT_FALSE(check(ModelBuilder().spring(2, 0, 5)));
    EXPECT_TRUE(check(ModelBuilder().spring(2, 5).spring(4, 5)));
}

// The dense elimination with the full augmented matrix, rows 0..N, columns 0..N + 1.
struct DenseResult {
    bool unstable = false;
    bool failed = false;
    std::vector<double> x;
};

DenseResult denseGaussSolve(std::vector<std::vector<double>> A, const std::vector<double>& load,
                            int N) {
    DenseResult r;
    for (int i = 1; i <= N; ++i)
        A[i][N + 1] = load[i];
    for (int k = 1; k <= N - 1 && !r.unstable; ++k) {
        double mag = std::fabs(A[k][k]);
        int p = k;
        for (int q = k + 1; q <= N; ++q)
            if (std::fabs(A[q][k]) > mag) {
                mag = std::fabs(A[q][k]);
                p = q;
            }
        if (p != k)
            for (int j = k; j <= N + 1; ++j)
                std::swap(A[k][j], A[p][j]);
        for (int i = k + 1; i <= N; ++i) {
            if (A[k][k] == 0.0) {
                r.unstable = true;
                break;
            }
            const double factor = A[i][k] / A[k][k];
            for (int j = k + 1; j <= N + 1; ++j)
                A[i][j] = A[i][j] - factor * A[k][j];
        }
    }
    if (r.unstable)
        return r;
    auto divide = [&r](double a, double b) {
        if (b == 0 || !std::isfinite(a / b))
            r.failed = true;
        return a / b;
    };
    A[N][N + 1] = divide(A[N][N + 1], A[N][N]);
    for (int i = N - 1; i >= 1; --i) {
        double s = 0;
        for (int j = i + 1; j <= N; ++j)
            s += A[i][j] * A[j][N + 1];
        A[i][N + 1] = divide(A[i][N + 1] - s, A[i][i]);
    }
    r.x.assign(N + 1, 0.0);
    for (int i = 1; i <= N; ++i)
        r.x[i] = A[i][N + 1];
    return r;
}

/// The model's mesh and nodal tables in analysis units, as the driver builds them.
ProgramState meshedWithLoads(const BeamModel& m, double MeshDensFact) {
    ProgramState s;
    s.model = m;
    RecordingSink sink;
    s.mesh = modMesh::GenerateMesh(s.model, MeshDensFact, sink);
    modCalcs::DimensionTables(s.mesh, s.equations, s.results);
    modMesh::FormNodalLoads(s.model, s.mesh, s.nodal);
    modMesh::SetRigidSupports(s.model, s.mesh, s.nodal, sink);
    modMesh::AddSpringSupports(s.model, s.mesh, s.nodal);
    modMesh::SetPrescribedDisplacements(s.model, s.mesh, s.nodal);
    return s;
}

TEST(BandGaussSolve, BandedIsBitIdenticalToDense) {
    std::mt19937 rng(12345);
    int solved = 0, unstable = 0;
    for (int trial = 0; trial < 200; ++trial) {
        const ProgramState s = meshedWithLoads(test::RandomModel(rng), 1);
        BandMatrix<double> A = test::FullMeshSystem(s.mesh, s.nodal);
        const int N = s.mesh.NumEquations;
        // The dense reference costs N^3: the smaller systems are many and cover every case.
        if (N > 150)
            continue;
        std::vector<std::vector<double>> dense(N + 1, std::vector<double>(N + 2, 0.0));
        for (int i = 1; i <= N; ++i)
            for (int j = 1; j <= N; ++j)
                dense[i][j] = std::as_const(A)(i, j);
        std::vector<double> rhs = A.Rhs;
        const DenseResult ref = denseGaussSolve(dense, rhs, N);

        bool failed = false, zeroPivot = false;
        try {
            zeroPivot = !BandGaussSolve(A);
        } catch (const KradonError&) {
            failed = true;
        }
        ASSERT_EQ(zeroPivot, ref.unstable) << "trial " << trial;
        if (ref.unstable) {
            ++unstable;
            continue;
        }
        ASSERT_EQ(failed, ref.failed) << "trial " << trial;
        if (failed)
            continue;
        ++solved;
        for (int i = 1; i <= N; ++i)
            ASSERT_EQ(A.Rhs[i], ref.x[i]) << "trial " << trial << " eq " << i;
    }
    EXPECT_GT(solved, 50);
    EXPECT_GT(unstable, 0);
}

TEST(UnitLabel, OnlyTheLowerCaseEIsYoungsModulus) {
    EXPECT_STREQ(modUnits::UnitLabel("e"), "kN/mm2");
    EXPECT_STREQ(modUnits::UnitLabel("i"), "cm4");
    EXPECT_STREQ(modUnits::UnitLabel("E"), "cm4");
    EXPECT_STREQ(modUnits::UnitLabel(""), "cm4");
}

} // namespace
} // namespace kradon
