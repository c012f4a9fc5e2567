// The option values as the options dialog's OK takes them: the bounds with their messages and the
// fields that hold no number. The shell's tests cover the warning while typing, one value too
// high, one field without a number and the folders.
#include "settings/OptionRules.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace kradon::OptionRules {
namespace {

struct RecordingSink : MessageSink {
    void show(const Message& message) override { texts.push_back(message.text); }
    std::vector<std::string> texts;
};

// Which message each bound shows (the shell's tests compare one text). 40000 applieds saturate and
// are then limited; 0.2 read in single precision lies just above its bound, 1e39 beyond single
// precision. Applieds are rounded to the nearest integer, a half to even.
TEST(OptionRules, OkBringsTheValuesInsideTheirBoundsWithOneMessageEach) {
    const std::string many = TooManyAppliedsText, few = TooFewAppliedsText,
                      dense = MeshDensTooHighText, coarse = MeshDensTooLowText;
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
                 {12.5, 1, 1, 12, {}},        {13.5, 1, 1, 14, {}},
                 {12.6, 1, 1, 13, {}}};
    for (const auto& c : cases) {
        RecordingSink sink;
        Options o;
        TakeFieldNumbers({c.mesh, c.applieds, 4}, {}, o, sink, true);
        refuse(o, sink);
        EXPECT_EQ(o.MeshDensFact, c.MeshDensFact) << c.mesh;
        EXPECT_EQ(o.MaxNoApplieds, c.MaxNoApplieds) << c.applieds;
        EXPECT_EQ(sink.texts, c.texts) << c.applieds << " " << c.mesh;
    }
    EXPECT_EQ(Integer16FromNumber(-1e9), -32768);
}

// Each field without a number keeps its value and is named (the shell's tests compare one such
// text); the recent files list reports its own length when it is read on OK.
TEST(OptionRules, AFieldWithoutANumberIsNamedAndKeepsItsValue) {
    for (const bool reportMaxFiles : {true, false}) {
        RecordingSink sink;
        Options o;
        o.MeshDensFact = 2;
        o.MaxNoApplieds = 12;
        o.MAX_FILES = 6;
        TakeFieldNumbers({}, {"abc", "", "x"}, o, sink, reportMaxFiles);
        EXPECT_EQ(std::tie(o.MeshDensFact, o.MaxNoApplieds, o.MAX_FILES), std::tuple(2, 12, 6));
        ASSERT_EQ(sink.texts.size(), reportMaxFiles ? 3u : 2u);
        EXPECT_EQ(sink.texts[1], "Maximum applied conditions: \"\" is not a number.\r\n"
                                 "The previous value 12 is kept.");
    }
}

} // namespace
} // namespace kradon::OptionRules
