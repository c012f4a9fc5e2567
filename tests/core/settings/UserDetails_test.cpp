// The check of the first start's user details.
#include "../TestFolder.h"
#include "settings/UserDetails.h"
#include "settings/UserDetailsFile.h"

#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace kradon {
namespace {

TEST(UserDetails, EachMissingFieldHasItsOwnMessage) {
    struct Case {
        UserDetails details;
        std::optional<std::string> problem;
    };
    const std::vector<Case> cases = {
        {{"", ""}, "Please input your information"},
        {{"Ada Engineer", ""}, "Please input your organisation"},
        {{"", "Beam Works Ltd"}, "Please input your name"},
        {{"Ada Engineer", "Beam Works Ltd"}, std::nullopt},
        {{" ", " "}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UserDetailsProblem(c.details), c.problem)
            << "'" << c.details.name << "', '" << c.details.organisation << "'";
        EXPECT_EQ(HasUserDetails(c.details), !c.problem.has_value());
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
