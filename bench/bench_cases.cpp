// Ten load cases and twenty combinations of the largest model the options allow: every case
// analysed once, then every combination and the envelope with their exact extremes.
#include "BenchModels.h"
#include "analysis/LoadCombinations.h"
#include "model/modFileWrite.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kradon;

/// The largest beam with its loads in ten cases, each case all 30 records of every load kind at
/// the same positions with values of its own (so the mesh is the largest one: 30,968 elements
/// at mesh density 10, near the 32,767 nodes a mesh may have), and twenty combinations of all
/// ten cases.
CaseModel tenCasesTwentyCombinations() {
    CaseModel m = FromBeamModel(bench::largestBeam());
    m.meshDensity = 10;
    const LoadCase base = m.cases.front();
    m.cases.clear();
    for (int c = 0; c < 10; ++c) {
        LoadCase lc = base;
        lc.name = "C" + std::to_string(c + 1);
        for (auto* values : {&lc.loads.PointLoad.value, &lc.loads.UDL.value,
                             &lc.loads.TDL.startValue, &lc.loads.MomentLoad.value})
            for (double& v : *values)
                v *= 1 + c;
        m.cases.push_back(std::move(lc));
    }
    for (int k = 0; k < 20; ++k) {
        Combination combination{"K" + std::to_string(k + 1), {}};
        for (int c = 0; c < 10; ++c)
            combination.factors.push_back({m.cases[c].name, 0.5 + ((k + c) % 4) * 0.25});
        m.combinations.push_back(std::move(combination));
    }
    return m;
}

void BM_TenCasesTwentyCombinations(benchmark::State& state) {
    const CaseModel m = tenCasesTwentyCombinations();
    const auto folder = modFileWrite::DefaultAnalysisFolder();
    NullStatusSink status;
    NullMessageSink messages;
    for (auto _ : state) {
        const CasesOutcome outcome = AnalyseCases(m, folder, status, messages);
        const EnvelopeResult envelope = Envelope(*outcome.analysis, EnvelopeLoadings(m));
        benchmark::DoNotOptimize(envelope.extremes);
        state.counters["elements"] = outcome.analysis->frame.mesh.ElementCount;
    }
}

/// The envelope alone, once the cases are analysed.
void BM_TwentyCombinationsAndEnvelope(benchmark::State& state) {
    const CaseModel m = tenCasesTwentyCombinations();
    NullStatusSink status;
    NullMessageSink messages;
    const CasesOutcome outcome =
        AnalyseCases(m, modFileWrite::DefaultAnalysisFolder(), status, messages);
    for (auto _ : state) {
        const EnvelopeResult envelope = Envelope(*outcome.analysis, EnvelopeLoadings(m));
        benchmark::DoNotOptimize(envelope.extremes);
    }
}

BENCHMARK(BM_TenCasesTwentyCombinations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwentyCombinationsAndEnvelope)->Unit(benchmark::kMillisecond);

} // namespace
