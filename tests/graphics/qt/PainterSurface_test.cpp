// The QPainter surface forwards the user scale, pens, colours and texts to QPainter: where a line,
// a circle and a text land in an image, and the widths on high-resolution and scaled painters.
#include "graphics/qt/PainterSurface.h"

#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace kradon {
namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb PureRed = 0xFFFF0000;
constexpr QRgb PureNavy = 0xFF000080;
constexpr QRgb PureBlue = 0xFF0000FF;

/// Draws with a surface of the given logical size onto the image, filled black first, through a
/// painter scaled by painterScale; the surface clears it and sets the user scale (0, 0)-(20, 10).
QImage drawnOn(QImage image, QSize logical, double painterScale,
               const std::function<void(PainterSurface&)>& draw) {
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.scale(painterScale, painterScale);
    {
        PainterSurface surface(painter, logical.width(), logical.height());
        surface.clear();
        surface.setScale(0, 0, 20, 10);
        draw(surface);
    }
    painter.end();
    return image;
}

/// 10 pixels a unit along x on the default 200 x 100 image.
QImage drawn(const std::function<void(PainterSurface&)>& draw, QSize size = {200, 100}) {
    return drawnOn(QImage(size, QImage::Format_RGB32), size, 1, draw);
}

int countColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

TEST(PainterSurface, LinesLieWhereTheScalePutsThemInTheirColourWidthAndStyle) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.DrawWidth = 3;
        s.pen.ForeColor = colours::Blue;
        s.line(15, 1, 15, 9); // no colour of its own: ForeColor
        // Two connected pieces make one polyline; a wide line is solid whatever the style.
        s.pen.DrawStyle = LineStyle::Dotted;
        s.line(1, 5, 10, 5, colours::Red);
        s.line(10, 5, 19, 5, colours::Red);
        s.pen.DrawWidth = 1;
        s.line(0, 9.5, 20, 9.5, colours::Navy);
    });
    // y = 5 is the edge between pixel rows 49 and 50; the 3-pixel line covers both wholly.
    for (const int y : {49, 50})
        for (int x = 15; x < 185; ++x)
            ASSERT_EQ(image.pixel(x, y), PureRed) << x << ", " << y;
    EXPECT_EQ(image.pixel(100, 46), White);
    EXPECT_EQ(image.pixel(100, 54), White);
    EXPECT_EQ(image.pixel(150, 20), PureBlue);
    EXPECT_EQ(image.pixel(150, 80), PureBlue);
    EXPECT_EQ(image.pixel(140, 20), White);
    // The dotted line at width 1 alternates navy and white along row 95.
    const QImage row = image.copy(0, 95, 200, 1);
    EXPECT_GT(countColour(row, PureNavy), 60);
    EXPECT_GT(countColour(row, White), 60);
}

TEST(PainterSurface, CirclesAreRoundWithTheRadiusAlongXFilledInTheirOwnColourOrADot) {
    // 10 pixels a unit along x but 20 along y: a radius of 2 units is 20 pixels both ways.
    const QImage image = drawn(
        [](PainterSurface& s) {
            s.pen.DrawWidth = 1;
            s.circle(10, 5, 2, colours::Red);
            s.pen.FillStyle = FillMode::Solid;
            s.pen.ForeColor = colours::Blue; // the fill follows the circle, not ForeColor
            s.circle(4, 5, 1, colours::Red);
            s.circle(18.05, 9.025, 0.001, colours::Red); // smaller than a pixel
        },
        {200, 200});
    EXPECT_EQ(image.pixel(100, 100), White);       // transparent fill
    EXPECT_LT(qGreen(image.pixel(120, 100)), 200); // on the outline to the right
    EXPECT_LT(qGreen(image.pixel(100, 80)), 200);  // and above
    EXPECT_EQ(image.pixel(100, 60), White);        // not stretched along y
    EXPECT_EQ(image.pixel(45, 100), PureRed);
    EXPECT_EQ(image.pixel(55, 100), White);
    EXPECT_EQ(qRed(image.pixel(180, 180)), 255); // the tiny circle still leaves a dot
    EXPECT_LT(qGreen(image.pixel(180, 180)), 255);
}

TEST(PainterSurface, TextHangsBelowAndRightOfTheCurrentPositionInItsColourAndIsMeasured) {
    // Drawn by QPainter::drawText, and from the glyphs looked up once for numbers.
    for (const std::string text : {"Scales: X: 1", "-12.5e+3 0"}) {
        double width = 0;
        double height = 0;
        const QImage image = drawn([&](PainterSurface& s) {
            s.CurrentX = 5;
            s.CurrentY = 3;
            s.pen.ForeColor = colours::Red;
            s.print(text);
            width = s.TextWidth(text);
            height = s.TextHeight(text);
            const QString qtext = QString::fromStdString(text);
            EXPECT_NEAR(width * 10, QFontMetricsF(s.font(false)).horizontalAdvance(qtext), 0.5);
            s.pen.FontBold = true;
            EXPECT_GT(s.TextWidth(text), width);
        });
        SCOPED_TRACE(text);
        QRect ink; // the bounding box of the ink
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != White)
                    ink |= QRect(x, y, 1, 1);
        EXPECT_TRUE(QRectF(50, 30, width * 10 + 2, height * 10 + 2).contains(ink));
        EXPECT_LE(ink.left(), 53);
        EXPECT_GT(countColour(image, PureRed), 10);
    }
}

TEST(PainterSurface, QueuedNumbersStayUnderWhatIsDrawnLater) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.ForeColor = colours::Blue;
        s.CurrentX = 2;
        s.CurrentY = 3;
        s.print("888888");
        s.pen.DrawWidth = 40;
        s.line(0, 4, 20, 4, colours::Red); // a band right across the numbers
    });
    EXPECT_EQ(countColour(image, PureBlue), 0);
    EXPECT_GT(countColour(image, PureRed), 200 * 30);
}

/// Draws a 4-pixel line and measures a text on the image, then checks their sizes in device
/// pixels; a screen pixel is perScreenPixel of them.
void expectScreenSizes(const QImage& blank, QSize logical, double painterScale, double deviceScale,
                       double perScreenPixel) {
    double textHeight = 0;
    const QImage image = drawnOn(blank, logical, painterScale, [&](PainterSurface& s) {
        EXPECT_NEAR(s.deviceScale(), deviceScale, 0.01);
        s.pen.DrawWidth = 4;
        s.line(2, 5, 18, 5, colours::Red);
        textHeight = s.TextHeight("X") * blank.height() / 10; // in device pixels
    });
    const int reach = static_cast<int>(4 * perScreenPixel);
    const QImage column = image.copy(image.width() / 2, image.height() / 2 - reach, 1, 2 * reach);
    EXPECT_NEAR(countColour(column, PureRed), 4 * perScreenPixel, 1);
    EXPECT_NEAR(textHeight, 14 * perScreenPixel, 3 * perScreenPixel);
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), White); // cleared wholly
}

TEST(PainterSurface, WidthsAndFontsAreInScreenPixelsOnAPrinterPageAndAScaledPainter) {
    // A 1200 dpi image, as a printer page is: 12.5 device pixels for each screen pixel.
    QImage page(2500, 1250, QImage::Format_RGB32);
    page.setDotsPerMeterX(47244);
    page.setDotsPerMeterY(47244);
    expectScreenSizes(page, page.size(), 1, 12.5, 12.5);
    // A picture of 100 x 50 logical pixels painted twice as large, as into a PDF.
    expectScreenSizes(QImage(200, 100, QImage::Format_RGB32), {100, 50}, 2, 0.5, 1);
}

} // namespace
} // namespace kradon
