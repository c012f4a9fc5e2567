// The floating toolbar's geometry in twips, without a window: the edges and ties the shell's
// drags do not reach, and the corrections on resizing.
#include "settings/ToolbarGeometry.h"

#include <gtest/gtest.h>
#include <optional>
#include <utility>

namespace kradon::modToolBar {
namespace {

// The distances to the main window's edges (top, left, right, bottom) decide where a dropped
// window docks; one more than 1500 beyond an edge counts as touching it. On resizing, the
// corrections apply in turn; the main window spans 1000..13000 across and 2000..11000 down.
TEST(ToolbarGeometry, DockingEdgesAndResizeCorrections) {
    const TwipsRect m12{3000, 1500, 12000, 9000}, m16{3000, 1500, 16000, 9000};
    const struct {
        const char* name;
        TwipsRect window, main;
        std::optional<Alignment> edge;
    } drops[] = {
        {"t = l = 500: left", {3500, 2000, 8790, 1200}, m16, Alignment::Left},
        {"1501 beyond the top", {4000, -1, 8790, 1200}, m12, Alignment::Top},
        {"1500 beyond the top, l 3000", {6000, 0, 2000, 1200}, m16, std::nullopt},
        {"t 8000 l 3000 r 7000 b 1000", {6000, 9500, 2000, 1200}, m12, Alignment::Bottom},
        {"r = b = 1000: right", {6000, 9500, 8000, 1200}, m12, Alignment::Right},
    };
    for (const auto& c : drops)
        EXPECT_EQ(DockIfNearEdge(c.window, c.main), c.edge) << c.name;

    const TwipsRect main{1000, 2000, 12000, 9000};
    const std::pair<TwipsRect, TwipsRect> resized[] = {
        {{3000, 4000, 8790, 8700}, {3000, 4000, 8790, 8580}}, // too high
        {{3000, 4000, 8790, 8580}, {3000, 4000, 8790, 8580}}, // as high as allowed
        {{12500, 4000, 600, 900}, {11845, 4000, 1095, 900}},  // widened past the right edge
        {{3000, 4000, 8790, 200}, {3000, 2360, 8790, 360}},   // too low
        {{900, 4000, 600, 900}, {960, 4000, 1095, 900}},      // narrow and left of it
    };
    for (const auto& [window, expected] : resized) {
        const FloatingLayout layout = ResizeLayout(window, main);
        EXPECT_EQ(layout.window, expected) << window.left << " " << window.height;
        EXPECT_EQ(layout.corrected, !(window == expected)) << window.left << " " << window.height;
    }
}

} // namespace
} // namespace kradon::modToolBar
