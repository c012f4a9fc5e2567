// Placing texts on a picture so that none covers another: each label is offered a list of
// positions, best first, and takes the first where it overlaps nothing placed before it; a
// label with no free position is left out. Callers offer the labels that matter most first, so
// a crowded picture thins out its least important labels, and stacked rows keep close labels
// apart instead of piling them into one strip.
#pragma once

#include "graphics/DrawingSurface.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace kradon {

/// A rectangle in user coordinates, top above bottom on the picture (top < bottom for the
/// pictures of this program, whose y grows downwards).
struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool overlaps(const Box& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool inside(const Box& outer) const {
        return left >= outer.left && right <= outer.right && top >= outer.top &&
               bottom <= outer.bottom;
    }
};

struct Point {
    double x = 0, y = 0;
};

class LabelPlacer {
public:
    /// Labels must lie within bounds (user coordinates); the surface measures the texts with the
    /// pen in force when each is placed.
    LabelPlacer(const DrawingSurface& surface, Box bounds);
    /// Labels must lie within the surface's visible area, as its scale is when each is placed.
    explicit LabelPlacer(const DrawingSurface& surface);

    /// Keeps labels out of a region (a title, a symbol).
    void reserve(const Box& box) { placed_.push_back(box); }

    /// The first of the candidate top-left corners where text fits inside the bounds without
    /// overlapping anything placed or reserved, now taken; nullopt when there is none.
    std::optional<Point> place(std::string_view text, std::span<const Point> candidates);

    /// Places text and prints it there in ForeColor; false when it was left out. A label that
    /// must show (required) takes the first candidate when no other is free.
    bool print(DrawingSurface& surface, std::string_view text, std::span<const Point> candidates,
               bool required = false);

    /// The box of text with its top-left corner at p, with a little room around it.
    Box boxAt(std::string_view text, Point p) const;

    /// Top-left corners that centre text on x in rows stacked from y by step (negative: upwards),
    /// first the row at y.
    std::vector<Point> rows(std::string_view text, double x, double y, double step,
                            int count) const;

    /// Top-left corners around the point (x, y), on the side away from the beam axis (y = 0)
    /// first: right of it, then left, then the same on the near side; then each a line farther
    /// out, rings rings in all.
    std::vector<Point> around(std::string_view text, double x, double y, int rings = 4) const;

private:
    Box bounds() const;

    const DrawingSurface& surface_;
    std::optional<Box> bounds_;
    std::vector<Box> placed_;
};

} // namespace kradon
