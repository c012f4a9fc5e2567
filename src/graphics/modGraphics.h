// The pictures of the program, drawn onto a DrawingSurface from the model, mesh and result
// tables: the diagram frame with its grid and scale label, the idealised beam with its load and
// support symbols, the mesh, the result diagrams and the E/I variation plots, and the dispatcher
// a diagram window calls by the kind of picture it shows.
//
// Coordinates are user coordinates of the surface. In every picture x runs along the beam from
// its left end (m) and y grows downwards, so positive values (sagging moments, downward
// deflections, loads drawn above the beam at negative y) read as an engineer expects.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/DrawingSurface.h"
#include "model/BeamModel.h"
#include "model/Sinks.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kradon::modGraphics {

inline constexpr const char* BendingMomentTitle = "Bending Moment Diagram Units: kNm";
inline constexpr const char* DeflectedShapeTitle = "Deflected Shape Diagram Units: mm";
inline constexpr const char* ShearForceTitle = "Shear Force Diagram Units: kN";
inline constexpr const char* RotationTitle = "Rotation Diagram Units: rad";
inline constexpr const char* PropertyTitleMiddle = " Value Variation Units: ";

// ---------------------------------------------------------------------------------------------
// Frame and scales

/// A table with indices 0..n: entry i = factor * table[i] for i = 1..n; entry 0 stays 0.
std::vector<double> ScaleTable(const std::vector<double>& table, double factor);

/// A grid spacing for a positive extent v (1.25 for 10, 1 for 7.3, 0.25 for 2, 0.05 for 0.37).
/// Only called with v > 0.
double NiceStep(double v);

/// Dotted navy grid of a diagram frame (horizontal lines every NiceStep(ym) within +-ym, vertical
/// lines every 1 m from 0 to span) and the scale label "Scales: X: 1 Y: <step>" near the
/// bottom-left corner. Leaves DrawWidth 3 and DrawStyle solid in force. A failure shows
/// "Graphics Error" (title "Graphics Subroutine", critical icon) and leaves the grid
/// unfinished; it never throws.
void DrawGrid(DrawingSurface& surface, double xm, double ym, double span, MessageSink& messages);

/// The frame of a diagram over span L whose plotted values have largest magnitude M.
struct DiagramFrame {
    double xm = 0; // 0.1 L
    double ym = 0; // 1.5 M, with M = 0 taken as 10
};
DiagramFrame FrameFor(double span, double largest);

/// Scale (-xm, -ym)-(11 xm, ym), grid, beam axis (0, 0)-(L, 0) and the title at
/// (3.5 xm, -0.95 ym). Each failing step is skipped; never throws.
void DrawDiagramFrame(DrawingSurface& surface, double span, const DiagramFrame& frame,
                      std::string_view title, MessageSink& messages);

// ---------------------------------------------------------------------------------------------
// The idealised beam. These routines stop at the first failing surface operation and pass its
// KradonError on; the diagram window ignores it. span is L in m; sizes are fractions of it.

/// Clears, sets the scale (-0.1 L, -0.5 L)-(1.1 L, 0.5 L), draws the beam line and sets
/// FillStyle transparent. DrawWidth is left as it is.
void DrawBeamFrame(DrawingSurface& surface, double span);

/// A red vertical line of 0.25 L above the beam at x.
void DrawPointLoad(DrawingSurface& surface, double span, double x);
/// A UDL (startValue == endValue) or TDL outline above start..end; only the order of the two
/// values matters: the larger end is drawn 0.2 L high, the smaller 0.1 L, a UDL 0.15 L.
void DrawDistributedLoad(DrawingSurface& surface, double span, double start, double end,
                         double startValue, double endValue);
/// A red circle of radius 0.03 L on the beam at x.
void DrawMoment(DrawingSurface& surface, double span, double x);
/// The label "FD = <vertical>mm <rotation>rads" just below the beam at x (mm and rad as stored).
void DrawFixedDisplacement(DrawingSurface& surface, double span, double x, double vertical,
                           double rotation);
/// A blue vertical line through the beam when supported, plus a blue circle when fixed.
void DrawRigidSupport(DrawingSurface& surface, double span, double x, bool supported, bool fixed);
/// A green vertical line for a vertical stiffness, a green circle for a rotational one (kN/mm,
/// kN/rad; zero means none).
void DrawSpringSupport(DrawingSurface& surface, double span, double x, double vertical,
                       double rotational);
/// Every symbol of the model in the order point loads, UDLs, TDLs, moments, fixed
/// displacements, rigid supports, spring supports. Call DrawBeamFrame first.
void DrawIdealisedBeam(DrawingSurface& surface, const BeamModel& model);

// ---------------------------------------------------------------------------------------------
// The mesh and the result diagrams. These skip a failing step (a table shorter than its count,
// a zero span, a value no device can hold) and go on; they never throw.

/// Nodes, elements and their numbers, downward nodal forces and positive nodal moments, rigid
/// restraints and springs, and the fixed displacement labels. Sizes follow the longest element.
void DrawMesh(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
              const NodalTables& nodal);

/// key "bmd": table = NodeMoment (N m) drawn in kNm as a closed outline on the axis;
/// key "dsd": table = NodeDeflection (m) drawn in mm as an open polyline. leftOfNode, when given
/// for "bmd", holds the moment just left of each node (N m, indexed like the table); where it
/// differs from the table's (a moment load or a support's moment) the outline reaches the node at
/// the left value and jumps to the right one.
void DrawNodeDiagram(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
                     const std::vector<double>& table, std::string_view key, MessageSink& messages,
                     const std::vector<double>* leftOfNode = nullptr);

/// A value a diagram labels, with the top-left corner it would like for its text.
struct ValueLabel {
    double x = 0, y = 0;
    std::string text;
};

/// table = NodeShear (N), drawn in kN with the jumps at the nodes. Both shears of a jump at a key
/// point of the model (a load, support or definition position, or a beam end) are labelled in
/// kN; zero values are not labelled. With labels given, the labels are handed back there
/// instead of printed.
void DrawShearDiagram(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
                      const std::vector<double>& table, MessageSink& messages,
                      std::vector<ValueLabel>* labels = nullptr);

/// Displacements (m and rad, 2n the rotation of node n) drawn as the node rotations in rad, an
/// open polyline in the diagram frame.
void DrawRotationDiagram(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
                         const std::vector<double>& Displacements, MessageSink& messages);

/// key "E": ElementE (kN/mm2) and EValueAt(L) at the right end; key "I": ElementI (cm4) and
/// IValueAt(L). Element values are joined at the nodes; the outline stands on the axis.
void DrawPropertyDiagram(DrawingSurface& surface, const BeamModel& model, const MeshTables& mesh,
                         std::string_view key, MessageSink& messages);

// ---------------------------------------------------------------------------------------------
// Dispatch by diagram window kind.

enum class PictureKind : std::int16_t {
    Beam = 0,
    Mesh = 1,
    BendingMoment = 2,
    Shear = 3,
    Deflection = 4,
    EValue = 5,
    IValue = 6
};

/// Draws the picture of a diagram window of that kind from the current tables: Beam is the beam
/// frame followed by the idealised beam. Failing steps are skipped; never throws. Tables of a
/// state without results give whatever can be drawn (the frame at least).
void DrawPicture(PictureKind kind, const ProgramState& state, DrawingSurface& surface,
                 MessageSink& messages);

/// The picture named beam, mesh, bmd, sfd, dsd, e or i on the command line (ASCII letters in
/// either case); nullopt for any other name.
std::optional<PictureKind> PictureKindFromName(std::string_view name);

/// The command-line name of a picture kind (the inverse of PictureKindFromName).
std::string_view PictureKindName(PictureKind kind);

} // namespace kradon::modGraphics
