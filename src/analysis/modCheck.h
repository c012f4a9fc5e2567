// The input check run before every analysis: is there input, are there properties, loads and
// supports that hold the beam, and does everything lie on the beam.
#pragma once

#include "model/BeamModel.h"
#include "model/Sinks.h"

#include <string>
#include <vector>

namespace kradon::modCheck {

inline constexpr const char* CheckTitle = "Input Data Checking Routine";

/// CheckModelContents, CheckBoundaries and CheckValues, in this order; true if all pass. Against
/// a span that is no length every record would lie outside, so CheckBoundaries is left out then
/// and CheckValues names the span.
bool CheckInput(const BeamModel& model, MessageSink& messages);
/// The count-based checks, each failing one with its own message.
bool CheckModelContents(const BeamModel& model, MessageSink& messages);
/// Lists every record beyond the span in one message.
bool CheckBoundaries(const BeamModel& model, MessageSink& messages);
/// Whether the supports hold both rigid-body motions of the beam; shows nothing.
bool CheckSupports(const BeamModel& model);
/// Refuses a span that is not a positive finite number, positions below 0, values that are NaN
/// or infinite, and negative E and I (a constant, or either end of a linear definition): one
/// message, one line per record.
bool CheckValues(const BeamModel& model, MessageSink& messages);

/// One line per stretch of the span that no E definition covers, then the same for I, in order
/// along the beam: "E is not defined from 10 m to 11 m: that stretch carries nothing." Such a
/// stretch may be meant (a cut in the beam), so these are warnings, not refusals.
std::vector<std::string> CoverageWarnings(const BeamModel& model);

} // namespace kradon::modCheck
