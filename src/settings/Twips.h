// Conversion between the twips in which window places are stored and the pixels of the screen.
#pragma once

namespace kradon {

inline constexpr double TwipsPerInch = 1440;
inline constexpr double StandardDpi = 96; // 15 twips per pixel

/// Twips per pixel at `dpi` dots per inch (15 at 96 dpi).
constexpr double TwipsPerPixel(double dpi = StandardDpi) {
    return TwipsPerInch / dpi;
}

/// Pixels (rounded to the nearest whole pixel) for a length in twips.
int TwipsToPixels(double twips, double dpi = StandardDpi);

/// Twips for a length in pixels.
constexpr double PixelsToTwips(int pixels, double dpi = StandardDpi) {
    return pixels * TwipsPerPixel(dpi);
}

} // namespace kradon
