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

TEST(CAssociate, WritesTheTypeTheOpenCommandAndTheIcon) {
    const TestFolder folder;
    programAssociate(folder.path(), "/opt/kradon/bin").Associate();
    EXPECT_EQ(ReadFile(folder / "mime/packages/kradon.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"application/x-kradon-file\">\n"
              "    <comment>Kradon by Tarel Vestrun</comment>\n"
              "    <icon name=\"kradon\"/>\n"
              "    <glob pattern=\"*.kdn\"/>\n"
              "  </mime-type>\n"
              "  <mime-type type=\"application/x-kradon-model+json\">\n"
              "    <comment>Kradon JSON model</comment>\n"
              "    <icon name=\"kradon\"/>\n"
              "    <sub-class-of type=\"application/json\"/>\n"
              "    <glob pattern=\"*.kradon.json\"/>\n"
              "  </mime-type>\n"
              "</mime-info>\n");
    EXPECT_EQ(ReadFile(folder / "applications/kradon.desktop"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Kradon by Tarel Vestrun\n"
              "Exec=/opt/kradon/bin/kradon %f\n"
              "Icon=kradon\n"
              "Terminal=false\n"
              "MimeType=application/x-kradon-file;application/x-kradon-model+json;\n"
              "Categories=Science;Engineering;\n");
    EXPECT_EQ(ReadFile(folder / "icons/hicolor/scalable/apps/kradon.svg"),
              ReadFile(SourceRoot / "src/app/resources/kradon.svg"));

    // The package installs the same files the program writes for a program found on the PATH.
    programAssociate(folder.path(), "").Associate();
    EXPECT_EQ(ReadFile(folder / "applications/kradon.desktop"),
              ReadFile(SourceRoot / "packaging/kradon.desktop"));
    EXPECT_EQ(ReadFile(folder / "mime/packages/kradon.xml"),
              ReadFile(SourceRoot / "packaging/kradon.xml"));
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

    const std::vector<CacheCommand> commands = CacheCommands("/home/ann/.local/share");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].program, "update-mime-database");
    EXPECT_EQ(commands[0].arguments, std::vector<std::string>{"/home/ann/.local/share/mime"});
    EXPECT_EQ(commands[1].program, "update-desktop-database");
    EXPECT_EQ(commands[1].arguments,
              (std::vector<std::string>{"-q", "/home/ann/.local/share/applications"}));
}

} // namespace
} // namespace kradon
