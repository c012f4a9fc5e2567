// libFuzzer entry point for the expression evaluator: any text must give a finite value or a
// KradonError, never a crash, a hang or any other exception.
#include "model/KradonError.h"
#include "model/modEqParse.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        if (!std::isfinite(kradon::modEqParse::EvaluateExprAt(text, "x", 1.5)))
            std::abort();
    } catch (const kradon::KradonError&) {
    }
    return 0;
}
