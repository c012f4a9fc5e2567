// The option values as the options dialog's OK takes them: numbers from the fields and the bounds
// with their messages. The shell's tests cover the warning while typing and the folders.
#include "settings/OptionRules.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kradon::OptionRules {
namespace {

struct RecordingSink : MessageSink {
    void show(const Message& message) override { texts.push_back(message.text); }
    std::vector<std::string> texts;
};

/// The options after the dialog's OK with these field numbers (MeshDensFact, MaxNoApplieds).
Options afterOk(std::optional<double> mesh, std::optional<double> applieds, RecordingSink& sink) {
    Options o;
    TakeFieldNumbers({mesh, applieds, 4}, {"mesh", "applieds", "4"}, o, sink, true);
    refuse(o, sink);
    return o;
}

TEST(OptionRules, OkBringsTheValuesInsideTheirBoundsWithOneMessageEach) {
    struct Case {
        double applieds, mesh;
        double MeshDensFact;
        std::int16_t MaxNoApplieds;
        std::vector<std::string> texts;
    };
    const std::string tooMany = "Your value of maximum applied conditions is too high.\r\n"
                                "You are limited to 30. ";
    const std::string tooFew = "Your value of maximum applied conditions is too low.\r\n"
                               "Your minimum is 5. ";
    const std::string meshHigh = "Your value Mesh density factor is too high.\r\n"
                                 "You are limited to 10. ";
    const std::string meshLow = "Your value Mesh density factor is too low.\r\n"
                                "Your minimum is 0.2.";
    const double low = static_cast<double>(0.2f);
    // 40000 applieds saturate and are then limited; 0.2 read in single precision lies just above
    // its bound, 1e39 beyond single precision.
    const std::vector<Case> cases = {{31, 1, 1, 30, {tooMany}},
                                     {4, 1, 1, 5, {tooFew}},
                                     {5, 1, 1, 5, {}},
                                     {30, 1, 1, 30, {}},
                                     {40000, 1, 1, 30, {tooMany}},
                                     {10, 0.2, low, 10, {}},
                                     {10, 0.1, low, 10, {meshLow}},
                                     {10, 10, 10, 10, {}},
                                     {10, 10.5, 10, 10, {meshHigh}},
                                     {10, 1e39, 10, 10, {meshHigh}},
                                     {31, 0.1, low, 30, {tooMany, meshLow}}};
    for (const Case& c : cases) {
        RecordingSink sink;
        const Options o = afterOk(c.mesh, c.applieds, sink);
        EXPECT_EQ(o.MeshDensFact, c.MeshDensFact) << c.mesh;
        EXPECT_EQ(o.MaxNoApplieds, c.MaxNoApplieds) << c.applieds;
        EXPECT_EQ(sink.texts, c.texts) << c.applieds << " " << c.mesh;
    }
    // Applieds are rounded to the nearest integer, a half to even.
    EXPECT_EQ(Integer16FromNumber(12.4), 12);
    EXPECT_EQ(Integer16FromNumber(12.6), 13);
    EXPECT_EQ(Integer16FromNumber(12.5), 12);
    EXPECT_EQ(Integer16FromNumber(13.5), 14);
    EXPECT_EQ(Integer16FromNumber(-1e9), -32768);
}

TEST(OptionRules, AFieldWithoutANumberIsNamedAndKeepsItsValue) {
    RecordingSink sink;
    Options o;
    o.MeshDensFact = 2;
    o.MaxNoApplieds = 12;
    o.MAX_FILES = 6;
    TakeFieldNumbers({std::nullopt, std::nullopt, std::nullopt}, {"abc", "", "x"}, o, sink, true);
    EXPECT_EQ(o.MeshDensFact, 2);
    EXPECT_EQ(o.MaxNoApplieds, 12);
    EXPECT_EQ(o.MAX_FILES, 6);
    EXPECT_EQ(sink.texts,
              (std::vector<std::string>{
                  "Mesh density factor: \"abc\" is not a number.\r\nThe previous value 2 is kept.",
                  "Maximum applied conditions: \"\" is not a number.\r\n"
                  "The previous value 12 is kept.",
                  "Recent files listed: \"x\" is not a number.\r\nThe previous value 6 is kept."}));

    // On OK the recent files list reports its own length.
    RecordingSink quiet;
    TakeFieldNumbers({1, 10, std::nullopt}, {"1", "10", "x"}, o, quiet, false);
    EXPECT_TRUE(quiet.texts.empty());
    EXPECT_EQ(o.MAX_FILES, 6);
}

} // namespace
} // namespace kradon::OptionRules
