// The user's name and organisation, asked for at the first start and shown on the splash.
#pragma once

#include <optional>
#include <string>

namespace kradon {

struct UserDetails {
    std::string name;
    std::string organisation;
};

inline constexpr const char* MissingInformationText = "Please input your information";
inline constexpr const char* MissingOrganisationText = "Please input your organisation";
inline constexpr const char* MissingNameText = "Please input your name";

/// Both the name and the organisation are given.
bool HasUserDetails(const UserDetails& details);

/// What is missing from the entered details, as the message that asks for it; nothing when both
/// are given. Only an empty text counts as missing.
std::optional<std::string> UserDetailsProblem(const UserDetails& details);

} // namespace kradon
