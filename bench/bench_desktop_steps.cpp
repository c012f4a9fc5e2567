// The desktop program on the largest model at mesh density 10, driven on the offscreen platform:
// how long each step keeps the event loop from running (open, analyse, each result window shown
// and painted, the report saved as PDF, the calculation sheet, the CSV), and the memory after
// repeated open-and-analyse rounds. A step is one call that returns to the event loop; the
// events it queued (painting) are run and counted with it.
#include "BenchModels.h"
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

/// Milliseconds that step and the events it left keep the event loop busy.
double timed(const std::function<void()>& step) {
    QElapsedTimer clock;
    clock.start();
    step();
    QCoreApplication::processEvents();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
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
    const std::filesystem::path home = folder.path().toStdString();
    const QString model = folder.filePath("largest.kdn");
    modFileWrite::SaveModelFile(model.toStdString(), bench::largestBeam());
    ShellPaths paths;
    paths.settingsFile = home / "kradon.INI";
    paths.analysisFolder = home;
    paths.saveFolder = home;
    paths.settingsStore = home / "settings.conf";
    QuietShellSink messages;
    ScratchFiles files(folder.path());
    frmMain main(messages, files, paths);
    main.show();
    main.optionsDialog().MaxNoApplieds->setText("30");
    main.optionsDialog().MeshDensFact->setText("10");
    main.optionsDialog().OKBtn->click();
    for (auto _ : bench) {
        bench.counters["open_ms"] = timed([&] {
            if (!main.OpenModel(model))
                throw std::runtime_error("the largest model did not open");
        });
        bench.counters["analyse_ms"] = timed([&] { main.AnalyseCommand(); });
        for (std::int16_t kind = 2; kind <= 6; ++kind)
            bench.counters["window_" + std::to_string(kind) + "_ms"] =
                timed([&] { main.GraphBtn_Click(kind); });
        bench.counters["results_window_ms"] = timed([&] { main.GraphBtn_Click(ResultsKind); });
        auto* results = main.findChild<frmResultDisplay*>();
        if (results == nullptr)
            throw std::runtime_error("no results window");
        bench.counters["report_pdf_ms"] = timed([&] { results->FileSavePdf_Click(); });
        bench.counters["sheet_ms"] = timed([&] { main.mnuExportSheet_Click(); });
        bench.counters["csv_ms"] = timed([&] { main.ExportResults(); });
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A first run registers the model file type for the user: not the real user here.
    const QTemporaryDir user;
    qputenv("XDG_DATA_HOME", user.filePath("data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", user.filePath("config").toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
