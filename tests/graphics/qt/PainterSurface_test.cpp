// The QPainter surface: where lines, circles and text land in an image, their colours, widths,
// styles and fills, and the scaling for high-resolution devices.
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
    if (painterScale != 1)
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

struct Pixel {
    int x, y;
    QRgb colour;
};

void expectPixels(const QImage& image, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels)
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << p.x << ", " << p.y;
}

int countColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

TEST(PainterSurface, WideLineLiesWhereTheScalePutsItSolidWhateverTheStyle) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.DrawWidth = 3;
        s.pen.DrawStyle = LineStyle::Dotted;
        s.line(1, 5, 19, 5, colours::Red);
    });
    // y = 5 is pixel row 50; a 3-pixel line covers rows 49..51 (snapped onto whole pixels).
    expectPixels(image, {{100, 49, PureRed},
                         {100, 51, PureRed},
                         {100, 46, White},
                         {100, 54, White},
                         {10, 30, White}});
    for (int x = 15; x < 185; ++x)
        ASSERT_EQ(image.pixel(x, 50), PureRed) << x;
}

TEST(PainterSurface, DottedLineAlternatesNavyAndWhite) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.DrawWidth = 1;
        s.pen.DrawStyle = LineStyle::Dotted;
        s.line(0, 5, 20, 5, colours::Navy);
    });
    const QImage row = image.copy(0, 50, 200, 1);
    EXPECT_GT(countColour(row, PureNavy), 60);
    EXPECT_GT(countColour(row, White), 60);
}

TEST(PainterSurface, ConnectedLinesFormOneOutlineThatLaterLinesCover) {
    // A closed triangle drawn as three connected lines, as a bending moment outline is, then a
    // line without a colour of its own, in ForeColor, right across it.
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.DrawWidth = 3;
        s.line(2, 2, 2, 8, colours::Red);
        s.line(2, 8, 18, 2, colours::Red);
        s.line(18, 2, 2, 2, colours::Red);
        s.pen.ForeColor = colours::Blue;
        s.line(15, 1, 15, 9);
        EXPECT_DOUBLE_EQ(s.CurrentX, 15);
        EXPECT_DOUBLE_EQ(s.CurrentY, 9);
    });
    // The vertical and top sides, the inside, the blue line over the top side and below it all.
    expectPixels(image, {{20, 50, PureRed},
                         {100, 20, PureRed},
                         {50, 40, White},
                         {150, 20, PureBlue},
                         {150, 80, PureBlue}});
    // The slanted side passes (10, 5) within a pixel.
    EXPECT_EQ(qRed(image.pixel(100, 50)), 255);
    EXPECT_LT(qGreen(image.pixel(100, 50)), 128);
}

TEST(PainterSurface, CirclesAreRoundWithTheRadiusAlongXAndFilledInTheirOwnColour) {
    // 10 pixels a unit along x but 20 along y: a radius of 2 units is 20 pixels both ways.
    const QImage image = drawn(
        [](PainterSurface& s) {
            s.pen.DrawWidth = 1;
            s.circle(10, 5, 2, colours::Red);
            s.pen.FillStyle = FillMode::Solid;
            s.pen.ForeColor = colours::Blue; // the fill follows the circle, not ForeColor
            s.circle(4, 5, 1, colours::Red);
        },
        {200, 200});
    EXPECT_EQ(image.pixel(100, 100), White);       // transparent fill
    EXPECT_LT(qGreen(image.pixel(120, 100)), 200); // on the outline to the right
    EXPECT_LT(qGreen(image.pixel(100, 80)), 200);  // and above
    EXPECT_EQ(image.pixel(100, 60), White);        // not stretched along y
    expectPixels(image, {{40, 100, PureRed}, {45, 100, PureRed}, {55, 100, White}});
}

TEST(PainterSurface, CircleSmallerThanAPixelStillLeavesADot) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.FillStyle = FillMode::Solid;
        s.circle(10.05, 5.05, 0.001, colours::Red);
    });
    // One pixel's worth of red coverage, centred on pixel (100, 50); the clear covers the rest.
    const QColor centre = image.pixelColor(100, 50);
    EXPECT_EQ(centre.red(), 255);
    EXPECT_LT(centre.green(), 255);
    EXPECT_EQ(countColour(image, White), 200 * 100 - 1);
}

TEST(PainterSurface, TextHangsBelowAndRightOfTheCurrentPositionAndIsMeasured) {
    double width = 0;
    double height = 0;
    const QImage image = drawn([&](PainterSurface& s) {
        s.CurrentX = 5;
        s.CurrentY = 3;
        s.pen.ForeColor = colours::Red;
        s.print("Scales: X: 1");
        width = s.TextWidth("Scales: X: 1");
        height = s.TextHeight("Scales: X: 1");
        EXPECT_DOUBLE_EQ(s.CurrentX, 0);
        EXPECT_DOUBLE_EQ(s.CurrentY, 3 + height);
        // Longer text and bold text are wider.
        EXPECT_GT(s.TextWidth("Scales: X: 12"), width);
        s.pen.FontBold = true;
        EXPECT_GT(s.TextWidth("Scales: X: 1"), width);
        EXPECT_DOUBLE_EQ(s.TextWidth(""), 0);
    });
    // The bounding box of the ink.
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != White)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 50);
    EXPECT_LE(ink.left(), 53);
    EXPECT_GE(ink.top(), 30);
    EXPECT_LE(ink.right(), 50 + width * 10 + 1);
    EXPECT_LE(ink.bottom(), 30 + height * 10 + 1);
    // A legible size: about 12 pixels a line, and letters in the text's colour.
    EXPECT_GT(height * 10, 11);
    EXPECT_LT(height * 10, 20);
    EXPECT_GT(ink.height(), 7);
    EXPECT_GT(countColour(image, PureRed), 10);
}

/// The text drawn by QPainter::drawText in the surface's font, top-left at pixel (x, y).
QImage drawnByQt(const std::string& text, bool bold, int x, int y, QColor colour) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterSurface surface(painter, 200, 100);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(surface.font(bold));
    painter.setPen(colour);
    const QFontMetricsF metrics(surface.font(bold), &image);
    painter.drawText(QPointF(x, y + metrics.ascent()), QString::fromStdString(text));
    return image;
}

TEST(PainterSurface, NumbersLookAsDrawTextDrawsThemAndMeasureAlike) {
    // Numbers go through glyphs looked up once, and are queued; the pixels must not change.
    for (const bool bold : {false, true}) {
        const QImage image = drawn([&](PainterSurface& s) {
            s.pen.FontBold = bold;
            s.pen.ForeColor = colours::Blue;
            s.CurrentX = 2;
            s.CurrentY = 3;
            s.print("-12.5e+3 0");
            const QFontMetricsF metrics(s.font(bold));
            EXPECT_NEAR(s.TextWidth("-12.5e+3 0") * 10, metrics.horizontalAdvance("-12.5e+3 0"),
                        0.5);
        });
        EXPECT_EQ(image, drawnByQt("-12.5e+3 0", bold, 20, 30, Qt::blue)) << bold;
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

TEST(PainterSurface, WidthsAndFontsFollowTheDeviceResolution) {
    // A 1200 dpi image, as a printer page is: 12.5 device pixels for each screen pixel.
    QImage page(2500, 1250, QImage::Format_RGB32);
    page.setDotsPerMeterX(47244);
    page.setDotsPerMeterY(47244);
    double textHeight = 0;
    const QImage image = drawnOn(page, page.size(), 1, [&](PainterSurface& s) {
        EXPECT_NEAR(s.deviceScale(), 12.5, 0.01);
        s.pen.DrawWidth = 3;
        s.line(2, 5, 18, 5, colours::Red);
        textHeight = s.TextHeight("X") * 125; // in device pixels
    });
    EXPECT_NEAR(countColour(image.copy(1250, 600, 1, 50), PureRed), 37, 2);
    EXPECT_NEAR(textHeight, 12.5 * 14, 12.5 * 3);
}

TEST(PainterSurface, ScalingSetOnThePainterIsAllowedFor) {
    // A picture of 100 x 50 logical pixels painted twice as large: lines keep their screen width.
    const QImage image =
        drawnOn(QImage(200, 100, QImage::Format_RGB32), {100, 50}, 2, [](PainterSurface& s) {
            EXPECT_DOUBLE_EQ(s.deviceScale(), 0.5);
            s.pen.DrawWidth = 4;
            s.line(2, 5, 18, 5, colours::Red);
        });
    EXPECT_NEAR(countColour(image.copy(100, 40, 1, 20), PureRed), 4, 1);
    EXPECT_EQ(image.pixel(199, 99), White); // clear covered the whole image
}

} // namespace
} // namespace kradon
