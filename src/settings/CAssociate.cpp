// The freedesktop.org registration of the model file type: a MIME package naming the type, its
// description, icon and file name pattern; a desktop entry that opens such files with the
// program; and the program's icon in the hicolor theme.
#include "settings/CAssociate.h"

#include "model/KradonError.h"
#include "model/SafeFile.h"
#include "model/modText.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <system_error>

namespace kradon {
namespace {

inline constexpr std::int32_t NoTitleError = 922;
inline constexpr std::int32_t NoClassError = 926;
inline constexpr std::int32_t NoCommandError = 930;

bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// A desktop entry string value: backslashes and control characters escaped.
std::string desktopEscaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

/// One argument of an Exec line. An argument holding a character the launcher would take as
/// shell syntax is double-quoted, with ", `, $ and \ escaped inside the quotes; a % is doubled
/// so it is not taken for a field code.
std::string execArgument(std::string_view argument) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quote = argument.find_first_of(reserved) != std::string_view::npos;
    std::string out = quote ? "\"" : "";
    for (const char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            out += '\\';
        out += c;
        if (c == '%')
            out += '%';
    }
    if (quote)
        out += '"';
    return out;
}

/// Replaces the file at path with bytes in one step, making its folder first. A failure leaves
/// things as they are.
void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    try {
        SafeFile::WriteFileAtomically(path, bytes);
    } catch (const KradonError&) {
        // Registration is a convenience; the program works without it.
    }
}

/// The largest icon file copied; an icon is a few kilobytes.
constexpr std::uintmax_t IconFileMaxBytes = 4 * 1024 * 1024;

void copyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    try {
        writeFile(to, SafeFile::ReadRegularFile(from, IconFileMaxBytes, "an icon file"));
    } catch (const KradonError&) {
        // No icon is copied; the desktop shows its own.
    }
}

} // namespace

void CAssociate::Associate() const {
    if (Title.empty())
        throw KradonError(NoTitleError, AssociateSource, AssociateNoTitle);
    if (Class.empty())
        throw KradonError(NoClassError, AssociateSource, AssociateNoClass);
    if (AppCommand.empty())
        throw KradonError(NoCommandError, AssociateSource, AssociateNoCommand);
    // Without a home there is nowhere to register; relative paths would land in the working folder.
    if (dataFolder_.empty())
        return;

    writeFile(MimePackageFile(), MimePackageText());
    writeFile(DesktopEntryFile(), DesktopEntryText());
    if (!DefaultIcon.empty())
        copyFile(DefaultIcon, IconFile());
}

std::string CAssociate::MimeType() const {
    std::string subtype = "x-";
    for (const char c : Class)
        subtype += (isAsciiAlnum(c) || c == '+' || c == '-') ? asciiLower(c) : '-';
    return "application/" + subtype;
}

std::string CAssociate::DesktopId() const {
    const std::string name = std::filesystem::path(AppCommand).filename().string();
    if (!name.empty())
        return name;
    return MimeType().substr(std::string_view("application/x-").size());
}

std::filesystem::path CAssociate::MimePackageFile() const {
    return dataFolder_ / "mime" / "packages" / (DesktopId() + ".xml");
}

std::filesystem::path CAssociate::DesktopEntryFile() const {
    return dataFolder_ / "applications" / (DesktopId() + ".desktop");
}

std::filesystem::path CAssociate::IconFile() const {
    if (DefaultIcon.empty())
        return {};
    const std::string extension = std::filesystem::path(DefaultIcon).extension().string();
    const char* size = extension == ".svg" ? "scalable" : "48x48";
    return dataFolder_ / "icons" / "hicolor" / size / "apps" / (DesktopId() + extension);
}

std::string CAssociate::MimePackageText() const {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"" +
        MimeType() + "\">\n";
    text += "    <comment>" + modText::XmlEscaped(Title) + "</comment>\n";
    if (!DefaultIcon.empty())
        text += "    <icon name=\"" + modText::XmlEscaped(DesktopId()) + "\"/>\n";
    // Without an extension the type has no pattern: "*" alone would claim every file.
    if (!Extension.empty()) {
        const std::string dot = Extension.front() == '.' ? "" : ".";
        text += "    <glob pattern=\"*" + modText::XmlEscaped(dot + Extension) + "\"/>\n";
    }
    text += "  </mime-type>\n";
    for (const FileType& type : MoreTypes) {
        text += "  <mime-type type=\"" + modText::XmlEscaped(type.mimeType) + "\">\n";
        text += "    <comment>" + modText::XmlEscaped(type.comment) + "</comment>\n";
        if (!DefaultIcon.empty())
            text += "    <icon name=\"" + modText::XmlEscaped(DesktopId()) + "\"/>\n";
        if (!type.subClassOf.empty())
            text += "    <sub-class-of type=\"" + modText::XmlEscaped(type.subClassOf) + "\"/>\n";
        text += "    <glob pattern=\"" + modText::XmlEscaped(type.glob) + "\"/>\n";
        text += "  </mime-type>\n";
    }
    text += "</mime-info>\n";
    return text;
}

std::string CAssociate::DesktopEntryText() const {
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n";
    text += "Name=" + desktopEscaped(Title) + "\n";
    text += "Exec=" + desktopEscaped(execArgument(AppCommand)) + " %f\n";
    if (!DefaultIcon.empty())
        text += "Icon=" + desktopEscaped(DesktopId()) + "\n";
    text += "Terminal=false\n";
    text += "MimeType=" + MimeType() + ";";
    for (const FileType& type : MoreTypes)
        text += desktopEscaped(type.mimeType) + ";";
    text += "\n";
    text += "Categories=Science;Engineering;\n";
    return text;
}

std::filesystem::path UserDataFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && std::filesystem::path(xdgDataHome).is_absolute())
        return xdgDataHome;
    if (home && *home)
        return std::filesystem::path(home) / ".local" / "share";
    return {};
}

std::vector<CacheCommand> CacheCommands(const std::filesystem::path& dataFolder) {
    return {
        {"update-mime-database", {(dataFolder / "mime").string()}},
        {"update-desktop-database", {"-q", (dataFolder / "applications").string()}},
    };
}

bool SystemRegistersType(const char* dataDirs, const std::string& desktopId) {
    const std::string list = dataDirs != nullptr && *dataDirs != '\0' ? dataDirs : DefaultDataDirs;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        const std::filesystem::path folder = list.substr(start, end - start);
        std::error_code error;
        if (folder.is_absolute() &&
            std::filesystem::is_regular_file(folder / "applications" / (desktopId + ".desktop"),
                                             error) &&
            std::filesystem::is_regular_file(folder / "mime" / "packages" / (desktopId + ".xml"),
                                             error))
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace kradon
