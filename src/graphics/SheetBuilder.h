// The content of the calculation sheet of an analysed model: the input (span, mesh, every
// record, E and I with their plots, the loading diagram), the results (reactions of every
// support, spring and prescribed displacement, the equilibrium check, the extremes over the beam
// and per span, span-to-deflection ratios, both sides of every jump) and the diagrams.
#pragma once

#include "analysis/ProgramState.h"
#include "graphics/SheetDocument.h"
#include "settings/UserDetails.h"

#include <string>
#include <utility>
#include <vector>

namespace kradon::sheet {

/// The title block of the sheet of modelFile (its name only is shown) for the user, made at
/// dateTime.
TitleBlock MakeTitleBlock(const std::string& modelFile, const UserDetails& user,
                          const std::string& dateTime);

/// The local date and time now, "YYYY-MM-DD HH:MM".
std::string NowText();

/// The lines of the checks section, each a label and its value with unit: the sum of the
/// loads, of the reactions, and what is left over vertically and in moment. Every further check
/// of the solution that the sheet is to show belongs here, as one more line.
std::vector<std::pair<std::string, std::string>> CheckLines(const ProgramState& state);

/// The whole sheet. The state must hold a completed analysis (HasExactResults) and outlive the
/// document, whose figures draw from it; throws KradonError (InvalidArgument) otherwise.
SheetDocument BuildSheet(const ProgramState& state, const TitleBlock& title);

} // namespace kradon::sheet
