// Tests of the Curve expression evaluator: values, precedence, functions, the errors and the
// texts that name the failing sub-expression, and hostile inputs that must fail cleanly.
#include "HostileExpressions.h"
#include "model/KradonError.h"
#include "model/modEqParse.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace {

using kradon::KradonError;
using kradon::modEqParse::EvaluateExpr;
using kradon::modEqParse::EvaluateExprAt;

struct ValueCase {
    std::string expr;
    std::optional<double> x; // the value of "x", or no variable
    double expected;
};

double evaluate(const ValueCase& c) {
    return c.x ? EvaluateExprAt(c.expr, "x", *c.x) : EvaluateExpr(c.expr);
}

struct ErrorCase {
    std::string expr;
    std::optional<double> x;
    std::int32_t number;
    std::string description;
};

// Runs the case and returns the error it raised; fails the test when it raises none.
std::optional<KradonError> errorOf(const ErrorCase& c) {
    try {
        c.x ? EvaluateExprAt(c.expr, "x", *c.x) : EvaluateExpr(c.expr);
    } catch (const KradonError& e) {
        return e;
    }
    return std::nullopt;
}

std::string repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

constexpr std::int32_t TooManyParens = static_cast<std::int32_t>(0x800403E9u);
constexpr std::int32_t MissingParen = static_cast<std::int32_t>(0x800403EAu);

// Results of a few double operations on exactly representable operands are exact, so == holds.
TEST(modEqParseTest, EvaluatesDocumentedExamples) {
    const ValueCase cases[] = {
        {"", std::nullopt, 0},        {"   ", std::nullopt, 0},
        {"  7  ", std::nullopt, 7},   {"2*-3", std::nullopt, -6},
        {"2--3", std::nullopt, 5},    {"-2^2", std::nullopt, 4},
        {"7\\2", std::nullopt, 3},    {"-7\\2", std::nullopt, -3},
        {"2.5\\1", std::nullopt, 2},  {"7%3", std::nullopt, 1},
        {"-7%3", std::nullopt, -1},   {"SIN(0)+1", std::nullopt, 1},
        {"sqr(x)", 4.0, 2},           {"(x)-1", 3.0, 2},
        {"(1)+(2)", std::nullopt, 3}, {"X*2", 1.5, 3},
        {"5-", std::nullopt, 5},      {"*5", std::nullopt, 0},
        {"1e3", std::nullopt, 1000},
    };
    for (const ValueCase& c : cases)
        EXPECT_EQ(evaluate(c), c.expected) << c.expr;
}

TEST(modEqParseTest, AppliesPrecedenceAndLeftAssociativity) {
    const ValueCase cases[] = {
        {"8-3-2", std::nullopt, 3},
        {"2^3^2", std::nullopt, 64},
        {"2+3*4", std::nullopt, 14},
        {"2*3+4", std::nullopt, 10},
        {"(2+3)*4", std::nullopt, 20},
        {"2*3^2", std::nullopt, 18},
        {"16/4/2", std::nullopt, 2},
        {"16/4*2", std::nullopt, 8},
        {"2*3\\4", std::nullopt, 1},  // "*" binds tighter than "\"
        {"7\\2*2", std::nullopt, 1},  // 7 \ 4
        {"10%4\\2", std::nullopt, 0}, // "\" binds tighter than "%": 10 % 2
        {"7%4+1", std::nullopt, 4},   // "%" binds tighter than "+"
        {"1+7%4", std::nullopt, 4},
        {"17\\4\\2", std::nullopt, 2}, // (17 \ 4) \ 2
        {"20%7%4", std::nullopt, 2},   // (20 % 7) % 4
        {"1-2+3", std::nullopt, 2},
        {" 1 - - 2 ", std::nullopt, 3},
        {"-(2+3)", std::nullopt, -5},
        {"+-+2", std::nullopt, -2},
        {"2^-1", std::nullopt, 0.5},
        {"3.5\\1", std::nullopt, 4}, // halves round to the even neighbour
        {"-2.5\\1", std::nullopt, -2},
        {"2.6\\1", std::nullopt, 3},
        {"7\\-2", std::nullopt, -3}, // the quotient is truncated toward zero
        {"7%-3", std::nullopt, 1},   // the remainder takes the sign of the left operand
        {"-7%-3", std::nullopt, -1},
        {"((4))", std::nullopt, 4},
        {"200+10*x", 3.0, 230},
        {"x^2", -3.0, 9},
    };
    for (const ValueCase& c : cases)
        EXPECT_EQ(evaluate(c), c.expected) << c.expr;
}

// Library functions may differ from the mathematical value by an ulp or so.
TEST(modEqParseTest, EvaluatesFunctionsInRadians) {
    const double pi = std::acos(-1.0);
    const ValueCase cases[] = {
        {"sin(x)", pi / 2, 1},
        {"Cos(0)", std::nullopt, 1},
        {"cos(x)", pi, -1},
        {"TAN(x)", pi / 4, 1},
        {"sqr(2)*sqr(2)", std::nullopt, 2},
        {"sqr( 9 )", std::nullopt, 3},
        {"sqr(x)", 0.0, 0},
        {"sin( )", std::nullopt, 0},
        {"-sqr(16)", std::nullopt, -4},
        {"sqr(sqr(16))", std::nullopt, 2},
        {"200+10*sin(x/3)", 0.0, 200},
    };
    for (const ValueCase& c : cases)
        EXPECT_NEAR(evaluate(c), c.expected, 1e-6) << c.expr;
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

TEST(modEqParseTest, RaisesErrorsNamingTheSubExpression) {
    const ErrorCase cases[] = {
        {"(1+2", std::nullopt, MissingParen, "Missing ) in '(1+2'"},
        {"1+2)", std::nullopt, TooManyParens, "Too many )s in '1+2)'"},
        {"2*(3+(4)", std::nullopt, MissingParen, "Missing ) in '2*(3+(4)'"},
        {"(1)(2)", std::nullopt, TooManyParens, "Too many )s in '1)(2'"},
        {"abs(x)", 1.0, 13, "Error evaluating 'abs(x)' as a constant."},
        {"2*(1+abs(x))", 1.0, 13, "Error evaluating 'abs(x)' as a constant."},
        {"y+1", 1.0, 13, "Error evaluating 'y' as a constant."},
        {"x", std::nullopt, 13, "Error evaluating 'x' as a constant."},
        {"1/0-foo", std::nullopt, 13, "Error evaluating 'foo' as a constant."},
        {"a+b", std::nullopt, 13, "Error evaluating 'b' as a constant."}, // right side first
        {"1e-3", std::nullopt, 13, "Error evaluating '1e' as a constant."},
        {"1 2", std::nullopt, 13, "Error evaluating '1 2' as a constant."},
        {"sin()", std::nullopt, 13, "Error evaluating 'sin()' as a constant."},
        {"inf", std::nullopt, 13, "Error evaluating 'inf' as a constant."},
        {"1,5", std::nullopt, 13, "Error evaluating '1,5' as a constant."},
        {"1e39", std::nullopt, 6, "Error evaluating '1e39' as a constant."},
        // Above single precision, however the digits and the exponent share the magnitude.
        {"0.001e42", std::nullopt, 6, "Error evaluating '0.001e42' as a constant."},
        {"999999999e30", std::nullopt, 6, "Error evaluating '999999999e30' as a constant."},
        {".", std::nullopt, 13, "Error evaluating '.' as a constant."},
        {"e5", std::nullopt, 13, "Error evaluating 'e5' as a constant."},
        {"1e", std::nullopt, 13, "Error evaluating '1e' as a constant."},
        {"1.5e", std::nullopt, 13, "Error evaluating '1.5e' as a constant."},
        {"1.2.3", std::nullopt, 13, "Error evaluating '1.2.3' as a constant."},
        {"12a", std::nullopt, 13, "Error evaluating '12a' as a constant."},
    };
    for (const ErrorCase& c : cases) {
        const std::optional<KradonError> e = errorOf(c);
        ASSERT_TRUE(e.has_value()) << c.expr;
        EXPECT_EQ(e->number(), c.number) << c.expr;
        EXPECT_EQ(e->source(), "EvaluateExpr") << c.expr;
        EXPECT_EQ(std::string(e->what()), c.description) << c.expr;
    }
}

TEST(modEqParseTest, RaisesArithmeticErrorsInsteadOfInfinityOrNaN) {
    const ErrorCase cases[] = {
        {"1/0", std::nullopt, 11, "Division by zero"},
        {"0/0", std::nullopt, 11, "Division by zero"},
        {"1/(x-2)", 2.0, 11, "Division by zero"},
        {"7\\0", std::nullopt, 11, "Division by zero"},
        {"7\\0.4", std::nullopt, 11, "Division by zero"}, // 0.4 rounds to 0
        {"7%0", std::nullopt, 11, "Division by zero"},
        {"0^-1", std::nullopt, 11, "Division by zero"},
        {"sqr(-1)", std::nullopt, 5, "Invalid procedure call or argument"},
        {"(-8)^(1/3)", std::nullopt, 5, "Invalid procedure call or argument"},
        {"3e9\\1", std::nullopt, 6, "Overflow"},
        {"1\\3e9", std::nullopt, 6, "Overflow"},
        {"2147483647.5%2", std::nullopt, 6, "Overflow"},
        {"(-2147483648)\\-1", std::nullopt, 6, "Overflow"},
        {"foo-1/0", std::nullopt, 11, "Division by zero"}, // right side first
        {"10^300^2", std::nullopt, 6, "Overflow"},
        {"1e38*1e38*1e38*1e38*1e38*1e38*1e38*1e38*1e38", std::nullopt, 6, "Overflow"},
        {"-" + repeated("1e38*", 8) + "1e4-" + repeated("1e38*", 8) + "1e4", std::nullopt, 6,
         "Overflow"},
        {"x", 1e300, 6, "Overflow"},
    };
    for (const ErrorCase& c : cases) {
        const std::optional<KradonError> e = errorOf(c);
        ASSERT_TRUE(e.has_value()) << c.expr;
        EXPECT_EQ(e->number(), c.number) << c.expr;
        EXPECT_EQ(e->source(), "EvaluateExpr") << c.expr;
        EXPECT_EQ(std::string(e->what()), c.description) << c.expr;
    }
    EXPECT_EQ(EvaluateExpr("-2147483648%-1"), 0);
    EXPECT_EQ(EvaluateExpr("2147483520\\1"), 2147483520); // the largest such float in range
}

TEST(modEqParseTest, EvaluatesLongChainsWithoutDeepRecursion) {
    EXPECT_EQ(EvaluateExpr("1" + repeated("+1", 99'999)), 100'000);
    EXPECT_EQ(EvaluateExpr("1" + repeated("*1", 99'999)), 1);
    EXPECT_EQ(EvaluateExpr(repeated("-", 100'000) + "3"), 3);
    EXPECT_EQ(EvaluateExpr(repeated("(", 500) + "2" + repeated(")", 500)), 2);
}

TEST(modEqParseTest, FailsCleanlyOnHostileNesting) {
    const std::string open(100'000, '(');
    try {
        EvaluateExpr(open);
        FAIL() << "no error";
    } catch (const KradonError& e) {
        EXPECT_EQ(e.number(), MissingParen);
    }
    const std::string nested = repeated("(", 50'000) + "1" + repeated(")", 50'000);
    try {
        EvaluateExpr(nested);
        FAIL() << "no error";
    } catch (const KradonError& e) {
        EXPECT_EQ(e.number(), 28);
        EXPECT_EQ(e.source(), "EvaluateExpr");
        EXPECT_EQ(std::string(e.what()),
                  "Expression nested too deeply in '" + std::string(40, '(') + "...'");
    }
    const std::string terms = repeated("(1+", 5'000) + "1" + repeated(")", 5'000);
    EXPECT_THROW(EvaluateExpr(terms), KradonError);
    // 1000 levels are allowed, whether parentheses or functions make them; the next is refused.
    for (const std::string level : {"(", "sin("}) {
        EXPECT_EQ(EvaluateExpr(repeated(level, 1000) + "0" + repeated(")", 1000)), 0) << level;
        EXPECT_THROW(EvaluateExpr(repeated(level, 1001) + "0" + repeated(")", 1001)), KradonError)
            << level;
    }
}

// Each of these is 100,000 characters or so: each ends in a value or an error, without deep
// recursion. How fast they finish is measured by the evaluator's benchmark.
TEST(modEqParseTest, HostileInputsEndInAValueOrAnError) {
    for (const std::string& text : kradon::test::HostileExpressions()) {
        try {
            EXPECT_TRUE(std::isfinite(EvaluateExpr(text))) << text.substr(0, 40);
        } catch (const KradonError&) {
        }
    }
}

// Random texts over the evaluator's own alphabet either give a finite value or a KradonError;
// nothing else may escape, and no NaN or infinity is returned.
TEST(modEqParseTest, RandomTextsGiveFiniteValuesOrErrors) {
    const std::string alphabet = "0123456789.+-*/\\%^() xXsincotaqre";
    std::mt19937 random(20240607);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 24);
    for (int n = 0; n < 5'000; ++n) {
        std::string text;
        for (int i = length(random); i > 0; --i)
            text += alphabet[pick(random)];
        try {
            EXPECT_TRUE(std::isfinite(EvaluateExprAt(text, "x", 1.5))) << text;
        } catch (const KradonError& e) {
            EXPECT_EQ(e.source(), "EvaluateExpr") << text;
        }
    }
}

} // namespace

// A text compiled once gives, at every value, what evaluating it afresh gives: the same bits, or
// the same error (number and text), the first one met in the evaluator's order.
TEST(CompiledExprTest, GivesWhatEvaluateExprAtGivesAtEveryValue) {
    const std::string texts[] = {
        "200+10*sin(x/3)",
        "10000*(1+x/4)^3",
        "1/(x-2)",
        "sqr(4-x)",
        "foo-1/x",
        "x\\1+x%3-tan(x)",
        "(1+2",
        "1/0-foo",
        "--x^2",
        "x*" + repeated("(x+1)*", 40) + "1",
    };
    for (const std::string& text : texts) {
        const kradon::modEqParse::CompiledExpr compiled(text, "x");
        for (const double x : {-3.0, 0.0, 0.1, 1.5, 2.0, 4.0, 7.25, 1e300}) {
            std::optional<double> fresh, once;
            std::string freshError, onceError;
            try {
                fresh = EvaluateExprAt(text, "x", x);
            } catch (const KradonError& e) {
                freshError = std::to_string(e.number()) + e.what();
            }
            try {
                once = compiled.at(x);
            } catch (const KradonError& e) {
                onceError = std::to_string(e.number()) + e.what();
            }
            EXPECT_EQ(once, fresh) << text << " at " << x;
            EXPECT_EQ(onceError, freshError) << text << " at " << x;
        }
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
