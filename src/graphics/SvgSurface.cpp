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

void SvgSurface::number(std::string& out, double v) const {
    // Two decimals are a hundredth of a pixel; -0.00 is written as 0.
    const double rounded = std::round(v * 100) / 100;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded,
                                      std::chars_format::fixed, 2);
    out.append(buffer, result.ptr);
}

void SvgSurface::colour(std::string& out, Rgb c) const {
    const int parts[3] = {redOf(c), greenOf(c), blueOf(c)};
    out += '#';
    for (const int part : parts) {
        out += HexDigits[part >> 4];
        out += HexDigits[part & 0xF];
    }
}

void SvgSurface::strokeAttributes(std::string& out, Rgb c, const Pen& p) const {
    out += " stroke=\"";
    colour(out, c);
    out += "\" stroke-width=\"";
    out += std::to_string(p.DrawWidth < 1 ? 1 : p.DrawWidth);
    out += '"';
    if (p.DrawStyle == LineStyle::Dotted)
        out += " stroke-dasharray=\"1 2\"";
}

void SvgSurface::paintClear() {
    pending_.clear();
    body_.clear();
}

std::vector<SvgSurface::PixelPoint> SvgSurface::endedPending() const {
    std::vector<PixelPoint> points = pending_;
    if (!points.empty() && (pendingEnd_.x != points.back().x || pendingEnd_.y != points.back().y))
        points.push_back(pendingEnd_); // the last point always stands
    return points;
}

std::string SvgSurface::elementOf(const std::vector<PixelPoint>& pending) const {
    std::string out;
    if (pending.size() < 2)
        return out;
    if (pending.size() == 2) {
        out += "<line x1=\"";
        number(out, pending[0].x);
        out += "\" y1=\"";
        number(out, pending[0].y);
        out += "\" x2=\"";
        number(out, pending[1].x);
        out += "\" y2=\"";
        number(out, pending[1].y);
        out += '"';
        strokeAttributes(out, pendingColour_, pendingPen_);
        out += " stroke-linecap=\"round\"/>\n";
        return out;
    }
    out += "<polyline points=\"";
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (i > 0)
            out += ' ';
        number(out, pending[i].x);
        out += ',';
        number(out, pending[i].y);
    }
    out += "\" fill=\"none\"";
    strokeAttributes(out, pendingColour_, pendingPen_);
    out += " stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n";
    return out;
}

void SvgSurface::flush() {
    body_ += elementOf(endedPending());
    pending_.clear();
}

void SvgSurface::paintLine(double x1, double y1, double x2, double y2, Rgb c) {
    const PixelPoint from{pixelX(x1), pixelY(y1)}, to{pixelX(x2), pixelY(y2)};
    const bool joins =
        !pending_.empty() && pendingColour_ == c && pendingPen_.DrawWidth == pen.DrawWidth &&
        pendingPen_.DrawStyle == pen.DrawStyle && pen.DrawStyle != LineStyle::Dotted &&
        pendingEnd_.x == from.x && pendingEnd_.y == from.y;
    if (!joins) {
        flush();
        pending_.push_back(from);
        pendingColour_ = c;
        pendingPen_ = pen;
        pending_.push_back(to);
        pendingEnd_ = to;
        return;
    }
    // A point within a third of a pixel of the last one kept adds nothing the eye can see.
    const PixelPoint& last = pending_.back();
    if (std::fabs(to.x - last.x) >= 1.0 / 3 || std::fabs(to.y - last.y) >= 1.0 / 3)
        pending_.push_back(to);
    pendingEnd_ = to;
}

void SvgSurface::paintCircle(double x, double y, double radius, Rgb c) {
    flush();
    // The radius runs along x, so it is measured in pixels of the x scale.
    body_ += "<circle cx=\"";
    number(body_, pixelX(x));
    body_ += "\" cy=\"";
    number(body_, pixelY(y));
    body_ += "\" r=\"";
    number(body_, std::fabs(pixelX(x + radius) - pixelX(x)));
    body_ += '"';
    strokeAttributes(body_, c, pen);
    if (pen.FillStyle == FillMode::Solid) {
        body_ += " fill=\"";
        colour(body_, c);
        body_ += "\"/>\n";
        return;
    }
    body_ += " fill=\"none\"/>\n";
}

void SvgSurface::paintText(double x, double y, std::string_view text) {
    flush();
    body_ += "<text x=\"";
    number(body_, pixelX(x));
    body_ += "\" y=\"";
    number(body_, pixelY(y) + AscentFactor * FontPixelSize);
    body_ += "\" fill=\"";
    colour(body_, pen.ForeColor);
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
    const std::string waiting = elementOf(endedPending());
    document.reserve(document.size() + body_.size() + waiting.size() + 8);
    document += body_;
    document += waiting;
    document += "</svg>\n";
    return document;
}

} // namespace kradon
