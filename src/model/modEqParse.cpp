// Evaluation of Curve texts by splitting at the loosest operator outside parentheses. The
// splitting is done once, into the steps of a small stack machine, so a Curve evaluated at many
// positions is scanned only once.
#include "model/modEqParse.h"

#include "model/KradonError.h"

#include <algorithm>
#include <array>
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

[[noreturn, gnu::noinline]] void failNotFinite(double value) {
    if (std::isnan(value))
        fail(ErrorNumber::InvalidArgument, InvalidArgumentText);
    fail(ErrorNumber::Overflow, OverflowText);
}

/// A result that is not finite never leaves the evaluator. The check is on every operation, so
/// the failure is kept out of line.
inline double checkedResult(double value) {
    if (!std::isfinite(value)) [[unlikely]]
        failNotFinite(value);
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

/// The function a call names, by the first letter of its lower-case name: "sin(", "cos(",
/// "tan(" or "sqr(" ('q'), in any letter case.
char functionOf(std::string_view name) {
    if (equalsIgnoringCase(name, "sin("))
        return 's';
    if (equalsIgnoringCase(name, "cos("))
        return 'c';
    if (equalsIgnoringCase(name, "tan("))
        return 't';
    return 'q';
}

double applyFunction(char function, double argument) {
    switch (function) {
    case 's':
        return std::sin(argument);
    case 'c':
        return std::cos(argument);
    case 't':
        return checkedResult(std::tan(argument));
    default:
        if (argument < 0)
            fail(ErrorNumber::InvalidArgument, InvalidArgumentText);
        return std::sqrt(argument);
    }
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

/// The loosest operators outside parentheses: their precedence and positions, left to right.
struct Chain {
    int precedence = NoOperator;
    std::vector<std::size_t> positions;
};

using Step = CompiledExpr::Step;
using Op = CompiledExpr::Op;

/// Turns a text into the steps that evaluate it, in the order the splitting evaluates its
/// parts: the right operands of a chain before the left one, each part's own failure where the
/// part would be evaluated. Failures that depend on the text alone (parentheses, constants,
/// nesting) become steps that raise them, so a text compiles whatever it holds.
class Compiler {
public:
    Compiler(std::string_view whole, std::optional<std::string_view> variable)
        : whole_(whole), variable_(variable), closing_(matchParentheses(whole)) {}

    void compile(std::string_view text, int depth);
    std::vector<Step> steps;
    std::vector<KradonError> errors;
    std::size_t stackDepth = 0;
    bool usesVariable = false;

private:
    static std::vector<std::size_t> matchParentheses(std::string_view whole);
    std::size_t closingOf(std::string_view expr, std::size_t i) const;
    Chain scan(std::string_view expr) const;
    void compileChain(std::string_view expr, const Chain& chain, int depth);
    void compileOperand(std::string_view expr, int depth);
    void compileUnsigned(std::string_view expr, int depth);
    void emit(Step step, int pushes);
    void emitFailure(const KradonError& error);

    std::string_view whole_;
    std::optional<std::string_view> variable_;
    std::vector<std::size_t> closing_; // by position in whole_; NoMatch where no ")" closes it
    std::size_t depthNow_ = 0;
};

std::vector<std::size_t> Compiler::matchParentheses(std::string_view whole) {
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
std::size_t Compiler::closingOf(std::string_view expr, std::size_t i) const {
    const auto offset = static_cast<std::size_t>(expr.data() - whole_.data());
    const std::size_t close = closing_[offset + i];
    if (close == NoMatch || close - offset >= expr.size())
        return NoMatch;
    return close - offset;
}

// A group in parentheses is passed over in one step: nothing inside it is at depth 0, and it
// leaves the unary flag false. So at every character looked at the depth is 0, a ")" there
// has no "(" of its own, and a "(" left open keeps the rest of the text inside it.
Chain Compiler::scan(std::string_view expr) const {
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

/// Adds a step that leaves pushes more (or, below zero, fewer) values on the stack.
void Compiler::emit(Step step, int pushes) {
    steps.push_back(step);
    depthNow_ = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(depthNow_) + pushes);
    stackDepth = std::max(stackDepth, depthNow_);
}

/// A part that cannot be evaluated stands in its place as a step that raises its error; for
/// the count of the stack it stands for the value it would have given.
void Compiler::emitFailure(const KradonError& error) {
    errors.push_back(error);
    emit({Op::Fail, 0, errors.size() - 1, 0}, 1);
}

void Compiler::compile(std::string_view text, int depth) {
    const std::string_view expr = trimBlanks(text);
    if (expr.empty())
        return emit({Op::Constant, 0, 0, 0}, 1);
    Chain chain;
    try {
        if (depth > MaxDepth)
            failTooDeep(expr);
        chain = scan(expr);
    } catch (const KradonError& error) {
        return emitFailure(error);
    }
    if (chain.positions.empty())
        return compileOperand(expr, depth);
    compileChain(expr, chain, depth);
}

// a op1 b op2 c is (a op1 b) op2 c. Splitting at op2 and then at op1 evaluates c, b and a in
// that order before combining anything; the steps keep that order, each operator then taking
// the running result from the top of the stack and its right operand from below it. A loop
// rather than a recursion per operator, so a sum of many terms needs no deep stack.
void Compiler::compileChain(std::string_view expr, const Chain& chain, int depth) {
    const std::vector<std::size_t>& at = chain.positions;
    std::size_t end = expr.size();
    for (std::size_t k = at.size(); k-- > 0;) {
        compile(expr.substr(at[k] + 1, end - at[k] - 1), depth + 1);
        end = at[k];
    }
    compile(expr.substr(0, end), depth + 1);
    for (const std::size_t position : at)
        emit({Op::Combine, expr[position], 0, 0}, -1);
}

// A text without an operator outside parentheses. A sign takes the value of the rest, which has
// no such operator either, so signs are stripped in a loop.
void Compiler::compileOperand(std::string_view expr, int depth) {
    bool negative = false;
    while (!expr.empty() && (expr.front() == '-' || expr.front() == '+')) {
        negative = negative != (expr.front() == '-');
        expr = trimBlanks(expr.substr(1));
    }
    compileUnsigned(expr, depth);
    if (negative)
        emit({Op::Negate, 0, 0, 0}, 0);
}

void Compiler::compileUnsigned(std::string_view expr, int depth) {
    if (expr.empty())
        return emit({Op::Constant, 0, 0, 0}, 1);
    if (expr.size() >= 2 && expr.front() == '(' && expr.back() == ')')
        return compile(expr.substr(1, expr.size() - 2), depth + 1);
    if (isFunctionCall(expr)) {
        compile(expr.substr(4, expr.size() - 5), depth + 1);
        return emit({Op::Function, functionOf(expr.substr(0, 4)), 0, 0}, 0);
    }
    if (variable_ && equalsIgnoringCase(expr, *variable_)) {
        usesVariable = true;
        return emit({Op::Variable, 0, 0, 0}, 1);
    }
    try {
        const double value = constantOf(expr);
        emit({Op::Constant, 0, 0, value}, 1);
    } catch (const KradonError& error) {
        emitFailure(error);
    }
}

} // namespace

CompiledExpr::CompiledExpr(std::string_view expr, std::optional<std::string_view> variable) {
    const std::string_view trimmed = trimBlanks(expr);
    Compiler compiler(trimmed, variable);
    compiler.compile(trimmed, 0);
    steps_ = std::move(compiler.steps);
    errors_ = std::move(compiler.errors);
    stackDepth_ = compiler.stackDepth;
    usesVariable_ = compiler.usesVariable;
}

double CompiledExpr::at(double value) const {
    return run(value, true);
}

double CompiledExpr::atFullPrecision(double value) const {
    return run(value, false);
}

double CompiledExpr::run(double value, bool single) const {
    // Short texts, the usual ones, run on a stack on the machine stack.
    constexpr std::size_t Inline = 32;
    std::array<double, Inline> inlineStack; // filled as the steps push, never read before
    inlineStack[0] = 0;
    std::vector<double> heapStack;
    double* stack = inlineStack.data();
    if (stackDepth_ > Inline) {
        heapStack.resize(stackDepth_);
        stack = heapStack.data();
    }
    std::size_t top = 0; // the number of values on the stack
    for (const Step& step : steps_) {
        switch (step.op) {
        case Op::Constant:
            stack[top++] = step.value;
            break;
        case Op::Variable:
            stack[top++] = single ? singlePrecision(value) : value;
            break;
        case Op::Negate:
            stack[top - 1] = -stack[top - 1];
            break;
        case Op::Combine:
            // The running result is on top, its right operand below it.
            stack[top - 2] = combine(step.symbol, stack[top - 1], stack[top - 2]);
            --top;
            break;
        case Op::Function:
            stack[top - 1] = applyFunction(step.symbol, stack[top - 1]);
            break;
        case Op::Fail:
            throw errors_[step.error];
        }
    }
    return stack[0];
}

double EvaluateExpr(std::string_view expr) {
    return CompiledExpr(expr, std::nullopt).at(0);
}

double EvaluateExprAt(std::string_view expr, std::string_view name, double value) {
    return CompiledExpr(expr, name).at(value);
}

} // namespace kradon::modEqParse
