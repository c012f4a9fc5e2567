// The input check run before every analysis: is there input, are there properties, loads and
// supports that hold the beam, and does everything lie on the beam.
#pragma once

#include "model/BeamModel.h"
#include "model/Sinks.h"

namespace kradon::modCheck {

inline constexpr const char* CheckTitle = "Input Data Checking Routine";
inline constexpr const char* NoInputText = "No input for calculation";
inline constexpr const char* NoPropertiesText = "No beam properties included in input";
inline constexpr const char* SupportsText = "Number/location of supports is erroneous in input";
inline constexpr const char* NoLoadsText = "No loads/displacements included in input";
inline constexpr const char* OutsideHeader = "Elements outside boundaries are:";
inline constexpr const char* ProblemText =
    "There appears to be a problem with the input data.\r\nPlease edit input through the "
    "properties box";

/// CheckModelContents, CheckBoundaries and CheckValues, always all three; true if all pass.
bool CheckInput(const BeamModel& model, MessageSink& messages);
/// The count-based checks, each failing one with its own message.
bool CheckModelContents(const BeamModel& model, MessageSink& messages);
/// Lists every record beyond the span in one message.
bool CheckBoundaries(const BeamModel& model, MessageSink& messages);
/// Whether the supports hold both rigid-body motions of the beam; shows nothing.
bool CheckSupports(const BeamModel& model);
/// Refuses positions below 0 and values that are NaN or infinite, one message per record.
bool CheckValues(const BeamModel& model, MessageSink& messages);

} // namespace kradon::modCheck
