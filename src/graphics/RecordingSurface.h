// A drawing surface that draws nothing and keeps every call instead, in user coordinates with
// the pen in force, so tests can read back what a picture routine did. Text metrics are fixed
// (CharPixelWidth per character, LinePixelHeight per line, bold or not), so positions that
// depend on TextWidth are the same on every machine.
#pragma once

#include "graphics/DrawingSurface.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kradon {

enum class CallKind { Clear, Scale, Line, Circle, Text };

/// One call as the surface saw it. Scale: (x1, y1)-(x2, y2) are the corners. Line: from (x1, y1)
/// to (x2, y2). Circle: centre (x1, y1), radius along x in x2. Text: top-left corner (x1, y1).
struct RecordedCall {
    CallKind kind = CallKind::Clear;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Rgb colour = colours::Black; // the line or circle colour; ForeColor for text
    Pen pen;                     // the pen in force when the call was made
    std::string text;
};

class RecordingSurface : public DrawingSurface {
public:
    static constexpr double CharPixelWidth = 8;
    static constexpr double LinePixelHeight = 16;

    explicit RecordingSurface(int pixelWidth = 1200, int pixelHeight = 800);

    const std::vector<RecordedCall>& calls() const { return calls_; }
    /// The calls of one kind, in order.
    std::vector<RecordedCall> callsOf(CallKind kind) const;
    /// The lines (or circles) drawn in one colour, in order.
    std::vector<RecordedCall> linesIn(Rgb colour) const;
    std::vector<RecordedCall> circlesIn(Rgb colour) const;
    /// The texts printed, in order.
    std::vector<std::string> texts() const;
    /// The first text call with exactly this text, or nullptr.
    const RecordedCall* findText(std::string_view text) const;
    void forget() { calls_.clear(); }

protected:
    void paintClear() override;
    void paintLine(double x1, double y1, double x2, double y2, Rgb colour) override;
    void paintCircle(double x, double y, double radius, Rgb colour) override;
    void paintText(double x, double y, std::string_view text) override;
    double textPixelWidth(std::string_view text) const override;
    double textPixelHeight() const override { return LinePixelHeight; }
    void scaleChanged() override;

private:
    std::vector<RecordedCall> filtered(CallKind kind, Rgb colour) const;

    std::vector<RecordedCall> calls_;
};

} // namespace kradon
