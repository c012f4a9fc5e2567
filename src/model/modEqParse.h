// The evaluator of Curve texts such as "200+10*sin(x/3)": plain arithmetic with "^", "*", "/",
// "\" (integer division), "%" (remainder), "+", "-", parentheses, signs and the functions sin,
// cos, tan and sqr, over constants and one optional variable.
#pragma once

#include "model/KradonError.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

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

/// A text read once and evaluated at as many values of its variable as needed, each giving
/// exactly what EvaluateExprAt gives, failures included.
class CompiledExpr {
public:
    /// variable is the name of the variable (without regard to letter case), or none. Never
    /// fails: a text that cannot be evaluated fails when it is evaluated.
    CompiledExpr(std::string_view expr, std::optional<std::string_view> variable);

    /// EvaluateExprAt(expr, variable, value): value rounded to single precision.
    double at(double value) const;
    /// The same arithmetic with value as it is, in full double precision: the smooth function
    /// the text describes rather than its steps between single-precision positions.
    double atFullPrecision(double value) const;
    /// Whether the variable appears in the text at all.
    bool usesVariable() const { return usesVariable_; }

    /// The steps of the stack machine that evaluates the text.
    enum class Op : std::uint8_t { Constant, Variable, Negate, Combine, Function, Fail };
    struct Step {
        Op op;
        char symbol;       // the operator of Combine, the function of Function
        std::size_t error; // the error Fail raises
        double value;      // the value of Constant
    };

private:
    double run(double value, bool single) const;

    std::vector<Step> steps_;
    std::vector<KradonError> errors_;
    std::size_t stackDepth_ = 0;
    bool usesVariable_ = false;
};

} // namespace kradon::modEqParse
