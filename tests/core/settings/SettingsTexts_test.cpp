// Texts of the desktop's settings store as they are read back: booleans and the user details.
#include "../TestFolder.h"
#include "settings/SettingsKeys.h"
#include "settings/UserDetails.h"
#include "settings/UserDetailsFile.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace kradon {
namespace {

// The program writes "True" and "False" (the shell's tests see them stored); what another hand
// wrote is read leniently, and anything else gives the fallback.
TEST(SettingsKeys, BooleansAreReadBackLeniently) {
    for (const bool fallback : {true, false}) {
        for (const char* text : {"True", "true", " True ", "-1", "1"})
            EXPECT_TRUE(SettingsKeys::ParseBooleanText(text, fallback)) << text;
        for (const char* text : {"False", "FALSE", "0"})
            EXPECT_FALSE(SettingsKeys::ParseBooleanText(text, fallback)) << text;
        for (const char* text : {"", "yes", "Truely"})
            EXPECT_EQ(SettingsKeys::ParseBooleanText(text, fallback), fallback) << text;
    }
}

TEST(UserDetailsFile, ReadsTheValuesAsTheDesktopQuotesAndEscapesThem) {
    // Written by the desktop's settings store for these texts: quoted where they hold a comma,
    // a semicolon or blanks at an end, backslashes and quotes escaped, a leading @ doubled.
    const test::TestFolder folder;
    const auto file = folder / "kradon.conf";
    std::ofstream(file) << "[Options]\nname=not this one\n\n[Config]\nMAX_FILES=4\n"
                           "name=\"Zo\xc3\xab \\\"Ed\\\" Smith, Jr.\"\n"
                           "org=\" @Acme; Ltd = \\\\ x\\ty \"\n";
    const UserDetails details = ReadUserDetails(file);
    EXPECT_EQ(details.name, "Zo\xc3\xab \"Ed\" Smith, Jr.");
    EXPECT_EQ(details.organisation, " @Acme; Ltd = \\ x\ty ");
    EXPECT_EQ(IniValueText("@@at"), "@at");
    EXPECT_EQ(IniValueText("  plain text "), "plain text");
    EXPECT_EQ(IniValueText("\\x41\\x20\\x62"), "A b");
    const UserDetails none = ReadUserDetails(folder / "missing.conf");
    EXPECT_TRUE(none.name.empty() && none.organisation.empty());
}

} // namespace
} // namespace kradon
