// The desktop program on the largest model at mesh density 10, driven on the offscreen platform:
// how long each step takes (open, analyse, each result window shown and painted, the report
// saved as PDF, the calculation sheet, the CSV) and the longest time it keeps the event loop from
// running (NAME_stall_ms, measured by a timer that fires whenever the loop runs), and the memory
// after repeated open-and-analyse rounds. A step is one call; the events it queued (painting)
// are run and counted with it.
#include "BenchModels.h"
#include "QtBenchMain.h"
#include "app/FilePicker.h"
#include "app/ShellSinks.h"
#include "app/frmMain.h"
#include "app/modMDI.h"
#include "app/results/frmResultDisplay.h"
#include "app/settings/frmOptions.h"
#include "model/modFileWrite.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

using namespace kradon;

/// Answers every question with Yes and shows nothing, so no box waits for a user.
struct QuietShellSink : ShellSink {
    void show(const Message&) override {}
    Answer ask(const Message&, Buttons) override { return Answer::Yes; }
};

/// Every save dialog answers with a file of the scratch folder named after the default suffix.
struct ScratchFiles : FilePicker {
    explicit ScratchFiles(QString folder) : folder_(std::move(folder)) {}
    PickedName saveName(QWidget*, const QString& title, const QStringList&,
                        const QString& defaultSuffix, const QString&) override {
        return folder_ + "/" + QString(title).remove(' ').remove('.') + "." + defaultSuffix;
    }
    PickedName openName(QWidget*, const QStringList&, const QString&, const QString&) override {
        return std::nullopt;
    }
    PickedName folderName() override { return std::nullopt; }

private:
    QString folder_;
};

/// How long a step took in all, and the longest time the event loop did not run during it.
struct StepTimes {
    double total = 0; // ms
    double stall = 0; // ms
};

/// Times step and the events it left, with a timer that fires whenever the event loop runs.
StepTimes timed(const std::function<void()>& step) {
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    qint64 longest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - lastTick);
        lastTick = now;
    });
    ticker.start(1);
    step();
    QCoreApplication::processEvents();
    const qint64 end = clock.nsecsElapsed();
    return {static_cast<double>(end) / 1e6,
            static_cast<double>(std::max(longest, end - lastTick)) / 1e6};
}

/// Records a step's total time as NAME_ms and its longest stall as NAME_stall_ms.
void record(benchmark::State& bench, const std::string& name, const StepTimes& t) {
    bench.counters[name + "_ms"] = t.total;
    bench.counters[name + "_stall_ms"] = t.stall;
}

/// Resident memory of this process in MB.
double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096 / (1024 * 1024);
}

void BM_DesktopStepsLargestModel(benchmark::State& bench) {
    QTemporaryDir folder;
    const QString model = folder.filePath("largest.kdn");
    modFileWrite::SaveModelFile(model.toStdString(), bench::largestBeam());
    QuietShellSink messages;
    ScratchFiles files(folder.path());
    frmMain main(messages, files, ShellPaths::InFolder(folder.path().toStdString()));
    main.show();
    main.optionsDialog().MaxNoApplieds->setText("30");
    main.optionsDialog().MeshDensFact->setText("10");
    main.optionsDialog().OKBtn->click();
    for (auto _ : bench) {
        record(bench, "open", timed([&] {
                   if (!main.OpenModel(model))
                       throw std::runtime_error("the largest model did not open");
               }));
        record(bench, "analyse", timed([&] { main.AnalyseCommand(); }));
        for (std::int16_t kind = 2; kind <= 6; ++kind)
            record(bench, "window_" + std::to_string(kind),
                   timed([&] { main.GraphBtn_Click(kind); }));
        record(bench, "results_window", timed([&] { main.GraphBtn_Click(ResultsKind); }));
        auto* results = main.findChild<frmResultDisplay*>();
        if (results == nullptr)
            throw std::runtime_error("no results window");
        record(bench, "report_pdf", timed([&] { results->FileSavePdf_Click(); }));
        record(bench, "sheet", timed([&] { main.mnuExportSheet_Click(); }));
        record(bench, "csv", timed([&] { main.ExportResults(); }));
    }
    // Ten open-and-analyse rounds: the memory after the tenth against the second.
    double second = 0;
    for (int round = 1; round <= 10; ++round) {
        main.OpenModel(model);
        main.AnalyseCommand();
        QCoreApplication::processEvents();
        if (round == 2)
            second = residentMegabytes();
    }
    bench.counters["rss_round2_MB"] = second;
    bench.counters["rss_round10_MB"] = residentMegabytes();
}

BENCHMARK(BM_DesktopStepsLargestModel)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return kradon::bench::RunQtBenchmarks<QApplication>(argc, argv, true);
}
