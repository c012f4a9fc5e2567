// Encoding, location and file access of the 14-byte settings record. Every file operation here
// swallows its errors: the settings file is a convenience and never stops the program.
#include "settings/FormSettings.h"

#include "model/KradonError.h"
#include "model/SafeFile.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kradon {
namespace {

// The fields in file order, so encoding and decoding walk the same list.
constexpr std::array<std::int16_t FormSettings::*, FormSettingsSize / 2> FieldOrder = {
    &FormSettings::top,
    &FormSettings::left,
    &FormSettings::width,
    &FormSettings::height,
    &FormSettings::windowState,
    &FormSettings::showTips,
    &FormSettings::showProperties,
};

void storeField(std::int16_t& field, double twips) {
    if (const auto value = TwipsField(twips))
        field = *value;
}

} // namespace

std::array<std::uint8_t, FormSettingsSize> EncodeFormSettings(const FormSettings& record) {
    std::array<std::uint8_t, FormSettingsSize> bytes{};
    for (std::size_t i = 0; i < FieldOrder.size(); ++i) {
        const auto value = static_cast<std::uint16_t>(record.*FieldOrder[i]);
        bytes[2 * i] = static_cast<std::uint8_t>(value & 0xFFu);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    return bytes;
}

FormSettings DecodeFormSettings(std::span<const std::uint8_t> bytes, FormSettings current) {
    for (std::size_t i = 0; i < FieldOrder.size() && 2 * i + 1 < bytes.size(); ++i) {
        const auto value = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        current.*FieldOrder[i] = static_cast<std::int16_t>(value);
    }
    return current;
}

std::optional<std::int16_t> TwipsField(double twips) {
    // Halves round to even, as the window coordinates always have.
    const double rounded = std::nearbyint(twips);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

FormSettings WithWindowPlace(FormSettings current, double top, double left, double width,
                             double height) {
    storeField(current.top, top);
    storeField(current.left, left);
    storeField(current.width, width);
    storeField(current.height, height);
    return current;
}

std::filesystem::path ChooseIniPath(const std::filesystem::path& programFile, bool besideProgram,
                                    const std::filesystem::path& userConfigFolder) {
    auto name = programFile.stem();
    name += ".INI";
    if (besideProgram || userConfigFolder.empty())
        return programFile.parent_path() / name;
    return userConfigFolder / "kradon" / name;
}

std::filesystem::path UserConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME")) {
        const std::filesystem::path folder(xdg);
        if (folder.is_absolute())
            return folder;
    }
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config";
    return {};
}

bool IsFolderWritable(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return false;
    const auto probe = folder / ".kradon-write-probe";
    bool created = false;
    {
        std::ofstream out(probe, std::ios::binary | std::ios::app);
        created = out.is_open();
    }
    if (created)
        std::filesystem::remove(probe, error);
    return created;
}

bool IsBuildTreeFolder(const std::filesystem::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || info.st_uid != ::geteuid())
        return false;
    std::error_code error;
    if (std::filesystem::is_directory(folder / ".." / "share" / "kradon", error))
        return false;
    return IsFolderWritable(folder);
}

std::filesystem::path IniFilePath(const std::filesystem::path& programFile) {
    return ChooseIniPath(programFile, IsBuildTreeFolder(programFile.parent_path()),
                         UserConfigFolder());
}

std::vector<std::uint8_t> ReadIniFile(const std::filesystem::path& path) {
    try {
        const std::string bytes = SafeFile::ReadRegularFilePrefix(path, FormSettingsSize);
        return {bytes.begin(), bytes.end()};
    } catch (const KradonError&) {
        return {};
    }
}

std::vector<std::uint8_t> OpenIniFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) {
        std::filesystem::create_directories(path.parent_path(), error);
        std::ofstream created(path, std::ios::binary);
    }
    return ReadIniFile(path);
}

bool WriteIniFile(const std::filesystem::path& path, const FormSettings& record) {
    std::error_code error;
    if (!path.parent_path().empty())
        std::filesystem::create_directories(path.parent_path(), error);
    const auto bytes = EncodeFormSettings(record);
    try {
        SafeFile::WriteFileAtomically(
            path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        return true;
    } catch (const KradonError&) {
        return false;
    }
}

} // namespace kradon
