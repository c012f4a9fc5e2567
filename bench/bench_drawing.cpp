// Drawing the mesh and the bending moment diagram of the largest model the options allow, at the
// highest mesh density, into a 1200 x 800 image on the offscreen platform.
#include "BenchModels.h"
#include "QtBenchMain.h"
#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "graphics/qt/PictureFiles.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

using namespace kradon;

struct QuietSink : MessageSink {
    void show(const Message&) override {}
};

constexpr double HighestMeshDensity = 10;
const QSize PictureSize(1200, 800);

/// The largest model, analysed once at the highest mesh density, in input units as the
/// diagram windows see it.
const ProgramState& analysedLargestModel() {
    static const ProgramState analysed = [] {
        ProgramState s;
        s.model = bench::largestBeam();
        s.options.MaxNoApplieds = s.model.MaxNoApplieds;
        s.options.MeshDensFact = HighestMeshDensity;
        NullStatusSink status;
        QuietSink messages;
        // The analysis writes its own copy there and removes it again.
        const AnalyseResult r =
            AnalyseCore(s, std::filesystem::temp_directory_path(), status, messages);
        if (r.outcome != AnalyseOutcome::Completed)
            throw std::runtime_error("the largest model did not analyse");
        return s;
    }();
    return analysed;
}

void drawPicture(benchmark::State& bench, modGraphics::PictureKind kind) {
    const ProgramState& s = analysedLargestModel();
    QuietSink messages;
    for (auto _ : bench) {
        QImage image = RenderPicture(kind, s, PictureSize, messages);
        benchmark::DoNotOptimize(image.constBits());
    }
    bench.counters["elements"] = s.mesh.ElementCount;
}

void BM_DrawMesh(benchmark::State& bench) {
    drawPicture(bench, modGraphics::PictureKind::Mesh);
}
void BM_DrawBendingMoment(benchmark::State& bench) {
    drawPicture(bench, modGraphics::PictureKind::BendingMoment);
}

BENCHMARK(BM_DrawMesh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawBendingMoment)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return kradon::bench::RunQtBenchmarks<QGuiApplication>(argc, argv, false);
}
