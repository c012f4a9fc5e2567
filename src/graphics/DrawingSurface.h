// The drawing surface every picture of the program is drawn on: the operations of a picture box
// (a user scale, lines, circles, text at a current position, widths, styles and colours). The
// drawing routines use only this interface; backends (a QPainter, an SVG writer, a recorder for
// tests) supply the device hooks. All coordinates the routines and the hooks see are user
// coordinates; a backend maps them to pixels with pixelX / pixelY.
#pragma once

#include <cstdint>
#include <string_view>

namespace kradon {

/// A 24-bit colour written as red + 256 * green + 65536 * blue.
using Rgb = std::int32_t;

namespace colours {
inline constexpr Rgb Black = 0;
inline constexpr Rgb Red = 255;
inline constexpr Rgb Green = 65280;
inline constexpr Rgb Blue = 16711680;
inline constexpr Rgb Navy = 8388608;
inline constexpr Rgb White = 16777215;
} // namespace colours

constexpr int redOf(Rgb colour) {
    return colour & 0xFF;
}
constexpr int greenOf(Rgb colour) {
    return (colour >> 8) & 0xFF;
}
constexpr int blueOf(Rgb colour) {
    return (colour >> 16) & 0xFF;
}

enum class LineStyle : std::int16_t { Solid = 0, Dotted = 2 };
enum class FillMode : std::int16_t { Solid = 0, Transparent = 1 };

/// The drawing state that stays in force until changed.
struct Pen {
    int DrawWidth = 1; // pixels
    LineStyle DrawStyle = LineStyle::Solid;
    FillMode FillStyle = FillMode::Transparent; // solid fills circles with their own colour
    Rgb ForeColor = colours::Black;             // text, and lines drawn without a colour
    bool FontBold = false;
};

/// A line width in whole pixels, as a picture box rounds it (1.5 gives 2).
int RoundDrawWidth(double width);

class DrawingSurface {
public:
    /// A surface of the given pixel size; until a scale is set, user units are pixels with
    /// (0, 0) at the top-left corner.
    DrawingSurface(int pixelWidth, int pixelHeight);
    virtual ~DrawingSurface() = default;
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;

    /// Erases to the white background and puts the current position at the top-left corner.
    void clear();
    /// (x1, y1) becomes the top-left corner and (x2, y2) the bottom-right corner. Throws
    /// KradonError 5 for an empty or non-finite range, keeping the old scale.
    void setScale(double x1, double y1, double x2, double y2);
    /// Afterwards the current position is (x2, y2). Throws KradonError 6 for a point that lies
    /// beyond any device (not finite, or more than 1e9 pixels away); nothing is drawn then.
    void line(double x1, double y1, double x2, double y2, Rgb colour);
    void line(double x1, double y1, double x2, double y2) { line(x1, y1, x2, y2, pen.ForeColor); }
    /// The radius is measured along x. Throws like line.
    void circle(double x, double y, double radius, Rgb colour);
    void circle(double x, double y, double radius) { circle(x, y, radius, pen.ForeColor); }
    /// Writes the text with its top-left corner at the current position in ForeColor, then moves
    /// to the left edge of the next line.
    void print(std::string_view text);

    double TextWidth(std::string_view text) const;  // user units along x
    double TextHeight(std::string_view text) const; // user units along y, one line
    double ScaleLeft() const { return x1_; }
    double ScaleTop() const { return y1_; }
    double ScaleWidth() const { return x2_ - x1_; }
    double ScaleHeight() const { return y2_ - y1_; }
    int pixelWidth() const { return pixelWidth_; }
    int pixelHeight() const { return pixelHeight_; }
    /// The pixel position of a user coordinate (0 at the left or top edge).
    double pixelX(double x) const { return (x - x1_) / (x2_ - x1_) * pixelWidth_; }
    double pixelY(double y) const { return (y - y1_) / (y2_ - y1_) * pixelHeight_; }

    Pen pen;
    double CurrentX = 0;
    double CurrentY = 0;

protected:
    // Device hooks. Coordinates are user coordinates, already checked to map onto finite pixels.
    virtual void paintClear() = 0;
    virtual void paintLine(double x1, double y1, double x2, double y2, Rgb colour) = 0;
    virtual void paintCircle(double x, double y, double radius, Rgb colour) = 0;
    virtual void paintText(double x, double y, std::string_view text) = 0;
    /// Text extents in pixels for the current pen (FontBold).
    virtual double textPixelWidth(std::string_view text) const = 0;
    virtual double textPixelHeight() const = 0;
    /// Told after every successful setScale, for backends that record or transform.
    virtual void scaleChanged() {}

private:
    void checkPoint(double x, double y) const;

    int pixelWidth_;
    int pixelHeight_;
    double x1_ = 0, y1_ = 0, x2_, y2_;
};

} // namespace kradon
