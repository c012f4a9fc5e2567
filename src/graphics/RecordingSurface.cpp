#include "graphics/RecordingSurface.h"

namespace kradon {

RecordingSurface::RecordingSurface(int pixelWidth, int pixelHeight)
    : DrawingSurface(pixelWidth, pixelHeight) {}

void RecordingSurface::paintClear() {
    RecordedCall call;
    call.kind = CallKind::Clear;
    call.pen = pen;
    calls_.push_back(std::move(call));
}

void RecordingSurface::scaleChanged() {
    RecordedCall call;
    call.kind = CallKind::Scale;
    call.x1 = ScaleLeft();
    call.y1 = ScaleTop();
    call.x2 = ScaleLeft() + ScaleWidth();
    call.y2 = ScaleTop() + ScaleHeight();
    call.pen = pen;
    calls_.push_back(std::move(call));
}

void RecordingSurface::paintLine(double x1, double y1, double x2, double y2, Rgb colour) {
    calls_.push_back({CallKind::Line, x1, y1, x2, y2, colour, pen, {}});
}

void RecordingSurface::paintCircle(double x, double y, double radius, Rgb colour) {
    calls_.push_back({CallKind::Circle, x, y, radius, 0, colour, pen, {}});
}

void RecordingSurface::paintText(double x, double y, std::string_view text) {
    calls_.push_back({CallKind::Text, x, y, 0, 0, pen.ForeColor, pen, std::string(text)});
}

double RecordingSurface::textPixelWidth(std::string_view text) const {
    return CharPixelWidth * static_cast<double>(text.size());
}

std::vector<RecordedCall> RecordingSurface::callsOf(CallKind kind) const {
    std::vector<RecordedCall> found;
    for (const auto& call : calls_)
        if (call.kind == kind)
            found.push_back(call);
    return found;
}

std::vector<RecordedCall> RecordingSurface::filtered(CallKind kind, Rgb colour) const {
    std::vector<RecordedCall> found;
    for (const auto& call : calls_)
        if (call.kind == kind && call.colour == colour)
            found.push_back(call);
    return found;
}

std::vector<RecordedCall> RecordingSurface::linesIn(Rgb colour) const {
    return filtered(CallKind::Line, colour);
}

std::vector<RecordedCall> RecordingSurface::circlesIn(Rgb colour) const {
    return filtered(CallKind::Circle, colour);
}

std::vector<std::string> RecordingSurface::texts() const {
    std::vector<std::string> found;
    for (const auto& call : calls_)
        if (call.kind == CallKind::Text)
            found.push_back(call.text);
    return found;
}

const RecordedCall* RecordingSurface::findText(std::string_view text) const {
    for (const auto& call : calls_)
        if (call.kind == CallKind::Text && call.text == text)
            return &call;
    return nullptr;
}

} // namespace kradon
