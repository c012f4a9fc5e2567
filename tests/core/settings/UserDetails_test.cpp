// The user details as the desktop's settings store wrote them.
#include "../TestFolder.h"
#include "settings/UserDetails.h"
#include "settings/UserDetailsFile.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace kradon {
namespace {

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
