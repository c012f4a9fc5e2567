// Runs a piece of code as a scope ends, on every way out.
#pragma once

#include <utility>

namespace kradon {

/// Runs restore when the scope ends, on every way out.
template <typename F> class ScopeExit {
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    F f_;
};

} // namespace kradon
