// The floating toolbar's geometry: which edge a dropped window docks to and the corrections on
// resizing, in twips without a window. The shell's tests drag the outline.
#include "settings/ToolbarGeometry.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace kradon::modToolBar {
namespace {

struct DockCase {
    std::string name;
    TwipsRect window;
    TwipsRect main;
    std::optional<Alignment> edge;
};

// The distances to the main window's edges (top, left, right, bottom) decide; one more than 1500
// beyond an edge counts as touching it. Main windows whose top-left corner is not at the
// screen's, so distances are relative.
TEST(ToolbarGeometry, DockIfNearEdgeChoosesTheEdge) {
    EXPECT_EQ(Near(-200), 200);
    EXPECT_EQ(Near(-1500), 1500);
    EXPECT_EQ(Near(-1501), 0);
    const TwipsRect m12{3000, 1500, 12000, 9000}, m16{3000, 1500, 16000, 9000};
    const std::vector<DockCase> cases = {
        {"t 200 l 1000 r 2210 b 8800", {4000, 1700, 8790, 1200}, m12, Alignment::Top},
        {"t 2000 l 2000 r 5210 b 7000", {5000, 3500, 8790, 1200}, m16, std::nullopt},
        {"t = l = 500: left", {3500, 2000, 8790, 1200}, m16, Alignment::Left},
        {"1501 beyond the top", {4000, -1, 8790, 1200}, m12, Alignment::Top},
        {"1500 beyond the top, l 3000", {6000, 0, 2000, 1200}, m16, std::nullopt},
        {"3000 beyond the left", {-1000, 5000, 2000, 1200}, m16, Alignment::Left},
        {"t 3000 l 3000 r 210", {6000, 4500, 8790, 1200}, m12, Alignment::Right},
        {"t 8000 l 3000 r 7000 b 1000", {6000, 9500, 2000, 1200}, m12, Alignment::Bottom},
        {"r = b = 1000: right", {6000, 9500, 8000, 1200}, m12, Alignment::Right},
        {"t 1500 l 1500 r 1710 b 7500", {4500, 3000, 8790, 1200}, m12, std::nullopt},
    };
    for (const DockCase& c : cases)
        EXPECT_EQ(DockIfNearEdge(c.window, c.main), c.edge) << c.name;
}

struct ResizeCase {
    std::string name;
    TwipsRect window;
    TwipsRect expected;
};

// The main window spans 1000..13000 across and 2000..11000 down. The title is laid out before
// the width is corrected; the next resize follows it.
TEST(ToolbarGeometry, ResizeCorrectionsInTheirOrderAndTheTitleSpansTheWindow) {
    const TwipsRect main{1000, 2000, 12000, 9000};
    const std::vector<ResizeCase> cases = {
        {"within bounds", {3000, 4000, 8790, 900}, {3000, 4000, 8790, 900}},
        {"too high", {3000, 4000, 8790, 8700}, {3000, 4000, 8790, 8580}},
        {"as high as allowed", {3000, 4000, 8790, 8580}, {3000, 4000, 8790, 8580}},
        {"too narrow", {3000, 4000, 600, 900}, {3000, 4000, 1095, 900}},
        {"widened past the right edge", {12500, 4000, 600, 900}, {11845, 4000, 1095, 900}},
        {"widened to the right edge", {11905, 4000, 600, 900}, {11905, 4000, 1095, 900}},
        {"too low", {3000, 4000, 8790, 200}, {3000, 2360, 8790, 360}},
        {"left of the main window", {900, 4000, 8790, 900}, {960, 4000, 8790, 900}},
        {"narrow and left of it", {900, 4000, 600, 900}, {960, 4000, 1095, 900}},
    };
    for (const ResizeCase& c : cases) {
        const FloatingLayout layout = ResizeLayout(c.window, main);
        EXPECT_EQ(layout.window, c.expected) << c.name;
        EXPECT_EQ(layout.corrected, !(c.window == c.expected)) << c.name;
        EXPECT_EQ(layout.labelWidth, c.window.width) << c.name;
        EXPECT_EQ(layout.commandLeft, c.window.width - 300) << c.name;
    }
    // The height limit of 700 - 420 = 280 is raised to the least height.
    EXPECT_EQ(ResizeLayout({3000, 4000, 8790, 900}, {1000, 2000, 12000, 700}).window,
              (TwipsRect{3000, 2360, 8790, 360}));
}

} // namespace
} // namespace kradon::modToolBar
