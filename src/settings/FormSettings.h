// The program's own settings file: a 14-byte record of the main window's place and two View menu
// switches, its encoding, where it lives and how it is read and rewritten.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace kradon {

/// The record as stored: seven little-endian 16-bit signed integers, top before left.
/// Coordinates are in twips; flags are -1 for checked and 0 for not.
struct FormSettings {
    std::int16_t top = 0;
    std::int16_t left = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t windowState = 0; // 0 normal, 1 minimised, 2 maximised
    std::int16_t showTips = -1;
    std::int16_t showProperties = -1;
    bool operator==(const FormSettings&) const = default;
};

inline constexpr std::size_t FormSettingsSize = 14;
inline constexpr std::int16_t WindowStateNormal = 0;
inline constexpr std::int16_t WindowStateMinimised = 1;
inline constexpr std::int16_t WindowStateMaximised = 2;

/// The 14 bytes of the record, in file order.
std::array<std::uint8_t, FormSettingsSize> EncodeFormSettings(const FormSettings& record);

/// `current` with every field the bytes hold completely replaced: a file shorter than 14 bytes
/// changes only its leading fields, an empty one nothing; bytes past 14 are ignored.
FormSettings DecodeFormSettings(std::span<const std::uint8_t> bytes, FormSettings current);

/// A window coordinate in twips rounded to the nearest 16-bit value, or nothing when it lies
/// beyond +-32767 twips (or is not a number).
std::optional<std::int16_t> TwipsField(double twips);

/// `current` with the four coordinates (twips) taken over where each fits a 16-bit field; a
/// coordinate that does not fit leaves its field as it was.
FormSettings WithWindowPlace(FormSettings current, double top, double left, double width,
                             double height);

/// Where the settings file of the program at `programFile` lives: beside it, as the base name
/// with ".INI", when `besideProgram`; otherwise as the same name in `userConfigFolder` /
/// "kradon".
std::filesystem::path ChooseIniPath(const std::filesystem::path& programFile, bool besideProgram,
                                    const std::filesystem::path& userConfigFolder);

/// The per-user configuration folder: $XDG_CONFIG_HOME when set and absolute, else
/// $HOME/.config; empty when neither is known.
std::filesystem::path UserConfigFolder();

/// Whether a file can be created in `folder` (tried by creating and removing a probe file).
bool IsFolderWritable(const std::filesystem::path& folder);

/// Whether the program's folder is a build tree, where its settings file may go beside it: a
/// folder that belongs to the user running the program, is writable, and is not an installed
/// layout (no share/kradon beside it). An installed program's folder (/usr/bin) is not, even for
/// root, so that no file is left there that no package owns.
bool IsBuildTreeFolder(const std::filesystem::path& folder);

/// ChooseIniPath beside the program in a build tree (IsBuildTreeFolder), otherwise in the user's
/// configuration folder.
std::filesystem::path IniFilePath(const std::filesystem::path& programFile);

/// The file's bytes, at most 14; empty when it is missing, empty, no regular file (a pipe is
/// never waited on) or cannot be read.
std::vector<std::uint8_t> ReadIniFile(const std::filesystem::path& path);

/// Creates the file empty when it is missing (as the first start-up does), then reads it like
/// ReadIniFile. Errors are ignored; the result is then empty.
std::vector<std::uint8_t> OpenIniFile(const std::filesystem::path& path);

/// Replaces the file with the 14-byte record in one step (SafeFile::WriteFileAtomically),
/// creating its folder when needed. Errors are not raised; the result says whether all 14 bytes
/// were written.
bool WriteIniFile(const std::filesystem::path& path, const FormSettings& record);

} // namespace kradon
