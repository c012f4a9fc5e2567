// The envelope of a result along the beam: the largest values over the loadings as a red line,
// the smallest as a blue one, in the frame of the result's diagram, with the largest and the
// smallest value anywhere marked and labelled with the loading that governs each.
#pragma once

#include "analysis/LoadCombinations.h"
#include "graphics/DrawingSurface.h"
#include "graphics/modGraphics.h"
#include "model/Sinks.h"

namespace kradon::modGraphics {

/// Draws the envelope of the bending moment, shear force or deflected shape (kind BendingMoment,
/// Shear or Deflection); any other kind draws nothing and returns false. Failing steps are
/// skipped; never throws.
bool DrawEnvelopeDiagram(DrawingSurface& surface, PictureKind kind, const CaseAnalysis& a,
                         const EnvelopeResult& r, const CaseModel& m, MessageSink& messages);

/// The title line of an envelope diagram's labels: "Envelope of <loadings>".
std::string EnvelopeCaption(const EnvelopeResult& r);

} // namespace kradon::modGraphics
