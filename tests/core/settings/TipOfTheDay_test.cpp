// The tips file and what a stored tip number that is none does to the order. The shell's tests
// step through both orders and show the missing file's text.
#include "../TestFolder.h"
#include "../ThrownBy.h"
#include "model/KradonError.h"
#include "settings/TipOfTheDay.h"

#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace kradon::TipOfTheDay {
namespace {

// Rotated order: with nothing stored it goes on from the current tip; a stored text that is no
// tip number starts again.
TEST(TipOfTheDay, AStoredTextThatIsNoTipNumberStartsAgain) {
    const std::pair<std::optional<std::string>, int> rotated[] = {
        {{}, 3}, {"abc", 1}, {"", 1}, {"-7", 1}, {"1e30", 1}};
    for (const auto& [stored, next] : rotated) {
        std::optional<std::string> value = stored;
        const CurrentTipStore store{
            [&](const std::string& fallback) { return value.value_or(fallback); },
            [&](const std::string& v) { value = v; }};
        EXPECT_EQ(NextTip(false, 4, 2, 0.5, store), next) << stored.value_or("none");
        EXPECT_EQ(value, std::to_string(next));
    }
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every line of the file is a tip, empty ones included; a pipe or an oversized file is refused
// without waiting.
TEST(TipOfTheDay, TheTipsFileIsReadByLines) {
    test::TestFolder dir;
    writeFile(dir / "TOTD.INI", "First tip\r\n\r\nThird tip\nLast tip without a line end");
    EXPECT_EQ(
        LoadTips(dir / "TOTD.INI"),
        (std::vector<std::string>{"First tip", "", "Third tip", "Last tip without a line end"}));
    EXPECT_FALSE(LoadTips(dir / "missing.INI"));
    EXPECT_FALSE(LoadTips({}));
    EXPECT_FALSE(LoadTips(dir.path())) << "a folder is no tips file";

    ASSERT_EQ(::mkfifo((dir / "pipe.INI").c_str(), 0600), 0);
    writeFile(dir / "big.INI", std::string(TipsFileMaxBytes + 1, 'x'));
    EXPECT_STREQ(test::thrownBy([&] { LoadTips(dir / "pipe.INI"); }).what(),
                 "It is not a regular file (a pipe, a device or a socket)");
    EXPECT_STREQ(test::thrownBy([&] { LoadTips(dir / "big.INI"); }).what(),
                 "It is larger than the 1048576 bytes that a tips file can hold");
}

} // namespace
} // namespace kradon::TipOfTheDay
