#include "settings/UserDetailsFile.h"

#include "settings/SettingsKeys.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace kradon {
namespace {

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

/// The character a backslash escape stands for; the escape letter itself for one it does not
/// know.
char escaped(char c) {
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    case '0':
        return '\0';
    default:
        return c;
    }
}

/// Appends code point cp as UTF-8.
void appendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | ((cp >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

std::filesystem::path DesktopSettingsFile() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != 0)
        return std::filesystem::path(config) / "kradon" / "kradon.conf";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0)
        return std::filesystem::path(home) / ".config" / "kradon" / "kradon.conf";
    return {};
}

std::string IniValueText(std::string_view raw) {
    const std::string_view value = trimmed(raw);
    std::string out;
    bool quoted = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (c != '\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const char next = value[++i];
        if (next != 'x') {
            out += escaped(next);
            continue;
        }
        unsigned long cp = 0;
        std::size_t digits = 0;
        while (i + 1 < value.size() && isHex(value[i + 1]) && digits < 4) {
            cp = cp * 16 + std::stoul(std::string(1, value[++i]), nullptr, 16);
            ++digits;
        }
        appendUtf8(out, cp);
    }
    if (out.rfind("@@", 0) == 0)
        out.erase(0, 1);
    return out;
}

UserDetails ReadUserDetails(const std::filesystem::path& settingsFile) {
    UserDetails details;
    std::ifstream in(settingsFile);
    std::string section;
    for (std::string line; std::getline(in, line);) {
        const std::string_view text = trimmed(line);
        if (text.empty() || text.front() == ';' || text.front() == '#')
            continue;
        if (text.front() == '[' && text.back() == ']') {
            section = text.substr(1, text.size() - 2);
            continue;
        }
        const auto equals = text.find('=');
        if (section != SettingsKeys::Config || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(text.substr(0, equals));
        if (key == SettingsKeys::UserName)
            details.name = IniValueText(text.substr(equals + 1));
        else if (key == SettingsKeys::UserOrganisation)
            details.organisation = IniValueText(text.substr(equals + 1));
    }
    return details;
}

} // namespace kradon
