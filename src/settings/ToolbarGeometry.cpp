// The floating toolbar's docking choice, outline drag and resize corrections.
#include "settings/ToolbarGeometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace kradon::modToolBar {
namespace {

// Limits of the floating window, twips.
constexpr std::int32_t HeightMargin = 420;  // kept free below a window as high as the main one
constexpr std::int32_t MinimumWidth = 1095; // room for the title and a button or two
constexpr std::int32_t EdgeGap = 60;        // kept between the window and a main window edge
constexpr std::int32_t MinimumHeight = 360; // the title bar and no less
constexpr std::int32_t CommandOffset = 300; // "X" left edge from the title bar's right end

std::int32_t roundToInt(double v) {
    return static_cast<std::int32_t>(std::lround(v));
}

PixelRect movedBy(const PixelRect& r, std::int32_t dx, std::int32_t dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

} // namespace

double Near(double a) {
    if (a < -DockDistance)
        return 0;
    return std::abs(a);
}

std::optional<Alignment> DockIfNearEdge(const TwipsRect& window, const TwipsRect& main) {
    const double t = Near(window.top - main.top);
    const double l = Near(window.left - main.left);
    // The right distance is taken from the left one as counted, so a window far beyond the left
    // edge measures its right distance from there.
    const double r = Near(main.width - window.width - l);
    const double b = Near(main.height - t);
    const std::array<std::pair<double, Alignment>, 4> byPreference = {{
        {l, Alignment::Left},
        {t, Alignment::Top},
        {r, Alignment::Right},
        {b, Alignment::Bottom},
    }};
    const double m = std::min({t, l, r, b});
    if (m >= DockDistance)
        return std::nullopt;
    for (const auto& [distance, edge] : byPreference)
        if (distance == m)
            return edge;
    return std::nullopt;
}

DragState BeginDrag(double x, double y, const PixelRect& window, double twipsPerPixelX,
                    double twipsPerPixelY) {
    DragState drag;
    drag.startX = roundToInt(x);
    drag.startY = roundToInt(y);
    drag.start = window;
    drag.last = window;
    drag.twipsPerPixelX = twipsPerPixelX;
    drag.twipsPerPixelY = twipsPerPixelY;
    drag.dragging = true;
    return drag;
}

std::optional<PixelRect> DragTo(DragState& drag, double x, double y) {
    if (!drag.dragging)
        return std::nullopt;
    const std::int32_t dx = roundToInt((x - drag.startX) / drag.twipsPerPixelX);
    const std::int32_t dy = roundToInt((y - drag.startY) / drag.twipsPerPixelY);
    drag.last = movedBy(drag.start, dx, dy);
    return drag.last;
}

std::optional<TwipsPoint> EndDrag(DragState& drag, double x, double y) {
    if (!drag.dragging)
        return std::nullopt;
    drag.dragging = false;
    return TwipsPoint{drag.start.left * drag.twipsPerPixelX + x - drag.startX,
                      drag.start.top * drag.twipsPerPixelY + y - drag.startY};
}

FloatingLayout ResizeLayout(const TwipsRect& window, const TwipsRect& main) {
    FloatingLayout layout;
    TwipsRect& w = layout.window;
    w = window;
    // The label starts at the window's left edge.
    layout.labelWidth = w.width;
    layout.commandLeft = layout.labelWidth - CommandOffset;
    if (w.height > main.height - HeightMargin)
        w.height = main.height - HeightMargin;
    if (w.width < MinimumWidth) {
        w.width = MinimumWidth;
        if (w.left + w.width > main.left + main.width)
            w.left = main.left + main.width - w.width - EdgeGap;
    }
    if (w.height < MinimumHeight) {
        w.top = main.top + MinimumHeight;
        w.height = MinimumHeight;
    }
    if (w.left < main.left)
        w.left += EdgeGap;
    layout.corrected = !(w == window);
    return layout;
}

} // namespace kradon::modToolBar
