// The exports of an analysis from the desktop program: the calculation sheet (PDF or HTML, by
// the name chosen) and the results as CSV, each to a file the user picks.
#pragma once

#include "analysis/ProgramState.h"
#include "app/FilePicker.h"
#include "model/Sinks.h"
#include "settings/UserDetails.h"

#include <QString>

class QWidget;

namespace kradon {

inline constexpr const char* ExportSheetTitle = "Export Calculation Sheet";
inline constexpr const char* ExportSheetFilter = "PDF document|*.pdf|HTML page|*.html";
inline constexpr const char* ExportResultsTitle = "Export Results (CSV)";
inline constexpr const char* ExportResultsFilter = "CSV files|*.csv|All files|*.*";

/// Asks for a file (starting in startAt) and writes the sheet of the analysed state to it: an
/// HTML page for a name ending in .html or .htm, a PDF otherwise. A cancelled dialog writes
/// nothing; a failure is one message. Returns whether a file was written.
bool ExportCalculationSheet(QWidget* parent, const ProgramState& state, const UserDetails& user,
                            FilePicker& files, MessageSink& messages, const QString& startAt);

/// Asks for a file and writes the results CSV of the analysed state to it.
bool ExportResultsCsv(QWidget* parent, const ProgramState& state, FilePicker& files,
                      MessageSink& messages, const QString& startAt);

} // namespace kradon
