// Boolean texts of the settings store.
#include "settings/SettingsKeys.h"

#include "model/modText.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

namespace kradon::SettingsKeys {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string RecentFileKey(int i) {
    return std::to_string(i);
}

std::string BooleanText(bool value) {
    return value ? "True" : "False";
}

bool ParseBooleanText(std::string_view text, bool fallback) {
    const std::string_view t = trimmed(text);
    if (equalsIgnoringCase(t, "True"))
        return true;
    if (equalsIgnoringCase(t, "False"))
        return false;
    if (const std::optional<double> number = modText::ParseNumber(t))
        return *number != 0;
    return fallback;
}

} // namespace kradon::SettingsKeys
