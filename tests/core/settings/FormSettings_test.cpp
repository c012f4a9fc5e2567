// The settings record's bytes, its reading from short files, the 16-bit coordinate rule and where
// the file lives.
#include "../TestFolder.h"
#include "settings/FormSettings.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace kradon {
namespace {

namespace fs = std::filesystem;

const FormSettings Sample{1200, -300, 9600, 7200, 2, 0, -1};

TEST(FormSettings, SevenLittleEndianFieldsTopBeforeLeftAndBack) {
    // 1200 = 0x04B0, -300 = 0xFED4, 9600 = 0x2580, 7200 = 0x1C20, 2, 0, -1 = 0xFFFF.
    const std::array<std::uint8_t, 14> expected = {0xB0, 0x04, 0xD4, 0xFE, 0x80, 0x25, 0x20,
                                                   0x1C, 0x02, 0x00, 0x00, 0x00, 0xFF, 0xFF};
    EXPECT_EQ(EncodeFormSettings(Sample), expected);
    const FormSettings extremes{-32768, 32767, 0, 1, 1, -1, 0};
    for (const FormSettings& record : {Sample, extremes, FormSettings{}})
        EXPECT_EQ(DecodeFormSettings(EncodeFormSettings(record), FormSettings{9, 9, 9, 9, 9, 9, 9}),
                  record);
}

// A short input replaces only the fields it holds completely; bytes past the record are ignored.
TEST(FormSettings, ShortOrLongInputReplacesTheFieldsItHolds) {
    const FormSettings current{1, 2, 3, 4, 0, -1, -1};
    const auto full = EncodeFormSettings(Sample);
    const std::pair<std::size_t, FormSettings> cases[] = {
        {0, current},
        {1, current},
        {2, {1200, 2, 3, 4, 0, -1, -1}},
        {5, {1200, -300, 3, 4, 0, -1, -1}},
        {11, {1200, -300, 9600, 7200, 2, -1, -1}},
        {13, {1200, -300, 9600, 7200, 2, 0, -1}},
    };
    for (const auto& [length, expected] : cases)
        EXPECT_EQ(DecodeFormSettings(std::span(full.data(), length), current), expected) << length;
    std::vector<std::uint8_t> longer(full.begin(), full.end());
    longer.insert(longer.end(), {0x11, 0x22, 0x33});
    EXPECT_EQ(DecodeFormSettings(longer, FormSettings{}), Sample);
}

TEST(FormSettings, CoordinatesBeyondSixteenBitsLeaveTheirFieldAsItWas) {
    const std::pair<double, std::int16_t> inside[] = {
        {32767.4, 32767}, {-32768, -32768}, {2.5, 2}, {3.5, 4}}; // halves go to even
    for (const auto& [twips, field] : inside)
        EXPECT_EQ(TwipsField(twips), field) << twips;
    for (const double outside : {32767.5, -32769.0, std::nan("")})
        EXPECT_EQ(TwipsField(outside), std::nullopt) << outside;
    EXPECT_EQ(WithWindowPlace({100, 200, 300, 400, 1, 0, 0}, 40000, -15, 28800.2, -50000),
              (FormSettings{100, -15, 28800, 400, 1, 0, 0}));
}

TEST(FormSettings, FileLivesBesideAWritableProgramElseInTheUserConfigFolder) {
    EXPECT_EQ(ChooseIniPath("/opt/bin/Kradon.exe", false, "/cfg"), "/cfg/kradon/Kradon.INI");
    EXPECT_EQ(ChooseIniPath("/opt/bin/kradon", false, ""), "/opt/bin/kradon.INI");

    // Only a build tree is such a place, not an installed layout (bin/ beside share/kradon).
    const test::TestFolder temp;
    for (const char* folder : {"build", "usr/bin", "usr/share/kradon"})
        fs::create_directories(temp / folder);
    EXPECT_TRUE(IsBuildTreeFolder(temp / "build"));
    EXPECT_FALSE(IsBuildTreeFolder(temp / "usr/bin"));
    EXPECT_FALSE(IsBuildTreeFolder(temp / "missing"));
}

// The shell's tests cover the first start, the orderly exit and a short file; these the rest.
TEST(FormSettings, TheFileIsWrittenWholeAndNeverWaitedOn) {
    const test::TestFolder temp;
    const fs::path path = temp / "sub" / "kradon.INI";
    EXPECT_TRUE(ReadIniFile(path).empty());
    EXPECT_FALSE(fs::exists(path)) << "reading alone creates nothing";
    std::ofstream(temp / "old.INI") << std::string(40, 'x');
    for (const fs::path& file : {path, temp / "old.INI"}) { // a folder is made as needed
        ASSERT_TRUE(WriteIniFile(file, Sample));
        EXPECT_EQ(DecodeFormSettings(ReadIniFile(file), FormSettings{}), Sample);
        EXPECT_EQ(fs::file_size(file), 14u);
    }
    ASSERT_EQ(::mkfifo((temp / "pipe").c_str(), 0600), 0);
    EXPECT_TRUE(OpenIniFile(temp / "pipe").empty());
    EXPECT_TRUE(ReadIniFile(temp / "pipe").empty());
    EXPECT_FALSE(WriteIniFile(path / "kradon.INI", Sample)) << "below a file: fails quietly";
}

} // namespace
} // namespace kradon
