// The check of the user details form.
#include "settings/UserDetails.h"

namespace kradon {

bool HasUserDetails(const UserDetails& details) {
    return !details.name.empty() && !details.organisation.empty();
}

std::optional<std::string> UserDetailsProblem(const UserDetails& details) {
    if (details.name.empty() && details.organisation.empty())
        return MissingInformationText;
    if (details.organisation.empty())
        return MissingOrganisationText;
    if (details.name.empty())
        return MissingNameText;
    return std::nullopt;
}

} // namespace kradon
