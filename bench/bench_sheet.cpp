// Making the calculation sheet of the largest model the options allow, at the highest mesh
// density: the document, its layout and the PDF, and the HTML page with inline SVG.
#include "BenchModels.h"
#include "QtBenchMain.h"
#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "graphics/SheetBuilder.h"
#include "graphics/SheetHtml.h"
#include "graphics/qt/SheetPdf.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <stdexcept>

namespace {

using namespace kradon;

sheet::SheetDocument document() {
    return sheet::BuildSheet(bench::AnalysedLargestModel(),
                             sheet::MakeTitleBlock("largest.kdn", {"A", "B"}, "today"));
}

void BM_SheetPdf(benchmark::State& bench) {
    std::size_t bytes = 0;
    for (auto _ : bench) {
        const std::string pdf = SheetPdf(document());
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    bench.counters["elements"] = bench::AnalysedLargestModel().mesh.ElementCount;
    bench.counters["bytes"] = static_cast<double>(bytes);
}

void BM_SheetHtml(benchmark::State& bench) {
    std::size_t bytes = 0;
    for (auto _ : bench) {
        const std::string html = sheet::SheetHtml(document());
        bytes = html.size();
        benchmark::DoNotOptimize(html.data());
    }
    bench.counters["elements"] = bench::AnalysedLargestModel().mesh.ElementCount;
    bench.counters["bytes"] = static_cast<double>(bytes);
}

BENCHMARK(BM_SheetPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SheetHtml)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return kradon::bench::RunQtBenchmarks<QGuiApplication>(argc, argv, false);
}
