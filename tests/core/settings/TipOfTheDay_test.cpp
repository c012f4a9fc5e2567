// The tips file and the order in which tips come.
#include "../TestFolder.h"
#include "model/KradonError.h"
#include "settings/TipOfTheDay.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
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

TEST(TipOfTheDay, RotatedOrderWrapsFromTheLastTipToTheFirst) {
    MemoryStore m;
    m.value = "3";
    EXPECT_EQ(NextTip(false, 3, 0, 0.5, m.store()), 1);
    EXPECT_EQ(m.value, "1");
    EXPECT_EQ(NextTip(false, 3, 1, 0.5, m.store()), 2);
    EXPECT_EQ(m.value, "2");
}

TEST(TipOfTheDay, RotatedOrderStartsFromTheCurrentTipWhenNothingIsStored) {
    MemoryStore m;
    EXPECT_EQ(NextTip(false, 5, 0, 0.5, m.store()), 1);
    EXPECT_EQ(m.value, "1");
    m.value.reset();
    EXPECT_EQ(NextTip(false, 5, 4, 0.5, m.store()), 5);
}

TEST(TipOfTheDay, RotatedOrderStartsAgainAfterAStoredTextThatIsNoTipNumber) {
    for (const char* text : {"abc", "", "-7", "1e30"}) {
        MemoryStore m;
        m.value = text;
        EXPECT_EQ(NextTip(false, 4, 2, 0.5, m.store()), 1) << text;
        EXPECT_EQ(m.value, "1") << text;
    }
}

TEST(TipOfTheDay, RandomOrderNeverWritesTheCurrentTip) {
    MemoryStore m;
    m.value = "2";
    // Random numbers in [0, 1) cover the tips 1..4 evenly.
    const std::vector<std::pair<double, int>> draws = {{0.0, 1},  {0.24, 1}, {0.25, 2},    {0.5, 3},
                                                       {0.74, 3}, {0.75, 4}, {0.999999, 4}};
    for (const auto& [random, tip] : draws)
        EXPECT_EQ(NextTip(true, 4, 2, random, m.store()), tip) << random;
    EXPECT_EQ(m.writes, 0);
    EXPECT_EQ(m.value, "2");
}

TEST(TipOfTheDay, EveryLineOfTheFileIsATipEmptyOnesIncluded) {
    test::TestFolder dir;
    writeFile(dir / "TOTD.INI", "First tip\r\n\r\nThird tip\nLast tip without a line end");
    const auto tips = LoadTips(dir / "TOTD.INI");
    ASSERT_TRUE(tips);
    EXPECT_EQ(*tips, (std::vector<std::string>{"First tip", "", "Third tip",
                                               "Last tip without a line end"}));
}

TEST(TipOfTheDay, AnEmptyFileLoadsWithNoTipsAndAMissingOneDoesNotLoad) {
    test::TestFolder dir;
    writeFile(dir / "TOTD.INI", "");
    const auto empty = LoadTips(dir / "TOTD.INI");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    EXPECT_FALSE(LoadTips(dir / "missing.INI"));
    EXPECT_FALSE(LoadTips({}));
    EXPECT_FALSE(LoadTips(dir.path())) << "a folder is no tips file";
}

TEST(TipOfTheDay, APipeOrAnOversizedFileIsRefusedWithoutWaiting) {
    test::TestFolder dir;
    ASSERT_EQ(::mkfifo((dir / "TOTD.INI").c_str(), 0600), 0);
    writeFile(dir / "big.INI", std::string(TipsFileMaxBytes + 1, 'x'));
    for (const auto& [name, why] :
         {std::pair<std::string, std::string>{"TOTD.INI", "It is not a regular file"},
          {"big.INI", "It is larger than the 1048576 bytes that a tips file can hold"}}) {
        try {
            LoadTips(dir / name);
            ADD_FAILURE() << name << " was read";
        } catch (const KradonError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(why, 0), 0u) << e.what();
        }
    }
    EXPECT_EQ(std::string(UnreadableTipsText), "The tips file TOTD.INI could not be read: ");
}

TEST(TipOfTheDay, MissingFileTextNamesTheFileAndWhatToDo) {
    EXPECT_EQ(std::string(MissingTipsText),
              "That the TOTD.INI file was not found? \n\nCreate a text file named TOTD.INI using "
              "a text editor with 1 tip per line. Then place it in the same directory as the "
              "application. ");
}

} // namespace
} // namespace kradon::TipOfTheDay
