#include "graphics/SvgSurface.h"

#include <charconv>
#include <cmath>

namespace kradon {

namespace {
// Average advance of a sans-serif character relative to the font size; bold runs wider.
constexpr double CharWidthFactor = 0.55;
constexpr double BoldCharWidthFactor = 0.6;
// Line advance relative to the font size, and the baseline's depth below the top of a line.
constexpr double LineFactor = 1.2;
constexpr double AscentFactor = 0.95;

constexpr char HexDigits[] = "0123456789abcdef";
} // namespace

SvgSurface::SvgSurface(int pixelWidth, int pixelHeight) : DrawingSurface(pixelWidth, pixelHeight) {
    body_.reserve(1 << 16);
}

void SvgSurface::number(double v) {
    // Two decimals are a hundredth of a pixel; -0.00 is written as 0.
    const double rounded = std::round(v * 100) / 100;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded,
                                      std::chars_format::fixed, 2);
    body_.append(buffer, result.ptr);
}

void SvgSurface::colour(Rgb c) {
    const int parts[3] = {redOf(c), greenOf(c), blueOf(c)};
    body_ += '#';
    for (const int part : parts) {
        body_ += HexDigits[part >> 4];
        body_ += HexDigits[part & 0xF];
    }
}

void SvgSurface::strokeAttributes(Rgb c) {
    body_ += " stroke=\"";
    colour(c);
    body_ += "\" stroke-width=\"";
    body_ += std::to_string(pen.DrawWidth < 1 ? 1 : pen.DrawWidth);
    body_ += '"';
    if (pen.DrawStyle == LineStyle::Dotted)
        body_ += " stroke-dasharray=\"1 2\"";
}

void SvgSurface::paintClear() {
    body_.clear();
}

void SvgSurface::paintLine(double x1, double y1, double x2, double y2, Rgb c) {
    body_ += "<line x1=\"";
    number(pixelX(x1));
    body_ += "\" y1=\"";
    number(pixelY(y1));
    body_ += "\" x2=\"";
    number(pixelX(x2));
    body_ += "\" y2=\"";
    number(pixelY(y2));
    body_ += '"';
    strokeAttributes(c);
    body_ += " stroke-linecap=\"round\"/>\n";
}

void SvgSurface::paintCircle(double x, double y, double radius, Rgb c) {
    // The radius runs along x, so it is measured in pixels of the x scale.
    body_ += "<circle cx=\"";
    number(pixelX(x));
    body_ += "\" cy=\"";
    number(pixelY(y));
    body_ += "\" r=\"";
    number(std::fabs(pixelX(x + radius) - pixelX(x)));
    body_ += '"';
    strokeAttributes(c);
    if (pen.FillStyle == FillMode::Solid) {
        body_ += " fill=\"";
        colour(c);
        body_ += "\"/>\n";
        return;
    }
    body_ += " fill=\"none\"/>\n";
}

void SvgSurface::paintText(double x, double y, std::string_view text) {
    body_ += "<text x=\"";
    number(pixelX(x));
    body_ += "\" y=\"";
    number(pixelY(y) + AscentFactor * FontPixelSize);
    body_ += "\" fill=\"";
    colour(pen.ForeColor);
    body_ += '"';
    if (pen.FontBold)
        body_ += " font-weight=\"bold\"";
    body_ += '>';
    for (const char ch : text) {
        switch (ch) {
        case '&':
            body_ += "&amp;";
            break;
        case '<':
            body_ += "&lt;";
            break;
        case '>':
            body_ += "&gt;";
            break;
        default:
            body_ += ch;
        }
    }
    body_ += "</text>\n";
}

double SvgSurface::textPixelWidth(std::string_view text) const {
    const double factor = pen.FontBold ? BoldCharWidthFactor : CharWidthFactor;
    return factor * FontPixelSize * static_cast<double>(text.size());
}

double SvgSurface::textPixelHeight() const {
    return LineFactor * FontPixelSize;
}

std::string SvgSurface::svg() const {
    const std::string w = std::to_string(pixelWidth());
    const std::string h = std::to_string(pixelHeight());
    std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                           w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
                           "\" font-family=\"sans-serif\" font-size=\"13\">\n"
                           "<rect x=\"0\" y=\"0\" width=\"" +
                           w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
    document.reserve(document.size() + body_.size() + 8);
    document += body_;
    document += "</svg>\n";
    return document;
}

} // namespace kradon
