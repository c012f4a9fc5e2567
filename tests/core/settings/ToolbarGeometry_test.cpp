// The floating toolbar's geometry: which edge a dropped window docks to, the outline drag and
// the corrections on resizing, all in twips and pixels without a window.
#include "settings/ToolbarGeometry.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace kradon::modToolBar {
namespace {

TEST(ToolbarGeometry, NearCountsFarBeyondAnEdgeAsTouchingIt) {
    EXPECT_EQ(Near(200), 200);
    EXPECT_EQ(Near(-200), 200);
    EXPECT_EQ(Near(-1500), 1500);
    EXPECT_EQ(Near(-1501), 0);
    EXPECT_EQ(Near(-20000), 0);
}

struct DockCase {
    std::string name;
    TwipsRect window;
    TwipsRect main;
    std::optional<Alignment> edge;
};

TEST(ToolbarGeometry, DockIfNearEdgeChoosesTheEdge) {
    // Main windows whose top-left corner is not at the screen's, so distances are relative.
    const TwipsRect main12000{3000, 1500, 12000, 9000};
    const TwipsRect main16000{3000, 1500, 16000, 9000};
    const std::vector<DockCase> cases = {
        // t = 200, l = 1000, r = 2210, b = 8800.
        {"top at 200", {4000, 1700, 8790, 1200}, main12000, Alignment::Top},
        // t = 2000, l = 2000, r = 5210, b = 7000.
        {"afloat at 2000 and 2000", {5000, 3500, 8790, 1200}, main16000, std::nullopt},
        // t = l = 500.
        {"equal left and top dock left", {3500, 2000, 8790, 1200}, main16000, Alignment::Left},
        // t = 0 for more than 1500 beyond the top; l = 1000.
        {"1501 beyond the top touches it", {4000, -1, 8790, 1200}, main12000, Alignment::Top},
        // t = 1500 exactly, l = 3000, r = 11000, b = 7500.
        {"1500 beyond the top is not touching", {6000, 0, 2000, 1200}, main16000, std::nullopt},
        // l = 3000 beyond the left counts 0.
        {"far beyond the left", {-1000, 5000, 2000, 1200}, main16000, Alignment::Left},
        // t = 3000, l = 3000, r = 210.
        {"right", {6000, 4500, 8790, 1200}, main12000, Alignment::Right},
        // t = 8000, l = 3000, r = 7000, b = 1000.
        {"bottom", {6000, 9500, 2000, 1200}, main12000, Alignment::Bottom},
        // t = 8000, l = 3000, r = 1000, b = 1000.
        {"equal right and bottom dock right",
         {6000, 9500, 8000, 1200},
         main12000,
         Alignment::Right},
        // Every distance at least 1500: t = 1500, l = 1500, r = 1710, b = 7500.
        {"1500 from two edges stays afloat", {4500, 3000, 8790, 1200}, main12000, std::nullopt},
    };
    for (const DockCase& c : cases)
        EXPECT_EQ(DockIfNearEdge(c.window, c.main), c.edge) << c.name;
}

TEST(ToolbarGeometry, TheDragMovesTheOutlineByTheMouseTravelInPixels) {
    DragState drag = BeginDrag(450.4, 120, {100, 200, 700, 260}, 15, 12);
    EXPECT_TRUE(drag.dragging);
    EXPECT_EQ(drag.startX, 450);
    EXPECT_EQ(drag.startY, 120);
    EXPECT_EQ(drag.last, (PixelRect{100, 200, 700, 260}));

    EXPECT_EQ(DragTo(drag, 600, 240), (PixelRect{110, 210, 710, 270}));
    EXPECT_EQ(drag.last, (PixelRect{110, 210, 710, 270}));
    // 7 twips is under half a pixel, 8 over it; up and left as well.
    EXPECT_EQ(DragTo(drag, 457, 120), (PixelRect{100, 200, 700, 260}));
    EXPECT_EQ(DragTo(drag, 458, 120), (PixelRect{101, 200, 701, 260}));
    EXPECT_EQ(DragTo(drag, 0, 0), (PixelRect{70, 190, 670, 250}));
    EXPECT_EQ(drag.start, (PixelRect{100, 200, 700, 260}));

    // The window goes where the start rectangle went, in twips: 100 * 15 + 600 - 450 and
    // 200 * 12 + 240 - 120.
    EXPECT_EQ(EndDrag(drag, 600, 240), (TwipsPoint{1650, 2520}));
    EXPECT_FALSE(drag.dragging);
    EXPECT_EQ(EndDrag(drag, 600, 240), std::nullopt);
    EXPECT_EQ(DragTo(drag, 900, 900), std::nullopt);
    EXPECT_EQ(drag.last, (PixelRect{70, 190, 670, 250}));
}

TEST(ToolbarGeometry, NoDragWithoutABeginning) {
    DragState drag;
    EXPECT_EQ(DragTo(drag, 100, 100), std::nullopt);
    EXPECT_EQ(EndDrag(drag, 100, 100), std::nullopt);
}

struct ResizeCase {
    std::string name;
    TwipsRect window;
    TwipsRect main;
    TwipsRect expected;
};

TEST(ToolbarGeometry, ResizeCorrectionsInTheirOrder) {
    // The main window spans 1000..13000 across and 2000..11000 down.
    const TwipsRect main{1000, 2000, 12000, 9000};
    const std::vector<ResizeCase> cases = {
        {"within bounds", {3000, 4000, 8790, 900}, main, {3000, 4000, 8790, 900}},
        {"too high", {3000, 4000, 8790, 8700}, main, {3000, 4000, 8790, 8580}},
        {"as high as allowed", {3000, 4000, 8790, 8580}, main, {3000, 4000, 8790, 8580}},
        {"too narrow", {3000, 4000, 600, 900}, main, {3000, 4000, 1095, 900}},
        {"too narrow, widened past the right edge",
         {12500, 4000, 600, 900},
         main,
         {11845, 4000, 1095, 900}},
        {"too narrow, widened to the right edge",
         {11905, 4000, 600, 900},
         main,
         {11905, 4000, 1095, 900}},
        {"too low", {3000, 4000, 8790, 200}, main, {3000, 2360, 8790, 360}},
        {"left of the main window", {900, 4000, 8790, 900}, main, {960, 4000, 8790, 900}},
        {"narrow and left of the main window", {900, 4000, 600, 900}, main, {960, 4000, 1095, 900}},
        // The height limit of 700 - 420 = 280 is then raised to the least height.
        {"limit below the least height",
         {3000, 4000, 8790, 900},
         {1000, 2000, 12000, 700},
         {3000, 2360, 8790, 360}},
    };
    for (const ResizeCase& c : cases) {
        const FloatingLayout layout = ResizeLayout(c.window, c.main);
        EXPECT_EQ(layout.window, c.expected) << c.name;
        EXPECT_EQ(layout.corrected, !(c.window == c.expected)) << c.name;
    }
}

TEST(ToolbarGeometry, TheTitleSpansTheWindowAsResizedWithTheCloseButtonAtItsEnd) {
    const TwipsRect main{1000, 2000, 12000, 9000};
    const FloatingLayout wide = ResizeLayout({3000, 4000, 8790, 900}, main);
    EXPECT_EQ(wide.labelWidth, 8790);
    EXPECT_EQ(wide.commandLeft, 8490);
    // The title is laid out before the width is corrected; the next resize follows it.
    const FloatingLayout narrow = ResizeLayout({3000, 4000, 600, 900}, main);
    EXPECT_EQ(narrow.labelWidth, 600);
    EXPECT_EQ(narrow.commandLeft, 300);
}

} // namespace
} // namespace kradon::modToolBar
