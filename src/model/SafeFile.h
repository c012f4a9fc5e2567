// Writing and reading files so that nothing the user had is lost: every output file replaced in
// one step, and every input read only when it is a regular file of a sane size.
#pragma once

#include "model/Sinks.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kradon::SafeFile {

inline constexpr const char* WriteSource = "WriteFileAtomically";
inline constexpr const char* ReadSource = "ReadRegularFile";
/// A file being written is named after its target with this and "PID-N-R" appended.
inline constexpr const char* TemporaryMarker = ".tmp-";

/// Replaces the file at target with bytes, so that the file holds either all of its old bytes or
/// all of the new ones at every moment, whatever happens on the way (a full disk, a kill, a
/// crash):
/// - a symbolic link is followed to the file it names, which is replaced; the link stays a link;
/// - the bytes go to a new file beside that file, "NAME.tmp-PID-N-R", which is flushed and synced
///   to the disk and then renamed over it; the folder is synced afterwards;
/// - the new file keeps the old one's permission bits, and its owner and group where the system
///   allows; a file that did not exist gets 0666 less the umask;
/// - on any failure the old file is left as it was, the temporary file is removed and
///   KradonError (FileIo, source, the system's description) is thrown;
/// - leftovers of this naming beside the target whose process has ended (a write killed half-way)
///   are removed first.
/// A target that exists and is neither a regular file nor a folder (a terminal, a pipe,
/// /dev/null) cannot be renamed over and is written directly.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         const std::string& source = WriteSource);

/// Makes the bytes of a file, handing them to the sink it is given as they come.
using ByteProducer = std::function<void(const ByteSink&)>;

/// WriteFileAtomically for bytes made while they are written, so that a large file is never
/// held whole in memory. An exception thrown by produce removes the new file, leaves the old
/// one as it was and goes on to the caller unchanged.
void WriteFileAtomically(const std::filesystem::path& target, const ByteProducer& produce,
                         const std::string& source = WriteSource);

/// The file path names once every symbolic link in its last part has been followed; path itself
/// when it is no link. A link to a missing file gives the missing file's path. Throws
/// KradonError (FileIo) for a link that cannot be read or a loop of links.
std::filesystem::path LinkTarget(const std::filesystem::path& path);

/// The steps of WriteFileAtomically at which a test can make it fail.
enum class WriteStep { Create, Write, Sync, Rename };

/// A failure to inject: the step and the system error number (errno) it fails with. A failing
/// Write step writes the first half of the bytes before it fails, as a full disk does.
struct WriteFault {
    WriteStep step = WriteStep::Write;
    int error = 0;
};

/// For tests: every following WriteFileAtomically fails as fault says, until it is called again
/// with nothing. Not thread-safe.
void InjectWriteFault(std::optional<WriteFault> fault);

/// The whole content of the regular file at path. The file is opened without blocking and
/// checked on the open descriptor, so a pipe, a device or a folder of that name never hangs or
/// floods the program. Throws KradonError (FileIo, source) when the file cannot be opened or read
/// (the system's description), is not a regular file, or holds more than maxBytes; kind names
/// the file in that last message ("a model file").
std::string ReadRegularFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                            std::string_view kind, const std::string& source = ReadSource);

/// The first maxBytes bytes (or fewer) of the regular file at path; the rest is not read. Throws
/// as ReadRegularFile does, but never for the size.
std::string ReadRegularFilePrefix(const std::filesystem::path& path, std::uintmax_t maxBytes);

/// The folder parent/name for this user alone, made with mode 0700 when it is missing. It is
/// used only when it is a real folder (not a link) that belongs to the user and that no one else
/// may enter, checked on the folder itself once opened, not by its name. Throws KradonError
/// (FileIo, source PrivateFolderSource) with a description naming the folder and what is wrong
/// with it otherwise.
std::filesystem::path PrivateFolder(const std::filesystem::path& parent, const std::string& name);

inline constexpr const char* PrivateFolderSource = "PrivateFolder";

/// Description of a file that is no regular file.
inline constexpr const char* NotRegularText =
    "It is not a regular file (a pipe, a device or a socket)";

} // namespace kradon::SafeFile
