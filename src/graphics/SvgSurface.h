// A drawing surface that writes an SVG document of a fixed pixel size. Numbers are written with
// two decimals through std::to_chars, so the document does not depend on the locale and the same
// drawing always gives the same bytes. Text is set in a sans-serif font of FontPixelSize pixels,
// measured with an average character width, which is close enough for centring numbers.
#pragma once

#include "graphics/DrawingSurface.h"

#include <string>
#include <string_view>

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
    void number(double v);
    void colour(Rgb c);
    void strokeAttributes(Rgb c);

    std::string body_;
};

} // namespace kradon
