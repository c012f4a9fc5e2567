// The results file: span, counts, node positions, the three result tables and the two times of
// one analysis in a fixed little-endian binary layout of 60 + 40 N bytes, N the node count.
#pragma once

#include "analysis/ProgramState.h"

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>

namespace kradon {

/// The extension, compared case-sensitively on the last three characters of the chosen path.
inline constexpr const char* ResultsFileExtension = "kxr";
/// Box text of a failed save; the path follows it. A failed open uses
/// modFileWrite::OpenErrorPrefix ("Unkown error while opening file ").
inline constexpr const char* SaveResultsErrorPrefix = "Unkown error while saving file ";

/// The length of a results file for NodeCount nodes: 60 + 40 NodeCount bytes.
constexpr std::uintmax_t ResultsFileSize(std::int32_t NodeCount) {
    return 60 + 40 * static_cast<std::uintmax_t>(NodeCount);
}

/// The largest results file there can be: NodeCount 32767.
inline constexpr std::uintmax_t ResultsFileMaxBytes = ResultsFileSize(32767);

/// True when path names a results file: its last three characters are exactly "kxr".
bool IsResultsFilePath(const std::string& path);

/// Writes span, NodeCount, ElementCount, NodeX, NodeDeflection, NodeShear and NodeMoment (entries
/// 0..N, 0..N, 0..2N, 0..N, missing entries as 0), CalcTime and AnalysisTime. Values are
/// written as held (m, N, N·m), not converted. The file is replaced in one step
/// (SafeFile::WriteFileAtomically), so a failed save leaves the old file whole; the bytes of an
/// older, longer file past the new end are carried over, as an overwrite from byte 0 would leave
/// them (the reader never looks past 60 + 40 N). Throws KradonError (FileIo, source
/// "SaveResultsFile") when the file cannot be written, or (Overflow) when a count does not fit 16
/// bits; an overflow leaves the file untouched.
void SaveResultsFile(const ProgramState& state, const std::filesystem::path& path);

struct ResultsFileTimes {
    double CalcTime = 0;     // s
    double AnalysisTime = 0; // s
};

/// Reads a results file into state: model.span, mesh.NodeCount, mesh.ElementCount and
/// mesh.NumEquations, and NodeX, NodeDeflection, NodeShear and NodeMoment sized from the counts
/// read (N + 1, N + 1, 2N + 1, N + 1 entries); results that came from the exact integration
/// of varying E and I are not known as such. The two times are returned, not stored. A
/// missing or unreadable file, or one that is no regular file or is larger than
/// ResultsFileMaxBytes, throws KradonError (FileIo) without blocking; a damaged one (shorter than
/// 60 + 40 N bytes, NodeCount < 1 or ElementCount != NodeCount - 1) throws KradonError
/// (BadFileFormat). Either way state is left exactly as it was. Bytes after the end are ignored.
ResultsFileTimes OpenResultsFile(const std::filesystem::path& path, ProgramState& state);

/// The bytes SaveResultsFile writes for state, exactly ResultsFileSize(NodeCount) of them.
std::string ResultsFileBytes(const ProgramState& state);

/// Reads results from in as OpenResultsFile does from a file, with the same checks; a stream
/// that fails to read throws KradonError (FileIo). state changes only on success.
ResultsFileTimes ReadResultsFile(std::istream& in, ProgramState& state);

} // namespace kradon
