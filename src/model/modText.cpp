// Locale-free number text: everything goes through std::to_chars and std::from_chars, so the
// user's decimal separator never leaks into reports, files or position matching.
#include "model/modText.h"

#include "model/KradonError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <system_error>

namespace kradon::modText {

namespace {

/// The shortest round-trip digits of a finite, non-zero double: value = d.ddd x 10^exponent.
struct ShortestDigits {
    std::string digits; // no point, no leading zero, at least one digit
    int exponent = 0;
    bool negative = false;
};

ShortestDigits shortestDigits(double v) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(v),
                                      std::chars_format::scientific);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = text.find('e');
    ShortestDigits d;
    d.negative = std::signbit(v);
    for (const char c : text.substr(0, e))
        if (c != '.')
            d.digits += c;
    std::string_view exponent = text.substr(e + 1);
    if (exponent.front() == '+')
        exponent.remove_prefix(1);
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), d.exponent);
    return d;
}

std::string plainDigits(const ShortestDigits& d) {
    const auto count = static_cast<int>(d.digits.size());
    if (d.exponent < 0)
        return "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    const int integerDigits = d.exponent + 1;
    if (count <= integerDigits)
        return d.digits + std::string(static_cast<std::size_t>(integerDigits - count), '0');
    const auto split = static_cast<std::size_t>(integerDigits);
    return d.digits.substr(0, split) + "." + d.digits.substr(split);
}

std::string scientificDigits(const ShortestDigits& d) {
    std::string text = d.digits.substr(0, 1);
    if (d.digits.size() > 1)
        text += "." + d.digits.substr(1);
    text += d.exponent < 0 ? "E-" : "E+";
    const std::string exponent = std::to_string(std::abs(d.exponent));
    if (exponent.size() < 2)
        text += '0';
    return text + exponent;
}

std::string nonFiniteText(double v) {
    if (std::isnan(v))
        return "NaN";
    return v < 0 ? "-Infinity" : "Infinity";
}

[[noreturn]] void throwBadPattern(std::string_view pattern) {
    throw KradonError(ErrorNumber::InvalidArgument, "modText",
                      "'" + std::string(pattern) + "' is not a number pattern");
}

NumberPattern patternPlaces(std::string_view pattern) {
    NumberPattern places;
    bool afterPoint = false;
    bool requiredSeen = false;
    bool anyPlace = false;
    for (const char c : pattern) {
        if (c == '.') {
            if (afterPoint)
                throwBadPattern(pattern);
            afterPoint = true;
            continue;
        }
        if (c != '#' && c != '0')
            throwBadPattern(pattern);
        anyPlace = true;
        requiredSeen = requiredSeen || c == '0';
        if (afterPoint)
            ++places.decimals;
        else if (requiredSeen)
            ++places.minIntegerDigits;
    }
    if (!anyPlace)
        throwBadPattern(pattern);
    return places;
}

/// The exact decimal expansion of |v|: every double is a dyadic fraction with at most 1074
/// binary, hence at most 1074 decimal, places, so this text involves no rounding at all.
std::string exactFixedText(double v) {
    constexpr int allPlaces = 1074;
    std::string buffer(320 + allPlaces, '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(v),
                                      std::chars_format::fixed, allPlaces);
    buffer.resize(static_cast<std::size_t>(result.ptr - buffer.data()));
    return buffer;
}

/// Adds one unit in the last place of a string of decimal digits.
std::string incremented(std::string digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return digits;
        }
        *it = '0';
    }
    return "1" + digits;
}

/// Whether |v| lies exactly halfway between two multiples of 10^-decimals. |v| 10^decimals is
/// then an odd number of halves, so |v| 2^(decimals + 1) is an odd integer, and the reverse holds
/// too; scaling by a power of two is exact.
bool isHalfway(double v, std::size_t decimals) {
    const double t = std::ldexp(std::fabs(v), static_cast<int>(decimals) + 1);
    return t < 0x1p53 && t == std::floor(t) && std::fmod(t, 2.0) == 1.0;
}

/// |v| x 10^decimals rounded to a whole number, halves away from zero, when that is below 2^52
/// (the numbers of reports and tables); nullopt for larger ones. A fused multiply-add splits the
/// product exactly into p + e, so the comparison with the half is exact: p - floor(p) - 0.5 is
/// exact below 2^52, and e is the product's own rounding error.
std::optional<std::uint64_t> roundedScaled(double v, std::size_t decimals) {
    constexpr std::array<double, 16> powersOfTen{1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (decimals >= powersOfTen.size())
        return std::nullopt;
    const double a = std::fabs(v);
    const double scale = powersOfTen[decimals];
    const double p = a * scale;
    if (!(p < 0x1p52))
        return std::nullopt;
    if (p < 0.25) // below a half whatever the rounding of the product
        return 0;
    const double e = std::fma(a, scale, -p);
    const double whole = std::floor(p);
    const double aboveHalf = (p - whole) - 0.5;
    return static_cast<std::uint64_t>(whole) + (aboveHalf >= -e ? 1 : 0);
}

/// |v| rounded to the given decimals, halves away from zero, as integer digits followed by
/// exactly `decimals` fraction digits (no point, possibly leading zeros), for the values that
/// roundedScaled does not take.
std::string roundedDigits(double v, std::size_t decimals) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(v),
                                      std::chars_format::fixed, static_cast<int>(decimals));
    if (result.ec == std::errc{} && !isHalfway(v, decimals)) {
        // Correctly rounded, and without a tie the rounding rule does not matter.
        std::string digits(buffer.data(), result.ptr);
        if (decimals > 0)
            digits.erase(digits.size() - decimals - 1, 1);
        return digits;
    }
    const std::string exact = exactFixedText(v);
    const std::size_t point = exact.find('.');
    const std::string integer = exact.substr(0, point);
    std::string fraction = exact.substr(point + 1);
    const bool roundUp = decimals < fraction.size() && fraction[decimals] >= '5';
    fraction.resize(decimals, '0');
    const std::string digits = integer + fraction;
    return roundUp ? incremented(digits) : digits;
}

/// The digits of |v| rounded to the given decimals, as roundedDigits gives them, kept in a
/// buffer of their own for the usual numbers.
class RoundedDigits {
public:
    RoundedDigits(double v, std::size_t decimals) {
        const std::optional<std::uint64_t> scaled = roundedScaled(v, decimals);
        if (!scaled) {
            large_ = roundedDigits(v, decimals);
            digits_ = large_;
            return;
        }
        // The number goes to the back half of the buffer, the zeros that make up at least
        // decimals + 1 digits in front of it (decimals are at most 15 here).
        char* const middle = buffer_.data() + buffer_.size() / 2;
        char* const end = std::to_chars(middle, buffer_.data() + buffer_.size(), *scaled).ptr;
        const auto count = static_cast<std::size_t>(end - middle);
        const std::size_t zeros = count <= decimals ? decimals + 1 - count : 0;
        std::fill(middle - zeros, middle, '0');
        digits_ = std::string_view(middle - zeros, count + zeros);
    }
    RoundedDigits(const RoundedDigits&) = delete;
    RoundedDigits& operator=(const RoundedDigits&) = delete;
    std::string_view digits() const { return digits_; }

private:
    std::array<char, 48> buffer_; // NOLINT: only the part in digits_ is ever read
    std::string large_;
    std::string_view digits_;
};

} // namespace

std::string GeneralNumber(double v) {
    if (!std::isfinite(v))
        return nonFiniteText(v);
    if (v == 0)
        return "0";
    const ShortestDigits d = shortestDigits(v);
    const std::string sign = d.negative ? "-" : "";
    // Plain digits exactly for magnitudes in [1e-5, 1e15).
    if (d.exponent >= -5 && d.exponent < 15)
        return sign + plainDigits(d);
    return sign + scientificDigits(d);
}

double RoundTrip15(double v) {
    if (!std::isfinite(v))
        return v;
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                                       std::chars_format::general, 15);
    double back = 0;
    std::from_chars(buffer.data(), written.ptr, back);
    return back;
}

std::string FormatNumber(double v, std::string_view pattern) {
    std::string text;
    AppendNumber(text, v, patternPlaces(pattern));
    return text;
}

NumberPattern ParseNumberPattern(std::string_view pattern) {
    return patternPlaces(pattern);
}

void AppendNumber(std::string& out, double v, NumberPattern pattern) {
    AppendSignedNumber(out, v, pattern, pattern);
}

void AppendSignedNumber(std::string& out, double v, NumberPattern belowZero,
                        NumberPattern fromZero) {
    if (!std::isfinite(v)) {
        out += nonFiniteText(v);
        return;
    }
    const std::size_t decimals = belowZero.decimals;
    const RoundedDigits rounded(v, decimals);
    const std::string_view digits = rounded.digits();
    const std::string_view integer = digits.substr(0, digits.size() - decimals);
    const bool minus = std::signbit(v) && digits.find_first_not_of('0') != std::string_view::npos;
    const std::string_view significant =
        integer.substr(std::min(integer.find_first_not_of('0'), integer.size()));
    const std::size_t minIntegerDigits =
        minus ? belowZero.minIntegerDigits : fromZero.minIntegerDigits;
    if (minus)
        out += '-';
    if (significant.size() < minIntegerDigits)
        out.append(minIntegerDigits - significant.size(), '0');
    out += significant;
    if (decimals > 0) {
        out += '.';
        out += digits.substr(digits.size() - decimals);
    }
}

std::optional<double> ParseNumber(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    // from_chars takes a leading '-' but no '+'.
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-')
            return std::nullopt;
    }
    double value = 0;
    const char* const end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string XmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace kradon::modText
