#include "graphics/qt/PainterSurface.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QString>
#include <QTransform>
#include <cmath>
#include <numbers>

namespace kradon {

namespace {

// The resolution every width and font size is given for: an ordinary screen.
constexpr double ScreenDpi = 96;

QColor toQColor(Rgb colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

bool sameLineLook(const Pen& a, const Pen& b) {
    return a.DrawWidth == b.DrawWidth && a.DrawStyle == b.DrawStyle;
}

/// A picture box draws styled lines only at width 1; wider lines are always solid.
bool dotted(const Pen& pen) {
    return pen.DrawStyle == LineStyle::Dotted && pen.DrawWidth <= 1;
}

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// Screen pixels per logical unit of the painter.
double screenPixelsPerUnit(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    const double dpi =
        device != nullptr && device->logicalDpiX() > 0 ? device->logicalDpiX() : ScreenDpi;
    const QTransform t = painter.combinedTransform();
    const double scale = std::sqrt(std::fabs(t.m11() * t.m22() - t.m12() * t.m21()));
    return scale > 0 ? dpi / ScreenDpi / scale : 1.0;
}

QFont makeFont(const QPainter& painter, double deviceScale, bool bold) {
    QFont font(PainterSurface::FontFamily);
    font.setStyleHint(QFont::SansSerif);
    const QPaintDevice* device = painter.device();
    const double dpi =
        device != nullptr && device->logicalDpiY() > 0 ? device->logicalDpiY() : ScreenDpi;
    // Point sizes are turned into pixels at the device's resolution; this size comes out as
    // FontPixelSize screen pixels whatever the device.
    font.setPointSizeF(PainterSurface::FontPixelSize * deviceScale * 72.0 / dpi);
    font.setBold(bold);
    return font;
}

} // namespace

PainterSurface::PainterSurface(QPainter& painter, int pixelWidth, int pixelHeight)
    : DrawingSurface(pixelWidth, pixelHeight), painter_(painter),
      deviceScale_(screenPixelsPerUnit(painter)),
      normalFont_(makeFont(painter, deviceScale_, false)),
      boldFont_(makeFont(painter, deviceScale_, true)),
      normalMetrics_(normalFont_, painter.device()), boldMetrics_(boldFont_, painter.device()) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setBrush(Qt::NoBrush);
    const QPaintEngine* engine = painter_.paintEngine();
    if (engine != nullptr && engine->type() == QPaintEngine::Raster) {
        normalNumbers_.emplace(normalFont_, FontPixelSize * deviceScale_);
        boldNumbers_.emplace(boldFont_, FontPixelSize * deviceScale_);
    }
}

PainterSurface::~PainterSurface() {
    flush();
    painter_.restore();
}

void PainterSurface::paintClear() {
    flush(); // whatever waits is painted over at once
    painter_.fillRect(QRectF(0, 0, pixelWidth(), pixelHeight()), Qt::white);
}

void PainterSurface::usePen(Rgb colour) {
    if (penColour_ == colour && sameLineLook(penState_, pen))
        return;
    QPen qpen(toQColor(colour));
    qpen.setWidthF(pen.DrawWidth * deviceScale_);
    if (dotted(pen)) {
        qpen.setCapStyle(Qt::FlatCap);
        qpen.setDashPattern({2, 2});
    } else {
        qpen.setCapStyle(Qt::RoundCap);
        qpen.setJoinStyle(Qt::RoundJoin);
    }
    painter_.setPen(qpen);
    penColour_ = colour;
    penState_ = pen;
}

QPointF PainterSurface::snap(QPointF p, bool alongX, bool alongY) const {
    // A horizontal or vertical line is moved onto whole pixels so that the antialiasing keeps it
    // crisp and in its true colour; odd widths are centred on a pixel, even ones between two.
    const int width = pendingPen_.DrawWidth;
    auto onGrid = [width](double c) {
        return width % 2 == 1 ? std::floor(c) + 0.5 : std::round(c);
    };
    if (alongX)
        p.setY(onGrid(p.y()));
    if (alongY)
        p.setX(onGrid(p.x()));
    return p;
}

void PainterSurface::flush() {
    flushLines();
    flushNumbers();
}

void PainterSurface::flushNumbers() {
    if (queuedNumbers_ == nullptr)
        return;
    painter_.setFont(font(queuedNumbersBold_));
    painter_.setPen(toQColor(queuedNumbersColour_));
    penColour_ = -1; // the line pen has to be set again
    queuedNumbers_->drawQueued(painter_);
    queuedNumbers_ = nullptr;
}

void PainterSurface::flushLines() {
    if (pending_.isEmpty())
        return;
    const Pen current = pen;
    pen = pendingPen_;
    usePen(pendingColour_);
    pen = current;
    const QTransform t = painter_.combinedTransform();
    const bool pixelAligned = deviceScale_ == 1 && t.type() <= QTransform::TxTranslate &&
                              t.dx() == std::round(t.dx()) && t.dy() == std::round(t.dy());
    if (pending_.size() == 2 && pixelAligned) {
        const bool horizontal = pending_[0].y() == pending_[1].y();
        const bool vertical = pending_[0].x() == pending_[1].x();
        if (horizontal || vertical) {
            painter_.drawLine(snap(pending_[0], horizontal, vertical),
                              snap(pending_[1], horizontal, vertical));
            pending_.clear();
            return;
        }
    }
    painter_.drawPolyline(pending_);
    pending_.clear();
}

void PainterSurface::paintLine(double x1, double y1, double x2, double y2, Rgb colour) {
    const QPointF from = toPixel(x1, y1);
    const QPointF to = toPixel(x2, y2);
    if (!pending_.isEmpty() && pendingColour_ == colour && sameLineLook(pendingPen_, pen) &&
        !dotted(pen) && pending_.last() == from) {
        pending_.append(to);
        return;
    }
    flush();
    pending_.append(from);
    pending_.append(to);
    pendingColour_ = colour;
    pendingPen_ = pen;
}

void PainterSurface::paintCircle(double x, double y, double radius, Rgb colour) {
    flush();
    usePen(colour);
    const double r = std::fabs(radius) * pixelWidth() / std::fabs(ScaleWidth());
    const double reach = r + 0.5 * pen.DrawWidth * deviceScale_; // the outline's outer edge
    if (reach < 1) {
        // Smaller than a pixel, stroke and fill merge into one dot: a square of the same area
        // gives the same antialiased coverage at a fraction of the cost of an ellipse path.
        const double side = reach * std::sqrt(std::numbers::pi);
        const QPointF centre = toPixel(x, y);
        painter_.fillRect(QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side),
                          toQColor(colour));
        return;
    }
    if (pen.FillStyle == FillMode::Solid)
        painter_.setBrush(toQColor(colour));
    painter_.drawEllipse(toPixel(x, y), r, r);
    painter_.setBrush(Qt::NoBrush);
}

void PainterSurface::paintText(double x, double y, std::string_view text) {
    flushLines();
    const QFontMetricsF& metrics = pen.FontBold ? boldMetrics_ : normalMetrics_;
    const QPointF topLeft = toPixel(x, y);
    const QPointF baseline(topLeft.x(), topLeft.y() + metrics.ascent());
    NumberGlyphs* numbers = numberGlyphs(pen.FontBold);
    if (numbers == nullptr || !numbers->covers(text)) {
        flushNumbers();
        painter_.setFont(font(pen.FontBold));
        painter_.setPen(toQColor(pen.ForeColor));
        penColour_ = -1; // the line pen has to be set again
        painter_.drawText(baseline, toQString(text));
        return;
    }
    if (queuedNumbers_ != numbers || queuedNumbersColour_ != pen.ForeColor)
        flushNumbers();
    numbers->add(baseline, text);
    queuedNumbers_ = numbers;
    queuedNumbersBold_ = pen.FontBold;
    queuedNumbersColour_ = pen.ForeColor;
}

NumberGlyphs* PainterSurface::numberGlyphs(bool bold) {
    std::optional<NumberGlyphs>& numbers = bold ? boldNumbers_ : normalNumbers_;
    return numbers ? &*numbers : nullptr;
}

const NumberGlyphs* PainterSurface::numberGlyphs(bool bold) const {
    const std::optional<NumberGlyphs>& numbers = bold ? boldNumbers_ : normalNumbers_;
    return numbers ? &*numbers : nullptr;
}

double PainterSurface::textPixelWidth(std::string_view text) const {
    if (const NumberGlyphs* numbers = numberGlyphs(pen.FontBold); numbers && numbers->covers(text))
        return numbers->width(text);
    const QFontMetricsF& metrics = pen.FontBold ? boldMetrics_ : normalMetrics_;
    return metrics.horizontalAdvance(toQString(text));
}

double PainterSurface::textPixelHeight() const {
    return (pen.FontBold ? boldMetrics_ : normalMetrics_).height();
}

} // namespace kradon
