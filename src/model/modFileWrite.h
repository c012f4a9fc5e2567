// The model file: the fixed little-endian binary layout of a BeamModel, its writer and reader,
// and the file operations built on them (save, open, the temporary analysis copy).
#pragma once

#include "model/BeamModel.h"

#include <cstdint>
#include <filesystem>
#include <istream>
#include <ostream>

namespace kradon::modFileWrite {

inline constexpr const char* DefaultExtension = "kdn";
inline constexpr const char* NewModelName = "Kradon1.kdn";
/// Box texts; the shell appends the file name, a line break and the system's description.
inline constexpr const char* SaveErrorPrefix = "Error while saving file ";
inline constexpr const char* OpenErrorPrefix = "Unkown error while opening file ";

/// Writes span, MaxNoApplieds, the nine counts and all MaxNoApplieds + 1 entries of every list,
/// whatever the counts. A list shorter than that is padded with 0 or empty texts. Throws
/// KradonError (BadFileFormat) for a negative MaxNoApplieds or a text over 32767 bytes, and
/// (FileIo) when the stream fails.
void WriteModel(std::ostream& out, const BeamModel& m);

/// Reads a model written by WriteModel into a new model; the lists get the capacity stored in
/// the file. Throws KradonError (BadFileFormat) for a damaged file: a negative or oversized
/// MaxNoApplieds, a count outside 0..MaxNoApplieds, a negative text length or a truncated file.
/// NaN values are read as stored. Bytes after a complete model are ignored.
BeamModel ReadModel(std::istream& in);

/// The largest model file the layout allows: MaxNoApplieds 32767, every expression 32767 bytes.
inline constexpr std::uintmax_t ModelFileMaxBytes =
    28 + 31 * 8 * std::uintmax_t{32768} + 2 * std::uintmax_t{32768} * (2 + 32767);

/// Writes the model with SafeFile::WriteFileAtomically, so a failed save leaves the previous
/// file intact, its permissions kept and a link to it followed. Throws KradonError (FileIo,
/// source "SaveModel") on failure.
void SaveModelFile(const std::filesystem::path& path, const BeamModel& m);

/// Opens and reads a model file. A missing or unreadable file, or one that is no regular file
/// (a folder, a pipe, a device) or larger than ModelFileMaxBytes, throws KradonError (FileIo,
/// source "OpenModel") without blocking; a damaged one throws as ReadModel does.
BeamModel OpenModelFile(const std::filesystem::path& path);

/// One analysis's own copy of the model: a file created exclusively under a name no other
/// file has, in a folder that other analyses may share, and removed when the object goes. An
/// analysis takes the model read back from it, so that it analyses the model as its file holds
/// it.
class AnalysisCopy {
public:
    /// Writes m into a new file in folder. Throws KradonError (FileIo, source "SaveModel") when
    /// the file cannot be created or written; nothing is left behind then.
    AnalysisCopy(const std::filesystem::path& folder, const BeamModel& m);
    ~AnalysisCopy();
    AnalysisCopy(const AnalysisCopy&) = delete;
    AnalysisCopy& operator=(const AnalysisCopy&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// The model as the file holds it; throws as OpenModelFile does.
    BeamModel read() const { return OpenModelFile(path_); }

private:
    std::filesystem::path path_;
};

/// The per-user folder of the analysis copies: $XDG_RUNTIME_DIR/kradon when XDG_RUNTIME_DIR
/// names a directory, else <system temp>/kradon-<uid>, made and checked by
/// SafeFile::PrivateFolder. Throws KradonError (FileIo) when it cannot be made, or is not the
/// user's own private folder.
std::filesystem::path DefaultAnalysisFolder();

} // namespace kradon::modFileWrite
