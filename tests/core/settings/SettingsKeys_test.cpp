// The boolean text of the settings store, as written and as read back.
#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>

namespace kradon::SettingsKeys {
namespace {

TEST(SettingsKeys, BooleansAreWrittenAsTrueAndFalseAndReadBackLeniently) {
    EXPECT_EQ(BooleanText(true), "True");
    EXPECT_EQ(BooleanText(false), "False");
    for (const char* text : {"True", "true", " True ", "-1", "1"})
        EXPECT_TRUE(ParseBooleanText(text, false)) << text;
    for (const char* text : {"False", "FALSE", "0"})
        EXPECT_FALSE(ParseBooleanText(text, true)) << text;
    // Anything else gives the fallback.
    for (const bool fallback : {true, false})
        for (const char* text : {"", "yes", "Truely"})
            EXPECT_EQ(ParseBooleanText(text, fallback), fallback) << text;
}

} // namespace
} // namespace kradon::SettingsKeys
