// The tips file and the order of the tips.
#include "settings/TipOfTheDay.h"

#include "model/SafeFile.h"
#include "model/modText.h"

#include <cmath>
#include <sstream>
#include <system_error>

namespace kradon::TipOfTheDay {
namespace {

/// The whole number a stored text holds; 0 for a text that holds none.
std::int64_t storedNumber(const std::string& text) {
    const std::optional<double> number = modText::ParseNumber(text);
    if (!number || !std::isfinite(*number) || std::abs(*number) > 1e9)
        return 0;
    return static_cast<std::int64_t>(std::floor(*number));
}

std::int32_t randomTip(std::size_t tipCount, double random) {
    const double r = random < 0 ? 0 : random >= 1 ? std::nextafter(1.0, 0.0) : random;
    return static_cast<std::int32_t>(std::floor(r * static_cast<double>(tipCount) + 1));
}

std::int32_t rotatedTip(std::size_t tipCount, std::int32_t current, const CurrentTipStore& stored) {
    const std::int64_t next = storedNumber(stored.read(std::to_string(current))) + 1;
    // A number below 1 can only come from an edited store; it starts the rotation again.
    const auto tip = next < 1 || next > static_cast<std::int64_t>(tipCount)
                         ? std::int32_t{1}
                         : static_cast<std::int32_t>(next);
    stored.write(std::to_string(tip));
    return tip;
}

} // namespace

std::optional<std::vector<std::string>> LoadTips(const std::filesystem::path& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error) ||
        std::filesystem::is_directory(path, error))
        return std::nullopt;
    std::istringstream in(SafeFile::ReadRegularFile(path, TipsFileMaxBytes, "a tips file"));
    std::vector<std::string> tips;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        tips.push_back(std::move(line));
    }
    return tips;
}

std::int32_t NextTip(bool randomOrder, std::size_t tipCount, std::int32_t current, double random,
                     const CurrentTipStore& stored) {
    return randomOrder ? randomTip(tipCount, random) : rotatedTip(tipCount, current, stored);
}

} // namespace kradon::TipOfTheDay
