// Evaluation of Curve texts by splitting at the loosest operator outside parentheses. There is
// no token list and no tree: each sub-expression is a view into the caller's text, rescanned
// when it is evaluated.
#include "model/modEqParse.h"

#include "model/KradonError.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace kradon::modEqParse {

namespace {

constexpr const char* Source = "EvaluateExpr";

constexpr std::int32_t TooManyParensNumber = ErrorNumber::ObjectErrorBase + 1001;
constexpr std::int32_t MissingParenNumber = ErrorNumber::ObjectErrorBase + 1002;
constexpr std::int32_t OutOfStackSpace = 28;

constexpr const char* DivisionByZeroText = "Division by zero";
constexpr const char* InvalidArgumentText = "Invalid procedure call or argument";
constexpr const char* OverflowText = "Overflow";

// Deeper nesting fails on its own error instead of overflowing the stack. Chains of one
// precedence are evaluated in a loop and runs of signs are stripped in a loop, so only
// parentheses, functions and changes of precedence count towards it.
constexpr int MaxDepth = 1000;
// How much of a too deeply nested text its message quotes.
constexpr std::size_t QuotedLength = 40;

constexpr int NoOperator = 11;
constexpr std::size_t NoMatch = std::numeric_limits<std::size_t>::max();

int precedenceOf(char c) {
    switch (c) {
    case '^':
        return 9;
    case '*':
    case '/':
        return 8;
    case '\\':
        return 6;
    case '%':
        return 5;
    case '+':
    case '-':
        return 4;
    default:
        return NoOperator;
    }
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

[[noreturn]] void fail(std::int32_t number, const std::string& description) {
    throw KradonError(number, Source, description);
}

[[noreturn]] void failTooManyParens(std::string_view expr) {
    fail(TooManyParensNumber, "Too many )s in '" + std::string(expr) + "'");
}

[[noreturn]] void failMissingParen(std::string_view expr) {
    fail(MissingParenNumber, "Missing ) in '" + std::string(expr) + "'");
}

[[noreturn]] void failAsConstant(std::int32_t number, std::string_view expr) {
    fail(number, "Error evaluating '" + std::string(expr) + "' as a constant.");
}

[[noreturn]] void failTooDeep(std::string_view expr) {
    const std::string quoted = expr.size() <= QuotedLength
                                   ? std::string(expr)
                                   : std::string(expr.substr(0, QuotedLength)) + "...";
    fail(OutOfStackSpace, "Expression nested too deeply in '" + quoted + "'");
}

/// A result that is not finite never leaves the evaluator.
double checkedResult(double value) {
    if (std::isnan(value))
        fail(ErrorNumber::InvalidArgument, InvalidArgumentText);
    if (std::isinf(value))
        fail(ErrorNumber::Overflow, OverflowText);
    return value;
}

/// Rounds to the nearest 32-bit integer, halves to the even neighbour whatever the current
/// floating-point rounding mode.
std::int64_t toInt32(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = fraction < 0.5 ? below : below + 1;
    if (fraction == 0.5)
        rounded = std::fmod(below, 2.0) == 0 ? below : below + 1;
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max()))
        fail(ErrorNumber::Overflow, OverflowText);
    return static_cast<std::int64_t>(rounded);
}

double power(double base, double exponent) {
    if (base == 0 && exponent < 0)
        fail(ErrorNumber::DivisionByZero, DivisionByZeroText);
    return checkedResult(std::pow(base, exponent));
}

double divide(double left, double right) {
    if (right == 0)
        fail(ErrorNumber::DivisionByZero, DivisionByZeroText);
    return checkedResult(left / right);
}

double integerDivide(double left, double right) {
    const std::int64_t a = toInt32(left);
    const std::int64_t b = toInt32(right);
    if (b == 0)
        fail(ErrorNumber::DivisionByZero, DivisionByZeroText);
    const std::int64_t quotient = a / b; // truncated toward zero
    if (quotient > std::numeric_limits<std::int32_t>::max())
        fail(ErrorNumber::Overflow, OverflowText); // -2147483648 \ -1
    return static_cast<double>(quotient);
}

double remainder(double left, double right) {
    const std::int64_t a = toInt32(left);
    const std::int64_t b = toInt32(right);
    if (b == 0)
        fail(ErrorNumber::DivisionByZero, DivisionByZeroText);
    return static_cast<double>(a % b); // the sign of the left operand
}

double combine(char op, double left, double right) {
    switch (op) {
    case '^':
        return power(left, right);
    case '*':
        return checkedResult(left * right);
    case '/':
        return divide(left, right);
    case '\\':
        return integerDivide(left, right);
    case '%':
        return remainder(left, right);
    case '+':
        return checkedResult(left + right);
    default:
        return checkedResult(left - right);
    }
}

/// name is one of "sin(", "cos(", "tan(" and "sqr(", in any letter case.
double applyFunction(std::string_view name, double argument) {
    if (equalsIgnoringCase(name, "sin("))
        return std::sin(argument);
    if (equalsIgnoringCase(name, "cos("))
        return std::cos(argument);
    if (equalsIgnoringCase(name, "tan("))
        return checkedResult(std::tan(argument));
    if (argument < 0)
        fail(ErrorNumber::InvalidArgument, InvalidArgumentText);
    return std::sqrt(argument);
}

bool isFunctionCall(std::string_view expr) {
    if (expr.size() < 6 || expr.back() != ')')
        return false;
    const std::string_view name = expr.substr(0, 4);
    return equalsIgnoringCase(name, "sin(") || equalsIgnoringCase(name, "cos(") ||
           equalsIgnoringCase(name, "tan(") || equalsIgnoringCase(name, "sqr(");
}

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    return i;
}

/// Digits with an optional "." and an optional exponent ("1e3"), nothing else: no blanks, no
/// sign in front, no "inf" or "nan".
bool isNumberText(std::string_view text) {
    const std::size_t integerEnd = skipDigits(text, 0);
    std::size_t i = integerEnd;
    std::size_t digits = integerEnd;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionEnd = skipDigits(text, i + 1);
        digits += fractionEnd - i - 1;
        i = fractionEnd;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t exponentEnd = skipDigits(text, i);
        if (exponentEnd == i)
            return false;
        i = exponentEnd;
    }
    return i == text.size();
}

/// Whether a number text that does not fit a float is too large (rather than too small):
/// the power of ten of its first significant digit is not negative.
bool isTooLarge(std::string_view text) {
    const std::size_t mark = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, mark);
    long long exponent = 0;
    if (mark != std::string_view::npos) {
        std::size_t i = mark + 1;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        for (; i < text.size() && exponent < 1'000'000'000; ++i)
            exponent = exponent * 10 + (text[i] - '0');
        exponent = negative ? -exponent : exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos)
        return false;
    const long long place = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);
    return place + exponent >= 0;
}

/// The constant a leaf stands for, read to single precision; out of float range it is an
/// overflow, below it the value is 0.
double constantOf(std::string_view leaf) {
    if (!isNumberText(leaf))
        failAsConstant(ErrorNumber::TypeMismatch, leaf);
    float value = 0;
    const auto [end, ec] = std::from_chars(leaf.data(), leaf.data() + leaf.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (isTooLarge(leaf))
            failAsConstant(ErrorNumber::Overflow, leaf);
        return 0;
    }
    if (ec != std::errc() || end != leaf.data() + leaf.size())
        failAsConstant(ErrorNumber::TypeMismatch, leaf);
    return value;
}

/// The variable's value as the arithmetic sees it: rounded to single precision.
double singlePrecision(double value) {
    if (!(std::fabs(value) <= FLT_MAX))
        fail(ErrorNumber::Overflow, OverflowText);
    return static_cast<float>(value);
}

struct Variable {
    std::string_view name;
    double value = 0;
};

/// The loosest operators outside parentheses: their precedence and positions, left to right.
struct Chain {
    int precedence = NoOperator;
    std::vector<std::size_t> positions;
};

/// One evaluation: the whole text, where each of its "(" is closed, and the variable table.
class Evaluator {
public:
    Evaluator(std::string_view whole, std::optional<Variable> variable)
        : whole_(whole), variable_(variable), closing_(matchParentheses(whole)) {}

    double evaluate(std::string_view text, int depth) const;

private:
    static std::vector<std::size_t> matchParentheses(std::string_view whole);
    std::size_t closingOf(std::string_view expr, std::size_t i) const;
    Chain scan(std::string_view expr) const;
    double evaluateChain(std::string_view expr, const Chain& chain, int depth) const;
    double evaluateOperand(std::string_view expr, int depth) const;
    double evaluateUnsigned(std::string_view expr, int depth) const;

    std::string_view whole_;
    std::optional<Variable> variable_;
    std::vector<std::size_t> closing_; // by position in whole_; NoMatch where no ")" closes it
};

std::vector<std::size_t> Evaluator::matchParentheses(std::string_view whole) {
    std::vector<std::size_t> closing(whole.size(), NoMatch);
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (whole[i] == '(') {
            open.push_back(i);
        } else if (whole[i] == ')' && !open.empty()) {
            closing[open.back()] = i;
            open.pop_back();
        }
    }
    return closing;
}

/// Position in expr of the ")" that closes the "(" at position i, or NoMatch when expr ends
/// before it.
std::size_t Evaluator::closingOf(std::string_view expr, std::size_t i) const {
    const auto offset = static_cast<std::size_t>(expr.data() - whole_.data());
    const std::size_t close = closing_[offset + i];
    if (close == NoMatch || close - offset >= expr.size())
        return NoMatch;
    return close - offset;
}

// A group in parentheses is passed over in one step: nothing inside it is at depth 0, and it
// leaves the unary flag false. So at every character looked at the depth is 0, a ")" there
// has no "(" of its own, and a "(" left open keeps the rest of the text inside it.
Chain Evaluator::scan(std::string_view expr) const {
    Chain chain;
    bool unary = true; // a "+" or "-" here would be a sign
    for (std::size_t i = 0; i < expr.size(); ++i) {
        const char c = expr[i];
        if (c == ' ')
            continue;
        if (c == ')')
            failTooManyParens(expr);
        if (c == '(') {
            i = closingOf(expr, i);
            if (i == NoMatch)
                failMissingParen(expr);
            unary = false;
            continue;
        }
        const int precedence = precedenceOf(c);
        const bool isSign = (c == '+' || c == '-') && unary;
        unary = precedence != NoOperator;
        if (precedence == NoOperator || isSign || precedence > chain.precedence)
            continue;
        // Ties join the chain, so the last of them splits first: left-associative.
        if (precedence < chain.precedence)
            chain.positions.clear();
        chain.precedence = precedence;
        chain.positions.push_back(i);
    }
    return chain;
}

double Evaluator::evaluate(std::string_view text, int depth) const {
    const std::string_view expr = trimBlanks(text);
    if (expr.empty())
        return 0;
    if (depth > MaxDepth)
        failTooDeep(expr);
    const Chain chain = scan(expr);
    if (chain.positions.empty())
        return evaluateOperand(expr, depth);
    return evaluateChain(expr, chain, depth);
}

// a op1 b op2 c is (a op1 b) op2 c. Splitting at op2 and then at op1 evaluates c, b and a in
// that order before combining anything; the loop keeps that order without recursing per
// operator, so a sum of many terms needs no deep stack.
double Evaluator::evaluateChain(std::string_view expr, const Chain& chain, int depth) const {
    const std::vector<std::size_t>& at = chain.positions;
    std::vector<double> operands(at.size() + 1);
    std::size_t end = expr.size();
    for (std::size_t k = at.size(); k-- > 0;) {
        operands[k + 1] = evaluate(expr.substr(at[k] + 1, end - at[k] - 1), depth + 1);
        end = at[k];
    }
    operands[0] = evaluate(expr.substr(0, end), depth + 1);
    double result = operands[0];
    for (std::size_t k = 0; k < at.size(); ++k)
        result = combine(expr[at[k]], result, operands[k + 1]);
    return result;
}

// A text without an operator outside parentheses. A sign takes the value of the rest, which has
// no such operator either, so signs are stripped in a loop.
double Evaluator::evaluateOperand(std::string_view expr, int depth) const {
    bool negative = false;
    while (!expr.empty() && (expr.front() == '-' || expr.front() == '+')) {
        negative = negative != (expr.front() == '-');
        expr = trimBlanks(expr.substr(1));
    }
    const double value = evaluateUnsigned(expr, depth);
    return negative ? -value : value;
}

double Evaluator::evaluateUnsigned(std::string_view expr, int depth) const {
    if (expr.empty())
        return 0;
    if (expr.size() >= 2 && expr.front() == '(' && expr.back() == ')')
        return evaluate(expr.substr(1, expr.size() - 2), depth + 1);
    if (isFunctionCall(expr))
        return applyFunction(expr.substr(0, 4),
                             evaluate(expr.substr(4, expr.size() - 5), depth + 1));
    if (variable_ && equalsIgnoringCase(expr, variable_->name))
        return singlePrecision(variable_->value);
    return constantOf(expr);
}

} // namespace

double EvaluateExpr(std::string_view expr) {
    const std::string_view trimmed = trimBlanks(expr);
    return Evaluator(trimmed, std::nullopt).evaluate(trimmed, 0);
}

double EvaluateExprAt(std::string_view expr, std::string_view name, double value) {
    const std::string_view trimmed = trimBlanks(expr);
    return Evaluator(trimmed, Variable{name, value}).evaluate(trimmed, 0);
}

} // namespace kradon::modEqParse
