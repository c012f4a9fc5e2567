// Where kradon-cli's outputs go: files replaced in one step, the standard output checked, and the
// per-user folder of the analysis copies.
#pragma once

#include "analysis/AnalyseCommand.h"
#include "model/SafeFile.h"
#include "model/Sinks.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace kradon::cli {

inline constexpr const char* CliTitle = "kradon-cli";

/// Replaces the file at path with bytes in one step (a new file beside it, synced, renamed over
/// it), so a failed write leaves what was there. A failure is reported as "Cannot write the WHAT
/// to PATH: why".
bool WriteOutputFile(const std::string& path, const std::string& bytes, const std::string& what,
                     MessageSink& messages);

/// WriteOutputFile for bytes written as produce makes them. An exception of produce goes on to
/// the caller (and no file is left).
bool WriteOutputFile(const std::string& path, const SafeFile::ByteProducer& produce,
                     const std::string& what, MessageSink& messages);

/// The text (what: "report", "values") to the file at path, or to out when path is empty; a
/// failed write of either is reported and gives false.
bool WriteReport(const std::string& text, const std::string& path, std::ostream& out,
                 MessageSink& messages, const std::string& what = "report");

/// WriteReport for text written as produce makes it.
bool WriteReport(const SafeFile::ByteProducer& produce, const std::string& path, std::ostream& out,
                 MessageSink& messages, const std::string& what = "report");

/// The exit status of an analysis that ended with outcome.
int ExitStatusOf(AnalyseOutcome outcome);

/// The user's private folder for analysis copies, or nullopt after a message saying why it
/// cannot be used.
std::optional<std::filesystem::path> AnalysisFolder(MessageSink& messages);

} // namespace kradon::cli
