// The tip of the day without its window: the tips file, the text shown when it is missing, and
// which tip comes next in random or rotated order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kradon::TipOfTheDay {

/// The tips file beside the program: plain text, one tip per line.
inline constexpr const char* TipsFileName = "TOTD.INI";

/// Shown in place of a tip when the tips file is missing.
inline constexpr const char* MissingTipsText =
    "That the TOTD.INI file was not found? \n\nCreate a text file named TOTD.INI using a text "
    "editor with 1 tip per line. Then place it in the same directory as the application. ";

/// The largest tips file read; a thousand tips take a few hundred kilobytes.
inline constexpr std::uintmax_t TipsFileMaxBytes = 1024 * 1024;

/// Shown in place of a tip, followed by the reason, when the tips file is there but cannot be
/// read.
inline constexpr const char* UnreadableTipsText = "The tips file TOTD.INI could not be read: ";

/// Every line of the file at path, in order, empty lines included; a line may end in LF or CR LF.
/// Nothing when path is empty or names nothing or a folder. A file that is there but is no regular
/// file, is larger than TipsFileMaxBytes or cannot be read throws KradonError (FileIo), without
/// blocking.
std::optional<std::vector<std::string>> LoadTips(const std::filesystem::path& path);

/// Where the number of the tip last shown in rotated order is kept ("Options"/"Current Tip").
struct CurrentTipStore {
    /// The stored text, or fallback when nothing is stored.
    std::function<std::string(const std::string& fallback)> read;
    std::function<void(const std::string& value)> write;
};

/// The number (from 1) of the tip to show next out of tipCount. In random order it is drawn
/// from random, a number in [0, 1), and nothing is stored. In rotated order it is the stored
/// number (current when none is stored) plus one, back to 1 past the last tip, and is stored.
/// A stored text that is no number counts as 0, so the rotation starts again at tip 1.
std::int32_t NextTip(bool randomOrder, std::size_t tipCount, std::int32_t current, double random,
                     const CurrentTipStore& stored);

} // namespace kradon::TipOfTheDay
