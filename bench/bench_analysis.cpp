// The full analysis, meshing through reactions, of a small beam and of the largest model the
// options allow at several mesh densities.
#include "analysis/ProgramState.h"
#include "analysis/modCalcs.h"
#include "analysis/modUnits.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kradon;

struct QuietSink : MessageSink {
    void show(const Message&) override {}
};

void noneSegment(PropertySegmentList& s, std::size_t n, double a, double b, double v) {
    s.variation[n] = Variation::None;
    s.disA[n] = a;
    s.disB[n] = b;
    s.constant[n] = v;
    s.expression[n] = "N/A";
}

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

/// 30 records of every kind on a 100 m span, all 390 record positions distinct.
BeamModel largestBeam() {
    BeamModel m;
    m.MaxNoApplieds = 30;
    ClearModelLists(m);
    m.span = 100;
    m.counts.fill(30);
    double x = 0;
    auto next = [&x] { return x += 100.0 / 392; };
    for (std::size_t n = 1; n <= 30; ++n) {
        m.PointLoad.value[n] = 1;
        m.PointLoad.location[n] = next();
        m.UDL.value[n] = 1;
        m.UDL.start[n] = next();
        m.UDL.end[n] = next();
        m.TDL.startValue[n] = 1;
        m.TDL.endValue[n] = 2;
        m.TDL.start[n] = next();
        m.TDL.end[n] = next();
        m.MomentLoad.value[n] = 1;
        m.MomentLoad.location[n] = next();
        m.RigidSupport.type[n] = SupportType::Pinned;
        m.RigidSupport.location[n] = next();
        m.SpringSupport.location[n] = next();
        m.SpringSupport.vertical[n] = 5;
        m.FixedDisplacement.location[n] = next();
        m.FixedDisplacement.vertical[n] = 1;
        const double a = next(), b = next();
        noneSegment(m.ESegment, n, a, b, 200);
        const double c = next(), d = next();
        noneSegment(m.ISegment, n, c, d, 10000);
    }
    // The first E and I definitions cover the whole beam so every element has stiffness.
    noneSegment(m.ESegment, 1, 0, 100, 200);
    noneSegment(m.ISegment, 1, 0, 100, 10000);
    return m;
}

void runAnalysis(benchmark::State& state, const BeamModel& model, double MeshDensFact) {
    NullStatusSink status;
    QuietSink messages;
    for (auto _ : state) {
        ProgramState s;
        s.model = model;
        s.options.MeshDensFact = MeshDensFact;
        modUnits::ToAnalysisUnits(s.model);
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

BENCHMARK(BM_SmallBeam)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargestModel)->Arg(1)->Arg(2)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace
