// The full analysis, meshing through reactions, of a small beam and of the largest model the
// options allow at several mesh densities.
#include "BenchModels.h"
#include "analysis/ProgramState.h"
#include "analysis/modCalcs.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kradon;
using bench::largestBeam;
using bench::noneSegment;

/// A simply supported 10 m beam with a central point load.
BeamModel smallBeam() {
    BeamModel m;
    ClearModelLists(m);
    m.span = 10;
    m.count(RecordKind::RigidSupport) = 2;
    m.RigidSupport.type[1] = m.RigidSupport.type[2] = SupportType::Pinned;
    m.RigidSupport.location[2] = 10;
    m.count(RecordKind::PointLoad) = 1;
    m.PointLoad.value[1] = 10;
    m.PointLoad.location[1] = 5;
    m.count(RecordKind::ESegment) = m.count(RecordKind::ISegment) = 1;
    noneSegment(m.ESegment, 1, 0, 10, 200);
    noneSegment(m.ISegment, 1, 0, 10, 10000);
    return m;
}

void runAnalysis(benchmark::State& state, const BeamModel& model, double MeshDensFact,
                 bool exactSections = false) {
    NullStatusSink status;
    NullMessageSink messages;
    for (auto _ : state) {
        ProgramState s;
        s.model = model;
        s.options.MeshDensFact = MeshDensFact;
        s.options.ExactSections = exactSections;
        const auto outcome = modCalcs::RunAnalysis(s, status, messages);
        benchmark::DoNotOptimize(outcome);
        state.counters["elements"] = s.mesh.ElementCount;
    }
}

void BM_SmallBeam(benchmark::State& state) {
    runAnalysis(state, smallBeam(), 10.0 / 16);
}
void BM_LargestModel(benchmark::State& state) {
    runAnalysis(state, largestBeam(), static_cast<double>(state.range(0)));
}

// E and I as expressions in x: the midpoint rule (which also integrates them exactly for its
// estimate of its own error) and the exact integration.
void BM_LargestModelCurves(benchmark::State& state) {
    runAnalysis(state, bench::largestBeamWithCurves(), static_cast<double>(state.range(0)),
                state.range(1) != 0);
}

BENCHMARK(BM_SmallBeam)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargestModel)->Arg(1)->Arg(2)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargestModelCurves)
    ->ArgNames({"density", "exact"})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
