// The file type registration: its checks and errors, and the files it leaves in a data folder.
#include "../TestFolder.h"
#include "../TextFiles.h"
#include "../ThrownBy.h"
#include "settings/CAssociate.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

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

// Title is checked before Class, Class before AppCommand.
TEST(CAssociate, MissingPropertiesRaiseTheirErrorsBeforeAnythingIsWritten) {
    const struct {
        void (*clear)(CAssociate&);
        std::int32_t number;
        const char* description;
    } cases[] = {
        {[](CAssociate& a) { a.Title = a.Class = a.AppCommand = ""; }, 922,
         "Associate Class - Application title not specified"},
        {[](CAssociate& a) { a.Class = a.AppCommand = ""; }, 926,
         "Associate Class - Application Class name not specified"},
        {[](CAssociate& a) { a.AppCommand.clear(); }, 930,
         "Associate Class - Command line of the program not specified"},
    };
    for (const auto& c : cases) {
        const TestFolder folder;
        CAssociate a = programAssociate(folder.path(), "/opt/kradon/bin");
        c.clear(a);
        const KradonError e = test::thrownBy([&] { a.Associate(); });
        EXPECT_EQ(e.number(), c.number);
        EXPECT_EQ(e.source(), "Associate Class");
        EXPECT_STREQ(e.what(), c.description);
        EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
    }
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

// The shell's tests run the cache commands and see a registration of the system's own.
TEST(CAssociate, DataFoldersAndTheSystemsOwnRegistration) {
    EXPECT_EQ(UserDataFolder("/data/ann", "/home/ann"), "/data/ann");
    EXPECT_EQ(UserDataFolder(nullptr, "/home/ann"), "/home/ann/.local/share");
    EXPECT_EQ(UserDataFolder("data", "/home/ann"), "/home/ann/.local/share"); // not absolute
    EXPECT_EQ(UserDataFolder(nullptr, nullptr), "");

    // The system registers the type when a folder of the list holds both package files.
    const TestFolder folder;
    for (const char* name : {"both/applications/kradon.desktop", "both/mime/packages/kradon.xml",
                             "entry/applications/kradon.desktop"}) {
        std::filesystem::create_directories((folder / name).parent_path());
        std::ofstream(folder / name) << "";
    }
    const std::string at = folder.path().string();
    for (const auto& [dirs, registers] :
         std::vector<std::pair<std::string, bool>>{{at + "/both", true},
                                                   {"/nowhere:" + at + "/both", true},
                                                   {at + "/entry", false},
                                                   {"both:relative", false}})
        EXPECT_EQ(SystemRegistersType(dirs.c_str(), "kradon"), registers) << dirs;
    EXPECT_FALSE(SystemRegistersType((at + "/both").c_str(), "other"));
}

} // namespace
} // namespace kradon
