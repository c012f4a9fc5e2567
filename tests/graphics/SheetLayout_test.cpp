// The pages of the calculation sheet: every text, rule and figure within the page's body or its
// title block, long tables continued under their header, each page numbered "n of m".
#include "../../bench/BenchModels.h"
#include "AnalysedState.h"
#include "graphics/SheetBuilder.h"
#include "graphics/SheetHtml.h"
#include "graphics/SheetLayout.h"

#include <gtest/gtest.h>

namespace kradon::sheet {
namespace {

using test::analysed;

TEST(SheetLayout, LargestModelStaysOnItsPagesWithContinuedTablesAndPageNumbers) {
    const ProgramState s = analysed(bench::largestBeam());
    const SheetDocument document =
        BuildSheet(s, MakeTitleBlock("/models/largest.kdn", {"Ada", "Works"}, "2024-01-02 03:04"));
    const AverageTextMeasure measure;
    const PageGeometry g;
    const std::vector<Page> pages = LayoutSheet(document, measure, g);
    ASSERT_GE(pages.size(), 5u);
    const double eps = 1e-9;
    int continued = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const std::string number =
            "Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size());
        bool numbered = false;
        for (const PageText& t : pages[p].texts) {
            numbered = numbered || t.text == number;
            continued += t.text.find("(continued)") != std::string::npos;
            EXPECT_GE(t.x, g.left - eps) << t.text;
            EXPECT_LE(t.x + measure.width(t.text, t.points, t.bold), g.width - g.right + eps)
                << t.text;
            EXPECT_GE(t.y, g.top - eps) << t.text;
            EXPECT_LE(t.y + LineHeight(t.points), g.height - g.bottom + eps) << t.text;
        }
        EXPECT_TRUE(numbered) << number;
        for (const PageFigure& f : pages[p].figures) {
            ASSERT_NE(f.figure, nullptr);
            EXPECT_GE(f.x, g.left - eps);
            EXPECT_LE(f.x + f.w, g.width - g.right + eps);
            EXPECT_LE(f.y + f.h, g.height - g.bottom + eps) << f.figure->caption;
        }
    }
    // 30 records of every kind and a hundred spans do not fit on one page each.
    EXPECT_GE(continued, 3);
}

TEST(SheetHtml, TextsAreEscapedAndTheUserIsNamed) {
    const ProgramState s = analysed(
        test::ModelBuilder().span(4).uniformEI(200, 10000).fixed(0).pointLoad(5, 4).build());
    const std::string html =
        SheetHtml(BuildSheet(s, MakeTitleBlock("a<b>&c.kdn", {"A \"B\"", ""}, "now")));
    EXPECT_NE(html.find("Model: a&lt;b&gt;&amp;c.kdn"), std::string::npos);
    EXPECT_NE(html.find("By: A &quot;B&quot;</td>"), std::string::npos);
    EXPECT_EQ(html.find("<?xml"), std::string::npos); // the SVGs' declarations are dropped
}

} // namespace
} // namespace kradon::sheet
