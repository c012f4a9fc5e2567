#include "graphics/modGraphics.h"

#include "graphics/DiagramLabels.h"
#include "graphics/LabelLayout.h"
#include "mesh/modMesh.h"
#include "model/KradonError.h"
#include "model/modText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <exception>
#include <limits>
#include <stdexcept>

namespace kradon::modGraphics {

namespace {

constexpr const char* Source = "modGraphics";
constexpr const char* SubroutineTitle = "Graphics Subroutine";
constexpr const char* ErrorText = "Graphics Error";
constexpr const char* NodeNumbersCaption = "Node No.'s:";
constexpr const char* ElementNumbersCaption = "Element No.'s:";

/// Runs one drawing step; a failure skips it and drawing goes on with the next.
template <class Step> void skipOnFailure(Step&& step) noexcept {
    try {
        step();
    } catch (const std::exception&) {
    }
}

/// Entry i of a table indexed by the documented number; an index beyond the table (a table
/// shorter than its count) fails the step that reads it.
double at(const std::vector<double>& table, std::int64_t i) {
    if (i < 0 || static_cast<std::size_t>(i) >= table.size())
        throw KradonError(ErrorNumber::SubscriptOutOfRange, Source, "Subscript out of range");
    return table[static_cast<std::size_t>(i)];
}

/// A number as the labels show it: the general number form of its 15 significant digits, so a
/// computed 0.05000000000000001 reads 0.05.
std::string labelNumber(double v) {
    return modText::GeneralNumber(modText::RoundTrip15(v));
}

/// A shear value label: six significant digits are plenty on a diagram and keep the rounding
/// noise of the solution (37.49999999998) out of sight.
std::string shearLabel(double v) {
    char buffer[40];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 5);
    double rounded = v;
    std::from_chars(buffer, r.ptr, rounded);
    return modText::GeneralNumber(rounded);
}

/// A whole number written into a caller's buffer, for the many node and element numbers of a mesh.
std::string_view integerText(char (&buffer)[24], std::int64_t n) {
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, n);
    return {buffer, static_cast<std::size_t>(r.ptr - buffer)};
}

void printAt(DrawingSurface& surface, double x, double y, std::string_view text) {
    surface.CurrentX = x;
    surface.CurrentY = y;
    surface.print(text);
}

std::string fixedDisplacementText(double vertical, double rotation) {
    return "FD = " + labelNumber(vertical) + "mm " + labelNumber(rotation) + "rads";
}

/// The largest magnitude of entries first..last; entries beyond the table are passed over.
double largestMagnitude(const std::vector<double>& v, std::int64_t first, std::int64_t last) {
    double largest = 0;
    const std::int64_t end = std::min<std::int64_t>(last, static_cast<std::int64_t>(v.size()) - 1);
    for (std::int64_t i = first; i <= end; ++i)
        if (std::fabs(v[static_cast<std::size_t>(i)]) > largest)
            largest = std::fabs(v[static_cast<std::size_t>(i)]);
    return largest;
}

/// Clear and the line width every diagram starts with.
void startDiagram(DrawingSurface& surface) {
    skipOnFailure([&] { surface.clear(); });
    surface.pen.DrawWidth = RoundDrawWidth(1.5);
}

/// The pen of the diagram lines themselves.
void diagramPen(DrawingSurface& surface) {
    surface.pen.DrawWidth = 3;
    surface.pen.DrawStyle = LineStyle::Solid;
}

/// The horizontal grid lines 0, s, 2s, ... up to ym, then 0, -s, -2s, ... down to -ym.
void horizontalGridLines(DrawingSurface& surface, double xm, double ym, double s) {
    const double right = surface.ScaleWidth();
    for (long k = 0; k * s <= ym; ++k)
        surface.line(-xm, k * s, right, k * s, colours::Navy);
    for (long k = 0; - k * s >= -ym; ++k)
        surface.line(-xm, -k * s, right, -k * s, colours::Navy);
}

/// A vertical grid line every metre from 0 to the span, whatever the span; a span with more
/// metres than the surface has pixels would only fill the frame with navy (and take for ever
/// with a span of 1e300), so it gets none.
void verticalGridLines(DrawingSurface& surface, double ym, double span) {
    if (!(span <= surface.pixelWidth()))
        return;
    for (long x = 0; x <= span; ++x)
        surface.line(static_cast<double>(x), -ym, static_cast<double>(x), ym, colours::Navy);
}

/// The sorted, distinct positions of everything the model places on the beam, and its two
/// ends. A model whose lists are shorter than their counts gives only the ends.
std::vector<double> keyPoints(const BeamModel& model) {
    std::vector<double> points{0, model.span};
    try {
        const std::vector<double> k = modMesh::KeyPoints(model);
        points.insert(points.end(), k.begin() + 1, k.end());
    } catch (const std::out_of_range&) {
    }
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

/// Walks the key points along the nodes from left to right: whether the node at x stands at
/// one of them.
class KeyPointCursor {
public:
    explicit KeyPointCursor(std::vector<double> points) : points_(std::move(points)) {}
    bool at(double x) {
        const double rounded = modText::RoundTrip15(x);
        while (next_ < points_.size() && points_[next_] < rounded)
            ++next_;
        return next_ < points_.size() && modMesh::NodeMatches(x, points_[next_]);
    }

private:
    std::vector<double> points_;
    std::size_t next_ = 0;
};

/// Marks along the beam drawn left to right, each at least spacing (user units) after the last
/// one drawn, so that a dense mesh shows as marks at a readable spacing instead of a solid band.
class Spacing {
public:
    explicit Spacing(double spacing) : spacing_(spacing) {}
    /// Whether a mark at x is drawn; one that must show is drawn anyway.
    bool take(double x, bool must = false) {
        if (!must && x - last_ < spacing_)
            return false;
        last_ = x;
        return true;
    }

private:
    double spacing_;
    double last_ = -std::numeric_limits<double>::infinity();
};

/// Pixels between marks that the eye still tells apart.
constexpr double MarkPixels = 4;

double pixelsToX(const DrawingSurface& surface, double pixels) {
    return pixels * surface.ScaleWidth() / surface.pixelWidth();
}

/// Whether a point or moment load stands at node i: its mark always shows.
bool concentratedAt(const NodalTables& nodal, std::int64_t i) {
    return at(nodal.ConcentratedLoad, 2 * i - 1) != 0 || at(nodal.ConcentratedLoad, 2 * i) != 0;
}

void drawMeshForces(DrawingSurface& surface, const MeshTables& mesh, const NodalTables& nodal,
                    double h) {
    const std::int64_t N = mesh.NodeCount;
    double Fv = 0; // upward (negative) forces never raise it
    for (std::int64_t i = 1; i <= N; ++i)
        skipOnFailure([&] { Fv = std::max(Fv, at(nodal.LoadVector, 2 * i - 1)); });
    Spacing forces(pixelsToX(surface, MarkPixels)), moments(pixelsToX(surface, MarkPixels));
    for (std::int64_t i = 1; i <= N; ++i) {
        bool concentrated = false;
        skipOnFailure([&] { concentrated = concentratedAt(nodal, i); });
        skipOnFailure([&] {
            const double f = at(nodal.LoadVector, 2 * i - 1);
            const double x = at(mesh.NodeX, i);
            if (f > 0 && forces.take(x, concentrated))
                surface.line(x, -h, x, -7 * h * f / Fv);
        });
        skipOnFailure([&] {
            const double x = at(mesh.NodeX, i);
            if (at(nodal.LoadVector, 2 * i) > 0 && moments.take(x, concentrated))
                surface.circle(x, 0, 0.25 * h);
        });
    }
}

/// The step after step in 1, 2, 5, 10, 20, 50, ...
std::int64_t nextRoundStep(std::int64_t step) {
    std::int64_t decade = 1;
    while (decade * 10 <= step)
        decade *= 10;
    const std::int64_t lead = step / decade;
    return lead == 1 ? 2 * decade : lead == 2 ? 5 * decade : 10 * decade;
}

/// Numbers centred on their positions at height y, left to right, each drawn only where it
/// stays clear of the last one drawn. Where the marks are dense the numbers drawn are the
/// multiples of a step of 1, 2 or 5 times a power of ten, so they read as a scale.
template <typename Position>
void drawNumbers(DrawingSurface& surface, std::int64_t count, double y, Position position) {
    if (count < 1)
        return;
    char buffer[24];
    const double gap = surface.TextWidth("00");
    // The step that gives the widest number room at the average spacing of the marks.
    double spread = 0;
    skipOnFailure([&] { spread = std::fabs(position(count) - position(1)); });
    const double wanted = (surface.TextWidth(integerText(buffer, count)) + gap) * count;
    std::int64_t step = 1;
    while (spread > 0 && static_cast<double>(step) * spread < wanted && step < count)
        step = nextRoundStep(step);
    double clearFrom = -std::numeric_limits<double>::infinity();
    for (std::int64_t i = 1; i <= count; ++i) {
        if (i != 1 && i % step != 0)
            continue;
        skipOnFailure([&] {
            const auto text = integerText(buffer, i);
            const double w = surface.TextWidth(text);
            const double left = position(i) - w / 2;
            if (left < clearFrom)
                return;
            printAt(surface, left, y, text);
            clearFrom = left + w + gap;
        });
    }
}

void drawMeshNumbers(DrawingSurface& surface, const MeshTables& mesh, double span, double h) {
    surface.pen.FontBold = false;
    surface.pen.ForeColor = colours::Blue;
    skipOnFailure([&] { printAt(surface, -0.05 * span, 6 * h, NodeNumbersCaption); });
    drawNumbers(surface, mesh.NodeCount, 7 * h, [&](std::int64_t i) { return at(mesh.NodeX, i); });
    surface.pen.ForeColor = colours::Red;
    skipOnFailure([&] { printAt(surface, -0.05 * span, 4 * h, ElementNumbersCaption); });
    drawNumbers(surface, mesh.ElementCount, 5 * h,
                [&](std::int64_t e) { return (at(mesh.NodeX, e) + at(mesh.NodeX, e + 1)) / 2; });
}

void drawMeshNodes(DrawingSurface& surface, const MeshTables& mesh, const NodalTables& nodal,
                   double h) {
    // Nodes closer than the eye can part are drawn as short ticks at a readable spacing.
    const double spacing = pixelsToX(surface, 2 * MarkPixels);
    Spacing nodes(spacing);
    const bool dense =
        mesh.NodeCount > 1 && mesh.ElementCount > 0 && surface.ScaleWidth() != 0 &&
        (mesh.NodeX.size() > static_cast<std::size_t>(mesh.NodeCount)) &&
        (mesh.NodeX[static_cast<std::size_t>(mesh.NodeCount)] - mesh.NodeX[1]) / mesh.ElementCount <
            spacing;
    for (std::int64_t i = 1; i <= mesh.NodeCount; ++i) {
        double x = 0;
        try {
            x = at(mesh.NodeX, i);
        } catch (const KradonError&) {
            continue;
        }
        skipOnFailure([&] {
            if (!nodes.take(x, i == 1 || i == mesh.NodeCount))
                return;
            if (dense) {
                surface.line(x, -h / 2, x, h / 2, colours::Red);
                return;
            }
            surface.pen.FillStyle = FillMode::Solid;
            surface.circle(x, 0, h / 10, colours::Red);
        });
        const auto vertical = [&] { surface.line(x, 2 * h, x, -2 * h, colours::Red); };
        const auto rotation = [&] {
            surface.pen.FillStyle = FillMode::Transparent;
            surface.circle(x, 0, h / 5, colours::Red);
        };
        skipOnFailure([&] {
            if (at(nodal.RestraintFlag, 2 * i - 1) != 0)
                vertical();
        });
        skipOnFailure([&] {
            if (at(nodal.SpringStiffness, 2 * i - 1) != 0)
                vertical();
        });
        skipOnFailure([&] {
            if (at(nodal.RestraintFlag, 2 * i) != 0)
                rotation();
        });
        skipOnFailure([&] {
            if (at(nodal.SpringStiffness, 2 * i) != 0)
                rotation();
        });
    }
}

/// How many rows of labels may stack at one place before the later ones are left out.
constexpr int LabelRows = 12;

/// A label of the idealised beam: its text, colour, and the rows it may stand in, centred on x
/// from y onwards by step.
struct RecordLabel {
    std::string text;
    Rgb colour;
    double x, y, step;
};

/// The labels of the idealised beam, most important first: the fixed displacement texts where
/// they have always stood (just below the beam), then a tag naming every record (P1 for point
/// load 1; U, T and M for UDLs, TDLs and moment loads above the beam; R for rigid supports and K
/// for springs below it).
std::vector<RecordLabel> recordLabels(const DrawingSurface& surface, const BeamModel& m) {
    const double L = m.span;
    const double h = surface.TextHeight("0");
    std::vector<RecordLabel> labels;
    auto tag = [](const char* letter, std::int64_t n) { return letter + std::to_string(n); };
    const auto& fd = m.FixedDisplacement;
    for (std::int64_t n = 1; n <= m.count(RecordKind::FixedDisplacement); ++n)
        labels.push_back({fixedDisplacementText(at(fd.vertical, n), at(fd.rotational, n)),
                          colours::Black, at(fd.location, n), 0.008 * L, h});
    for (std::int64_t n = 1; n <= m.count(RecordKind::RigidSupport); ++n)
        labels.push_back({tag("R", n), colours::Blue, at(m.RigidSupport.location, n), 0.15 * L, h});
    for (std::int64_t n = 1; n <= m.count(RecordKind::SpringSupport); ++n)
        labels.push_back(
            {tag("K", n), colours::Green, at(m.SpringSupport.location, n), 0.15 * L, h});
    const double above = -1.1 * h;
    for (std::int64_t n = 1; n <= m.count(RecordKind::PointLoad); ++n)
        labels.push_back(
            {tag("P", n), colours::Red, at(m.PointLoad.location, n), -0.25 * L + above, -h});
    for (std::int64_t n = 1; n <= m.count(RecordKind::UDL); ++n)
        labels.push_back({tag("U", n), colours::Red, (at(m.UDL.start, n) + at(m.UDL.end, n)) / 2,
                          -0.15 * L + above, -h});
    for (std::int64_t n = 1; n <= m.count(RecordKind::TDL); ++n)
        labels.push_back({tag("T", n), colours::Red, (at(m.TDL.start, n) + at(m.TDL.end, n)) / 2,
                          -0.2 * L + above, -h});
    for (std::int64_t n = 1; n <= m.count(RecordKind::MomentLoad); ++n)
        labels.push_back(
            {tag("M", n), colours::Red, at(m.MomentLoad.location, n), -0.03 * L + above, -h});
    return labels;
}

/// Every label of the idealised beam in the first of its rows where it covers no other;
/// where the beam is crowded the later ones are left out (hovering names them all).
void labelIdealisedBeam(DrawingSurface& surface, const BeamModel& m) {
    constexpr int Rows = LabelRows;
    const Rgb colour = surface.pen.ForeColor;
    LabelPlacer placer(surface);
    for (const RecordLabel& label : recordLabels(surface, m)) {
        surface.pen.ForeColor = label.colour;
        const double left =
            label.text.rfind("FD", 0) == 0 ? label.x : label.x - surface.TextWidth(label.text) / 2;
        std::vector<Point> rows;
        for (int k = 0; k < Rows; ++k)
            rows.push_back({left, label.y + k * label.step});
        placer.print(surface, label.text, rows);
    }
    surface.pen.ForeColor = colour;
}

void drawPictureSteps(PictureKind kind, const ProgramState& s, DrawingSurface& surface,
                      MessageSink& messages) {
    switch (kind) {
    case PictureKind::Beam:
        skipOnFailure([&] { DrawBeamFrame(surface, s.model.span); });
        skipOnFailure([&] { DrawIdealisedBeam(surface, s.model); });
        return;
    case PictureKind::Mesh:
        DrawMesh(surface, s.model, s.mesh, s.nodal);
        return;
    case PictureKind::BendingMoment:
        DrawLabelledDiagram(surface, s, Quantity::Moment, messages);
        return;
    case PictureKind::Shear:
        DrawLabelledDiagram(surface, s, Quantity::Shear, messages);
        return;
    case PictureKind::Deflection:
        DrawLabelledDiagram(surface, s, Quantity::Deflection, messages);
        return;
    case PictureKind::EValue:
        DrawLabelledDiagram(surface, s, Quantity::E, messages);
        return;
    case PictureKind::IValue:
        DrawLabelledDiagram(surface, s, Quantity::I, messages);
        return;
    }
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

constexpr std::string_view PictureNames[] = {"beam", "mesh", "bmd", "sfd", "dsd", "e", "i"};

} // namespace

// ---------------------------------------------------------------------------------------------
// Frame and scales

std::vector<double> ScaleTable(const std::vector<double>& table, double factor) {
    std::vector<double> scaled(table.size(), 0.0);
    for (std::size_t i = 1; i < table.size(); ++i)
        scaled[i] = factor * table[i];
    return scaled;
}

double NiceStep(double v) {
    if (!(v > 0) || !std::isfinite(v))
        throw KradonError(ErrorNumber::InvalidArgument, Source,
                          "Invalid procedure call or argument");
    double m = v;
    double e = 1;
    if (m > 1) {
        do {
            e *= 10;
            m /= 10;
        } while (m > 1);
    } else if (m < 0.1) {
        do {
            e /= 10;
            m *= 10;
        } while (m < 0.1);
    }
    // Now 0.1 <= m <= 1 and v = m * e; k is 1, 2, 4 or 5 quarters of a tenth of e.
    double k = std::floor(m / 0.25 + 1);
    if (k == 3)
        k = 4;
    double s = k * e * 0.25 / 10;
    if (s > v / 5)
        s /= 2;
    if (s < v / 10)
        s *= 2;
    return s;
}

void DrawGrid(DrawingSurface& surface, double xm, double ym, double span, MessageSink& messages) {
    try {
        const double s = NiceStep(ym);
        if (!(s > 0) || !std::isfinite(span))
            throw KradonError(ErrorNumber::Overflow, Source, "Overflow");
        surface.pen.DrawWidth = 1;
        surface.pen.DrawStyle = LineStyle::Dotted;
        if (s < ym) {
            horizontalGridLines(surface, xm, ym, s);
            verticalGridLines(surface, ym, span);
        }
        surface.pen.DrawWidth = 3;
        surface.pen.DrawStyle = LineStyle::Solid;
        printAt(surface, -0.9 * xm, 0.8 * ym, "Scales: X: 1 Y: " + labelNumber(s));
    } catch (const std::exception&) {
        messages.show({SubroutineTitle, ErrorText, Icon::Critical});
    }
}

DiagramFrame FrameFor(double span, double largest) {
    return {0.1 * span, 1.5 * (largest == 0 ? 10 : largest)};
}

void DrawDiagramFrame(DrawingSurface& surface, double span, const DiagramFrame& frame,
                      std::string_view title, MessageSink& messages) {
    const double xm = frame.xm;
    const double ym = frame.ym;
    skipOnFailure([&] { surface.setScale(-xm, -ym, 11 * xm, ym); });
    DrawGrid(surface, xm, ym, span, messages);
    skipOnFailure([&] { surface.line(0, 0, span, 0); });
    skipOnFailure([&] { printAt(surface, 3.5 * xm, -0.95 * ym, title); });
}

// ---------------------------------------------------------------------------------------------
// The idealised beam

void DrawBeamFrame(DrawingSurface& surface, double span) {
    surface.clear();
    surface.setScale(-0.1 * span, -0.5 * span, 1.1 * span, 0.5 * span);
    surface.line(0, 0, span, 0);
    surface.pen.FillStyle = FillMode::Transparent;
}

void DrawPointLoad(DrawingSurface& surface, double span, double x) {
    surface.line(x, 0, x, -0.25 * span, colours::Red);
}

void DrawDistributedLoad(DrawingSurface& surface, double span, double start, double end,
                         double startValue, double endValue) {
    // Only the order of the two values matters: the larger end stands twice as tall.
    double startHeight = 0.15 * span;
    double endHeight = 0.15 * span;
    if (startValue < endValue) {
        startHeight = 0.1 * span;
        endHeight = 0.2 * span;
    } else if (startValue > endValue) {
        startHeight = 0.2 * span;
        endHeight = 0.1 * span;
    }
    surface.line(start, 0, start, -startHeight, colours::Red);
    surface.line(start, -startHeight, end, -endHeight, colours::Red);
    surface.line(end, 0, end, -endHeight, colours::Red);
}

void DrawMoment(DrawingSurface& surface, double span, double x) {
    surface.circle(x, 0, 0.03 * span, colours::Red);
}

void DrawFixedDisplacement(DrawingSurface& surface, double span, double x, double vertical,
                           double rotation) {
    printAt(surface, x, 0.008 * span, fixedDisplacementText(vertical, rotation));
}

void DrawRigidSupport(DrawingSurface& surface, double span, double x, bool supported, bool fixed) {
    if (supported)
        surface.line(x, 0.15 * span, x, -0.15 * span, colours::Blue);
    if (fixed)
        surface.circle(x, 0, 0.02 * span, colours::Blue);
}

void DrawSpringSupport(DrawingSurface& surface, double span, double x, double vertical,
                       double rotational) {
    if (vertical != 0)
        surface.line(x, 0.15 * span, x, -0.15 * span, colours::Green);
    if (rotational != 0)
        surface.circle(x, 0, 0.02 * span, colours::Green);
}

void DrawIdealisedBeam(DrawingSurface& surface, const BeamModel& m) {
    const double L = m.span;
    for (std::int64_t n = 1; n <= m.count(RecordKind::PointLoad); ++n)
        DrawPointLoad(surface, L, at(m.PointLoad.location, n));
    for (std::int64_t n = 1; n <= m.count(RecordKind::UDL); ++n) {
        const double w = at(m.UDL.value, n);
        DrawDistributedLoad(surface, L, at(m.UDL.start, n), at(m.UDL.end, n), w, w);
    }
    for (std::int64_t n = 1; n <= m.count(RecordKind::TDL); ++n)
        DrawDistributedLoad(surface, L, at(m.TDL.start, n), at(m.TDL.end, n),
                            at(m.TDL.startValue, n), at(m.TDL.endValue, n));
    for (std::int64_t n = 1; n <= m.count(RecordKind::MomentLoad); ++n)
        DrawMoment(surface, L, at(m.MomentLoad.location, n));
    // A support type other than Pinned or Fixed keeps the flags of the support before it.
    bool supported = false;
    bool fixed = false;
    for (std::int64_t n = 1; n <= m.count(RecordKind::RigidSupport); ++n) {
        const double type = at(m.RigidSupport.type, n);
        if (type == SupportType::Pinned || type == SupportType::Fixed) {
            supported = true;
            fixed = type == SupportType::Fixed;
        }
        DrawRigidSupport(surface, L, at(m.RigidSupport.location, n), supported, fixed);
    }
    for (std::int64_t n = 1; n <= m.count(RecordKind::SpringSupport); ++n)
        DrawSpringSupport(surface, L, at(m.SpringSupport.location, n),
                          at(m.SpringSupport.vertical, n), at(m.SpringSupport.rotational, n));
    labelIdealisedBeam(surface, m);
}

// ---------------------------------------------------------------------------------------------
// The mesh and the result diagrams

void DrawMesh(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
              const NodalTables& nodal) {
    const double L = model.span;
    double h = 0; // the longest element sets the size of every mark
    for (std::int64_t e = 1; e <= mesh.ElementCount; ++e)
        skipOnFailure([&] { h = std::max(h, at(mesh.ElementLength, e)); });

    skipOnFailure([&] { surface.clear(); });
    skipOnFailure([&] { surface.setScale(-0.1 * L, -10 * h, 1.1 * L, 10 * h); });
    skipOnFailure([&] { surface.line(0, 0, L, 0); });
    surface.pen.FillStyle = FillMode::Transparent;
    // The fixed displacement texts stack in rows above the element numbers, and are left out
    // where there is no room.
    const auto& fd = model.FixedDisplacement;
    const Box above{surface.ScaleLeft(), surface.ScaleTop(),
                    surface.ScaleLeft() + surface.ScaleWidth(), 4 * h};
    LabelPlacer placer(surface, above);
    for (std::int64_t n = 1; n <= model.count(RecordKind::FixedDisplacement); ++n)
        skipOnFailure([&] {
            const std::string text =
                fixedDisplacementText(at(fd.vertical, n), at(fd.rotational, n));
            std::vector<Point> rows;
            for (int k = 0; k < LabelRows; ++k)
                rows.push_back({at(fd.location, n), 0.02 * L + k * surface.TextHeight(text)});
            placer.print(surface, text, rows);
        });
    drawMeshForces(surface, mesh, nodal, h);
    drawMeshNumbers(surface, mesh, L, h);
    surface.pen.ForeColor = colours::Black;
    surface.pen.FillStyle = FillMode::Solid;
    drawMeshNodes(surface, mesh, nodal, h);
}

void DrawNodeDiagram(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
                     const std::vector<double>& table, std::string_view key, MessageSink& messages,
                     const std::vector<double>* leftOfNode) {
    const bool moment = key == "bmd";
    const std::int64_t N = mesh.NodeCount;
    const auto& x = mesh.NodeX;
    startDiagram(surface);
    const std::vector<double> v = ScaleTable(table, moment ? 0.001 : 1000);
    const std::vector<double> left =
        moment && leftOfNode != nullptr ? ScaleTable(*leftOfNode, 0.001) : v;
    const double M = largestMagnitude(v, 1, N);
    DrawDiagramFrame(surface, model.span, FrameFor(model.span, M),
                     moment ? BendingMomentTitle : DeflectedShapeTitle, messages);
    diagramPen(surface);
    // The moment outline stands on the axis at both ends; the deflected shape is left open.
    if (moment)
        skipOnFailure([&] { surface.line(at(x, 1), 0, at(x, 1), at(v, 1), colours::Red); });
    for (std::int64_t i = 2; i <= N; ++i)
        skipOnFailure([&] {
            const double arrive = i < N ? at(left, i) : at(v, i);
            surface.line(at(x, i - 1), at(v, i - 1), at(x, i), arrive, colours::Red);
            if (arrive != at(v, i))
                surface.line(at(x, i), arrive, at(x, i), at(v, i), colours::Red);
        });
    if (moment)
        skipOnFailure([&] { surface.line(at(x, N), at(v, N), at(x, N), 0, colours::Red); });
}

void DrawShearDiagram(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
                      const std::vector<double>& table, MessageSink& messages,
                      std::vector<ValueLabel>* labels) {
    const std::int64_t N = mesh.NodeCount;
    const auto& x = mesh.NodeX;
    startDiagram(surface);
    // v(2e) is the shear at the start of element e and v(2e + 1) at its end; v(1) = v(2N) = 0.
    const std::vector<double> v = ScaleTable(table, 0.001);
    const double M = largestMagnitude(v, 1, 2 * N);
    DrawDiagramFrame(surface, model.span, FrameFor(model.span, M), ShearForceTitle, messages);
    diagramPen(surface);
    // Values this small beside the largest are the solution's rounding, not a shear.
    const double negligible = 1e-9 * M;
    KeyPointCursor keys(keyPoints(model));
    double lastLabel = 0;
    std::vector<ValueLabel> wanted;
    for (std::int64_t i = 1; i <= 2 * N - 1; ++i) {
        // Odd i: the jump at node a = b; even i: along element a from node a to b = a + 1.
        const std::int64_t a = (i + 1) / 2;
        const std::int64_t b = i / 2 + 1;
        skipOnFailure(
            [&] { surface.line(at(x, a), at(v, i), at(x, b), at(v, i + 1), colours::Red); });
        skipOnFailure([&] {
            // Both sides of the jump at a key point: v(2a - 1) left of it, v(2a) right of it.
            const double value = at(v, i);
            if (!keys.at(at(x, a)) || std::fabs(value) <= negligible)
                return;
            if (i % 2 == 0 && value == lastLabel)
                return;
            wanted.push_back({at(x, a), 1.1 * value, shearLabel(value)});
            lastLabel = value;
        });
        if (i % 2 == 0)
            lastLabel = 0;
    }
    if (labels != nullptr) {
        *labels = std::move(wanted);
        return;
    }
    LabelPlacer placer(surface);
    for (const ValueLabel& label : wanted)
        skipOnFailure([&] {
            std::vector<Point> spots{{label.x, label.y}};
            const auto more = placer.around(label.text, label.x, label.y / 1.1, 2);
            spots.insert(spots.end(), more.begin(), more.end());
            placer.print(surface, label.text, spots);
        });
}

void DrawRotationDiagram(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
                         const std::vector<double>& Displacements, MessageSink& messages) {
    const std::int64_t N = mesh.NodeCount;
    const auto& x = mesh.NodeX;
    startDiagram(surface);
    std::vector<double> v(static_cast<std::size_t>(std::max<std::int64_t>(N, 0)) + 1, 0.0);
    for (std::int64_t i = 1; i <= N; ++i)
        skipOnFailure([&] { v[static_cast<std::size_t>(i)] = at(Displacements, 2 * i); });
    const double M = largestMagnitude(v, 1, N);
    DrawDiagramFrame(surface, model.span, FrameFor(model.span, M), RotationTitle, messages);
    diagramPen(surface);
    for (std::int64_t i = 2; i <= N; ++i)
        skipOnFailure(
            [&] { surface.line(at(x, i - 1), at(v, i - 1), at(x, i), at(v, i), colours::Red); });
}

void DrawPropertyDiagram(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
                         std::string_view key, MessageSink& messages) {
    const bool isE = key == "E";
    const std::int64_t N = mesh.NodeCount;
    const double L = model.span;
    startDiagram(surface);
    // Element i's value stands at node i; the last node gets the value defined at the span's end.
    const std::vector<double>& element = isE ? mesh.ElementE : mesh.ElementI;
    std::vector<double> V(static_cast<std::size_t>(std::max<std::int64_t>(N, 0)) + 1, 0.0);
    for (std::int64_t i = 1; i <= N - 1; ++i)
        skipOnFailure([&] { V[static_cast<std::size_t>(i)] = at(element, i); });
    if (N >= 1)
        skipOnFailure([&] {
            V[static_cast<std::size_t>(N)] = isE ? EValueAt(model, L) : IValueAt(model, L);
        });
    const double M = largestMagnitude(V, 1, mesh.ElementCount);
    const std::string title = std::string(key) + PropertyTitleMiddle + (isE ? "kN/mm2" : "cm4");
    DrawDiagramFrame(surface, L, FrameFor(L, M), title, messages);
    diagramPen(surface);
    const auto& x = mesh.NodeX;
    skipOnFailure([&] { surface.line(0, 0, 0, at(V, 1), colours::Red); });
    for (std::int64_t i = 1; i <= mesh.ElementCount; ++i)
        skipOnFailure(
            [&] { surface.line(at(x, i), at(V, i), at(x, i + 1), at(V, i + 1), colours::Red); });
    skipOnFailure([&] { surface.line(L, 0, L, at(V, N), colours::Red); });
}

// ---------------------------------------------------------------------------------------------
// Dispatch

void DrawPicture(PictureKind kind, const ProgramState& state, DrawingSurface& surface,
                 MessageSink& messages) {
    skipOnFailure([&] { drawPictureSteps(kind, state, surface, messages); });
}

std::optional<PictureKind> PictureKindFromName(std::string_view name) {
    for (std::size_t k = 0; k < std::size(PictureNames); ++k)
        if (sameNameIgnoringCase(name, PictureNames[k]))
            return static_cast<PictureKind>(k);
    return std::nullopt;
}

std::string_view PictureKindName(PictureKind kind) {
    const auto k = static_cast<std::size_t>(kind);
    return k < std::size(PictureNames) ? PictureNames[k] : std::string_view{};
}

} // namespace kradon::modGraphics
