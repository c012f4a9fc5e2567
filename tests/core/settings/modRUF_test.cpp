// The recent files list over an in-memory settings store, and its captions.
#include "settings/modRUF.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kradon::modRUF {
namespace {

/// The options dialog's length field: a number, or nullopt for a text that is none.
struct FakeField : LengthField {
    std::optional<double> number() const override { return value; }
    void show(std::int16_t length) override { value = length; }
    std::optional<double> value = 4;
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
// drops its oldest entry. A length outside 1..20 or no number becomes 4. The shell's tests
// open, list, reopen and shorten through the menus.
TEST_F(ListFixture, AListedFileMovesToTheTopAFullListDropsItsOldestAndTheLengthIsBounded) {
    list.Load([] {}); // the first run: a list of three
    for (const char* path : {"/m/a.kdn", "/m/a.kdn", "/m/b.kdn", "/m/c.kdn", "/m/a.kdn"})
        list.AddFile(path);
    EXPECT_EQ(list.paths(), (Paths{"/m/a.kdn", "/m/c.kdn", "/m/b.kdn"}));
    EXPECT_EQ(stored("1"), "/m/c.kdn");
    EXPECT_EQ(stored("3"), "/m/a.kdn");
    list.AddFile("/m/A.kdn");
    list.AddFile("/m/d.kdn");
    EXPECT_EQ(list.paths(), (Paths{"/m/d.kdn", "/m/A.kdn", "/m/c.kdn"}));
    EXPECT_EQ(stored("4"), "-");

    const std::pair<std::optional<double>, std::int16_t> lengths[] = {
        {0, 4}, {25, 4}, {std::nullopt, 4}, {1, 1}, {20, 20}, {21, 4}, {2.5, 2}};
    for (const auto& [typed, length] : lengths) {
        field.value = typed;
        list.TrimToLength();
        EXPECT_EQ(options.MAX_FILES, length);
        EXPECT_EQ(field.value, length) << "the field shows the length";
        EXPECT_EQ(settings.get("Config", "MAX_FILES", "-"), std::to_string(length));
    }
    EXPECT_EQ(messages.texts, std::vector<std::string>{"Please input a number in future, ok"});
}

// Paths of up to 32 characters (not bytes) are shown whole, and so is one of 33 whose first
// separator leaves 32, or one without a separator. Longer ones show the longest tail of at most 32
// characters from a separator, or else the tail from the last one.
TEST(RecentFileCaptions, LongPathsAreShortenedFromASeparator) {
    const std::string name40(40, 'n'), utf8 = "/home/engineer/models/b\xc3\xa9"
                                              "am0\xc3\xa9.kd\xc3\xa9";
    for (const std::string& whole :
         {std::string("/home/engineer/models/beam01.kdn"),
          std::string("/home/engineer/models/beam012.kdn"), name40, utf8})
        EXPECT_EQ(ShortenedPath(whole), whole);
    const std::pair<std::string, std::string> shortened[] = {
        {"/home/engineer/models/beam0123.kdn", ".../engineer/models/beam0123.kdn"},
        {"/home/engineer/projects/2026/bridges/deck.kdn", ".../projects/2026/bridges/deck.kdn"},
        {"/data/" + name40 + ".kdn", ".../" + name40 + ".kdn"}};
    for (const auto& [path, shown] : shortened)
        EXPECT_EQ(ShortenedPath(path), shown) << path;
    EXPECT_EQ(Caption(1, shortened[0].first), "&1   " + shortened[0].second); // the access key
}

} // namespace
} // namespace kradon::modRUF
