#include "graphics/LabelLayout.h"

#include <algorithm>

namespace kradon {

LabelPlacer::LabelPlacer(const DrawingSurface& surface, Box bounds)
    : surface_(surface), bounds_(bounds) {}

LabelPlacer::LabelPlacer(const DrawingSurface& surface) : surface_(surface) {}

Box LabelPlacer::bounds() const {
    if (bounds_)
        return *bounds_;
    return {surface_.ScaleLeft(), surface_.ScaleTop(), surface_.ScaleLeft() + surface_.ScaleWidth(),
            surface_.ScaleTop() + surface_.ScaleHeight()};
}

Box LabelPlacer::boxAt(std::string_view text, Point p) const {
    // A third of a character beside and a tenth of a line above and below keep labels apart.
    const double w = surface_.TextWidth(text);
    const double h = surface_.TextHeight(text);
    const double gap = 0.3 * surface_.TextWidth("0");
    return {p.x - gap, p.y - 0.1 * h, p.x + w + gap, p.y + 1.1 * h};
}

std::optional<Point> LabelPlacer::place(std::string_view text, std::span<const Point> candidates) {
    const Box area = bounds();
    for (Point p : candidates) {
        // A label near a side of the picture moves in rather than out of sight.
        Box box = boxAt(text, p);
        const double shift = box.right > area.right ? area.right - box.right
                             : box.left < area.left ? area.left - box.left
                                                    : 0;
        p.x += shift;
        box.left += shift;
        box.right += shift;
        if (!box.inside(area))
            continue;
        if (std::any_of(placed_.begin(), placed_.end(),
                        [&box](const Box& other) { return box.overlaps(other); }))
            continue;
        placed_.push_back(box);
        return p;
    }
    return std::nullopt;
}

bool LabelPlacer::print(DrawingSurface& surface, std::string_view text,
                        std::span<const Point> candidates, bool required) {
    std::optional<Point> p = place(text, candidates);
    if (!p && required && !candidates.empty()) {
        p = candidates.front();
        placed_.push_back(boxAt(text, *p));
    }
    if (!p)
        return false;
    surface.CurrentX = p->x;
    surface.CurrentY = p->y;
    surface.print(text);
    return true;
}

std::vector<Point> LabelPlacer::rows(std::string_view text, double x, double y, double step,
                                     int count) const {
    const double w = surface_.TextWidth(text);
    std::vector<Point> points;
    for (int k = 0; k < count; ++k)
        points.push_back({x - w / 2, y + k * step});
    return points;
}

std::vector<Point> LabelPlacer::around(std::string_view text, double x, double y, int rings) const {
    const double w = surface_.TextWidth(text);
    const double h = surface_.TextHeight(text);
    const double dx = 0.5 * w / std::max<std::size_t>(1, text.size()); // about half a character
    // Away from the beam axis (y = 0) first: a value below it is labelled below, one above it
    // above, so the text stands beside the curve rather than across it.
    const bool below = y > 0;
    std::vector<Point> points;
    for (int ring = 0; ring < rings; ++ring) {
        const double far = ring;
        const double up = y - (1 + far) * h, down = y + 0.2 * h + far * h;
        const double first = below ? down : up, second = below ? up : down;
        points.push_back({x + dx, first});
        points.push_back({x - dx - w, first});
        points.push_back({x + dx, second});
        points.push_back({x - dx - w, second});
    }
    return points;
}

} // namespace kradon
