// The element displacement graph: the interpolated curve, its extreme, the range and the label.
#include "graphics/ElementGraph.h"
#include "graphics/RecordingSurface.h"

#include <gtest/gtest.h>

namespace kradon {
namespace {

TEST(ElementGraph, StraightElementsMarkEverySampleAndKeepTheAxisInRange) {
    struct Case {
        ElementEndValues values;
        int width; // pixels: one sample more than the columns
        double extreme, lowest, highest;
        const char* label;
    };
    for (const Case& c : {
             Case{{0.01, 0, 0.01, 0, 1}, 101, 0.01, -0.001, 0.01, "1e-02m at 1e+00m"},
             Case{{-0.003, 0, -0.003, 0, 2}, 201, -0.003, -0.003, 0.0003, "-3e-03m at 2e+00m"},
             Case{{0, 0, 0, 0, 1}, 101, 0, -1e-3, 1e-3, "0e+00m at 1e+00m"}, // flat
         }) {
        SCOPED_TRACE(c.label);
        RecordingSurface s(c.width, 50);
        const auto g = drawGraph(s, c.values);
        EXPECT_DOUBLE_EQ(g.extreme, c.extreme);
        EXPECT_DOUBLE_EQ(g.extremeX, c.values.eleLength); // the last sample, n L / w
        EXPECT_DOUBLE_EQ(g.lowest, c.lowest);
        EXPECT_DOUBLE_EQ(g.highest, c.highest);
        EXPECT_EQ(g.maxDispLbl, std::string(MaxDispPrefix) + c.label);
        EXPECT_EQ(s.linesIn(colours::Red).size(), static_cast<std::size_t>(c.width));
        const auto axis = s.linesIn(colours::Black);
        ASSERT_FALSE(axis.empty());
        EXPECT_EQ(axis.back().pen.DrawWidth, 2);
    }
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
