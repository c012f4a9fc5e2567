// The SVG writer: a well-formed, deterministic document.
#include "analysis/ModelBuilder.h"
#include "graphics/SvgSurface.h"
#include "graphics/modGraphics.h"

#include <gtest/gtest.h>

namespace kradon {
namespace {

std::string beamPicture() {
    ProgramState s;
    s.model = test::ModelBuilder().span(10).pinned(0).fixed(10).pointLoad(5, 4).build();
    SvgSurface svg(600, 400);
    test::RecordingSink sink;
    modGraphics::DrawPicture(modGraphics::PictureKind::Beam, s, svg, sink);
    return svg.svg();
}

TEST(SvgSurface, DeterministicAndClosed) {
    const std::string a = beamPicture();
    EXPECT_EQ(a, beamPicture());
    EXPECT_EQ(a.rfind("</svg>\n"), a.size() - 7);
    EXPECT_NE(a.find("fill=\"#ffffff\""), std::string::npos);
    // Point load in red at x = 4 m: pixel (4 + 1) / 12 * 600 = 250.
    EXPECT_NE(a.find("<line x1=\"250.00\" y1=\"200.00\" x2=\"250.00\" y2=\"100.00\" "
                     "stroke=\"#ff0000\""),
              std::string::npos);
}

TEST(SvgSurface, LinesEndToEndBecomeOnePolylineAndTheRestKeepTheirStylesAndEscapes) {
    SvgSurface s(100, 100);
    s.line(0, 0, 10, 0, colours::Red);
    s.line(10, 0, 10.1, 0.1, colours::Red); // within a third of a pixel: left out
    s.line(10.1, 0.1, 20, 20, colours::Red);
    s.line(20, 20, 20.2, 20, colours::Red); // the last point stands whatever its distance
    s.line(50, 50, 60, 60, colours::Red);   // not joined: a line of its own
    s.pen.DrawStyle = LineStyle::Dotted;
    s.line(0, 0, 10, 10, colours::Navy);
    s.pen.FillStyle = FillMode::Solid;
    s.circle(50, 50, 5, colours::Red);
    s.print("a<b&c");
    const std::string d = s.svg();
    for (const char* part :
         {"<polyline points=\"0.00,0.00 10.00,0.00 20.00,20.00 20.20,20.00\" "
          "fill=\"none\" stroke=\"#ff0000\"",
          "<line x1=\"50.00\" y1=\"50.00\" x2=\"60.00\" y2=\"60.00\"", "stroke-dasharray",
          "stroke=\"#000080\"", "fill=\"#ff0000\"", ">a&lt;b&amp;c</text>"})
        EXPECT_NE(d.find(part), std::string::npos) << part << "\n" << d;
}

} // namespace
} // namespace kradon
