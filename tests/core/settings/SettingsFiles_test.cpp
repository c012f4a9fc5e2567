// The files the program reads at start (the 14-byte window record, the desktop's settings store,
// the tips file) as they may be found: short, hand-edited, or no regular file at all.
#include "../TestFolder.h"
#include "../ThrownBy.h"
#include "model/KradonError.h"
#include "settings/FormSettings.h"
#include "settings/SettingsKeys.h"
#include "settings/TipOfTheDay.h"
#include "settings/UserDetails.h"
#include "settings/UserDetailsFile.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace kradon {
namespace {

namespace fs = std::filesystem;

const FormSettings Sample{1200, -300, 9600, 7200, 2, 0, -1};

// A short input replaces only the fields it holds completely; bytes past the record are ignored.
TEST(FormSettings, SevenLittleEndianFieldsTopBeforeLeftAndShortOrLongInput) {
    // 1200 = 0x04B0, -300 = 0xFED4, 9600 = 0x2580, 7200 = 0x1C20, 2, 0, -1 = 0xFFFF.
    const std::array<std::uint8_t, 14> full = {0xB0, 0x04, 0xD4, 0xFE, 0x80, 0x25, 0x20,
                                               0x1C, 0x02, 0x00, 0x00, 0x00, 0xFF, 0xFF};
    EXPECT_EQ(EncodeFormSettings(Sample), full);
    const FormSettings extremes{-32768, 32767, 0, 1, 1, -1, 0}, current{1, 2, 3, 4, 0, -1, -1};
    EXPECT_EQ(DecodeFormSettings(EncodeFormSettings(extremes), current), extremes);
    const std::pair<std::size_t, FormSettings> cases[] = {{1, current},
                                                          {2, {1200, 2, 3, 4, 0, -1, -1}},
                                                          {5, {1200, -300, 3, 4, 0, -1, -1}},
                                                          {13, {1200, -300, 9600, 7200, 2, 0, -1}}};
    for (const auto& [length, expected] : cases)
        EXPECT_EQ(DecodeFormSettings(std::span(full.data(), length), current), expected) << length;
    std::vector<std::uint8_t> longer(full.begin(), full.end());
    longer.insert(longer.end(), {0x11, 0x22, 0x33});
    EXPECT_EQ(DecodeFormSettings(longer, current), Sample);
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
    EXPECT_FALSE(WriteIniFile(path / "kradon.INI", Sample)) << "below a file: fails quietly";
}

// Booleans another hand wrote are read leniently; anything else gives the fallback.
TEST(SettingsKeys, BooleansAreReadBackLeniently) {
    for (const bool fallback : {true, false}) {
        for (const char* text : {"True", "true", " True ", "-1", "1"})
            EXPECT_TRUE(SettingsKeys::ParseBooleanText(text, fallback)) << text;
        for (const char* text : {"False", "FALSE", "0"})
            EXPECT_FALSE(SettingsKeys::ParseBooleanText(text, fallback)) << text;
        for (const char* text : {"", "yes", "Truely"})
            EXPECT_EQ(SettingsKeys::ParseBooleanText(text, fallback), fallback) << text;
    }
}

TEST(UserDetailsFile, ReadsTheValuesAsTheDesktopQuotesAndEscapesThem) {
    // Written by the desktop's settings store for these texts: quoted where they hold a comma,
    // a semicolon or blanks at an end, backslashes and quotes escaped, a leading @ doubled.
    const test::TestFolder folder;
    const auto file = folder / "kradon.conf";
    std::ofstream(file) << "[Options]\nname=not this one\n\n[Config]\nMAX_FILES=4\n"
                           "name=\"Zo\xc3\xab \\\"Ed\\\" Smith, Jr.\"\n"
                           "org=\" @Acme; Ltd = \\\\ x\\ty \"\n";
    const UserDetails details = ReadUserDetails(file);
    EXPECT_EQ(details.name, "Zo\xc3\xab \"Ed\" Smith, Jr.");
    EXPECT_EQ(details.organisation, " @Acme; Ltd = \\ x\ty ");
    EXPECT_EQ(IniValueText("@@at"), "@at");
    EXPECT_EQ(IniValueText("  plain text "), "plain text");
    EXPECT_EQ(IniValueText("\\x41\\x20\\x62"), "A b");
}

// Rotated order: with nothing stored it goes on from the current tip; a stored text that is no
// tip number starts again.
TEST(TipOfTheDay, AStoredTextThatIsNoTipNumberStartsAgain) {
    const std::pair<std::optional<std::string>, int> rotated[] = {
        {{}, 3}, {"abc", 1}, {"", 1}, {"-7", 1}, {"1e30", 1}};
    for (const auto& [stored, next] : rotated) {
        std::optional<std::string> value = stored;
        const TipOfTheDay::CurrentTipStore store{
            [&](const std::string& fallback) { return value.value_or(fallback); },
            [&](const std::string& v) { value = v; }};
        EXPECT_EQ(TipOfTheDay::NextTip(false, 4, 2, 0.5, store), next) << stored.value_or("none");
        EXPECT_EQ(value, std::to_string(next));
    }
}

// Every line of the file is a tip, empty ones included; a pipe or an oversized file is refused
// without waiting.
TEST(TipOfTheDay, TheTipsFileIsReadByLines) {
    const test::TestFolder dir;
    std::ofstream(dir / "TOTD.INI", std::ios::binary)
        << "First tip\r\n\r\nThird tip\nLast tip without a line end";
    EXPECT_EQ(
        TipOfTheDay::LoadTips(dir / "TOTD.INI"),
        (std::vector<std::string>{"First tip", "", "Third tip", "Last tip without a line end"}));
    EXPECT_FALSE(TipOfTheDay::LoadTips({}));
    EXPECT_FALSE(TipOfTheDay::LoadTips(dir.path())) << "a folder is no tips file";

    ASSERT_EQ(::mkfifo((dir / "pipe.INI").c_str(), 0600), 0);
    std::ofstream(dir / "big.INI") << std::string(TipOfTheDay::TipsFileMaxBytes + 1, 'x');
    EXPECT_STREQ(test::thrownBy([&] { TipOfTheDay::LoadTips(dir / "pipe.INI"); }).what(),
                 "It is not a regular file (a pipe, a device or a socket)");
    EXPECT_STREQ(test::thrownBy([&] { TipOfTheDay::LoadTips(dir / "big.INI"); }).what(),
                 "It is larger than the 1048576 bytes that a tips file can hold");
}

} // namespace
} // namespace kradon
