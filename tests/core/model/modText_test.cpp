// Number texts: the shortest general form, the 15-digit round trip, fixed-decimal patterns and
// the reading of typed numbers.
#include "../ThrownBy.h"
#include "model/KradonError.h"
#include "model/modText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace kradon::modText {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(modTextGeneralNumber, WritesShortestPlainOrExponentForm) {
    const std::pair<double, const char*> cases[] = {
        {2.5, "2.5"},        {0.1, "0.1"},        {-2.5, "-2.5"},
        {100, "100"},        {15, "15"},          {0, "0"},
        {-0.0, "0"},         {1e15, "1E+15"},     {1e21, "1E+21"},
        {1e100, "1E+100"},   {1e-5, "0.00001"},   {1.5e-5, "0.000015"},
        {9.9e-6, "9.9E-06"}, {1.5e-7, "1.5E-07"}, {5e-324, "5E-324"},
        {nan, "NaN"},        {inf, "Infinity"},   {-inf, "-Infinity"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(GeneralNumber(value), text) << "value " << value;
    EXPECT_EQ(GeneralNumber(-1.25e21), "-1.25E+21");
    EXPECT_EQ(GeneralNumber(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(GeneralNumber(123456.75), "123456.75");
    EXPECT_EQ(GeneralNumber(1e14), "100000000000000");
    EXPECT_EQ(GeneralNumber(999999999999999), "999999999999999");
    EXPECT_EQ(GeneralNumber(2.2250738585072014e-308), "2.2250738585072014E-308");
}

// Random bit patterns cover every exponent; the uniform draws cover the engineering range where
// the plain form is used. strtod is the independent reader; ParseNumber reads them back too.
TEST(modTextGeneralNumber, ReadsBackToTheSameBits) {
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> engineering(-1e6, 1e6);
    for (int i = 0; i < 4000; ++i) {
        const double v = i % 2 == 0 ? std::bit_cast<double>(random()) : engineering(random);
        if (!std::isfinite(v) || v == 0)
            continue;
        const std::string text = GeneralNumber(v);
        const double back = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v))
            << text << " does not read back";
        ASSERT_EQ(ParseNumber(text), v) << text;
    }
}

TEST(modTextRoundTrip15, KeepsFifteenSignificantDigits) {
    EXPECT_EQ(RoundTrip15(2.4999999999999996), 2.5);
    EXPECT_EQ(RoundTrip15(0.1 + 0.2), 0.3);
    EXPECT_EQ(RoundTrip15(1.0 / 3.0), 0.333333333333333);
    EXPECT_EQ(RoundTrip15(2.5), 2.5);
    EXPECT_EQ(RoundTrip15(-7.000000000000001), -7);
    EXPECT_EQ(RoundTrip15(123456789.0123456789), 123456789.012346);
    EXPECT_EQ(RoundTrip15(inf), inf);
    EXPECT_TRUE(std::isnan(RoundTrip15(nan)));
}

// 0.0005 and 2.0005 lie just above the half, 1.0005 and 9.9995 just below; 0.0625 is an exact
// half; a value that rounds to zero has no sign.
TEST(modTextFormatNumber, RoundsHalvesAwayFromZeroOnTheExactValue) {
    const std::pair<double, const char*> threeDecimals[] = {
        {3.14159, "3.142"}, {0.5, "0.500"},     {0.0005, "0.001"},  {1.0005, "1.000"},
        {2.0005, "2.001"},  {9.9995, "9.999"},  {0.0625, "0.063"},  {-0.0625, "-0.063"},
        {0, "0.000"},       {-0.0, "0.000"},    {-0.0004, "0.000"}, {-0.0005, "-0.001"},
        {nan, "NaN"},       {-inf, "-Infinity"}};
    for (const auto& [value, text] : threeDecimals)
        EXPECT_EQ(FormatNumber(value, "##0.000"), text) << "value " << value;
    EXPECT_EQ(FormatNumber(1234.5, "##0.000"), "1234.500");
    EXPECT_EQ(FormatNumber(999.9996, "##0.000"), "1000.000");
    EXPECT_EQ(FormatNumber(1e20, "##0.000"), "100000000000000000000.000");
    EXPECT_EQ(FormatNumber(-2.5, "##00.000"), "-02.500");
    EXPECT_EQ(FormatNumber(7, "#000.000"), "007.000");
    EXPECT_EQ(FormatNumber(0.5, "#.00"), ".50");
    EXPECT_EQ(FormatNumber(123.456, "0"), "123");
    EXPECT_EQ(FormatNumber(0.1, "0.0000000000000000"), "0.1000000000000000"); // 16 decimals
    for (const auto& [value, text] :
         {std::pair<double, const char*>{2.5, "3"}, {3.5, "4"}, {-2.5, "-3"}})
        EXPECT_EQ(FormatNumber(value, "#0"), text) << "value " << value;
}

/// "##0.000" of v from the exact decimal expansion of the double, halves away from zero.
std::string exactThreeDecimals(double v) {
    std::string exact(1500, '\0');
    exact.resize(
        static_cast<std::size_t>(std::to_chars(exact.data(), exact.data() + exact.size(),
                                               std::fabs(v), std::chars_format::fixed, 1074)
                                     .ptr -
                                 exact.data()));
    const std::size_t point = exact.find('.');
    long long units = std::stoll(exact.substr(0, point) + exact.substr(point + 1, 3));
    if (exact[point + 4] >= '5')
        ++units;
    const std::string digits = std::to_string(units);
    const std::string padded = std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
    const std::string text =
        padded.substr(0, padded.size() - 3) + "." + padded.substr(padded.size() - 3);
    return (units != 0 && v < 0 ? "-" : "") + text;
}

TEST(modTextFormatNumber, AgreesWithTheExactExpansionOnHalvesAndRandomValues) {
    std::mt19937_64 rng(99);
    std::uniform_real_distribution<double> uniform(-2000, 2000);
    std::uniform_int_distribution<int> magnitude(-8, 12);
    std::uniform_int_distribution<int> ulps(-3, 3);
    for (int i = 0; i < 40000; ++i) {
        double v = uniform(rng);
        if (i % 4 == 0) // an odd number of sixteenths, an exact half of the third decimal
            v = (2 * std::floor(v * 8) + 1) / 16;
        if (i % 4 == 1) { // a few steps from a decimal half, on either side
            v = (std::round(v * 1000) + 0.5) / 1000;
            for (int k = ulps(rng); k != 0; k += k > 0 ? -1 : 1)
                v = std::nextafter(v, k > 0 ? INFINITY : -INFINITY);
        }
        if (i % 4 == 2) // from tiny to the largest the fast rounding takes, and beyond
            v *= std::pow(10.0, magnitude(rng));
        ASSERT_EQ(FormatNumber(v, "##0.000"), exactThreeDecimals(v)) << std::hexfloat << v;
    }
    EXPECT_EQ(FormatNumber(19.6875, "##0.000"), "19.688");
    EXPECT_EQ(FormatNumber(0.5625, "##0.000"), "0.563");
    EXPECT_EQ(FormatNumber(-0.5625, "##0.000"), "-0.563");
}

TEST(modTextFormatNumber, RefusesAPatternWithoutDigitPlaces) {
    for (const char* pattern : {"", ".", "#.#.#", "##0,000", "x0.0"}) {
        const KradonError e = test::thrownBy([&] { FormatNumber(1, pattern); });
        EXPECT_EQ(e.number(), ErrorNumber::InvalidArgument);
        EXPECT_EQ(e.what(), "'" + std::string(pattern) + "' is not a number pattern");
    }
}

TEST(modTextParseNumber, ReadsWholeFiniteNumbersOnly) {
    const std::pair<const char*, double> numbers[] = {
        {"2.5", 2.5},   {" 2.5\t", 2.5},  {"\t -3 ", -3}, {"+3", 3}, {"+0.25", 0.25}, {"1e3", 1000},
        {"1E-2", 0.01}, {"-2.5e+1", -25}, {".5", 0.5},    {"5.", 5}, {"205", 205}};
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ParseNumber(text), value) << "text '" << text << "'";
    for (const char* text :
         {"",    "   ", "inf", "-inf", "Infinity", "nan", "NaN",  "abc", "1,5",   "2.5x",
          "1 2", "+",   "-",   "+-3",  "++3",      "+ 3", "0x10", "1e",  "1e999", "1e-400"})
        EXPECT_EQ(ParseNumber(text), std::nullopt) << "text '" << text << "'";
}

} // namespace
} // namespace kradon::modText
