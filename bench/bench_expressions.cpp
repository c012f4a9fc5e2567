// The expression reader on texts of 100,000 characters built to make a naive reader recurse or
// backtrack: each should take milliseconds, a scan along the text.
#include "../tests/core/model/HostileExpressions.h"
#include "model/KradonError.h"
#include "model/modEqParse.h"

#include <benchmark/benchmark.h>

namespace {

void BM_HostileExpression(benchmark::State& state) {
    const std::string text =
        kradon::test::HostileExpressions().at(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(kradon::modEqParse::EvaluateExpr(text));
        } catch (const kradon::KradonError&) {
        }
    }
}

BENCHMARK(BM_HostileExpression)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

} // namespace
