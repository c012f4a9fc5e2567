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

const QSize PictureSize(1200, 800);

void drawPicture(benchmark::State& bench, modGraphics::PictureKind kind) {
    const ProgramState& s = bench::AnalysedLargestModel();
    NullMessageSink messages;
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
