// Tests of the Curve expression evaluator: values, precedence, functions, the errors and the
// texts that name the failing sub-expression, and hostile inputs that must fail cleanly.
#include "HostileExpressions.h"
#include "model/KradonError.h"
#include "model/modEqParse.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using kradon::KradonError;
using kradon::modEqParse::EvaluateExpr;
using kradon::modEqParse::EvaluateExprAt;
using kradon::test::Repeated;

struct ValueCase {
    std::string expr;
    std::optional<double> x; // the value of "x", or no variable
    double expected;
};

double evaluate(const std::string& expr, std::optional<double> x) {
    return x ? EvaluateExprAt(expr, "x", *x) : EvaluateExpr(expr);
}

/// What an evaluation gives: "value" and the value's bits (0 and -0 alike), "not finite", or the
/// error's source, number and text.
template <class Evaluation> std::string outcome(Evaluation&& evaluation) {
    try {
        const double v = evaluation();
        return std::isfinite(v) ? "value " + std::to_string(std::bit_cast<std::uint64_t>(v + 0.0))
                                : "not finite";
    } catch (const KradonError& e) {
        return std::string(e.source()) + " " + std::to_string(e.number()) + " " + e.what();
    }
}

/// Expects evaluating expr (with the variable x when given) to raise this error.
void expectError(const std::string& expr, std::optional<double> x, std::int32_t number,
                 const std::string& description) {
    EXPECT_EQ(outcome([&] { return evaluate(expr, x); }),
              "EvaluateExpr " + std::to_string(number) + " " + description)
        << expr.substr(0, 40);
}

constexpr std::int32_t TooManyParens = static_cast<std::int32_t>(0x800403E9u);
constexpr std::int32_t MissingParen = static_cast<std::int32_t>(0x800403EAu);

// Results of a few double operations on exactly representable operands are exact, so == holds.
// "*" binds tighter than "\", "\" tighter than "%", "%" tighter than "+"; all are left
// associative; "\" rounds its operands half to even and truncates its quotient toward zero;
// "%" takes the sign of its left operand.
TEST(modEqParseTest, EvaluatesValuesWithPrecedenceAndLeftAssociativity) {
    const ValueCase cases[] = {
        {"", {}, 0},          {"   ", {}, 0},         {"  7  ", {}, 7},   {"2*-3", {}, -6},
        {"2--3", {}, 5},      {"-2^2", {}, 4},        {"7\\2", {}, 3},    {"-7\\2", {}, -3},
        {"2.5\\1", {}, 2},    {"7%3", {}, 1},         {"-7%3", {}, -1},   {"SIN(0)+1", {}, 1},
        {"sqr(x)", 4.0, 2},   {"(x)-1", 3.0, 2},      {"(1)+(2)", {}, 3}, {"X*2", 1.5, 3},
        {"5-", {}, 5},        {"*5", {}, 0},          {"1e3", {}, 1000},  {"8-3-2", {}, 3},
        {"2^3^2", {}, 64},    {"2+3*4", {}, 14},      {"2*3+4", {}, 10},  {"(2+3)*4", {}, 20},
        {"2*3^2", {}, 18},    {"16/4/2", {}, 2},      {"16/4*2", {}, 8},  {"1-2+3", {}, 2},
        {" 1 - - 2 ", {}, 3}, {"-(2+3)", {}, -5},     {"+-+2", {}, -2},   {"2^-1", {}, 0.5},
        {"((4))", {}, 4},     {"200+10*x", 3.0, 230}, {"x^2", -3.0, 9},   {"-7%-3", {}, -1},
        {"1+7%4", {}, 4},     {"-2.5\\1", {}, -2},    {"2.6\\1", {}, 3},  {"2*3\\4", {}, 1},
        {"7\\2*2", {}, 1},    {"10%4\\2", {}, 0},     {"7%4+1", {}, 4},   {"17\\4\\2", {}, 2},
        {"20%7%4", {}, 2},    {"3.5\\1", {}, 4},      {"7\\-2", {}, -3},  {"7%-3", {}, 1}};
    for (const ValueCase& c : cases)
        EXPECT_EQ(evaluate(c.expr, c.x), c.expected) << c.expr;
    EXPECT_EQ(EvaluateExpr("-2147483648%-1"), 0);
    EXPECT_EQ(EvaluateExpr("2147483520\\1"), 2147483520); // the largest such float in range
}

// Library functions may differ from the mathematical value by an ulp or so.
TEST(modEqParseTest, EvaluatesFunctionsInRadians) {
    const double pi = std::acos(-1.0);
    const ValueCase cases[] = {{"sin(x)", pi / 2, 1},        {"Cos(0)", {}, 1},
                               {"cos(x)", pi, -1},           {"TAN(x)", pi / 4, 1},
                               {"sqr(2)*sqr(2)", {}, 2},     {"sqr( 9 )", {}, 3},
                               {"sqr(x)", 0.0, 0},           {"sin( )", {}, 0},
                               {"-sqr(16)", {}, -4},         {"sqr(sqr(16))", {}, 2},
                               {"200+10*sin(x/3)", 0.0, 200}};
    for (const ValueCase& c : cases)
        EXPECT_NEAR(evaluate(c.expr, c.x), c.expected, 1e-6) << c.expr;
}

TEST(modEqParseTest, ReadsConstantsAndTheVariableInSinglePrecision) {
    EXPECT_EQ(EvaluateExprAt("x", "x", 0.1234567891), 0.12345679104328156);
    EXPECT_EQ(EvaluateExpr("0.1234567891"), 0.12345679104328156);
    EXPECT_EQ(EvaluateExpr("0.1"), static_cast<double>(0.1f));
    EXPECT_EQ(EvaluateExpr(".5"), 0.5);
    EXPECT_EQ(EvaluateExpr("2.E2"), 200);
    EXPECT_EQ(EvaluateExpr("0." + std::string(49, '0') + "1"), 0); // below single precision
    EXPECT_EQ(EvaluateExpr("0.00000000000000000000000000000000000000000000000000001e5"), 0);
    EXPECT_EQ(EvaluateExpr("0.01e40"), static_cast<double>(1e38f));
    EXPECT_EQ(EvaluateExpr("5."), 5);
    EXPECT_EQ(EvaluateExpr("2.5E1"), 25);
    EXPECT_EQ(EvaluateExpr("007"), 7);
    EXPECT_EQ(EvaluateExprAt("X", "x", 2), 2);
    EXPECT_EQ(EvaluateExprAt("len*2", "LEN", 2), 4);
}

// The texts name the failing sub-expression: of two failing sides, the right one is met first.
// Error 13 names a text that is no constant, 6 one beyond single precision however its digits
// and exponent share the magnitude. Arithmetic raises errors instead of giving infinity or NaN.
TEST(modEqParseTest, RaisesErrorsNamingTheSubExpression) {
    expectError("(1+2", {}, MissingParen, "Missing ) in '(1+2'");
    expectError("1+2)", {}, TooManyParens, "Too many )s in '1+2)'");
    expectError("2*(3+(4)", {}, MissingParen, "Missing ) in '2*(3+(4)'");
    expectError("(1)(2)", {}, TooManyParens, "Too many )s in '1)(2'");
    const auto constant = [](const std::string& text) {
        return "Error evaluating '" + text + "' as a constant.";
    };
    expectError("x", {}, 13, constant("x"));
    expectError("abs(x)", 1.0, 13, constant("abs(x)"));
    expectError("2*(1+abs(x))", 1.0, 13, constant("abs(x)"));
    expectError("y+1", 1.0, 13, constant("y"));
    expectError("1/0-foo", {}, 13, constant("foo"));
    expectError("a+b", {}, 13, constant("b"));
    expectError("1e-3", {}, 13, constant("1e"));
    for (const std::string text :
         {"1 2", "sin()", "inf", "1,5", ".", "e5", "1e", "1.5e", "1.2.3", "12a"})
        expectError(text, {}, 13, constant(text));
    // The place of the first digit counts from the point, leading zeros or not.
    for (const std::string text : {"1e39", "0.001e42", "999999999e30", "00000000000000000000.1e40"})
        expectError(text, {}, 6, constant(text));

    for (const std::string text : {"1/0", "0/0", "7\\0", "7%0", "7\\0.4", "0^-1", "foo-1/0"})
        expectError(text, {}, 11, "Division by zero");
    expectError("1/(x-2)", 2.0, 11, "Division by zero");
    for (const std::string text : {"sqr(-1)", "(-8)^(1/3)"})
        expectError(text, {}, 5, "Invalid procedure call or argument");
    for (const std::string text : {"3e9\\1", "1\\3e9", "2147483647.5%2", "(-2147483648)\\-1",
                                   "10^300^2", "1e38*1e38*1e38*1e38*1e38*1e38*1e38*1e38*1e38"})
        expectError(text, {}, 6, "Overflow");
    expectError("x", 1e300, 6, "Overflow");
    expectError("-" + Repeated("1e38*", 8) + "1e4-" + Repeated("1e38*", 8) + "1e4", {}, 6,
                "Overflow");
}

TEST(modEqParseTest, EvaluatesLongChainsWithoutDeepRecursion) {
    EXPECT_EQ(EvaluateExpr("1" + Repeated("+1", 99'999)), 100'000);
    EXPECT_EQ(EvaluateExpr("1" + Repeated("*1", 99'999)), 1);
    EXPECT_EQ(EvaluateExpr(Repeated("-", 100'000) + "3"), 3);
    EXPECT_EQ(EvaluateExpr(Repeated("(", 500) + "2" + Repeated(")", 500)), 2);
}

TEST(modEqParseTest, FailsCleanlyOnHostileNesting) {
    EXPECT_TRUE(outcome([] {
                    return EvaluateExpr(std::string(100'000, '('));
                }).starts_with("EvaluateExpr " + std::to_string(MissingParen)));
    expectError(Repeated("(", 50'000) + "1" + Repeated(")", 50'000), {}, 28,
                "Expression nested too deeply in '" + std::string(40, '(') + "...'");
    const std::string forty = Repeated("1+", 19) + "11"; // quoted whole
    expectError(Repeated("(", 1001) + forty + Repeated(")", 1001), {}, 28,
                "Expression nested too deeply in '" + forty + "'");
    const std::string terms = Repeated("(1+", 5'000) + "1" + Repeated(")", 5'000);
    EXPECT_THROW(EvaluateExpr(terms), KradonError);
    // Each operand of an operator is a level deeper: 500 sums nest 1000 levels, on either side.
    for (const auto& [open, close] : {std::pair{"1+(", ")"}, {"(", "+1)"}}) {
        EXPECT_EQ(EvaluateExpr(Repeated(open, 500) + "0" + Repeated(close, 500)), 500) << open;
        EXPECT_THROW(EvaluateExpr(Repeated(open, 501) + "0" + Repeated(close, 501)), KradonError)
            << open;
    }
    // 1000 levels are allowed, whether parentheses or functions make them; the next is refused.
    for (const std::string level : {"(", "sin("}) {
        EXPECT_EQ(EvaluateExpr(Repeated(level, 1000) + "0" + Repeated(")", 1000)), 0) << level;
        EXPECT_THROW(EvaluateExpr(Repeated(level, 1001) + "0" + Repeated(")", 1001)), KradonError)
            << level;
    }
}

// Each hostile text is 100,000 characters or so, built to make a naive reader recurse or
// backtrack (how fast they finish is measured by the evaluator's benchmark); random texts are over
// the evaluator's own alphabet. Each ends in a finite value or the evaluator's error.
TEST(modEqParseTest, HostileAndRandomTextsGiveFiniteValuesOrErrors) {
    std::vector<std::string> texts = kradon::test::HostileExpressions();
    const std::string alphabet = "0123456789.+-*/\\%^() xXsincotaqre";
    std::mt19937 random(20240607);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int n = 0; n < 5'000; ++n) {
        texts.emplace_back();
        for (int i = length(random); i > 0; --i)
            texts.back() += alphabet[pick(random)];
    }
    for (const std::string& text : texts) {
        const std::string result = outcome([&] { return EvaluateExprAt(text, "x", 1.5); });
        EXPECT_TRUE(result.starts_with("value") || result.starts_with("EvaluateExpr"))
            << text.substr(0, 40) << ": " << result;
    }
}

} // namespace

// A text compiled once gives, at every value, what evaluating it afresh gives: the same value, or
// the same error (number and text), the first one met in the evaluator's order.
TEST(CompiledExprTest, GivesWhatEvaluateExprAtGivesAtEveryValue) {
    for (const std::string& text : std::vector<std::string>{
             "200+10*sin(x/3)", "10000*(1+x/4)^3", "1/(x-2)", "sqr(4-x)", "foo-1/x",
             "x\\1+x%3-tan(x)", "(1+2", "1/0-foo", "--x^2", "x*" + Repeated("(x+1)*", 40) + "1"}) {
        const kradon::modEqParse::CompiledExpr compiled(text, "x");
        for (const double x : {-3.0, 0.0, 0.1, 1.5, 2.0, 4.0, 7.25, 1e300})
            EXPECT_EQ(outcome([&] { return compiled.at(x); }),
                      outcome([&] { return EvaluateExprAt(text, "x", x); }))
                << text << " at " << x;
    }
}

TEST(CompiledExprTest, FullPrecisionSeesTheVariableUnrounded) {
    const kradon::modEqParse::CompiledExpr compiled("x*3", "x");
    EXPECT_EQ(compiled.at(0.1), static_cast<double>(0.1f) * 3);
    EXPECT_EQ(compiled.atFullPrecision(0.1), 0.1 * 3);
    EXPECT_EQ(compiled.atFullPrecision(1e300), 3e300); // no single-precision overflow
    EXPECT_TRUE(compiled.usesVariable());
    EXPECT_FALSE(kradon::modEqParse::CompiledExpr("2*(3+1)", "x").usesVariable());
    EXPECT_FALSE(kradon::modEqParse::CompiledExpr("x", std::nullopt).usesVariable());
}
