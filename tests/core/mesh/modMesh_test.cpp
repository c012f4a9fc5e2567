// Mesh generation and the placing of loads and supports on the nodes.
#include "../analysis/ModelBuilder.h"
#include "analysis/modCalcs.h"
#include "mesh/modMesh.h"
#include "model/KradonError.h"
#include "model/modText.h"

#include <gtest/gtest.h>
#include <vector>

namespace kradon {
namespace {

using test::ModelBuilder;
using test::RecordingSink;

/// A span of 10 m on two pins with E = 200 kN/mm2 and I = 1000 cm4.
ModelBuilder simpleSpan() {
    return ModelBuilder().span(10).pinned(0).pinned(10).uniformEI(200, 1000);
}

TEST(GenerateMesh, TenMetreExampleGivesDivisionsSixAndTen) {
    RecordingSink sink;
    const MeshTables mesh = modMesh::GenerateMesh(simpleSpan().pointLoad(5, 4).build(), 1, sink);
    EXPECT_TRUE(sink.shown.empty());
    ASSERT_EQ(mesh.SegmentDivisions.size(), 3u);
    EXPECT_EQ(mesh.SegmentDivisions[1], 6);
    EXPECT_EQ(mesh.SegmentDivisions[2], 10);
    EXPECT_EQ(mesh.ElementCount, 16);
    EXPECT_EQ(mesh.NodeCount, 17);
    EXPECT_EQ(mesh.NumEquations, 34);
    EXPECT_DOUBLE_EQ(mesh.ElementLength[1], 4.0 / 6);
    EXPECT_NEAR(mesh.ElementLength[16], 0.6, 1e-14);
    // Key points are nodes exactly, however many elements lie before them.
    EXPECT_EQ(mesh.NodeX[7], 4);
    EXPECT_EQ(mesh.NodeX[17], 10);
    EXPECT_EQ(mesh.ElementNode1[3], 3);
    EXPECT_EQ(mesh.ElementNode2[3], 4);
    // 200 kN/mm2 = 2e11 N/m2 and 1000 cm4 = 1e-5 m4 during the analysis.
    EXPECT_DOUBLE_EQ(mesh.ElementE[5], 2e11);
    EXPECT_DOUBLE_EQ(mesh.ElementI[5], 1e-5);
}

TEST(RoundTo, HalvesGoUp) {
    EXPECT_EQ(modMesh::RoundTo(2.5, 0), 3);
    EXPECT_EQ(modMesh::RoundTo(2.4999, 0), 2);
    EXPECT_EQ(modMesh::RoundTo(0.5, 0), 1);
    EXPECT_EQ(modMesh::RoundTo(1.25, 1), 1.3);
}

TEST(GenerateMesh, TinySegmentKeepsOneElement) {
    RecordingSink sink;
    const MeshTables mesh =
        modMesh::GenerateMesh(simpleSpan().pointLoad(5, 4).pointLoad(5, 4 + 1e-9).build(), 1, sink);
    ASSERT_EQ(mesh.SegmentDivisions.size(), 4u);
    EXPECT_EQ(mesh.SegmentDivisions[2], 1);
    EXPECT_NE(modMesh::FirstNodeAt(mesh, 4 + 1e-9), 0);
    EXPECT_NE(modMesh::FirstNodeAt(mesh, 4), modMesh::FirstNodeAt(mesh, 4 + 1e-9));
}

TEST(GenerateMesh, KeyPointBeyondSpanWarnsOnceAndMeshes) {
    RecordingSink sink;
    const MeshTables mesh = modMesh::GenerateMesh(simpleSpan().pointLoad(5, 12).build(), 1, sink);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "Elements defined outside boundaries");
    EXPECT_EQ(sink.shown[0].title, "Mesh Subroutine");
    EXPECT_EQ(sink.shown[0].icon, Icon::Critical);
    EXPECT_GT(mesh.NodeCount, 2);
    // 10.000000000000002 is 10 written with 15 digits: the same position as the right end.
    RecordingSink none;
    const MeshTables end =
        modMesh::GenerateMesh(simpleSpan().pinned(10.000000000000002).build(), 1, none);
    EXPECT_TRUE(none.shown.empty());
    EXPECT_EQ(end.NodeX[static_cast<std::size_t>(end.NodeCount)], 10);
    EXPECT_EQ(modMesh::FirstNodeAt(end, 10.000000000000002), end.NodeCount);
}

TEST(GenerateMesh, ACurveWithoutAValueSaysWhichWhyAndWhere) {
    // Elements of 1.25 m: the first midpoint is 0.625 m.
    const std::pair<const char*, const char*> cases[] = {
        {"(1 + x", "cannot be read (Missing ) in '(1 + x')."},
        {"1/(x - 0.625)", "divides by zero at x = 0.625 m."},
        {"sqr(x - 1)", "takes the root of a negative number at x = 0.625 m."},
        {"10^(1000*x)", "is not finite at x = 0.625 m."},
        {"x - 1", "gives a negative value (-0.375) at x = 0.625 m."},
    };
    for (const auto& [expression, problem] : cases) {
        ModelBuilder b = ModelBuilder().span(10).pinned(0).pinned(10).eSegment(0, 10, 200);
        RecordingSink sink;
        EXPECT_THROW(modMesh::GenerateMesh(b.curveI(0, 10, expression).build(), 1, sink),
                     KradonError);
        EXPECT_EQ(sink.texts(),
                  std::vector<std::string>{"I definition 1: the expression \"" +
                                           std::string(expression) + "\" " + problem});
        EXPECT_EQ(sink.shown.at(0).title, "Mesh Subroutine");
    }
}

// One segment of 8 x MeshDensFact elements: 32766 elements (32767 nodes) are the most there
// may be; far more are refused before anything is allocated.
TEST(GenerateMesh, TheNodeLimitIsExactly32767) {
    const BeamModel m = simpleSpan().build();
    RecordingSink sink;
    EXPECT_EQ(modMesh::GenerateMesh(m, 32766 / 8.0, sink).NodeCount, 32767);
    EXPECT_THROW(modMesh::GenerateMesh(m, 32767 / 8.0, sink), KradonError);
    ModelBuilder b = ModelBuilder().span(100).pinned(0).pinned(100).uniformEI(200, 1000);
    for (int i = 1; i <= 30; ++i)
        b.pointLoad(1, i * 3.1);
    EXPECT_THROW(modMesh::GenerateMesh(b.build(), 1000, sink), KradonError);
    ASSERT_EQ(sink.shown.size(), 2u);
    EXPECT_EQ(sink.shown[0].title, "Mesh Subroutine");
    EXPECT_NE(sink.shown[0].text.find("The mesh would need 32768 nodes"), std::string::npos);
    EXPECT_NE(sink.shown[1].text.find("at most 32767"), std::string::npos);
}

/// Mesh and nodal tables of a model, its loads placed in N, N/m and N·m.
struct Tables {
    MeshTables mesh;
    NodalTables nodal;
    EquationTables equations;
    ResultTables results;
};

Tables meshed(const BeamModel& m, double MeshDensFact = 1) {
    RecordingSink sink;
    Tables t;
    t.mesh = modMesh::GenerateMesh(m, MeshDensFact, sink);
    modCalcs::DimensionTables(t.mesh, t.equations, t.results);
    modMesh::FormNodalLoads(m, t.mesh, t.nodal);
    return t;
}

TEST(NodalLoads, TdlFixedEndForces) {
    // 3 m over 3 segments: MeshDensFact chosen so every 1 m segment is one element.
    ModelBuilder b = ModelBuilder().span(3).uniformEI(200, 1000).tdl(0, 6, 0, 3);
    const Tables t = meshed(b.pinned(0).pinned(1).pinned(2).pinned(3).build(), 1.0 / 8);
    ASSERT_EQ(t.mesh.ElementCount, 3);
    const auto& EL = t.nodal.ElementNodalLoads;
    // The model's kN/m become N/m.
    EXPECT_NEAR(EL[1][1], 300, 1e-9);
    EXPECT_NEAR(EL[2][1], 1000.0 / 15, 1e-9);
    EXPECT_NEAR(EL[3][1], 700, 1e-9);
    EXPECT_NEAR(EL[4][1], -100, 1e-9);
    double total = 0;
    for (int e = 1; e <= 3; ++e)
        total += EL[1][e] + EL[3][e];
    EXPECT_NEAR(total, 9000, 1e-9);
}

TEST(NodalLoads, UdlOverOneElementAndReversedUdl) {
    ModelBuilder b = ModelBuilder().span(2).uniformEI(200, 1000).pinned(0).pinned(2);
    const Tables t = meshed(b.udl(10, 0, 2).udl(10, 2, 0).build(), 1.0 / 8);
    ASSERT_EQ(t.mesh.ElementCount, 1);
    const std::vector<double> expected{0, 1e4, 1e4 / 3, 1e4, -1e4 / 3}; // N and N·m
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR(t.nodal.ElementNodalLoads[i][1], expected[i], 1e-9);
        EXPECT_NEAR(t.nodal.LoadVector[i], expected[i], 1e-9);
    }
}

TEST(NodeMatches, PositionsEqualAfterTheRoundTripShareOneNode) {
    EXPECT_TRUE(modMesh::NodeMatches(2.5, 2.4999999999999996));
    EXPECT_FALSE(modMesh::NodeMatches(2.4999999999999996, 2.5));
    EXPECT_FALSE(modMesh::NodeMatches(2.5, 2.4999));
    // 0.1 + 0.2 is 0.30000000000000004: the same position as 0.3 once written with 15 digits.
    ModelBuilder b = ModelBuilder().span(1).uniformEI(200, 1000).pinned(0).pinned(0.3);
    const Tables t = meshed(b.moment(7, 0.1 + 0.2).pointLoad(2, 0.3).build(), 10);
    const auto n = modMesh::FirstNodeAt(t.mesh, 0.3);
    ASSERT_NE(n, 0);
    EXPECT_EQ(t.mesh.NodeX[n], 0.3);
    EXPECT_EQ(modMesh::FirstNodeAt(t.mesh, 0.1 + 0.2), n);
    EXPECT_EQ(t.mesh.SegmentDivisions.size(), 3u); // 0..0.3 and 0.3..1
    EXPECT_EQ(t.nodal.ConcentratedLoad[2 * n], 7000);
    EXPECT_EQ(t.nodal.ConcentratedLoad[2 * n - 1], 2000);
}

TEST(GenerateMesh, EveryKeyPointIsANodeAtEveryDensity) {
    // Repeated addition used to drift past the 15-digit match and lose loads and supports.
    ModelBuilder b(30);
    b.span(100).uniformEI(200, 10000);
    for (int i = 1; i <= 29; ++i)
        b.pinned(i * 3.37).pointLoad(1, i * 3.37 + 0.11);
    const BeamModel m = b.build();
    for (const double density : {0.2, 1.0, 3.7, 10.0}) {
        const Tables t = meshed(m, density);
        for (const double x : modMesh::KeyPoints(m)) {
            const auto n = modMesh::FirstNodeAt(t.mesh, x);
            ASSERT_NE(n, 0) << x << " at density " << density;
            EXPECT_EQ(t.mesh.NodeX[n], modText::RoundTrip15(x));
        }
        for (std::int32_t e = 1; e <= t.mesh.ElementCount; ++e)
            ASSERT_GT(t.mesh.ElementLength[e], 0) << "element " << e;
    }
}

TEST(NodalRestraints, SupportsSpringsAndPrescribedValues) {
    ModelBuilder b = ModelBuilder().span(2).uniformEI(200, 1000).pinned(0).fixed(2).support(3, 1);
    const BeamModel m = b.spring(1, 5, 2).fixedDisplacement(2, 5, 0).pointLoad(1, 1).build();
    Tables t = meshed(m, 1.0 / 8);
    RecordingSink sink;
    modMesh::SetRigidSupports(m, t.mesh, t.nodal, sink);
    ASSERT_EQ(sink.texts(), std::vector<std::string>{"Mesherror"});
    EXPECT_EQ(t.nodal.RestraintFlag[1], 1);
    EXPECT_EQ(t.nodal.RestraintFlag[2], 0);
    EXPECT_EQ(t.nodal.RestraintFlag[5], 1);
    EXPECT_EQ(t.nodal.RestraintFlag[6], 1);
    modMesh::AddSpringSupports(m, t.mesh, t.nodal);
    EXPECT_EQ(t.nodal.SpringDiagonal[3], 5e6);
    EXPECT_EQ(t.nodal.SpringDiagonal[4], 2e3);
    EXPECT_EQ(t.nodal.SpringStiffness[3], 5);
    modMesh::SetPrescribedDisplacements(m, t.mesh, t.nodal);
    EXPECT_DOUBLE_EQ(t.nodal.PrescribedDisp[5], 0.005);
    EXPECT_EQ(t.nodal.PrescribedDisp[6], 0);
}

} // namespace
} // namespace kradon
