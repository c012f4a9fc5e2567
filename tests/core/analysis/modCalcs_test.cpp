// Whole analyses against closed forms at every node, the driver's log and failures, the input
// check, and the banded solver against the dense elimination kept here as the reference.
#include "../TestFolder.h"
#include "../results/ClosedFormBeams.h"
#include "AnalysisTestSupport.h"
#include "FullMeshReference.h"
#include "analysis/BandMatrix.h"
#include "analysis/modCheck.h"
#include "analysis/modUnits.h"
#include "model/KradonError.h"

#include <cmath>
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

// Every closed-form beam at every node and mesh density (Hermite elements are exact at the
// nodes for these loads): deflection, rotation, moment, the shear at the end of every element
// (the side of a load that the closed form gives) and the end reactions.
TEST(ClosedForm, EveryNodeOfTheClosedFormBeamsAtEveryDensity) {
    for (const auto& beam : test::closed::ClosedFormBeams())
        for (const double density : {0.2, 1.0, 10.0}) {
            SCOPED_TRACE(beam.name + std::string(" at density ") + std::to_string(density));
            const auto s = test::Analysed(beam.model, density);
            const auto& r = s.results;
            const auto N = static_cast<std::size_t>(s.mesh.NodeCount);
            std::vector<SectionValues> exact(N + 1);
            SectionValues scale;
            for (std::size_t n = 1; n <= N; ++n) {
                const SectionValues& e = exact[n] = beam.exact(s.mesh.NodeX[n]);
                scale = {std::max(scale.deflection, std::fabs(e.deflection)),
                         std::max(scale.rotation, std::fabs(e.rotation)),
                         std::max(scale.moment, std::fabs(e.moment)),
                         std::max(scale.shear, std::fabs(e.shear))};
            }
            for (std::size_t n = 1; n <= N; ++n) {
                EXPECT_NEAR(r.NodeDeflection[n], exact[n].deflection, 1e-9 * scale.deflection) << n;
                EXPECT_NEAR(s.equations.Displacements[2 * n], exact[n].rotation,
                            1e-9 * scale.rotation + 1e-15)
                    << n;
                EXPECT_NEAR(r.NodeMoment[n], exact[n].moment, 1e-9 * scale.moment) << n;
                if (n > 1) {
                    EXPECT_NEAR(r.NodeShear[2 * n - 1], exact[n].shear, 1e-9 * scale.shear) << n;
                }
            }
            // Upwards and clockwise on the beam: the shear and moment just inside each end.
            const BeamModel& m = beam.model;
            EXPECT_NEAR(r.SupportReaction[1][1], -beam.exact(0).shear, 1e-9 * scale.shear);
            if (m.RigidSupport.type[1] == SupportType::Fixed) {
                EXPECT_NEAR(r.SupportReaction[1][2], exact[1].moment, 1e-9 * scale.moment);
            }
            if (m.count(RecordKind::RigidSupport) == 2) {
                EXPECT_NEAR(r.SupportReaction[2][1], exact[N].shear, 1e-9 * scale.shear);
                const double fixedEnd = m.RigidSupport.type[2] == SupportType::Fixed;
                EXPECT_NEAR(r.SupportReaction[2][2], -fixedEnd * exact[N].moment,
                            1e-9 * scale.moment);
            }
        }
}

const BeamModel simpleBeam = test::Beam(10).pinned(0).pinned(10).pointLoad(10, 5).build();

TEST(RunAnalysis, LogLinesAndPercentagesInOrder) {
    ProgramState s;
    s.model = simpleBeam;
    RecordingSink sink;
    RecordingStatus status;
    ASSERT_EQ(modCalcs::RunAnalysis(s, status, sink), modCalcs::Outcome::Completed);
    std::string log;
    for (const std::string& line : status.log)
        log += line + "; ";
    EXPECT_EQ(log, "Meshing....; pb 10; Element Stiffnesses......; pb 30; Restricting Global "
                   "Matrix...; pb 40; Solving.......; pb 70; Backsubstituting.......; pb 80; "
                   "Preparing Graphics.....; pb 100; ");
}

TEST(AnalyseCore, UnstableNamesItsCauseAndKeepsTheModel) {
    const test::TestFolder dir;
    ProgramState s;
    s.model = UnstableModel();
    RecordingSink sink;
    RecordingStatus status;
    EXPECT_EQ(AnalyseCore(s, dir.path(), status, sink).outcome, AnalyseOutcome::Unstable);
    // The stretch without E is warned about before the analysis and named as the likely cause.
    const std::string cause = "E is not defined from 5 m to 10 m: that stretch carries nothing.";
    ASSERT_EQ(sink.texts(), (std::vector<std::string>{
                                cause, "Structure is unstable - Aborting analysis\r\n" + cause,
                                "Calculation Error - Aborting"}));
    EXPECT_EQ(sink.shown[0].title, "Input Data Checking Routine");
    EXPECT_EQ(sink.shown[1].title, "Gauss Elimination Error");
    EXPECT_EQ(sink.shown[2].title, "FEA Subroutine");
    EXPECT_EQ(status.log.back(), "Solving.......");
    EXPECT_EQ(s.model, UnstableModel());
}

TEST(AnalyseCore, AGateThatStopsAtTheWarningsChangesNothing) {
    const test::TestFolder dir;
    ProgramState s;
    s.model = UnstableModel();
    s.results.NodeMoment = {0, 7};
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
    EXPECT_EQ(s.model, UnstableModel());
    EXPECT_EQ(s.results.NodeMoment, (std::vector<double>{0, 7}));
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
    const Rows nanSpring{{}, {0, 0}, {0, nan}};
    const struct {
        const char* named;
        std::vector<double> deflection, displacements, moment, shear;
        Rows rigid, springs;
    } cases[] = {
        {"the deflection at x = 0 m is infinite", {0, inf, 0}, {}, {}, {}, {}, {}},
        {"the rotation at x = 0 m is not a number", {}, {0, 0, nan, 0, 0}, {}, {}, {}, {}},
        {"the rotation at x = 2 m is infinite", {}, {0, 0, 0, -inf, 0}, {0, 0, nan}, {}, {}, {}},
        {"the bending moment at x = 2 m is not a number", {}, {}, {0, 0, nan}, {}, {}, {}},
        {"the shear force at x = 2 m is infinite", {}, {}, {}, {0, 0, 0, inf}, {}, {}},
        {"the reaction of rigid support 1 is infinite", {}, {}, {}, {}, {{}, {0, 0, inf}}, {}},
        {"the reaction of spring support 2 is not a number", {}, {}, {}, {}, {}, nanSpring},
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
    s.model = simpleBeam;
    RecordingSink sink;
    RecordingStatus status;
    const AnalyseResult r = AnalyseCore(s, dir.path(), status, sink);
    EXPECT_EQ(r.outcome, AnalyseOutcome::Completed);
    EXPECT_EQ(s.model, simpleBeam);
    EXPECT_EQ(s.mesh.ElementE[1], 200);
    EXPECT_GE(r.AnalysisTime, 0);
    EXPECT_EQ(status.log.front(), "pb 0");
    EXPECT_EQ(status.log[1], "Kradon Analysis Initialised......");
    EXPECT_EQ(AnalysisTimeText(2.5), "Previous Analysis time was 2.5s");
}

// The messages of refused models: of missing contents under the program's name, the others
// under the Input Data Checking Routine's, one line per record with its first problem and the
// span's own line first.
TEST(CheckInput, MessagesAndOrder) {
    const double nan = std::nan("");
    const auto checked = [](ModelBuilder b) { return b.span(10).pinned(0).pinned(10); };
    const auto withSpan = [](ModelBuilder b, double span) {
        BeamModel m = b.build();
        m.span = span;
        return m;
    };
    ModelBuilder negative = ModelBuilder().eSegment(0, 5, -200).linearE(5, 10, -1, 200);
    negative.linearE(5, 10, 200, 200).iSegment(0, 10, 0).iSegment(0, 10, -8000).pointLoad(1, 2);
    const struct {
        BeamModel model;
        std::vector<std::string> texts;
    } cases[] = {
        {ModelBuilder().build(), {"No input for calculation"}},
        {ModelBuilder().span(10).pinned(3).pinned(3).build(),
         {"No beam properties included in input",
          "Number/location of supports is erroneous in input",
          "No loads/displacements included in input"}},
        {checked(test::Beam(10))
             .pointLoad(1, 10)
             .pointLoad(1, 10.001)
             .udl(1, 2, 10.5)
             .iSegment(0, 11, 1)
             .build(),
         {"Elements outside boundaries are:\r\nPoint Load 2\r\nUDL 1\r\nI-value 2\r\n"}},
        {checked(test::Beam(10)).pointLoad(1, 2).pointLoad(1, -1).build(),
         {"Point Load 2 lies before the left end of the beam (x < 0)\r\n"}},
        {withSpan(checked(test::Beam(10)).pointLoad(nan, -1).udl(nan, 2, nan), nan),
         {"The span must be a positive finite number, not NaN\r\n"
          "Point Load 1 lies before the left end of the beam (x < 0)\r\n"
          "UDL 1 has a position that is not a finite number\r\n"}},
        {checked(negative).build(),
         {"E-value 1 has a negative value (-200)\r\nE-value 2 has a negative value (-1)\r\n"
          "I-value 2 has a negative value (-8000)\r\n"}},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        EXPECT_FALSE(modCheck::CheckInput(c.model, sink)) << c.texts[0];
        EXPECT_EQ(sink.texts(), c.texts);
        EXPECT_EQ(sink.shown.at(0).title,
                  &c < cases + 2 ? "Kradon by Tarel Vestrun" : "Input Data Checking Routine");
    }
    // A span that is no length is named alone, not every record as outside.
    const std::pair<double, const char*> spans[] = {
        {-5, "-5 m"}, {0, "0 m"}, {-0.0, "0 m"}, {INFINITY, "Infinity"}, {NAN, "NaN"}};
    for (const auto& [span, named] : spans) {
        RecordingSink sink;
        EXPECT_FALSE(
            modCheck::CheckInput(withSpan(checked(test::Beam(10)).pointLoad(1, 2), span), sink));
        EXPECT_EQ(sink.texts(),
                  std::vector<std::string>{"The span must be a positive finite number, not " +
                                           std::string(named) + "\r\n"});
    }
    // The smallest span there is passes.
    RecordingSink sink;
    modCheck::CheckInput(
        withSpan(ModelBuilder().span(1).pinned(0).pinned(0).pointLoad(1, 0), 5e-324), sink);
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
    EXPECT_TRUE(modCheck::CoverageWarnings(test::Beam(10).eSegment(20, 30, 1).build()).empty());
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

// The dense elimination with partial pivoting on the full augmented matrix, rows 0..N,
// columns 0..N + 1: unstable at a zero pivot, failed where a division is not finite.
struct DenseResult {
    bool unstable = false, failed = false;
    std::vector<double> x;
};

DenseResult denseGaussSolve(std::vector<std::vector<double>> A, const std::vector<double>& load,
                            int N) {
    DenseResult r;
    for (int i = 1; i <= N; ++i)
        A[i][N + 1] = load[i];
    for (int k = 1; k <= N - 1; ++k) {
        int p = k;
        for (int q = k + 1; q <= N; ++q)
            if (std::fabs(A[q][k]) > std::fabs(A[p][k]))
                p = q;
        std::swap(A[k], A[p]);
        if (A[k][k] == 0.0) {
            r.unstable = true;
            return r;
        }
        for (int i = k + 1; i <= N; ++i) {
            const double factor = A[i][k] / A[k][k];
            for (int j = k + 1; j <= N + 1; ++j)
                A[i][j] = A[i][j] - factor * A[k][j];
        }
    }
    r.x.assign(N + 1, 0.0);
    for (int i = N; i >= 1; --i) {
        double s = 0;
        for (int j = i + 1; j <= N; ++j)
            s += A[i][j] * r.x[j];
        r.x[i] = (A[i][N + 1] - s) / A[i][i];
        r.failed = r.failed || A[i][i] == 0 || !std::isfinite(r.x[i]);
    }
    return r;
}

/// The model's mesh and nodal tables in analysis units, as the driver builds them.
ProgramState meshedWithLoads(const BeamModel& m) {
    ProgramState s;
    s.model = m;
    RecordingSink sink;
    s.mesh = modMesh::GenerateMesh(s.model, 1, sink);
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
        const ProgramState s = meshedWithLoads(test::RandomModel(rng));
        BandMatrix<double> A = test::FullMeshSystem(s.mesh, s.nodal);
        const int N = s.mesh.NumEquations;
        // The dense reference costs N^3: the smaller systems are many and cover every case.
        if (N > 150)
            continue;
        std::vector<std::vector<double>> dense(N + 1, std::vector<double>(N + 2, 0.0));
        for (int i = 1; i <= N; ++i)
            for (int j = 1; j <= N; ++j)
                dense[i][j] = std::as_const(A)(i, j);
        const DenseResult ref = denseGaussSolve(dense, A.Rhs, N);
        bool failed = false, zeroPivot = false;
        try {
            zeroPivot = !BandGaussSolve(A);
        } catch (const KradonError&) {
            failed = true;
        }
        ASSERT_EQ(zeroPivot, ref.unstable) << "trial " << trial;
        unstable += ref.unstable;
        if (ref.unstable)
            continue;
        ASSERT_EQ(failed, ref.failed) << "trial " << trial;
        solved += !failed;
        for (int i = 1; i <= N && !failed; ++i)
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
