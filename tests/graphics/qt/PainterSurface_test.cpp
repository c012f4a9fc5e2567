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

/// Draws onto a white 200 x 100 image whose user scale is (0, 0)-(20, 10): 10 pixels a unit.
QImage drawn(const std::function<void(PainterSurface&)>& draw, QSize size = {200, 100}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    {
        PainterSurface surface(painter, size.width(), size.height());
        surface.clear();
        surface.setScale(0, 0, 20, 10);
        draw(surface);
    }
    painter.end();
    return image;
}

int countColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

TEST(PainterSurface, ClearPaintsTheWholeSurfaceWhite) {
    const QImage image = drawn([](PainterSurface&) {});
    EXPECT_EQ(countColour(image, White), 200 * 100);
}

TEST(PainterSurface, HorizontalLineLiesWhereTheScalePutsItInItsOwnColour) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.DrawWidth = 3;
        s.line(2, 5, 18, 5, colours::Red);
    });
    // y = 5 is pixel row 50; a 3-pixel line covers rows 49..51 (snapped onto whole pixels).
    for (int row : {49, 50, 51})
        EXPECT_EQ(image.pixel(100, row), PureRed) << row;
    EXPECT_EQ(image.pixel(100, 46), White);
    EXPECT_EQ(image.pixel(100, 54), White);
    EXPECT_EQ(image.pixel(10, 30), White);
}

TEST(PainterSurface, LineWithoutColourUsesForeColorAndMovesTheCurrentPosition) {
    PainterSurface* seen = nullptr;
    const QImage image = drawn([&seen](PainterSurface& s) {
        s.pen.ForeColor = colours::Blue;
        s.line(10, 1, 10, 9);
        EXPECT_DOUBLE_EQ(s.CurrentX, 10);
        EXPECT_DOUBLE_EQ(s.CurrentY, 9);
        seen = &s;
    });
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(image.pixel(100, 50), PureBlue);
}

TEST(PainterSurface, DottedLineAlternatesNavyAndWhite) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.DrawWidth = 1;
        s.pen.DrawStyle = LineStyle::Dotted;
        s.line(0, 5, 20, 5, colours::Navy);
    });
    int navy = 0;
    int white = 0;
    for (int x = 0; x < 200; ++x) {
        navy += image.pixel(x, 50) == PureNavy ? 1 : 0;
        white += image.pixel(x, 50) == White ? 1 : 0;
    }
    EXPECT_GT(navy, 60);
    EXPECT_GT(white, 60);
}

TEST(PainterSurface, WideLinesAreSolidWhateverTheStyle) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.DrawWidth = 3;
        s.pen.DrawStyle = LineStyle::Dotted;
        s.line(1, 5, 19, 5, colours::Red);
    });
    for (int x = 15; x < 185; ++x)
        ASSERT_EQ(image.pixel(x, 50), PureRed) << x;
}

TEST(PainterSurface, ConnectedLinesFormOneOutline) {
    // A closed triangle drawn as three connected lines, as a bending moment outline is.
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.DrawWidth = 3;
        s.line(2, 2, 2, 8, colours::Red);
        s.line(2, 8, 18, 2, colours::Red);
        s.line(18, 2, 2, 2, colours::Red);
    });
    EXPECT_EQ(image.pixel(20, 50), PureRed);  // the vertical side
    EXPECT_EQ(image.pixel(100, 20), PureRed); // the top side
    EXPECT_EQ(image.pixel(50, 40), White);    // inside
    // The slanted side passes (10, 5) within a pixel.
    EXPECT_EQ(qRed(image.pixel(100, 50)), 255);
    EXPECT_LT(qGreen(image.pixel(100, 50)), 128);
}

TEST(PainterSurface, LaterDrawingCoversEarlierDrawing) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.DrawWidth = 3;
        s.line(2, 5, 18, 5, colours::Red);
        s.line(18, 5, 18, 9, colours::Red);
        s.line(10, 1, 10, 9, colours::Blue);
    });
    EXPECT_EQ(image.pixel(100, 50), PureBlue);
    EXPECT_EQ(image.pixel(60, 50), PureRed);
    EXPECT_EQ(image.pixel(180, 80), PureRed);
}

TEST(PainterSurface, CircleRadiusIsMeasuredAlongXAndTheCircleIsRound) {
    // 10 pixels a unit along x but 20 along y: a radius of 2 units is 20 pixels both ways.
    QImage image(200, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    {
        PainterSurface s(painter, 200, 200);
        s.clear();
        s.setScale(0, 0, 20, 10);
        s.pen.DrawWidth = 1;
        s.circle(10, 5, 2, colours::Red);
    }
    painter.end();
    EXPECT_EQ(qRed(image.pixel(100, 100)), 255); // centre stays white: transparent fill
    EXPECT_EQ(qGreen(image.pixel(100, 100)), 255);
    EXPECT_LT(qGreen(image.pixel(120, 100)), 200); // on the outline to the right
    EXPECT_LT(qGreen(image.pixel(100, 80)), 200);  // and above
    EXPECT_EQ(image.pixel(100, 60), White);        // not stretched along y
}

TEST(PainterSurface, SolidFillUsesTheCircleColour) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.FillStyle = FillMode::Solid;
        s.pen.ForeColor = colours::Blue; // the fill follows the circle, not ForeColor
        s.circle(10, 5, 2, colours::Red);
    });
    EXPECT_EQ(image.pixel(100, 50), PureRed);
    EXPECT_EQ(image.pixel(110, 50), PureRed);
    EXPECT_EQ(image.pixel(130, 50), White);
}

/// The bounding box of the pixels that are not white.
QRect inkBounds(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != White)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(PainterSurface, TextHangsBelowAndRightOfTheCurrentPosition) {
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
    });
    const QRect ink = inkBounds(image);
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

TEST(PainterSurface, CircleSmallerThanAPixelStillLeavesADot) {
    const QImage image = drawn([](PainterSurface& s) {
        s.pen.FillStyle = FillMode::Solid;
        s.circle(10.05, 5.05, 0.001, colours::Red);
    });
    // One pixel's worth of red coverage, centred on pixel (100, 50).
    const QColor centre = image.pixelColor(100, 50);
    EXPECT_EQ(centre.red(), 255);
    EXPECT_LT(centre.green(), 255);
    EXPECT_EQ(countColour(image, White), 200 * 100 - 1);
}

TEST(PainterSurface, BoldTextIsWiderAndLongerTextIsWider) {
    drawn([](PainterSurface& s) {
        const double normal = s.TextWidth("Element No.'s:");
        EXPECT_GT(s.TextWidth("Element No.'s: 1234"), normal);
        s.pen.FontBold = true;
        EXPECT_GT(s.TextWidth("Element No.'s:"), normal);
        EXPECT_DOUBLE_EQ(s.TextWidth(""), 0);
    });
}

TEST(PainterSurface, WidthsAndFontsFollowTheDeviceResolution) {
    // A 1200 dpi image, as a printer page is: 12.5 device pixels for each screen pixel.
    QImage image(2500, 1250, QImage::Format_RGB32);
    image.setDotsPerMeterX(47244);
    image.setDotsPerMeterY(47244);
    QPainter painter(&image);
    double textHeight = 0;
    {
        PainterSurface s(painter, 2500, 1250);
        EXPECT_NEAR(s.deviceScale(), 12.5, 0.01);
        s.clear();
        s.setScale(0, 0, 20, 10);
        s.pen.DrawWidth = 3;
        s.line(2, 5, 18, 5, colours::Red);
        textHeight = s.TextHeight("X") * 125; // in device pixels
    }
    painter.end();
    int red = 0;
    for (int y = 600; y < 650; ++y)
        red += image.pixel(1250, y) == PureRed ? 1 : 0;
    EXPECT_NEAR(red, 37, 2);
    EXPECT_NEAR(textHeight, 12.5 * 14, 12.5 * 3);
}

TEST(PainterSurface, ScalingSetOnThePainterIsAllowedFor) {
    // A picture of 100 x 50 logical pixels painted twice as large: lines keep their screen width.
    QImage image(200, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(2, 2);
    {
        PainterSurface s(painter, 100, 50);
        EXPECT_DOUBLE_EQ(s.deviceScale(), 0.5);
        s.clear();
        s.setScale(0, 0, 20, 10);
        s.pen.DrawWidth = 4;
        s.line(2, 5, 18, 5, colours::Red);
    }
    painter.end();
    int red = 0;
    for (int y = 40; y < 60; ++y)
        red += image.pixel(100, y) == PureRed ? 1 : 0;
    EXPECT_NEAR(red, 4, 1);
    EXPECT_EQ(image.pixel(199, 99), White); // clear covered the whole image
}

} // namespace
} // namespace kradon
