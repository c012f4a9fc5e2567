// A drawing surface that writes an SVG document of a fixed pixel size. Numbers are written with
// two decimals through std::to_chars, so the document does not depend on the locale and the same
// drawing always gives the same bytes. Text is set in a sans-serif font of FontPixelSize pixels,
// measured with an average character width, which is close enough for centring numbers. Lines
// drawn end to end in one colour and width become one polyline, which leaves out the points that
// lie within a third of a pixel of the last one kept: a diagram of thirty thousand elements
// stays a small document and looks the same.
#pragma once

#include "graphics/DrawingSurface.h"

#include <string>
#include <string_view>
#include <vector>

namespace kradon {

class SvgSurface : public DrawingSurface {
public:
    static constexpr double FontPixelSize = 13;

    SvgSurface(int pixelWidth, int pixelHeight);

    /// The whole document: a white background and everything drawn since the last clear.
    std::string svg() const;

protected:
    void paintClear() override;
    void paintLine(double x1, double y1, double x2, double y2, Rgb colour) override;
    void paintCircle(double x, double y, double radius, Rgb colour) override;
    void paintText(double x, double y, std::string_view text) override;
    double textPixelWidth(std::string_view text) const override;
    double textPixelHeight() const override;

private:
    struct PixelPoint {
        double x = 0, y = 0;
    };

    void number(std::string& out, double v) const;
    void colour(std::string& out, Rgb c) const;
    void strokeAttributes(std::string& out, Rgb c, const Pen& pen) const;
    /// The lines waiting to be joined, their true last point included.
    std::vector<PixelPoint> endedPending() const;
    /// Points as one line or polyline element; empty for fewer than two.
    std::string elementOf(const std::vector<PixelPoint>& points) const;
    void flush();

    std::string body_;
    std::vector<PixelPoint> pending_;
    PixelPoint pendingEnd_; // the true end of the last line joined
    Rgb pendingColour_ = 0;
    Pen pendingPen_;
};

} // namespace kradon
