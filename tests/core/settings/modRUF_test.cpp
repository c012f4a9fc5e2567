// The recent files list over an in-memory settings store: adding files, moving an entry to the
// top, the list length and the captions. The shell's tests cover the first run and a later one.
#include "settings/modRUF.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kradon::modRUF {
namespace {

/// The options dialog's length field: a number, or nullopt for a text that is none.
struct FakeField : LengthField {
    std::optional<double> number() const override { return value; }
    void show(std::int16_t length) override {
        value = length;
        shown.push_back(length);
    }
    std::optional<double> value = 4;
    std::vector<std::int16_t> shown;
};

struct RecordingSink : MessageSink {
    void show(const Message& message) override { texts.push_back(message.text); }
    std::vector<std::string> texts;
};

using Paths = std::vector<std::string>;

struct ListFixture : ::testing::Test {
    std::string stored(const char* key) const { return settings.get("Recent Files", key, "-"); }

    MemorySettings settings;
    Options options;
    FakeField field;
    RecordingSink messages;
    RecentFiles list{settings, options, field, messages};
};

// A file already listed moves to the top of the menu (exactly the same text: case counts); only
// the menu moves, the stored order changes with the next file new to the list. A full list
// drops its oldest entry.
TEST_F(ListFixture, AListedFileMovesToTheTopAndAFullListDropsItsOldest) {
    list.Load([] {}); // the first run: a list of three
    list.AddFile("/m/a.kdn");
    list.AddFile("/m/a.kdn");
    EXPECT_EQ(list.paths(), Paths{"/m/a.kdn"});
    EXPECT_EQ(settings.get("Config", "noRUF", "-"), "1");
    EXPECT_TRUE(list.separatorShown());
    EXPECT_TRUE(list.firstItemShown());
    list.AddFile("/m/b.kdn");
    list.AddFile("/m/c.kdn");
    list.AddFile("/m/a.kdn");
    EXPECT_EQ(list.paths(), (Paths{"/m/a.kdn", "/m/c.kdn", "/m/b.kdn"}));
    EXPECT_EQ(list.items()[3].caption, "&3   /m/b.kdn");
    EXPECT_EQ(stored("1"), "/m/c.kdn");
    EXPECT_EQ(stored("3"), "/m/a.kdn");
    list.AddFile("/m/A.kdn");
    list.AddFile("/m/d.kdn");
    EXPECT_EQ(list.paths(), (Paths{"/m/d.kdn", "/m/A.kdn", "/m/c.kdn"}));
    EXPECT_EQ(stored("4"), "-");
}

TEST_F(ListFixture, ALengthOutsideOneToTwentyOrNoNumberBecomesFour) {
    const std::pair<std::optional<double>, std::int16_t> cases[] = {
        {0, 4}, {25, 4}, {std::nullopt, 4}, {1, 1}, {20, 20}, {21, 4}, {2.5, 2}};
    for (const auto& [typed, length] : cases) {
        field.value = typed;
        list.TrimToLength();
        EXPECT_EQ(options.MAX_FILES, length);
        EXPECT_EQ(field.value, length) << "the field shows the length";
        EXPECT_EQ(settings.get("Config", "MAX_FILES", "-"), std::to_string(length));
    }
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Please input a number in future, ok"});
}

TEST(RecentFileCaptions, LongPathsAreShortenedFromASeparator) {
    const std::string name40(40, 'n');
    const std::vector<std::pair<std::string, std::string>> cases = {
        // 32 characters: whole.
        {"/home/engineer/models/beam01.kdn", "/home/engineer/models/beam01.kdn"},
        // 33 characters: the first separator leaves a tail of 32, so none is too far.
        {"/home/engineer/models/beam012.kdn", "/home/engineer/models/beam012.kdn"},
        // 34: the tail from the leading separator would be 33; the next one starts it.
        {"/home/engineer/models/beam0123.kdn", ".../engineer/models/beam0123.kdn"},
        // The tail from "/projects" has 31 characters; from "/engineer" it would have 40.
        {"/home/engineer/projects/2026/bridges/deck.kdn", ".../projects/2026/bridges/deck.kdn"},
        // No separator near enough: the tail starts at the last one.
        {"/data/" + name40 + ".kdn", ".../" + name40 + ".kdn"},
        // No separator at all: whole.
        {name40, name40},
        // Characters, not bytes: 32 characters in 35 bytes.
        {"/home/engineer/models/b\xc3\xa9"
         "am0\xc3\xa9.kd\xc3\xa9",
         "/home/engineer/models/b\xc3\xa9"
         "am0\xc3\xa9.kd\xc3\xa9"},
    };
    for (const auto& [path, shown] : cases)
        EXPECT_EQ(ShortenedPath(path), shown) << path;
    // The number is the access key.
    EXPECT_EQ(Caption(3, "/m/a.kdn"), "&3   /m/a.kdn");
    EXPECT_EQ(Caption(1, "/home/engineer/models/beam0123.kdn"),
              "&1   .../engineer/models/beam0123.kdn");
}

} // namespace
} // namespace kradon::modRUF
