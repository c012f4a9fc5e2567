// Conversions between numbers and text that do not depend on the user's locale: the general
// number text of reports and files, the report's fixed-decimal patterns, the 15-digit
// round trip behind node position matching, and the reading of a typed number.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kradon::modText {

/// The shortest decimal text that reads back (strtod, from_chars) to the same double.
/// Magnitudes in [1e-5, 1e15) are written in plain digits ("2.5", "0.00001", "123456789012345"),
/// others as a mantissa and a signed exponent of at least two digits ("1E+21", "1.5E-07",
/// "2.2250738585072014E-308"). -0 gives "0"; NaN, +inf and -inf give "NaN", "Infinity" and
/// "-Infinity". The point is always ".".
std::string GeneralNumber(double v);

/// text for an XML or HTML element or a double-quoted attribute: &, <, > and " as entities.
std::string XmlEscaped(std::string_view text);

/// v written with 15 significant digits and read back: a node at x stands at position p when
/// RoundTrip15(x) == p. Infinities and NaN come back unchanged.
double RoundTrip15(double v);

/// v in a fixed-decimal pattern such as "##0.000", "##00.000" or "#000.000": '#' and '0' are
/// digit places, at most one '.' separates the integer from the decimal places. The number of
/// places after '.' gives the decimals; the '0's before it (from the first '0' to the point)
/// give the least number of integer digits, padded with leading zeros; more integer digits are
/// always written in full. The value is rounded on its exact binary value, a half going away
/// from zero only when the double is exactly the half (0.0625 gives "0.063", but 1.0005, whose
/// double lies just below the half, gives "1.000"). A negative value gets a leading "-" unless
/// it rounds to zero. NaN and infinities give the texts of GeneralNumber. Any other character in
/// the pattern, or a second '.', throws KradonError (InvalidArgument).
std::string FormatNumber(double v, std::string_view pattern);

/// The digit places of a fixed-decimal pattern, read once for many numbers.
struct NumberPattern {
    std::size_t minIntegerDigits = 0;
    std::size_t decimals = 0;
};

/// The places of pattern, as FormatNumber reads them; throws as FormatNumber does.
NumberPattern ParseNumberPattern(std::string_view pattern);

/// FormatNumber(v, pattern) appended to out, without a text of its own.
void AppendNumber(std::string& out, double v, NumberPattern pattern);

/// AppendNumber in the pattern belowZero where v is shown with a "-", in fromZero elsewhere;
/// both patterns have the same decimals.
void AppendSignedNumber(std::string& out, double v, NumberPattern belowZero,
                        NumberPattern fromZero);

/// The finite number that text holds, or nullopt: "." is the decimal point, blanks (spaces and
/// tabs) may surround it, a sign ('+' or '-') and an exponent ("1e3", "2.5E-4") are allowed, and
/// the whole text must be consumed. Empty or blank text, "inf", "nan" and numbers out of the
/// range of a double ("1e999", "1e-400") give nullopt.
std::optional<double> ParseNumber(std::string_view text);

} // namespace kradon::modText
