// The rules of the option values: how the options dialog's field numbers become option values,
// the bounds of MaxNoApplieds and MeshDensFact with their messages, and the two folders kept in
// the per-user settings. The dialog and kradon-cli both bound their values here.
#pragma once

#include "analysis/ProgramState.h"
#include "model/Sinks.h"
#include "settings/UserSettings.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kradon::OptionRules {

inline constexpr std::int16_t MinMaxNoApplieds = 5;
inline constexpr std::int16_t MaxMaxNoApplieds = 30;
/// Above this, typing a MaxNoApplieds asks whether so many are needed.
inline constexpr std::int16_t HighMaxNoApplieds = 20;
inline constexpr double MinMeshDensFact = 0.2;
inline constexpr double MaxMeshDensFact = 10;

inline constexpr const char* TooManyAppliedsText =
    "Your value of maximum applied conditions is too high.\r\nYou are limited to 30. ";
inline constexpr const char* TooFewAppliedsText =
    "Your value of maximum applied conditions is too low.\r\nYour minimum is 5. ";
inline constexpr const char* MeshDensTooHighText =
    "Your value Mesh density factor is too high.\r\nYou are limited to 10. ";
inline constexpr const char* MeshDensTooLowText =
    "Your value Mesh density factor is too low.\r\nYour minimum is 0.2.";
inline constexpr const char* NoFolderText = "Couldn't find folder.";

// The captions of the options dialog's number fields; a field that holds no number is named by
// its caption.
inline constexpr const char* MaxNoAppliedsCaption = "Maximum applied conditions";
inline constexpr const char* MeshDensFactCaption = "Mesh density factor";
inline constexpr const char* MaxFilesCaption = "Recent files listed";

/// The numbers in the options dialog's three number fields; nullopt where a text is no number.
struct FieldNumbers {
    std::optional<double> MeshDensFact;
    std::optional<double> MaxNoApplieds;
    std::optional<double> maxFiles;
};

/// value as a single-precision number, widened back; beyond the single range it saturates at
/// the largest finite single, so the bounds then bring it inside.
double SingleFromNumber(double value);
/// value rounded to the nearest integer (a half to the even one) and saturated to 16 bits.
std::int16_t Integer16FromNumber(double value);

/// "Mesh density factor: "abc" is not a number." / "The previous value 1 is kept."
Message NotANumberMessage(const std::string& caption, const std::string& text, double previous);

/// The texts of the same fields, to name what was typed.
struct FieldTexts {
    std::string MeshDensFact, MaxNoApplieds, maxFiles;
};

/// Takes the field numbers into options in the order MeshDensFact, MaxNoApplieds, MAX_FILES.
/// A field that holds no number keeps the value it had and is reported by its caption and
/// text; the list length only when reportMaxFiles is set, since the recent files list reports a
/// length that is no number itself when it reads the field.
void TakeFieldNumbers(const FieldNumbers& numbers, const FieldTexts& texts, Options& options,
                      MessageSink& messages, bool reportMaxFiles);

/// The folders from "Options"/"SaveIn" and "Options"/"OpenIn"; an absent key keeps the current
/// folder.
void LoadFolders(const UserSettings& settings, Options& options);

/// The caption of the options dialog's check box for ExactSections.
inline constexpr const char* ExactSectionsCaption = "Integrate varying E and I exactly";
/// The stored "Options"/"Exact Sections", false when absent.
bool StoredExactSections(const UserSettings& settings);
/// Stores "Options"/"Exact Sections".
void StoreExactSections(UserSettings& settings, bool exact);

/// MaxNoApplieds brought inside 5..30, with a message when it was outside.
std::int16_t RefuseMaxNoApplieds(std::int16_t value, MessageSink& messages);
/// A mesh density factor brought inside 0.2..10, with a message when it was outside. Bounds
/// become single-precision values too, so a typed 0.2, just above the bound once widened,
/// passes without a message.
double RefuseMeshDensFact(double factor, MessageSink& messages);
/// Both bounds, MaxNoApplieds first.
void refuse(Options& options, MessageSink& messages);

/// The warning shown while MaxNoApplieds is typed, when value is above 20.
std::optional<Message> MaxNoAppliedsWarning(std::int16_t value);

/// A chosen folder becomes folder and is stored under "Options"/key at once. A cancelled choice
/// (nullopt) keeps the folder as it was; so does an empty path, which is reported as a folder
/// that could not be found.
void StoreFolder(UserSettings& settings, const std::string& key,
                 const std::optional<std::string>& chosen, std::string& folder,
                 MessageSink& messages);

} // namespace kradon::OptionRules
