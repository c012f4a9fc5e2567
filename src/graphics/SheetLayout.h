// The calculation sheet laid out on pages, free of any output device: every text, rule and
// figure with its place in millimetres on an A4 portrait page, the title block (with "Page n of
// m") on every page, tables continued on the next page under their header, and no figure or
// heading left at the foot of a page. A painter then only has to draw what stands here.
#pragma once

#include "graphics/SheetDocument.h"

#include <string>
#include <string_view>
#include <vector>

namespace kradon::sheet {

/// The width of a text in mm at a font size in points, as the output sets it.
struct TextMeasure {
    virtual ~TextMeasure() = default;
    virtual double width(std::string_view text, double points, bool bold) const = 0;
};

/// A measure from an average character width: for layouts that need no device.
class AverageTextMeasure : public TextMeasure {
public:
    double width(std::string_view text, double points, bool bold) const override;
};

inline constexpr double MillimetresPerPoint = 25.4 / 72;

/// A text with the top of its line at (x, y), mm from the page's top-left corner.
struct PageText {
    double x = 0, y = 0;
    double points = 9;
    bool bold = false;
    std::string text;
};

struct PageLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0.2; // mm
};

struct PageFigure {
    double x = 0, y = 0, w = 0, h = 0; // mm
    const Figure* figure = nullptr;    // in the document laid out
};

struct Page {
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
    std::vector<PageFigure> figures;
};

struct PageGeometry {
    double width = 210, height = 297; // A4 portrait
    double left = 15, right = 15, top = 12, bottom = 14;
};

/// The height of a line of text of that size, mm.
double LineHeight(double points);

/// The pages of the document; its figures are referred to, so it must outlive them.
std::vector<Page> LayoutSheet(const SheetDocument& document, const TextMeasure& measure,
                              const PageGeometry& geometry = {});

} // namespace kradon::sheet
