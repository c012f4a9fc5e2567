// The settings record's bytes, its reading from short files, the 16-bit coordinate rule, where
// the file lives, and the twips-to-pixels helper.
#include "../TestFolder.h"
#include "settings/FormSettings.h"
#include "settings/Twips.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kradon {
namespace {

namespace fs = std::filesystem;

using TempFolder = test::TestFolder;

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

const FormSettings Sample{1200, -300, 9600, 7200, 2, 0, -1};

TEST(FormSettings, InitialRecordHasBothViewSwitchesChecked) {
    const FormSettings initial;
    EXPECT_EQ(initial.showTips, -1);
    EXPECT_EQ(initial.showProperties, -1);
}

TEST(FormSettings, EncodesSevenLittleEndianFieldsTopBeforeLeft) {
    // 1200 = 0x04B0, -300 = 0xFED4, 9600 = 0x2580, 7200 = 0x1C20, 2, 0, -1 = 0xFFFF.
    const std::array<std::uint8_t, 14> expected = {0xB0, 0x04, 0xD4, 0xFE, 0x80, 0x25, 0x20,
                                                   0x1C, 0x02, 0x00, 0x00, 0x00, 0xFF, 0xFF};
    EXPECT_EQ(EncodeFormSettings(Sample), expected);
}

TEST(FormSettings, DecodeOfEncodeGivesTheRecordBack) {
    const FormSettings extremes{-32768, 32767, 0, 1, 1, -1, 0};
    for (const FormSettings& record : {Sample, extremes, FormSettings{}}) {
        const auto bytes = EncodeFormSettings(record);
        EXPECT_EQ(DecodeFormSettings(bytes, FormSettings{9, 9, 9, 9, 9, 9, 9}), record);
    }
}

TEST(FormSettings, ShortInputReplacesOnlyTheFieldsItHoldsCompletely) {
    const FormSettings current{1, 2, 3, 4, 0, -1, -1};
    const auto full = EncodeFormSettings(Sample);
    struct Case {
        std::size_t length;
        FormSettings expected;
    };
    const Case cases[] = {
        {0, current},
        {1, current}, // half a field is no field
        {2, {1200, 2, 3, 4, 0, -1, -1}},
        {5, {1200, -300, 3, 4, 0, -1, -1}},
        {8, {1200, -300, 9600, 7200, 0, -1, -1}},
        {11, {1200, -300, 9600, 7200, 2, -1, -1}},
        {13, {1200, -300, 9600, 7200, 2, 0, -1}},
        {14, Sample},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(DecodeFormSettings(std::span(full.data(), c.length), current), c.expected);
    }
}

TEST(FormSettings, BytesPastTheRecordAreIgnored) {
    const auto record = EncodeFormSettings(Sample);
    std::vector<std::uint8_t> bytes(record.begin(), record.end());
    bytes.insert(bytes.end(), {0x11, 0x22, 0x33});
    EXPECT_EQ(DecodeFormSettings(bytes, FormSettings{}), Sample);
}

TEST(FormSettings, CoordinatesBeyondSixteenBitsLeaveTheirFieldAsItWas) {
    EXPECT_EQ(TwipsField(32767), std::optional<std::int16_t>(32767));
    EXPECT_EQ(TwipsField(32767.4), std::optional<std::int16_t>(32767));
    EXPECT_EQ(TwipsField(-32768), std::optional<std::int16_t>(-32768));
    EXPECT_EQ(TwipsField(2.5), std::optional<std::int16_t>(2)); // halves go to even
    EXPECT_EQ(TwipsField(3.5), std::optional<std::int16_t>(4));
    EXPECT_EQ(TwipsField(32767.5), std::nullopt);
    EXPECT_EQ(TwipsField(32768), std::nullopt);
    EXPECT_EQ(TwipsField(-32769), std::nullopt);
    EXPECT_EQ(TwipsField(std::nan("")), std::nullopt);

    const FormSettings before{100, 200, 300, 400, 1, 0, 0};
    const FormSettings after = WithWindowPlace(before, 40000, -15, 28800.2, -50000);
    EXPECT_EQ(after, (FormSettings{100, -15, 28800, 400, 1, 0, 0}));
}

TEST(FormSettings, FileLivesBesideAWritableProgramElseInTheUserConfigFolder) {
    const fs::path program = "/opt/kradon/bin/kradon";
    EXPECT_EQ(ChooseIniPath(program, true, "/home/ann/.config"), "/opt/kradon/bin/kradon.INI");
    EXPECT_EQ(ChooseIniPath(program, false, "/home/ann/.config"),
              "/home/ann/.config/kradon/kradon.INI");
    EXPECT_EQ(ChooseIniPath("/opt/Kradon.exe", false, "/cfg"), "/cfg/kradon/Kradon.INI");
    EXPECT_EQ(ChooseIniPath(program, false, ""), "/opt/kradon/bin/kradon.INI");
}

TEST(FormSettings, OnlyABuildTreeOfTheUsersOwnKeepsTheFileBesideTheProgram) {
    const TempFolder temp;
    const fs::path build = temp.path() / "build";
    fs::create_directories(build);
    EXPECT_TRUE(IsBuildTreeFolder(build));
    // An installed layout (bin/ beside share/kradon), even when the user owns it, as root owns
    // /usr/bin: nothing is left there that no package owns.
    const fs::path bin = temp.path() / "usr" / "bin";
    fs::create_directories(bin);
    fs::create_directories(temp.path() / "usr" / "share" / "kradon");
    EXPECT_FALSE(IsBuildTreeFolder(bin));
    EXPECT_FALSE(IsBuildTreeFolder(temp.path() / "missing"));
    if (::geteuid() == 0) {
        // Another user's build tree, writable to all: the file goes to the user's own folder.
        fs::permissions(build, fs::perms::all);
        ASSERT_EQ(::chown(build.c_str(), 65534, 65534), 0);
        EXPECT_FALSE(IsBuildTreeFolder(build));
    }
}

TEST(FormSettings, UserConfigFolderFollowsXdgThenHome) {
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    ::setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    EXPECT_EQ(UserConfigFolder(), "/xdg/config");
    ::setenv("XDG_CONFIG_HOME", "relative", 1); // not absolute: ignored
    if (const char* home = std::getenv("HOME")) {
        EXPECT_EQ(UserConfigFolder(), fs::path(home) / ".config");
    }
    if (oldXdg)
        ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

TEST(FormSettings, ReadOnlyProgramFolderIsNotWritable) {
    const TempFolder temp;
    EXPECT_TRUE(IsFolderWritable(temp.path()));
    EXPECT_TRUE(fs::is_empty(temp.path())); // the probe is gone again
    EXPECT_FALSE(IsFolderWritable(temp.path() / "missing"));
    fs::permissions(temp.path(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    // Folder permissions do not bind the superuser; /proc takes no new files from anyone.
    EXPECT_FALSE(IsFolderWritable(::geteuid() == 0 ? fs::path("/proc") : temp.path()));
}

TEST(FormSettings, WriteGivesExactlyFourteenBytesAndReadsBack) {
    const TempFolder temp;
    const fs::path path = temp.path() / "sub" / "kradon.INI";
    writeBytes(temp.path() / "old.INI", std::vector<std::uint8_t>(40, 0xAA));
    ASSERT_TRUE(WriteIniFile(temp.path() / "old.INI", Sample)); // a longer old file is replaced
    EXPECT_EQ(fileBytes(temp.path() / "old.INI").size(), 14u);

    ASSERT_TRUE(WriteIniFile(path, Sample)); // the folder is made as needed
    const auto bytes = fileBytes(path);
    const auto expected = EncodeFormSettings(Sample);
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(DecodeFormSettings(ReadIniFile(path), FormSettings{}), Sample);
}

TEST(FormSettings, FirstStartCreatesAnEmptyFile) {
    const TempFolder temp;
    const fs::path path = temp.path() / "kradon.INI";
    EXPECT_TRUE(ReadIniFile(path).empty());
    EXPECT_FALSE(fs::exists(path)); // reading alone creates nothing
    EXPECT_TRUE(OpenIniFile(path).empty());
    ASSERT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST(FormSettings, ShortFileAppliesWhatItHolds) {
    const TempFolder temp;
    const fs::path path = temp.path() / "kradon.INI";
    writeBytes(path, {0x10, 0x00, 0x20, 0x00, 0x30}); // top 16, left 32, half a width
    const FormSettings current{1, 2, 3, 4, 0, -1, -1};
    EXPECT_EQ(DecodeFormSettings(OpenIniFile(path), current),
              (FormSettings{16, 32, 3, 4, 0, -1, -1}));
    EXPECT_EQ(fs::file_size(path), 5u); // opening leaves an existing file alone
}

TEST(FormSettings, APipeInPlaceOfTheFileIsNeverWaitedOn) {
    const TempFolder temp;
    const fs::path path = temp.path() / "kradon.INI";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_TRUE(OpenIniFile(path).empty());
    EXPECT_TRUE(ReadIniFile(path).empty());
}

TEST(FormSettings, WriteIntoAnUnusablePlaceFailsQuietly) {
    const TempFolder temp;
    writeBytes(temp.path() / "file", {1});
    EXPECT_FALSE(WriteIniFile(temp.path() / "file" / "kradon.INI", Sample));
    EXPECT_TRUE(OpenIniFile(temp.path() / "file" / "kradon.INI").empty());
}

TEST(Twips, FifteenTwipsMakeAPixelAtNinetySixDpi) {
    EXPECT_EQ(TwipsPerPixel(), 15);
    EXPECT_EQ(TwipsToPixels(1440), 96);
    EXPECT_EQ(TwipsToPixels(7), 0);
    EXPECT_EQ(TwipsToPixels(8), 1);
    EXPECT_EQ(TwipsToPixels(-300), -20);
    EXPECT_EQ(PixelsToTwips(640), 9600);
    EXPECT_EQ(TwipsToPixels(1440, 192), 192);
    EXPECT_EQ(PixelsToTwips(10, 144), 100);
}

} // namespace
} // namespace kradon
