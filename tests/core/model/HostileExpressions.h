// Expression texts of 100,000 characters or so built to make a naive reader recurse or backtrack:
// shared by the evaluator's tests and its benchmark.
#pragma once

#include <string>
#include <vector>

namespace kradon::test {

/// count copies of piece in a row.
inline std::string Repeated(const std::string& piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

inline std::vector<std::string> HostileExpressions() {
    return {
        Repeated("(", 50'000) + "1" + Repeated(")", 50'000),
        Repeated("(", 999) + Repeated("1+", 50'000) + "1" + Repeated(")", 999),
        Repeated("(", 999) + Repeated("(1)*", 25'000) + "1" + Repeated(")", 999),
        Repeated("sin(", 20'000) + "1" + Repeated(")", 20'000),
        Repeated("(", 100'000),
        Repeated(")", 100'000),
        Repeated("-", 100'000),
        Repeated(" ", 100'000) + "1",
    };
}

} // namespace kradon::test
