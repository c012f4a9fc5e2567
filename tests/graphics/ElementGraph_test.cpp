// The element displacement graph: the interpolated curve, its extreme and the label.
#include "graphics/ElementGraph.h"
#include "graphics/RecordingSurface.h"

#include <gtest/gtest.h>

namespace kradon {
namespace {

TEST(ElementGraph, StraightLineMarksEverySample) {
    RecordingSurface s(101, 50); // w = 100 columns
    const auto g = drawGraph(s, {0.01, 0, 0.01, 0, 1});
    EXPECT_DOUBLE_EQ(g.extreme, 0.01);
    EXPECT_DOUBLE_EQ(g.extremeX, 1.0); // the last sample, n L / w
    EXPECT_EQ(g.maxDispLbl, "Maximum Element Displacement: 1e-02m at 1e+00m");
    EXPECT_EQ(s.linesIn(colours::Red).size(), 101u);
}

TEST(ElementGraph, UpwardDeflectionGivesNegativeExtreme) {
    RecordingSurface s(201, 50);
    const auto g = drawGraph(s, {-0.003, 0, -0.003, 0, 2});
    EXPECT_DOUBLE_EQ(g.extreme, -0.003);
    EXPECT_DOUBLE_EQ(g.highest, 0.0003);
    EXPECT_NE(g.maxDispLbl.find("-3e-03m"), std::string::npos);
}

TEST(ElementGraph, FlatElementGetsARange) {
    RecordingSurface s(101, 50);
    const auto g = drawGraph(s, {0, 0, 0, 0, 1});
    EXPECT_LT(g.lowest, 0);
    EXPECT_GT(g.highest, 0);
    EXPECT_EQ(g.maxDispLbl, "Maximum Element Displacement: 0e+00m at 1e+00m");
    const auto axis = s.linesIn(colours::Black);
    ASSERT_FALSE(axis.empty());
    EXPECT_EQ(axis.back().pen.DrawWidth, 2);
}

TEST(ElementGraph, ScientificPattern) {
    EXPECT_EQ(FormatScientific(0.0123), "1.23e-02");
    EXPECT_EQ(FormatScientific(-0.001), "-1e-03");
    EXPECT_EQ(FormatScientific(250), "2.5e+02");
    EXPECT_EQ(FormatScientific(9.996), "1e+01");
    EXPECT_EQ(FormatScientific(0), "0e+00");
}

} // namespace
} // namespace kradon
