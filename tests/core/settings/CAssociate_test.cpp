// The file type registration: its checks and errors, and the files it leaves in a data folder.
#include "../TestFolder.h"
#include "../TextFiles.h"
#include "../ThrownBy.h"
#include "settings/CAssociate.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace kradon {
namespace {

using test::ReadFile;
using test::TestFolder;

const std::filesystem::path SourceRoot =
    std::filesystem::path(KRADON_TEST_DATA).parent_path().parent_path();

/// The five properties as the program sets them, for a program in folder.
CAssociate programAssociate(const std::filesystem::path& dataFolder, const std::string& folder) {
    CAssociate a(dataFolder);
    a.Title = "Kradon by Tarel Vestrun";
    a.Class = "Kradon.File";
    a.Extension = ".kdn";
    a.MoreTypes = {JsonModelFileType};
    a.AppCommand = folder.empty() ? "kradon" : folder + "/kradon";
    a.DefaultIcon = (SourceRoot / "src/app/resources/kradon.svg").string();
    return a;
}

// Cleared one after another: Title is checked before Class, Class before AppCommand.
TEST(CAssociate, MissingPropertiesRaiseTheirErrorsBeforeAnythingIsWritten) {
    const TestFolder folder;
    CAssociate a = programAssociate(folder.path(), "/opt/kradon/bin");
    const std::tuple<std::string CAssociate::*, std::int32_t, const char*> cases[] = {
        {&CAssociate::AppCommand, 930, "Command line of the program not specified"},
        {&CAssociate::Class, 926, "Application Class name not specified"},
        {&CAssociate::Title, 922, "Application title not specified"},
    };
    for (const auto& [property, number, description] : cases) {
        (a.*property).clear();
        const KradonError e = test::thrownBy([&] { a.Associate(); });
        EXPECT_EQ(
            std::tuple(e.number(), e.source(), std::string(e.what())),
            std::tuple(number, "Associate Class", "Associate Class - " + std::string(description)));
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

// For a program found on the PATH the files are those the package installs (checked there with
// the desktop's tools); for another one only the open command differs.
TEST(CAssociate, WritesTheTypeTheOpenCommandAndTheIconAsThePackageInstallsThem) {
    const TestFolder folder;
    programAssociate(folder.path(), "").Associate();
    EXPECT_EQ(ReadFile(folder / "applications/kradon.desktop"),
              ReadFile(SourceRoot / "packaging/kradon.desktop"));
    EXPECT_EQ(ReadFile(folder / "mime/packages/kradon.xml"),
              ReadFile(SourceRoot / "packaging/kradon.xml"));
    EXPECT_EQ(ReadFile(folder / "icons/hicolor/scalable/apps/kradon.svg"),
              ReadFile(SourceRoot / "src/app/resources/kradon.svg"));

    programAssociate(folder.path(), "/opt/kradon/bin").Associate();
    std::string entry = ReadFile(SourceRoot / "packaging/kradon.desktop");
    entry.replace(entry.find("Exec=kradon"), 11, "Exec=/opt/kradon/bin/kradon");
    EXPECT_EQ(ReadFile(folder / "applications/kradon.desktop"), entry);
}

TEST(CAssociate, TextsAreQuotedAndEscapedForDesktopEntriesAndXml) {
    const std::pair<const char*, const char*> commands[] = {
        {"/home/ann/My Programs/kradon", "Exec=\"/home/ann/My Programs/kradon\" %f"},
        {"/opt/100%/kradon", "Exec=/opt/100%%/kradon %f"},
        {"/opt/a$b/kradon", "Exec=\"/opt/a\\\\$b/kradon\" %f"},
        {"/opt/\"q\"/kradon", "Exec=\"/opt/\\\\\"q\\\\\"/kradon\" %f"},
    };
    CAssociate a = programAssociate({}, "");
    for (const auto& [command, exec] : commands) {
        a.AppCommand = command;
        EXPECT_NE(a.DesktopEntryText().find(std::string(exec) + "\n"), std::string::npos)
            << a.DesktopEntryText();
    }
    a.Title = "Beams & <Frames>";
    a.Class = "My.Beam File";
    a.Extension.clear();
    EXPECT_EQ(a.MimeType(), "application/x-my-beam-file");
    const std::string xml = a.MimePackageText();
    EXPECT_NE(xml.find("<comment>Beams &amp; &lt;Frames&gt;</comment>"), std::string::npos);
    EXPECT_EQ(xml.find("<glob pattern=\"*.kdn\""), std::string::npos) << "no extension, no glob";
    a.Title = "Two\nlines";
    EXPECT_NE(a.DesktopEntryText().find("Name=Two\\nlines\n"), std::string::npos);
}

// The shell's tests see the system's registration through XDG_DATA_DIRS; a desktop entry alone is
// none.
TEST(CAssociate, ADesktopEntryAloneIsNoRegistrationOfTheSystems) {
    const TestFolder folder;
    std::filesystem::create_directories(folder / "applications");
    std::ofstream(folder / "applications/kradon.desktop") << "";
    EXPECT_FALSE(SystemRegistersType(folder.path().c_str(), "kradon"));
}

// XDG_DATA_HOME counts only as an absolute path; without it, HOME's .local/share; with neither,
// nothing is registered.
TEST(CAssociate, TheUserDataFolderFollowsTheDesktopRules) {
    const std::filesystem::path share = "/home/u/.local/share";
    EXPECT_EQ(UserDataFolder("/data/u", "/home/u"), "/data/u");
    EXPECT_EQ(UserDataFolder("data/u", "/home/u"), share);
    EXPECT_EQ(UserDataFolder("", "/home/u"), share);
    EXPECT_EQ(UserDataFolder(nullptr, "/home/u"), share);
    EXPECT_EQ(UserDataFolder("data/u", ""), std::filesystem::path());
    EXPECT_EQ(UserDataFolder(nullptr, nullptr), std::filesystem::path());
}

} // namespace
} // namespace kradon
