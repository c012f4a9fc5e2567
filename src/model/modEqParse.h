// The evaluator of Curve texts such as "200+10*sin(x/3)": plain arithmetic with "^", "*", "/",
// "\" (integer division), "%" (remainder), "+", "-", parentheses, signs and the functions sin,
// cos, tan and sqr, over constants and one optional variable.
#pragma once

#include <string_view>

namespace kradon::modEqParse {

/// Value of expr, which has no variable; blanks around it are ignored and the empty text is 0.
/// Constants are read as single-precision numbers with a "." decimal point, arithmetic is in
/// doubles and angles are in radians. Throws KradonError (source "EvaluateExpr") on unbalanced
/// parentheses, a leaf that is not a number, a division by zero, an invalid argument, an
/// overflow, a non-finite result, or nesting too deep to evaluate.
double EvaluateExpr(std::string_view expr);

/// Value of expr with the variable name (matched without regard to letter case) bound to value,
/// which enters the arithmetic rounded to single precision. Fails as EvaluateExpr does.
double EvaluateExprAt(std::string_view expr, std::string_view name, double value);

} // namespace kradon::modEqParse
