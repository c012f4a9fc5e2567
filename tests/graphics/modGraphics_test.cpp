// The pictures of modGraphics read back from a recording surface: the diagrams with their
// extremes, axis values and jumps, the idealised beam and the mesh, the loading diagram, the words
// shown under the pointer, pictures of the largest model whose labels never cover one another, and
// the envelope of the three-span sample's load combinations.
#include "../../bench/BenchModels.h"
#include "AnalysedState.h"
#include "analysis/LoadCombinations.h"
#include "graphics/DiagramLabels.h"
#include "graphics/EnvelopeDiagram.h"
#include "graphics/LabelLayout.h"
#include "graphics/LoadingDiagram.h"
#include "graphics/PictureHover.h"
#include "graphics/RecordingSurface.h"
#include "graphics/modGraphics.h"

#include "json/ModelJson.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

namespace kradon::modGraphics {
namespace {

using test::analysed;
using test::ModelBuilder;
using test::RecordingSink;

/// A picture drawn onto a recording surface.
struct Drawn {
    Drawn(PictureKind kind, const ProgramState& state) { DrawPicture(kind, state, s, sink); }
    RecordingSurface s;
    RecordingSink sink;
};

void expectTexts(const RecordingSurface& s, std::initializer_list<const char*> texts) {
    for (const char* text : texts)
        EXPECT_NE(s.findText(text), nullptr) << text;
}

/// 10 m, pinned at both ends, 20 kN at midspan.
const ProgramState& simplySupported() {
    ModelBuilder b;
    b.span(10).uniformEI(200, 10000).pinned(0).pinned(10).pointLoad(20, 5);
    static const ProgramState s = analysed(b.build());
    return s;
}

/// 10 m, pinned at both ends, 50 kN at 4 m and a clockwise 20 kNm moment load at 7 m.
const ProgramState& pointAndMoment() {
    ModelBuilder b;
    b.span(10).uniformEI(205, 8356).pinned(0).pinned(10).pointLoad(50, 4).moment(20, 7);
    static const ProgramState s = analysed(b.build());
    return s;
}

/// Which printed texts cover another one.
std::vector<std::string> overlapping(const RecordingSurface& s) {
    const auto calls = s.callsOf(CallKind::Text);
    std::vector<Box> boxes;
    for (const auto& c : calls)
        boxes.push_back({c.x1, c.y1, c.x1 + s.TextWidth(c.text), c.y1 + s.TextHeight(c.text)});
    std::vector<std::string> found;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j)
            if (boxes[i].overlaps(boxes[j]))
                found.push_back(calls[i].text + " / " + calls[j].text);
    return found;
}

TEST(NiceStep, ExamplesAndScaleTable) {
    const std::pair<double, double> cases[] = {
        {10, 1.25}, {7.3, 1}, {2, 0.25}, {0.37, 0.05}, {15, 2.5}};
    for (const auto& [v, s] : cases)
        EXPECT_DOUBLE_EQ(NiceStep(v), s) << v;
    EXPECT_EQ(ScaleTable({7, 1000, -2000}, 0.001), (std::vector<double>{0, 1, -2}));
}

TEST(DrawGrid, LinesAndLabelOfAZeroFrameAndTheMessageOfAFailure) {
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
    DrawGrid(s, 1, std::numeric_limits<double>::infinity(), 10, sink);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].title + ": " + sink.shown[0].text,
              "Graphics Subroutine: Graphics Error");
    EXPECT_EQ(sink.shown[0].icon, Icon::Critical);
}

TEST(NodeDiagram, SimplySupportedMomentShearAndEPictures) {
    const ProgramState& st = simplySupported();
    // The moment outline is closed below the axis with its apex at midspan.
    const Drawn d(PictureKind::BendingMoment, st);
    ASSERT_NE(d.s.findText("Bending Moment Diagram Units: kNm"), nullptr);
    const auto red = d.s.linesIn(colours::Red);
    ASSERT_EQ(red.size(), static_cast<std::size_t>(st.mesh.NodeCount) + 1);
    EXPECT_DOUBLE_EQ(red.front().y1, 0);
    EXPECT_DOUBLE_EQ(red.back().y2, 0);
    for (const auto& l : red) {
        EXPECT_GE(l.y2, -1e-9);
        EXPECT_EQ(l.pen.DrawWidth, 3);
    }
    const auto apex = *std::max_element(red.begin(), red.end(),
                                        [](const auto& a, const auto& b) { return a.y2 < b.y2; });
    EXPECT_NEAR(apex.x2, 5, 1e-9);
    EXPECT_NEAR(apex.y2, 50, 1e-6); // PL/4 kNm
    // Frame: ym = 1.5 * 50.
    EXPECT_NEAR(d.s.callsOf(CallKind::Scale).back().y2, 75, 1e-6);
    EXPECT_TRUE(d.sink.shown.empty());
    // The shear jumps at the ends and midspan.
    const Drawn v(PictureKind::Shear, st);
    ASSERT_NE(v.s.findText("Shear Force Diagram Units: kN"), nullptr);
    std::vector<double> jumpsAt;
    for (const auto& l : v.s.linesIn(colours::Red))
        if (l.x1 == l.x2 && std::abs(l.y2 - l.y1) > 1)
            jumpsAt.push_back(l.x1);
    EXPECT_EQ(jumpsAt, (std::vector<double>{0, 5, 10}));
    // Left half above the axis (negative), labelled at the key points.
    expectTexts(v.s, {"-10", "10"});
    // A constant E is a rectangle.
    const Drawn e(PictureKind::EValue, st);
    ASSERT_NE(e.s.findText("E Value Variation Units: kN/mm2"), nullptr);
    const auto outline = e.s.linesIn(colours::Red);
    EXPECT_DOUBLE_EQ(outline.front().x1, 0);
    EXPECT_DOUBLE_EQ(outline.front().y2, 200);
    EXPECT_DOUBLE_EQ(outline.back().x1, 10);
    for (std::size_t i = 1; i + 1 < outline.size(); ++i)
        EXPECT_EQ(std::pair(outline[i].y1, outline[i].y2), std::pair(200.0, 200.0)) << i;
}

TEST(NodeDiagram, ExtremesAxesAndBothSidesOfTheMomentJump) {
    const Drawn d(PictureKind::BendingMoment, pointAndMoment());
    // R1 = (50 x 6 - 20) / 10 = 28 kN: 112 kNm at the load; at 7 m 28 x 7 - 50 x 3 = 46 kNm
    // left of the moment load and 66 kNm right of it.
    const auto* max = d.s.findText("max 112.000 kNm at 4.000 m");
    ASSERT_NE(max, nullptr);
    EXPECT_EQ(max->colour, MarkColour);
    const auto marks = d.s.circlesIn(MarkColour);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_DOUBLE_EQ(marks[0].x1, 4);
    EXPECT_NEAR(marks[0].y1, 112, 1e-9);
    expectTexts(d.s, {"46.000", "66.000", "(kNm)", "x (m)", "0", "10"});
    // The outline reaches 7 m at the left moment and jumps there to the right one.
    int jumps = 0;
    for (const auto& l : d.s.linesIn(colours::Red))
        if (l.x1 == 7 && l.x2 == 7 && std::abs(l.y1 - 46) < 1e-9 && std::abs(l.y2 - 66) < 1e-9)
            ++jumps;
    EXPECT_EQ(jumps, 1);
    EXPECT_TRUE(overlapping(d.s).empty());
    // The supports stand on the axis as blue triangles.
    EXPECT_EQ(d.s.linesIn(colours::Blue).size(), 6u);
}

TEST(IdealisedBeam, EverySymbol) {
    ModelBuilder b;
    b.span(10).pointLoad(5, 2).udl(3, 1, 4).tdl(10, 2, 5, 8).moment(4, 6);
    b.fixedDisplacement(7, 5, 0.01).pinned(0).fixed(10).spring(3, 1, 1);
    ProgramState st;
    st.model = b.build();
    const Drawn d(PictureKind::Beam, st);
    const auto red = d.s.linesIn(colours::Red);
    ASSERT_EQ(red.size(), 7u);
    EXPECT_DOUBLE_EQ(red[0].y2, -2.5); // point load 0.25 L
    EXPECT_DOUBLE_EQ(red[2].y2, -1.5); // UDL 0.15 L
    EXPECT_DOUBLE_EQ(red[5].y1, -2);   // TDL tall at its start
    EXPECT_DOUBLE_EQ(red[5].y2, -1);
    ASSERT_EQ(d.s.circlesIn(colours::Red).size(), 1u);
    EXPECT_DOUBLE_EQ(d.s.circlesIn(colours::Red)[0].x2, 0.3);
    EXPECT_NE(d.s.findText("FD = 5mm 0.01rads"), nullptr);
    EXPECT_EQ(d.s.linesIn(colours::Blue).size(), 2u);
    EXPECT_EQ(d.s.circlesIn(colours::Blue).size(), 1u); // only the fixed support
    EXPECT_EQ(d.s.linesIn(colours::Green).size(), 1u);
    EXPECT_EQ(d.s.circlesIn(colours::Green).size(), 1u);
}

TEST(Mesh, NumbersMarksAndNoUpwardForceLine) {
    ModelBuilder b;
    b.span(4).uniformEI(200, 10000).fixed(0).spring(4, 5).pointLoad(-3, 2);
    const Drawn d(PictureKind::Mesh, analysed(b.build(), 0.2));
    expectTexts(d.s, {"Node No.'s:", "Element No.'s:"});
    const auto* one = d.s.findText("1");
    ASSERT_NE(one, nullptr);
    EXPECT_DOUBLE_EQ(one->x1 + d.s.TextWidth("1") / 2, 0);
    EXPECT_EQ(one->colour, colours::Blue);
    EXPECT_EQ(d.s.linesIn(colours::Black).size(), 1u); // beam line only, no force line
    // Fixed at 0 (line and circle), spring at 4 (line).
    const auto marks = d.s.linesIn(colours::Red);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_DOUBLE_EQ(marks[0].x1, 0);
    EXPECT_DOUBLE_EQ(marks[1].x1, 4);
    EXPECT_EQ(d.s.circlesIn(colours::Red).front().pen.FillStyle, FillMode::Solid);
}

TEST(DiagramLabels, TheLargestModelKeepsItsLabelsApartNamesEveryRecordAndThinsTheMesh) {
    const ProgramState st = analysed(bench::largestBeam(), 10);
    ASSERT_GT(st.mesh.NodeCount, 30000);
    for (const PictureKind kind :
         {PictureKind::Beam, PictureKind::Mesh, PictureKind::BendingMoment, PictureKind::Shear,
          PictureKind::Deflection, PictureKind::EValue}) {
        const auto found = overlapping(Drawn(kind, st).s);
        EXPECT_TRUE(found.empty()) << PictureKindName(kind) << ": " << found.size() << " e.g. "
                                   << (found.empty() ? "" : found.front());
    }
    const Drawn beam(PictureKind::Beam, st);
    for (const char* letter : {"P", "U", "T", "M", "R", "K"})
        for (int n = 1; n <= 30; ++n)
            EXPECT_NE(beam.s.findText(letter + std::to_string(n)), nullptr) << letter << n;
    const auto texts = beam.s.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "FD = 1mm 0rads"), 30);
    // Node ticks at least 8 pixels apart, force lines at least 4 apart but for the point and
    // moment loads, numbers only where they fit.
    const Drawn mesh(PictureKind::Mesh, st);
    EXPECT_LE(mesh.s.linesIn(colours::Red).size(), 1200u / 8 + 2 + 60 * 2);
    EXPECT_LE(mesh.s.linesIn(colours::Black).size(), 1 + 1200u / 4 + 60);
    EXPECT_LT(mesh.s.callsOf(CallKind::Text).size(), 60u);
    EXPECT_NE(mesh.s.findText("1"), nullptr);
}

TEST(Pictures, BrokenStatesAndAbsurdSpansAreDrawnWithoutThrowingOrEndlessLabels) {
    ProgramState broken = simplySupported();
    broken.results.NodeMoment.resize(3); // shorter than NodeCount
    broken.model.span = 0;
    std::vector<ProgramState> states{broken, ProgramState()};
    for (const double span : {1e300, std::numeric_limits<double>::infinity(), 1e-300})
        states.emplace_back().model = ModelBuilder().span(span).pinned(0).build();
    for (const ProgramState& st : states) {
        for (int k = 0; k <= 6; ++k) // an exception fails the test as well
            EXPECT_LT(Drawn(static_cast<PictureKind>(k), st).s.calls().size(), 5000u)
                << st.model.span << " " << k;
        RecordingSurface loading;
        DrawLoadingDiagram(loading, st.model);
        EXPECT_LT(loading.calls().size(), 5000u) << st.model.span;
    }
}

TEST(LoadingDiagram, LoadsToScaleTheWayTheyActEveryRecordLabelled) {
    ModelBuilder b;
    b.span(10).pinned(0).fixed(10).pointLoad(20, 3).pointLoad(-10, 6).udl(5, 0, 10).moment(8, 5);
    RecordingSurface s;
    DrawLoadingDiagram(s, b.build());
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
    expectTexts(s, {"P1 20 kN", "P2 -10 kN", "U1 5 kN/m", "M1 8 kNm", "R1 Pinned", "R2 Fixed", "0",
                    "3", "10", "m"});
}

TEST(PictureHover, ExactValuesBothSidesRecordsNodesAndProperties) {
    const ProgramState& st = pointAndMoment();
    for (const auto& [kind, x, text] : std::vector<std::tuple<PictureKind, double, std::string>>{
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
        EXPECT_EQ(HoverText(kind, st, x, 0.05), text) << PictureKindName(kind) << x;
    const std::string deflection = HoverText(PictureKind::Deflection, st, 4, 0.05);
    EXPECT_EQ(deflection.rfind("x = 4.000 m: deflection = ", 0), 0u) << deflection;
    EXPECT_NE(deflection.find(" mm, rotation = "), std::string::npos);
}

TEST(EnvelopeDiagram, MomentEnvelopeHasBothCurvesAndGoverningExtremesOtherPicturesNone) {
    const CaseModel model = ModelJson::OpenCaseModelFile(std::filesystem::path(KRADON_EXAMPLES) /
                                                         "three-span-patterned.kradon.json");
    const test::TestFolder folder;
    NullStatusSink status;
    test::RecordingSink messages;
    CasesOutcome outcome = AnalyseCases(model, folder.path(), status, messages);
    ASSERT_EQ(outcome.outcome, AnalyseOutcome::Completed);
    const CaseAnalysis& analysis = *outcome.analysis;
    const EnvelopeResult envelope = Envelope(analysis, EnvelopeLoadings(model));
    const auto draw = [&](RecordingSurface& s, PictureKind kind) {
        return DrawEnvelopeDiagram(s, kind, analysis, envelope, model, messages);
    };
    RecordingSurface s;
    ASSERT_TRUE(draw(s, PictureKind::BendingMoment));
    const auto elements = static_cast<std::size_t>(analysis.frame.mesh.ElementCount);
    // One line per element and one at each end down to the axis, in each colour.
    EXPECT_EQ(s.linesIn(colours::Blue).size(), elements + 2);
    EXPECT_EQ(s.linesIn(colours::Red).size(), elements + 2);
    // 0.1 x 13.5 x 36 + 7/60 x 22.5 x 36 over the inner support; sagging with Q on the end spans.
    for (const char* text : {"min -143.100 kNm at 6.000 m: ULS with Q on spans 1, 2",
                             "max 120.513 kNm at 2.587 m: ULS with Q on spans 1, 3",
                             "Envelope of ULS, SLS: largest red, smallest blue"})
        EXPECT_NE(s.findText(text), nullptr) << text;
    // Pictures without an envelope are not drawn.
    for (PictureKind kind :
         {PictureKind::Beam, PictureKind::Mesh, PictureKind::EValue, PictureKind::IValue}) {
        RecordingSurface other;
        EXPECT_FALSE(draw(other, kind));
        EXPECT_TRUE(other.calls().empty());
    }
}

} // namespace
} // namespace kradon::modGraphics
