// The tips file and the order in which tips come.
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

/// "Options"/"Current Tip" kept in memory; counts the writes.
struct MemoryStore {
    std::optional<std::string> value;
    int writes = 0;
    CurrentTipStore store() {
        return {[this](const std::string& fallback) { return value.value_or(fallback); },
                [this](const std::string& v) {
                    value = v;
                    ++writes;
                }};
    }
};

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The rotated order goes on from the stored tip, or from the current one when none is stored,
// wraps from the last tip to the first and starts again after a text that is no tip number.
TEST(TipOfTheDay, RotatedOrderGoesOnFromTheStoredTip) {
    const struct {
        std::optional<std::string> stored;
        int tips, current, next;
    } cases[] = {{"3", 3, 0, 1},   {"1", 3, 1, 2}, {{}, 5, 0, 1},   {{}, 5, 4, 5},
                 {"abc", 4, 2, 1}, {"", 4, 2, 1},  {"-7", 4, 2, 1}, {"1e30", 4, 2, 1}};
    for (const auto& c : cases) {
        MemoryStore m;
        m.value = c.stored;
        EXPECT_EQ(NextTip(false, c.tips, c.current, 0.5, m.store()), c.next) << c.current;
        EXPECT_EQ(m.value, std::to_string(c.next));
    }
    // Random numbers in [0, 1) cover the tips 1..4 evenly; the random order writes nothing.
    MemoryStore m;
    m.value = "2";
    for (const auto& [random, tip] : std::vector<std::pair<double, int>>{
             {0.0, 1}, {0.24, 1}, {0.25, 2}, {0.5, 3}, {0.74, 3}, {0.75, 4}, {0.999999, 4}})
        EXPECT_EQ(NextTip(true, 4, 2, random, m.store()), tip) << random;
    EXPECT_EQ(m.writes, 0);
    EXPECT_EQ(m.value, "2");
}

// Every line of the file is a tip, empty ones included; a pipe or an oversized file is refused
// without waiting.
TEST(TipOfTheDay, TheTipsFileIsReadByLines) {
    test::TestFolder dir;
    writeFile(dir / "TOTD.INI", "First tip\r\n\r\nThird tip\nLast tip without a line end");
    EXPECT_EQ(
        LoadTips(dir / "TOTD.INI"),
        (std::vector<std::string>{"First tip", "", "Third tip", "Last tip without a line end"}));
    writeFile(dir / "empty.INI", "");
    EXPECT_EQ(LoadTips(dir / "empty.INI"), std::vector<std::string>{});
    EXPECT_FALSE(LoadTips(dir / "missing.INI"));
    EXPECT_FALSE(LoadTips({}));
    EXPECT_FALSE(LoadTips(dir.path())) << "a folder is no tips file";

    ASSERT_EQ(::mkfifo((dir / "pipe.INI").c_str(), 0600), 0);
    writeFile(dir / "big.INI", std::string(TipsFileMaxBytes + 1, 'x'));
    EXPECT_STREQ(test::thrownBy([&] { LoadTips(dir / "pipe.INI"); }).what(),
                 "It is not a regular file (a pipe, a device or a socket)");
    EXPECT_STREQ(test::thrownBy([&] { LoadTips(dir / "big.INI"); }).what(),
                 "It is larger than the 1048576 bytes that a tips file can hold");
    EXPECT_STREQ(UnreadableTipsText, "The tips file TOTD.INI could not be read: ");
}

} // namespace
} // namespace kradon::TipOfTheDay
