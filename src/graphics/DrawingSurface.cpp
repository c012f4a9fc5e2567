#include "graphics/DrawingSurface.h"

#include "model/KradonError.h"

#include <cmath>

namespace kradon {

namespace {
constexpr const char* Source = "DrawingSurface";
// A picture box refuses coordinates that no device could hold; this keeps a runaway value
// (a result of 1e300, say) from reaching the painter.
constexpr double FarthestPixel = 1e9;

bool usableRange(double a, double b) {
    return std::isfinite(a) && std::isfinite(b) && a != b;
}
} // namespace

int RoundDrawWidth(double width) {
    const long rounded = std::lround(width);
    return rounded < 1 ? 1 : static_cast<int>(rounded);
}

DrawingSurface::DrawingSurface(int pixelWidth, int pixelHeight)
    : pixelWidth_(pixelWidth < 1 ? 1 : pixelWidth), pixelHeight_(pixelHeight < 1 ? 1 : pixelHeight),
      x2_(pixelWidth_), y2_(pixelHeight_) {}

void DrawingSurface::clear() {
    paintClear();
    CurrentX = x1_;
    CurrentY = y1_;
}

void DrawingSurface::setScale(double x1, double y1, double x2, double y2) {
    if (!usableRange(x1, x2) || !usableRange(y1, y2))
        throw KradonError(ErrorNumber::InvalidArgument, Source,
                          "Invalid procedure call or argument");
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    scaleChanged();
}

void DrawingSurface::checkPoint(double x, double y) const {
    const double px = pixelX(x);
    const double py = pixelY(y);
    if (!std::isfinite(px) || !std::isfinite(py) || std::fabs(px) > FarthestPixel ||
        std::fabs(py) > FarthestPixel)
        throw KradonError(ErrorNumber::Overflow, Source, "Overflow");
}

void DrawingSurface::line(double x1, double y1, double x2, double y2, Rgb colour) {
    checkPoint(x1, y1);
    checkPoint(x2, y2);
    paintLine(x1, y1, x2, y2, colour);
    CurrentX = x2;
    CurrentY = y2;
}

void DrawingSurface::circle(double x, double y, double radius, Rgb colour) {
    checkPoint(x, y);
    checkPoint(x + radius, y);
    paintCircle(x, y, radius, colour);
    CurrentX = x;
    CurrentY = y;
}

void DrawingSurface::print(std::string_view text) {
    checkPoint(CurrentX, CurrentY);
    paintText(CurrentX, CurrentY, text);
    CurrentX = x1_;
    CurrentY += TextHeight(text);
}

double DrawingSurface::TextWidth(std::string_view text) const {
    return textPixelWidth(text) * ScaleWidth() / pixelWidth_;
}

double DrawingSurface::TextHeight(std::string_view) const {
    return textPixelHeight() * ScaleHeight() / pixelHeight_;
}

} // namespace kradon
