// The options dialog's rules as OK takes its fields, and the recent files list whose length it
// sets: the bounds and cases that the shell's tests, driving the dialog and the menus, leave out.
#include "../analysis/ModelBuilder.h"
#include "settings/OptionRules.h"
#include "settings/modRUF.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kradon {
namespace {

using test::RecordingSink;

// Which message each bound shows. 40000 applieds saturate and are then limited; 0.2 read in single
// precision lies just above its bound, 1e39 beyond it. Applieds are rounded, a half to even.
TEST(OptionRules, OkBringsTheValuesInsideTheirBoundsWithOneMessageEach) {
    const std::string many = OptionRules::TooManyAppliedsText,
                      few = OptionRules::TooFewAppliedsText,
                      dense = OptionRules::MeshDensTooHighText,
                      coarse = OptionRules::MeshDensTooLowText;
    const double low = static_cast<double>(0.2f);
    const struct {
        double applieds, mesh, MeshDensFact;
        std::int16_t MaxNoApplieds;
        std::vector<std::string> texts;
    } cases[] = {{4, 1, 1, 5, {few}},         {5, 1, 1, 5, {}},
                 {30, 1, 1, 30, {}},          {40000, 1, 1, 30, {many}},
                 {10, 0.2, low, 10, {}},      {10, 0.1, low, 10, {coarse}},
                 {10, 10, 10, 10, {}},        {10, 10.5, 10, 10, {dense}},
                 {10, 1e39, 10, 10, {dense}}, {31, 0.1, low, 30, {many, coarse}},
                 {12.5, 1, 1, 12, {}},        {13.5, 1, 1, 14, {}}};
    for (const auto& c : cases) {
        RecordingSink sink;
        Options o;
        OptionRules::TakeFieldNumbers({c.mesh, c.applieds, 4}, {}, o, sink, true);
        OptionRules::refuse(o, sink);
        EXPECT_EQ(o.MeshDensFact, c.MeshDensFact) << c.mesh;
        EXPECT_EQ(o.MaxNoApplieds, c.MaxNoApplieds) << c.applieds;
        EXPECT_EQ(sink.texts(), c.texts) << c.applieds << " " << c.mesh;
    }
    EXPECT_EQ(OptionRules::Integer16FromNumber(-1e9), -32768);
}

// Each field without a number keeps its value and is named; the recent files list reports its own
// length when it is read on OK.
TEST(OptionRules, AFieldWithoutANumberIsNamedAndKeepsItsValue) {
    for (const bool reportMaxFiles : {true, false}) {
        RecordingSink sink;
        Options o;
        const auto before = std::tuple(2.0, std::int16_t{12}, std::int16_t{6});
        std::tie(o.MeshDensFact, o.MaxNoApplieds, o.MAX_FILES) = before;
        OptionRules::TakeFieldNumbers({}, {"abc", "", "x"}, o, sink, reportMaxFiles);
        EXPECT_EQ(std::tie(o.MeshDensFact, o.MaxNoApplieds, o.MAX_FILES), before);
        ASSERT_EQ(sink.texts().size(), reportMaxFiles ? 3u : 2u);
        EXPECT_EQ(sink.texts()[1], "Maximum applied conditions: \"\" is not a number.\r\n"
                                   "The previous value 12 is kept.");
    }
}

/// The options dialog's length field: nullopt for a text that is no number.
struct FakeField : modRUF::LengthField {
    std::optional<double> number() const override { return value; }
    void show(std::int16_t length) override { value = length; }
    std::optional<double> value = 4;
};

// A file already listed moves to the top of the menu (exactly the same text: case counts); only
// the menu moves, the stored order changes with the next file new to the list. A full list
// drops its oldest entry. A length outside 1..20 or no number becomes 4.
TEST(RecentFiles, AListedFileMovesToTheTopAFullListDropsItsOldestAndTheLengthIsBounded) {
    MemorySettings settings;
    Options options;
    FakeField field;
    RecordingSink messages;
    modRUF::RecentFiles list{settings, options, field, messages};
    const auto stored = [&](const char* key) { return settings.get("Recent Files", key, "-"); };
    list.Load([] {}); // the first run: a list of three
    for (const char* path : {"/m/a.kdn", "/m/a.kdn", "/m/b.kdn", "/m/c.kdn", "/m/a.kdn"})
        list.AddFile(path);
    EXPECT_EQ(list.paths(), (std::vector<std::string>{"/m/a.kdn", "/m/c.kdn", "/m/b.kdn"}));
    EXPECT_EQ(stored("1"), "/m/c.kdn");
    EXPECT_EQ(stored("3"), "/m/a.kdn");
    list.AddFile("/m/A.kdn");
    list.AddFile("/m/d.kdn");
    EXPECT_EQ(list.paths(), (std::vector<std::string>{"/m/d.kdn", "/m/A.kdn", "/m/c.kdn"}));
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
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Please input a number in future, ok"});
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
        EXPECT_EQ(modRUF::ShortenedPath(whole), whole);
    const std::pair<std::string, std::string> shortened[] = {
        {"/home/engineer/models/beam0123.kdn", ".../engineer/models/beam0123.kdn"},
        {"/home/engineer/projects/2026/bridges/deck.kdn", ".../projects/2026/bridges/deck.kdn"},
        {"/data/" + name40 + ".kdn", ".../" + name40 + ".kdn"}};
    for (const auto& [path, shown] : shortened)
        EXPECT_EQ(modRUF::ShortenedPath(path), shown) << path;
    // The number is the access key.
    EXPECT_EQ(modRUF::Caption(1, shortened[0].first), "&1   " + shortened[0].second);
}

} // namespace
} // namespace kradon
