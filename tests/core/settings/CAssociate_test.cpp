// The file type registration: its checks and errors, and the files it leaves in a data folder.
#include "../TestFolder.h"
#include "../TextFiles.h"
#include "model/KradonError.h"
#include "settings/CAssociate.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace kradon {
namespace {

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

bool isEmptyFolder(const std::filesystem::path& path) {
    return std::filesystem::is_empty(path);
}

TEST(CAssociate, MissingPropertiesRaiseTheirErrorsBeforeAnythingIsWritten) {
    struct Case {
        const char* name;
        void (*clear)(CAssociate&);
        std::int32_t number;
        const char* description;
    };
    const std::vector<Case> cases = {
        {"Title", [](CAssociate& a) { a.Title.clear(); }, 922,
         "Associate Class - Application title not specified"},
        {"Title before the others",
         [](CAssociate& a) {
             a.Title.clear();
             a.Class.clear();
             a.AppCommand.clear();
         },
         922, "Associate Class - Application title not specified"},
        {"Class", [](CAssociate& a) { a.Class.clear(); }, 926,
         "Associate Class - Application Class name not specified"},
        {"Class before AppCommand",
         [](CAssociate& a) {
             a.Class.clear();
             a.AppCommand.clear();
         },
         926, "Associate Class - Application Class name not specified"},
        {"AppCommand", [](CAssociate& a) { a.AppCommand.clear(); }, 930,
         "Associate Class - Command line of the program not specified"},
    };
    for (const Case& c : cases) {
        const TestFolder folder;
        CAssociate a = programAssociate(folder.path(), "/opt/kradon/bin");
        c.clear(a);
        try {
            a.Associate();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const KradonError& e) {
            EXPECT_EQ(e.number(), c.number) << c.name;
            EXPECT_EQ(e.source(), "Associate Class") << c.name;
            EXPECT_STREQ(e.what(), c.description) << c.name;
        }
        EXPECT_TRUE(isEmptyFolder(folder.path())) << c.name;
    }
}

TEST(CAssociate, WritesTheTypeTheOpenCommandAndTheIcon) {
    const TestFolder folder;
    programAssociate(folder.path(), "/opt/kradon/bin").Associate();

    EXPECT_EQ(test::ReadFile(folder / "mime/packages/kradon.xml"),
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
    EXPECT_EQ(test::ReadFile(folder / "applications/kradon.desktop"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Kradon by Tarel Vestrun\n"
              "Exec=/opt/kradon/bin/kradon %f\n"
              "Icon=kradon\n"
              "Terminal=false\n"
              "MimeType=application/x-kradon-file;application/x-kradon-model+json;\n"
              "Categories=Science;Engineering;\n");
    EXPECT_EQ(test::ReadFile(folder / "icons/hicolor/scalable/apps/kradon.svg"),
              test::ReadFile(SourceRoot / "src/app/resources/kradon.svg"));
}

// The package installs the same files the program writes for a program found on the PATH.
TEST(CAssociate, InstalledFilesAreTheOnesTheProgramWrites) {
    const TestFolder folder;
    programAssociate(folder.path(), "").Associate();
    EXPECT_EQ(test::ReadFile(folder / "applications/kradon.desktop"),
              test::ReadFile(SourceRoot / "packaging/kradon.desktop"));
    EXPECT_EQ(test::ReadFile(folder / "mime/packages/kradon.xml"),
              test::ReadFile(SourceRoot / "packaging/kradon.xml"));
}

TEST(CAssociate, AnEmptyExtensionRegistersTheTypeWithoutAPattern) {
    const TestFolder folder;
    CAssociate a = programAssociate(folder.path(), "/usr/bin");
    a.Extension.clear();
    a.MoreTypes.clear();
    a.Associate();
    const std::string xml = test::ReadFile(folder / "mime/packages/kradon.xml");
    EXPECT_NE(xml.find("<comment>Kradon by Tarel Vestrun</comment>"), std::string::npos);
    EXPECT_EQ(xml.find("<glob"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder / "applications/kradon.desktop"));
}

TEST(CAssociate, TheOpenCommandQuotesAProgramPathWithSpecialCharacters) {
    struct Case {
        const char* command;
        const char* exec;
    };
    const std::vector<Case> cases = {
        {"/home/ann/My Programs/kradon", "Exec=\"/home/ann/My Programs/kradon\" %f"},
        {"/opt/100%/kradon", "Exec=/opt/100%%/kradon %f"},
        {"/opt/a$b/kradon", "Exec=\"/opt/a\\\\$b/kradon\" %f"},
        {"/opt/\"q\"/kradon", "Exec=\"/opt/\\\\\"q\\\\\"/kradon\" %f"},
    };
    for (const Case& c : cases) {
        CAssociate a = programAssociate({}, "");
        a.AppCommand = c.command;
        const std::string entry = a.DesktopEntryText();
        EXPECT_NE(entry.find(std::string(c.exec) + "\n"), std::string::npos) << c.command << "\n"
                                                                             << entry;
    }
}

TEST(CAssociate, TextsAreEscapedForXmlAndDesktopEntries) {
    CAssociate a = programAssociate({}, "");
    a.Title = "Beams & <Frames>";
    a.Class = "My.Beam File";
    EXPECT_EQ(a.MimeType(), "application/x-my-beam-file");
    EXPECT_NE(a.MimePackageText().find("<comment>Beams &amp; &lt;Frames&gt;</comment>"),
              std::string::npos);
    a.Title = "Two\nlines";
    EXPECT_NE(a.DesktopEntryText().find("Name=Two\\nlines\n"), std::string::npos);
}

TEST(CAssociate, WithoutADataFolderNothingIsWritten) {
    const TestFolder folder;
    const auto current = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    programAssociate({}, "/usr/bin").Associate();
    std::filesystem::current_path(current);
    EXPECT_TRUE(isEmptyFolder(folder.path()));
}

TEST(CAssociate, UnwritableFolderIsIgnored) {
    const TestFolder folder;
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::owner_exec);
    EXPECT_NO_THROW(programAssociate(folder.path(), "/usr/bin").Associate());
}

TEST(CAssociate, UserDataFolderFollowsXdgDataHome) {
    EXPECT_EQ(UserDataFolder("/data/ann", "/home/ann"), "/data/ann");
    EXPECT_EQ(UserDataFolder(nullptr, "/home/ann"), "/home/ann/.local/share");
    EXPECT_EQ(UserDataFolder("", "/home/ann"), "/home/ann/.local/share");
    // A relative XDG_DATA_HOME is invalid and ignored.
    EXPECT_EQ(UserDataFolder("data", "/home/ann"), "/home/ann/.local/share");
    EXPECT_EQ(UserDataFolder(nullptr, nullptr), "");
}

TEST(CAssociate, TheSystemRegistersTheTypeWhenAFolderHoldsBothPackageFiles) {
    const TestFolder folder;
    const auto make = [&](const std::string& name) {
        std::filesystem::create_directories((folder / name).parent_path());
        std::ofstream(folder / name) << "";
    };
    make("both/applications/kradon.desktop");
    make("both/mime/packages/kradon.xml");
    make("entry/applications/kradon.desktop");
    const std::string at = folder.path().string();
    struct Case {
        std::string dirs;
        bool registers;
    };
    for (const Case& c : std::vector<Case>{{at + "/both", true},
                                           {"/nowhere:" + at + "/both", true},
                                           {at + "/entry", false},
                                           {"both:relative", false},
                                           {at, false}})
        EXPECT_EQ(SystemRegistersType(c.dirs.c_str(), "kradon"), c.registers) << c.dirs;
    EXPECT_FALSE(SystemRegistersType((at + "/both").c_str(), "other"));
    EXPECT_STREQ(DefaultDataDirs, "/usr/local/share:/usr/share");
}

TEST(CAssociate, CachesAreRefreshedInTheDataFolder) {
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
