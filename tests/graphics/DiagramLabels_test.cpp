// The numbers on the pictures: extremes, axis values and jumps on the diagrams, pictures of the
// largest model whose labels never cover one another, the mesh at its densest, and the words
// shown under the pointer.
#include "../../bench/BenchModels.h"
#include "TestFolder.h"
#include "analysis/AnalyseCommand.h"
#include "analysis/ModelBuilder.h"
#include "graphics/DiagramLabels.h"
#include "graphics/LabelLayout.h"
#include "graphics/LoadingDiagram.h"
#include "graphics/PictureHover.h"
#include "graphics/RecordingSurface.h"

#include <gtest/gtest.h>
#include <limits>

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
    EXPECT_EQ(AnalyseCore(s, folder.path(), status, sink).outcome, AnalyseOutcome::Completed);
    return s;
}

/// 10 m, pinned at both ends, 50 kN at 4 m and a clockwise 20 kNm moment load at 7 m.
ProgramState pointAndMoment() {
    return analysed(ModelBuilder()
                        .span(10)
                        .uniformEI(205, 8356)
                        .pinned(0)
                        .pinned(10)
                        .pointLoad(50, 4)
                        .moment(20, 7)
                        .build());
}

const ProgramState& largest() {
    static const ProgramState s = analysed(bench::largestBeam(), 10);
    return s;
}

std::vector<Box> textBoxes(const RecordingSurface& s) {
    std::vector<Box> boxes;
    for (const auto& call : s.callsOf(CallKind::Text))
        boxes.push_back({call.x1, call.y1, call.x1 + s.TextWidth(call.text),
                         call.y1 + s.TextHeight(call.text)});
    return boxes;
}

/// Which printed texts cover another one; the texts of the frame (title, scale label) are drawn
/// where they have always been and are left out.
std::vector<std::string> overlapping(const RecordingSurface& s) {
    const auto calls = s.callsOf(CallKind::Text);
    const auto boxes = textBoxes(s);
    std::vector<std::string> found;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j)
            if (boxes[i].overlaps(boxes[j]))
                found.push_back(calls[i].text + " / " + calls[j].text);
    return found;
}

TEST(DiagramLabels, ExtremesAxesAndBothSidesOfTheMomentJump) {
    const ProgramState st = pointAndMoment();
    RecordingSurface s;
    RecordingSink sink;
    DrawPicture(PictureKind::BendingMoment, st, s, sink);
    // R1 = (50 x 6 - 20) / 10 = 28 kN: 112 kNm at the load; at 7 m 28 x 7 - 50 x 3 = 46 kNm
    // left of the moment load and 66 kNm right of it.
    const auto* max = s.findText("max 112.000 kNm at 4.000 m");
    ASSERT_NE(max, nullptr);
    EXPECT_EQ(max->colour, MarkColour);
    const auto marks = s.circlesIn(MarkColour);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_DOUBLE_EQ(marks[0].x1, 4);
    EXPECT_NEAR(marks[0].y1, 112, 1e-9);
    EXPECT_NE(s.findText("46.000"), nullptr);
    EXPECT_NE(s.findText("66.000"), nullptr);
    // The outline reaches 7 m at the left moment and jumps there to the right one.
    int jumps = 0;
    for (const auto& l : s.linesIn(colours::Red))
        if (l.x1 == 7 && l.x2 == 7 && std::abs(l.y1 - 46) < 1e-9 && std::abs(l.y2 - 66) < 1e-9)
            ++jumps;
    EXPECT_EQ(jumps, 1);
    for (const char* axis : {"(kNm)", "x (m)", "0", "10"})
        EXPECT_NE(s.findText(axis), nullptr) << axis;
    EXPECT_TRUE(overlapping(s).empty());
    // The supports stand on the axis as blue triangles.
    EXPECT_EQ(s.linesIn(colours::Blue).size(), 6u);
}

TEST(DiagramLabels, EveryPictureOfTheLargestModelKeepsItsLabelsApart) {
    RecordingSink sink;
    for (const PictureKind kind :
         {PictureKind::Beam, PictureKind::Mesh, PictureKind::BendingMoment, PictureKind::Shear,
          PictureKind::Deflection, PictureKind::EValue}) {
        RecordingSurface s;
        DrawPicture(kind, largest(), s, sink);
        const auto found = overlapping(s);
        EXPECT_TRUE(found.empty()) << PictureKindName(kind) << ": " << found.size() << " e.g. "
                                   << (found.empty() ? "" : found.front());
    }
}

TEST(DiagramLabels, IdealisedBeamNamesEveryRecordOfTheLargestModel) {
    RecordingSurface s;
    RecordingSink sink;
    DrawPicture(PictureKind::Beam, largest(), s, sink);
    for (const char* letter : {"P", "U", "T", "M", "R", "K"})
        for (int n = 1; n <= 30; ++n)
            EXPECT_NE(s.findText(letter + std::to_string(n)), nullptr) << letter << n;
    int fixedDisplacements = 0;
    for (const auto& text : s.texts())
        fixedDisplacements += text == "FD = 1mm 0rads";
    EXPECT_EQ(fixedDisplacements, 30);
}

TEST(DiagramLabels, DenseMeshIsDrawnAtAReadableSpacing) {
    const ProgramState& st = largest();
    ASSERT_GT(st.mesh.NodeCount, 30000);
    RecordingSurface s(1200, 800);
    RecordingSink sink;
    DrawPicture(PictureKind::Mesh, st, s, sink);
    // Node ticks at least 8 pixels apart, force lines at least 4 apart but for the point and
    // moment loads, numbers only where they fit.
    EXPECT_LE(s.linesIn(colours::Red).size(), 1200u / 8 + 2 + 60 * 2);
    EXPECT_LE(s.linesIn(colours::Black).size(), 1 + 1200u / 4 + 60);
    EXPECT_LT(s.callsOf(CallKind::Text).size(), 60u);
    EXPECT_NE(s.findText("1"), nullptr);
}

TEST(DiagramLabels, AbsurdSpansAreDrawnWithoutEndlessLabels) {
    RecordingSink sink;
    for (const double span : {1e300, std::numeric_limits<double>::infinity(), 1e-300}) {
        ProgramState st;
        st.model = ModelBuilder().span(span).pinned(0).build();
        for (int k = 0; k <= 6; ++k) {
            RecordingSurface s;
            EXPECT_NO_THROW(DrawPicture(static_cast<PictureKind>(k), st, s, sink));
            EXPECT_LT(s.calls().size(), 5000u) << span << " " << k;
        }
        RecordingSurface loading;
        DrawLoadingDiagram(loading, st.model);
        EXPECT_LT(loading.calls().size(), 5000u) << span;
    }
}

TEST(LoadingDiagram, LoadsToScaleTheWayTheyActEveryRecordLabelled) {
    const BeamModel m = ModelBuilder()
                            .span(10)
                            .pinned(0)
                            .fixed(10)
                            .pointLoad(20, 3)
                            .pointLoad(-10, 6)
                            .udl(5, 0, 10)
                            .moment(8, 5)
                            .build();
    RecordingSurface s;
    DrawLoadingDiagram(s, m);
    // The shafts of the two arrows: downwards onto the beam at 3 m, upwards off it at 6 m, half
    // as long.
    double down = 0, up = 0;
    for (const auto& l : s.linesIn(colours::Red)) {
        if (l.x1 == 3 && l.x2 == 3 && l.y2 == 0)
            down = l.y1;
        if (l.x1 == 6 && l.x2 == 6 && l.y1 == 0)
            up = l.y2;
    }
    ASSERT_LT(down, 0);
    EXPECT_NEAR(up / down, 0.5, 1e-12);
    for (const char* label : {"P1 20 kN", "P2 -10 kN", "U1 5 kN/m", "M1 8 kNm", "R1 Pinned",
                              "R2 Fixed", "0", "3", "10", "m"})
        EXPECT_NE(s.findText(label), nullptr) << label;
}

TEST(PictureHover, ExactValuesBothSidesRecordsNodesAndProperties) {
    const ProgramState st = pointAndMoment();
    struct Case {
        PictureKind kind;
        double x;
        std::string text;
    };
    for (const auto& c : std::vector<Case>{
             {PictureKind::BendingMoment, 2, "x = 2.000 m: M = 56.000 kNm"},
             {PictureKind::BendingMoment, 7.03,
              "x = 7.000 m: M = 46.000 kNm left, 66.000 kNm right"},
             {PictureKind::Shear, 3.99, "x = 4.000 m: V = -28.000 kN left, 22.000 kN right"},
             {PictureKind::Shear, 5, "x = 5.000 m: V = 22.000 kN"},
             {PictureKind::Beam, 4.02, "Point Load 1: 50 kN at 4 m"},
             {PictureKind::Beam, 0, "Rigid Support 1: Pinned at 0 m"},
             {PictureKind::Beam, 5, ""},
             {PictureKind::Mesh, 0.01, "Node 1 at 0 m"},
             {PictureKind::EValue, 3, "x = 3.000 m: E = 205 kN/mm2"},
             {PictureKind::BendingMoment, 11, ""},
         })
        EXPECT_EQ(HoverText(c.kind, st, c.x, 0.05), c.text) << PictureKindName(c.kind) << c.x;
    const std::string deflection = HoverText(PictureKind::Deflection, st, 4, 0.05);
    EXPECT_EQ(deflection.rfind("x = 4.000 m: deflection = ", 0), 0u) << deflection;
    EXPECT_NE(deflection.find(" mm, rotation = "), std::string::npos);
}

} // namespace
} // namespace kradon::modGraphics
