// Registration of the model file type with the desktop. On a freedesktop.org desktop the file
// type is a shared-mime-info package, the open command a desktop entry and the icon a file in
// the hicolor theme, all under the user's data folder ($XDG_DATA_HOME, ~/.local/share).
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kradon {

inline constexpr const char* AssociateSource = "Associate Class";
inline constexpr const char* AssociateNoTitle = "Associate Class - Application title not specified";
inline constexpr const char* AssociateNoClass =
    "Associate Class - Application Class name not specified";
inline constexpr const char* AssociateNoCommand =
    "Associate Class - Command line of the program not specified";

/// What the program registers besides its title (ProgramTitle): the file class and the model
/// files' extension.
inline constexpr const char* ModelFileClass = "Kradon.File";
inline constexpr const char* ModelFileExtension = ".kdn";

/// A further type of file the program opens, registered beside the first.
struct FileType {
    std::string mimeType;   // "application/x-kradon-model+json"
    std::string comment;    // what the desktop calls such a file
    std::string glob;       // "*.kradon.json"
    std::string subClassOf; // the type it is a kind of ("application/json"), or empty
};
/// The JSON model format, registered beside the .kdn model files.
inline const FileType JsonModelFileType{"application/x-kradon-model+json", "Kradon JSON model",
                                        "*.kradon.json", "application/json"};

class CAssociate {
public:
    /// dataFolder: the base folder the registration is written under, normally the user's data
    /// folder (see UserDataFolder).
    explicit CAssociate(std::filesystem::path dataFolder) : dataFolder_(std::move(dataFolder)) {}

    std::string Title;
    std::string Class;
    std::string Extension;
    /// The program's path; the desktop entry runs it with the file's path after it.
    std::string AppCommand;
    /// The icon file to install: an SVG goes to the scalable size, other formats to 48x48.
    std::string DefaultIcon;
    /// Types the program opens besides its own class: each gets its entry in the MIME package,
    /// with the same icon, and the desktop entry names it.
    std::vector<FileType> MoreTypes;

    /// Writes the MIME package, the desktop entry and the icon, in that order, creating
    /// folders as needed. Throws KradonError 922, 926 or 930 when Title, Class or AppCommand is
    /// empty, before anything is written. Failures to write are ignored, and with an empty data
    /// folder nothing is written. An empty Extension registers the type without a file name
    /// pattern.
    void Associate() const;

    /// "application/x-" + Class in lower case, with anything but letters, digits, "+" and "-"
    /// as "-": "application/x-kradon-file".
    std::string MimeType() const;
    /// The name the desktop entry, the MIME package and the icon share: the file name of
    /// AppCommand ("kradon").
    std::string DesktopId() const;

    std::filesystem::path MimePackageFile() const;
    std::filesystem::path DesktopEntryFile() const;
    /// Empty when DefaultIcon is empty.
    std::filesystem::path IconFile() const;

    /// The contents of the two text files.
    std::string MimePackageText() const;
    std::string DesktopEntryText() const;

private:
    std::filesystem::path dataFolder_;
};

/// The user's data folder: xdgDataHome when it is an absolute path, otherwise home +
/// "/.local/share". Either may be null, as std::getenv gives them; with neither, empty.
std::filesystem::path UserDataFolder(const char* xdgDataHome, const char* home);

/// The system's data folders when XDG_DATA_DIRS is unset.
inline constexpr const char* DefaultDataDirs = "/usr/local/share:/usr/share";

/// Whether one of the system's data folders (dataDirs, colon-separated as XDG_DATA_DIRS holds
/// them, null or empty for DefaultDataDirs; relative entries are ignored) holds both the desktop
/// entry applications/ID.desktop and the MIME package mime/packages/ID.xml for desktopId ID, as an
/// installed package brings them. The type is then registered for every user, and a per-user
/// registration would only outlive the package.
bool SystemRegistersType(const char* dataDirs, const std::string& desktopId);

/// A command that refreshes a desktop cache after a registration.
struct CacheCommand {
    std::string program;
    std::vector<std::string> arguments;
};

/// The cache updates for a registration under dataFolder: update-mime-database on its mime
/// folder, update-desktop-database on its applications folder.
std::vector<CacheCommand> CacheCommands(const std::filesystem::path& dataFolder);

} // namespace kradon
