// Expression texts of 100,000 characters or so built to make a naive reader recurse or backtrack:
// shared by the evaluator's tests and its benchmark.
#pragma once

#include <string>
#include <vector>

namespace kradon::test {

inline std::vector<std::string> HostileExpressions() {
    const auto repeated = [](const std::string& piece, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += piece;
        return text;
    };
    return {
        repeated("(", 50'000) + "1" + repeated(")", 50'000),
        repeated("(", 999) + repeated("1+", 50'000) + "1" + repeated(")", 999),
        repeated("(", 999) + repeated("(1)*", 25'000) + "1" + repeated(")", 999),
        repeated("sin(", 20'000) + "1" + repeated(")", 20'000),
        repeated("(", 100'000),
        repeated(")", 100'000),
        repeated("-", 100'000),
        repeated(" ", 100'000) + "1",
    };
}

} // namespace kradon::test
