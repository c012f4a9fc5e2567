// The boolean text of the settings store, as written and as read back.
#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kradon::SettingsKeys {
namespace {

TEST(SettingsKeys, BooleansAreWrittenAsTrueAndFalse) {
    EXPECT_EQ(BooleanText(true), "True");
    EXPECT_EQ(BooleanText(false), "False");
}

TEST(SettingsKeys, StoredTextsReadBackAsBooleans) {
    struct Case {
        const char* text;
        bool fallback;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"True", false, true},  {"False", true, false},  {"true", false, true},
        {"FALSE", true, false}, {" True ", false, true}, {"-1", false, true},
        {"1", false, true},     {"0", true, false},      {"", true, true},
        {"", false, false},     {"yes", false, false},   {"Truely", true, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseBooleanText(c.text, c.fallback), c.expected)
            << "'" << c.text << "' fallback " << c.fallback;
}

} // namespace
} // namespace kradon::SettingsKeys
