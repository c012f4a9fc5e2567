// The pictures of modGraphics, read back from a recording surface.
#include "TestFolder.h"
#include "analysis/AnalyseCommand.h"
#include "analysis/ModelBuilder.h"
#include "graphics/RecordingSurface.h"
#include "graphics/modGraphics.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>

namespace kradon::modGraphics {
namespace {

using test::ModelBuilder;
using test::RecordingSink;

ProgramState analysed(const BeamModel& model, double density = 1) {
    ProgramState s;
    s.model = model;
    s.options.MeshDensFact = density;
    NullStatusSink status;
    RecordingSink sink;
    const test::TestFolder folder;
    const auto r = AnalyseCore(s, folder.path(), status, sink);
    EXPECT_EQ(r.outcome, AnalyseOutcome::Completed);
    return s;
}

// Simply supported 10 m span, 20 kN at midspan.
ProgramState simplySupported() {
    return analysed(ModelBuilder()
                        .span(10)
                        .uniformEI(200, 10000)
                        .pinned(0)
                        .pinned(10)
                        .pointLoad(20, 5)
                        .build());
}

TEST(NiceStep, Examples) {
    const std::pair<double, double> cases[] = {
        {10, 1.25}, {7.3, 1}, {2, 0.25}, {0.37, 0.05}, {15, 2.5}};
    for (const auto& [v, s] : cases)
        EXPECT_DOUBLE_EQ(NiceStep(v), s) << v;
}

TEST(ScaleTable, ScalesFromOneAndKeepsZero) {
    EXPECT_EQ(ScaleTable({7, 1000, -2000}, 0.001), (std::vector<double>{0, 1, -2}));
}

TEST(DrawGrid, LinesAndLabelOfAZeroFrame) {
    RecordingSurface s;
    RecordingSink sink;
    s.setScale(-1, -15, 11, 15);
    DrawGrid(s, 1, 15, 10, sink);
    // Step 2.5 within +-15: 7 lines each way (0 twice), and 11 vertical lines 0..10 m.
    const auto navy = s.linesIn(colours::Navy);
    ASSERT_EQ(navy.size(), 14u + 11u);
    EXPECT_EQ(navy.front().pen.DrawStyle, LineStyle::Dotted);
    EXPECT_DOUBLE_EQ(navy[6].y1, 15);
    EXPECT_DOUBLE_EQ(navy[13].y1, -15);
    EXPECT_DOUBLE_EQ(navy.back().x1, 10);
    const auto* label = s.findText("Scales: X: 1 Y: 2.5");
    ASSERT_NE(label, nullptr);
    EXPECT_DOUBLE_EQ(label->x1, -0.9);
    EXPECT_DOUBLE_EQ(label->y1, 12);
    EXPECT_EQ(s.pen.DrawWidth, 3);
    EXPECT_TRUE(sink.shown.empty());
}

TEST(DrawGrid, FailureShowsTheMessage) {
    RecordingSurface s;
    RecordingSink sink;
    DrawGrid(s, 1, std::numeric_limits<double>::infinity(), 10, sink);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].title, "Graphics Subroutine");
    EXPECT_EQ(sink.shown[0].text, "Graphics Error");
    EXPECT_EQ(sink.shown[0].icon, Icon::Critical);
}

TEST(NodeDiagram, BendingMomentIsClosedBelowTheAxisWithApexAtMidspan) {
    const ProgramState st = simplySupported();
    RecordingSurface s;
    RecordingSink sink;
    DrawPicture(PictureKind::BendingMoment, st, s, sink);
    ASSERT_NE(s.findText("Bending Moment Diagram Units: kNm"), nullptr);
    const auto red = s.linesIn(colours::Red);
    ASSERT_EQ(red.size(), static_cast<std::size_t>(st.mesh.NodeCount) + 1);
    EXPECT_DOUBLE_EQ(red.front().y1, 0);
    EXPECT_DOUBLE_EQ(red.back().y2, 0);
    double apexX = 0, apex = 0;
    for (const auto& l : red) {
        EXPECT_GE(l.y2, -1e-9);
        EXPECT_EQ(l.pen.DrawWidth, 3);
        if (l.y2 > apex) {
            apex = l.y2;
            apexX = l.x2;
        }
    }
    EXPECT_NEAR(apexX, 5, 1e-9);
    EXPECT_NEAR(apex, 50, 1e-6); // PL/4 kNm
    // Frame: ym = 1.5 * 50.
    const auto scale = s.callsOf(CallKind::Scale);
    EXPECT_NEAR(scale.back().y2, 75, 1e-6);
    EXPECT_TRUE(sink.shown.empty());
}

TEST(ShearDiagram, JumpsAtTheEndsAndMidspan) {
    const ProgramState st = simplySupported();
    RecordingSurface s;
    RecordingSink sink;
    DrawPicture(PictureKind::Shear, st, s, sink);
    ASSERT_NE(s.findText("Shear Force Diagram Units: kN"), nullptr);
    std::vector<double> jumpsAt;
    for (const auto& l : s.linesIn(colours::Red))
        if (l.x1 == l.x2 && std::abs(l.y2 - l.y1) > 1)
            jumpsAt.push_back(l.x1);
    ASSERT_EQ(jumpsAt.size(), 3u);
    EXPECT_NEAR(jumpsAt[0], 0, 1e-9);
    EXPECT_NEAR(jumpsAt[1], 5, 1e-9);
    EXPECT_NEAR(jumpsAt[2], 10, 1e-9);
    // Left half above the axis (negative), labelled at the key points.
    EXPECT_NE(s.findText("-10"), nullptr);
    EXPECT_NE(s.findText("10"), nullptr);
}

TEST(PropertyDiagram, ConstantEIsARectangle) {
    const ProgramState st = simplySupported();
    RecordingSurface s;
    RecordingSink sink;
    DrawPicture(PictureKind::EValue, st, s, sink);
    ASSERT_NE(s.findText("E Value Variation Units: kN/mm2"), nullptr);
    const auto red = s.linesIn(colours::Red);
    EXPECT_DOUBLE_EQ(red.front().x1, 0);
    EXPECT_DOUBLE_EQ(red.front().y2, 200);
    EXPECT_DOUBLE_EQ(red.back().x1, 10);
    for (std::size_t i = 1; i + 1 < red.size(); ++i) {
        EXPECT_DOUBLE_EQ(red[i].y1, 200);
        EXPECT_DOUBLE_EQ(red[i].y2, 200);
    }
}

TEST(IdealisedBeam, EverySymbol) {
    ProgramState st;
    st.model = ModelBuilder()
                   .span(10)
                   .pointLoad(5, 2)
                   .udl(3, 1, 4)
                   .tdl(10, 2, 5, 8)
                   .moment(4, 6)
                   .fixedDisplacement(7, 5, 0.01)
                   .pinned(0)
                   .fixed(10)
                   .spring(3, 1, 1)
                   .build();
    RecordingSurface s;
    RecordingSink sink;
    DrawPicture(PictureKind::Beam, st, s, sink);
    const auto red = s.linesIn(colours::Red);
    ASSERT_EQ(red.size(), 7u);
    EXPECT_DOUBLE_EQ(red[0].y2, -2.5); // point load 0.25 L
    EXPECT_DOUBLE_EQ(red[2].y2, -1.5); // UDL 0.15 L
    EXPECT_DOUBLE_EQ(red[5].y1, -2);   // TDL tall at its start
    EXPECT_DOUBLE_EQ(red[5].y2, -1);
    ASSERT_EQ(s.circlesIn(colours::Red).size(), 1u);
    EXPECT_DOUBLE_EQ(s.circlesIn(colours::Red)[0].x2, 0.3);
    EXPECT_NE(s.findText("FD = 5mm 0.01rads"), nullptr);
    EXPECT_EQ(s.linesIn(colours::Blue).size(), 2u);
    EXPECT_EQ(s.circlesIn(colours::Blue).size(), 1u); // only the fixed support
    EXPECT_EQ(s.linesIn(colours::Green).size(), 1u);
    EXPECT_EQ(s.circlesIn(colours::Green).size(), 1u);
}

TEST(Mesh, NumbersMarksAndNoUpwardForceLine) {
    ProgramState st = analysed(
        ModelBuilder().span(4).uniformEI(200, 10000).fixed(0).spring(4, 5).pointLoad(-3, 2).build(),
        0.2);
    RecordingSurface s;
    RecordingSink sink;
    DrawPicture(PictureKind::Mesh, st, s, sink);
    ASSERT_NE(s.findText("Node No.'s:"), nullptr);
    ASSERT_NE(s.findText("Element No.'s:"), nullptr);
    const auto* one = s.findText("1");
    ASSERT_NE(one, nullptr);
    EXPECT_DOUBLE_EQ(one->x1 + s.TextWidth("1") / 2, 0);
    EXPECT_EQ(one->colour, colours::Blue);
    EXPECT_TRUE(s.linesIn(colours::Black).size() == 1u); // beam line only, no force line
    // Fixed at 0 (line and circle), spring at 4 (line).
    const auto marks = s.linesIn(colours::Red);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_DOUBLE_EQ(marks[0].x1, 0);
    EXPECT_DOUBLE_EQ(marks[1].x1, 4);
    EXPECT_EQ(s.circlesIn(colours::Red).front().pen.FillStyle, FillMode::Solid);
}

TEST(Diagrams, FailingStepsAreSkipped) {
    ProgramState st = simplySupported();
    st.results.NodeMoment.resize(3); // shorter than NodeCount
    st.model.span = 0;
    RecordingSurface s;
    RecordingSink sink;
    for (int k = 0; k <= 6; ++k)
        EXPECT_NO_THROW(DrawPicture(static_cast<PictureKind>(k), st, s, sink));
    ProgramState empty;
    for (int k = 0; k <= 6; ++k)
        EXPECT_NO_THROW(DrawPicture(static_cast<PictureKind>(k), empty, s, sink));
}

TEST(Picture, Names) {
    EXPECT_EQ(PictureKindFromName("sfd"), PictureKind::Shear);
    EXPECT_EQ(PictureKindFromName("E"), PictureKind::EValue);
    EXPECT_EQ(PictureKindFromName("i"), PictureKind::IValue);
    EXPECT_FALSE(PictureKindFromName("png").has_value());
}

} // namespace
} // namespace kradon::modGraphics
