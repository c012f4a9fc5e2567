// The rules of the option values.
#include "settings/OptionRules.h"

#include "model/modText.h"
#include "settings/SettingsKeys.h"

#include <cmath>
#include <limits>

namespace kradon::OptionRules {

double SingleFromNumber(double value) {
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest)
        return largest;
    if (value < -largest)
        return -largest;
    return static_cast<float>(value);
}

std::int16_t Integer16FromNumber(double value) {
    // nearbyint rounds a half to the even neighbour, as the field has always been read.
    const double rounded = std::nearbyint(value);
    if (rounded > std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    if (rounded < std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(rounded);
}

Message NotANumberMessage(const std::string& caption, const std::string& text, double previous) {
    return {ProgramTitle,
            MessageLines(caption + ": \"" + text + "\" is not a number.",
                         "The previous value " + modText::GeneralNumber(previous) + " is kept."),
            Icon::Exclamation};
}

void TakeFieldNumbers(const FieldNumbers& numbers, const FieldTexts& texts, Options& options,
                      MessageSink& messages, bool reportMaxFiles) {
    if (numbers.MeshDensFact)
        options.MeshDensFact = SingleFromNumber(*numbers.MeshDensFact);
    else
        messages.show(
            NotANumberMessage(MeshDensFactCaption, texts.MeshDensFact, options.MeshDensFact));
    if (numbers.MaxNoApplieds)
        options.MaxNoApplieds = Integer16FromNumber(*numbers.MaxNoApplieds);
    else
        messages.show(
            NotANumberMessage(MaxNoAppliedsCaption, texts.MaxNoApplieds, options.MaxNoApplieds));
    if (numbers.maxFiles)
        options.MAX_FILES = Integer16FromNumber(*numbers.maxFiles);
    else if (reportMaxFiles)
        messages.show(NotANumberMessage(MaxFilesCaption, texts.maxFiles, options.MAX_FILES));
}

void LoadFolders(const UserSettings& settings, Options& options) {
    options.SaveIn = settings.get(SettingsKeys::Options, SettingsKeys::SaveIn, options.SaveIn);
    options.OpenIn = settings.get(SettingsKeys::Options, SettingsKeys::OpenIn, options.OpenIn);
}

bool StoredExactSections(const UserSettings& settings) {
    return GetBoolean(settings, SettingsKeys::Options, SettingsKeys::ExactSections, false);
}

void StoreExactSections(UserSettings& settings, bool exact) {
    SaveBoolean(settings, SettingsKeys::Options, SettingsKeys::ExactSections, exact);
}

std::int16_t RefuseMaxNoApplieds(std::int16_t value, MessageSink& messages) {
    if (value > MaxMaxNoApplieds) {
        messages.show({ProgramTitle, TooManyAppliedsText, Icon::None});
        value = MaxMaxNoApplieds;
    }
    if (value < MinMaxNoApplieds) {
        messages.show({ProgramTitle, TooFewAppliedsText, Icon::None});
        value = MinMaxNoApplieds;
    }
    return value;
}

double RefuseMeshDensFact(double factor, MessageSink& messages) {
    if (factor > MaxMeshDensFact) {
        messages.show({ProgramTitle, MeshDensTooHighText, Icon::None});
        factor = SingleFromNumber(MaxMeshDensFact);
    }
    if (factor < MinMeshDensFact) {
        messages.show({ProgramTitle, MeshDensTooLowText, Icon::None});
        factor = SingleFromNumber(MinMeshDensFact);
    }
    return factor;
}

void refuse(Options& options, MessageSink& messages) {
    options.MaxNoApplieds = RefuseMaxNoApplieds(options.MaxNoApplieds, messages);
    options.MeshDensFact = RefuseMeshDensFact(options.MeshDensFact, messages);
}

std::optional<Message> MaxNoAppliedsWarning(std::int16_t value) {
    if (value <= HighMaxNoApplieds)
        return std::nullopt;
    return Message{ProgramTitle,
                   MessageLines("Your value of maximum applied conditions is quite high.",
                                "Are you sure you need " + std::to_string(value) + "?"),
                   Icon::None};
}

void StoreFolder(UserSettings& settings, const std::string& key,
                 const std::optional<std::string>& chosen, std::string& folder,
                 MessageSink& messages) {
    if (!chosen)
        return;
    if (chosen->empty()) {
        messages.show({ProgramTitle, NoFolderText, Icon::None});
        return;
    }
    folder = *chosen;
    settings.save(SettingsKeys::Options, key, folder);
}

} // namespace kradon::OptionRules
