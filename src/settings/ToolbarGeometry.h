// The geometry of the floating toolbar, in twips and screen pixels: when a dropped window docks
// and at which edge, the title-bar drag with its outline, and the corrections made on resizing.
// Qt-free, so the shell only converts between its widgets and these rectangles.
#pragma once

#include <cstdint>
#include <optional>

namespace kradon::modToolBar {

/// A window's place and size in twips (left and top relative to the screen).
struct TwipsRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const TwipsRect&) const = default;
};

/// A rectangle on the screen in pixels, as the outline of a drag is drawn.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

/// The edges the docked toolbar stands at, by their stored codes.
enum class Alignment : std::int16_t { Top = 1, Bottom = 2, Left = 3, Right = 4 };

/// A window edge within this many twips of the main window's edge docks there.
inline constexpr std::int32_t DockDistance = 1500;
/// The thickness of a toolbar docked at an edge (height at top or bottom, width at the sides).
inline constexpr std::int32_t DockedThickness = 390;

/// The distance counted for an offset a between two edges, twips: 0 when a < -1500 (far beyond
/// the edge counts as touching it), otherwise |a|.
double Near(double a);

/// The edge a floating window dropped at `window` docks to inside `main`, or nullopt when it is
/// 1500 twips or more from every edge and stays afloat. Equal distances go to the first of
/// left, top, right, bottom.
std::optional<Alignment> DockIfNearEdge(const TwipsRect& window, const TwipsRect& main);

/// A title-bar drag in progress. The mouse positions are twips in the window's own coordinates;
/// the rectangles are screen pixels.
struct DragState {
    std::int32_t startX = 0;
    std::int32_t startY = 0;
    PixelRect start;
    PixelRect last;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
    bool dragging = false;
};

/// Starts a drag at mouse (x, y), rounded to whole twips, of a window standing at `window` on
/// the screen. The outline to draw first is the window's own rectangle (`last`).
DragState BeginDrag(double x, double y, const PixelRect& window, double twipsPerPixelX,
                    double twipsPerPixelY);

/// The outline for the mouse at (x, y): the start rectangle moved by the mouse's travel,
/// rounded to whole pixels. It becomes `last`. nullopt, and nothing changes, when no drag runs.
std::optional<PixelRect> DragTo(DragState& drag, double x, double y);

/// Where a window's top-left corner goes in twips.
struct TwipsPoint {
    double left = 0;
    double top = 0;
    bool operator==(const TwipsPoint&) const = default;
};

/// Ends the drag with the mouse at (x, y): the window's new top-left corner in twips, or
/// nullopt when no drag ran. The drag is over afterwards.
std::optional<TwipsPoint> EndDrag(DragState& drag, double x, double y);

/// The floating window's layout after a resize, twips.
struct FloatingLayout {
    TwipsRect window;             // corrected place and size
    std::int32_t labelWidth = 0;  // the title label spans the window
    std::int32_t commandLeft = 0; // the "X" button near its right end
    bool corrected = false;       // some correction changed the window
};

/// Lays out the title bar for a window resized to `window` and keeps the window within bounds of
/// `main`: at most the main window's height less 420, at least 1095 wide (moved back inside the
/// main window's right edge, 60 short of it, when that widening crosses it), at least 360 high
/// (then placed 360 below the main window's top), and 60 further right when it begins left of
/// the main window. The corrections run in that order, each on the result of the one before.
FloatingLayout ResizeLayout(const TwipsRect& window, const TwipsRect& main);

} // namespace kradon::modToolBar
