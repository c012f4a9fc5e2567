// The check of the first start's user details.
#include "settings/UserDetails.h"

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

} // namespace
} // namespace kradon
