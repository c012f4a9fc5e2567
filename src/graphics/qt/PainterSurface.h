// The drawing surface over a QPainter: a widget, a QImage (PNG files, the clipboard) or a printer
// or PDF page. Lines are antialiased; widths and fonts follow the screen's size, so a picture
// printed at a high resolution looks like the one on the screen.
#pragma once

#include "graphics/DrawingSurface.h"
#include "graphics/qt/NumberGlyphs.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <optional>
#include <string_view>

namespace kradon {

class PainterSurface : public DrawingSurface {
public:
    /// Draws into the rectangle (0, 0)-(pixelWidth, pixelHeight) of the painter's logical
    /// coordinates. The painter must be active and outlive the surface; its state is restored
    /// when the surface goes.
    PainterSurface(QPainter& painter, int pixelWidth, int pixelHeight);
    ~PainterSurface() override;

    /// Screen pixels per logical unit: DrawWidth and the font size are multiplied by it. It is
    /// 1 on a screen or an image of ordinary resolution and grows with a printer's resolution
    /// (divided by any scaling already set on the painter).
    double deviceScale() const { return deviceScale_; }
    /// The font of normal and of bold text.
    const QFont& font(bool bold) const { return bold ? boldFont_ : normalFont_; }

    /// The text font size in screen pixels (12 pixels is 9 points on a 96 dpi screen).
    static constexpr int FontPixelSize = 12;
    static constexpr const char* FontFamily = "DejaVu Sans";

protected:
    void paintClear() override;
    void paintLine(double x1, double y1, double x2, double y2, Rgb colour) override;
    void paintCircle(double x, double y, double radius, Rgb colour) override;
    void paintText(double x, double y, std::string_view text) override;
    double textPixelWidth(std::string_view text) const override;
    double textPixelHeight() const override;

private:
    /// Connected lines of one colour and width are collected into one polyline, which the
    /// painter strokes far faster than the same segments one by one; numbers printed one after
    /// another in one font and colour are queued likewise. flush draws what is waiting.
    void flush();
    void usePen(Rgb colour);
    QPointF toPixel(double x, double y) const { return {pixelX(x), pixelY(y)}; }
    QPointF snap(QPointF p, bool alongX, bool alongY) const;
    void flushLines();
    void flushNumbers();
    /// The number glyphs of the normal or bold font; null where they are not used.
    NumberGlyphs* numberGlyphs(bool bold);
    const NumberGlyphs* numberGlyphs(bool bold) const;

    QPainter& painter_;
    double deviceScale_ = 1;
    QFont normalFont_;
    QFont boldFont_;
    QFontMetricsF normalMetrics_;
    QFontMetricsF boldMetrics_;
    // Numbers drawn from looked-up glyphs, on raster devices (screens and images) only: PDF and
    // printer output keep drawText, whose text stays text.
    std::optional<NumberGlyphs> normalNumbers_;
    std::optional<NumberGlyphs> boldNumbers_;
    NumberGlyphs* queuedNumbers_ = nullptr; // the glyphs holding queued numbers, if any
    bool queuedNumbersBold_ = false;
    Rgb queuedNumbersColour_ = 0;

    // What the painter's pen currently is, so that it is set only when it changes.
    QPen qpen_;
    Pen penState_;
    Rgb penColour_ = -1;

    QPolygonF pending_;
    Rgb pendingColour_ = -1;
    Pen pendingPen_;
};

} // namespace kradon
