// "Analyse after every change": twenty quick edits of an analysed sample, 40 ms apart, with the
// bending moment diagram and the results window open, on the offscreen platform. Reported per
// burst: the analyses run, and the result windows still out of date once the analyses are done
// (0: the windows match the model).
#include "QtBenchMain.h"
#include "analysis/AnalyseCommand.h"
#include "app/FilePicker.h"
#include "app/ResultViews.h"
#include "app/ShellSinks.h"
#include "app/frmMain.h"
#include "app/modMDI.h"
#include "app/settings/frmOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace {

using namespace kradon;
using namespace std::chrono_literals;

/// Answers every question with Cancel and shows nothing, so no box waits for a user.
struct QuietShellSink : ShellSink {
    void show(const Message&) override {}
    Answer ask(const Message&, Buttons) override { return Answer::Cancel; }
};

/// Never asked for a file here.
struct NoFiles : FilePicker {
    PickedName saveName(QWidget*, const QString&, const QStringList&, const QString&,
                        const QString&) override {
        return std::nullopt;
    }
    PickedName openName(QWidget*, const QStringList&, const QString&, const QString&) override {
        return std::nullopt;
    }
    PickedName folderName() override { return std::nullopt; }
};

/// Lets window events and timers run for the given time, as a user's pause between edits.
void pause(std::chrono::milliseconds time) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < time.count()) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(2ms);
    }
}

void BM_TwentyQuickEdits(benchmark::State& bench) {
    QTemporaryDir folder;
    QuietShellSink messages;
    NoFiles files;
    frmMain main(messages, files, ShellPaths::InFolder(folder.path().toStdString()));
    main.show();
    if (!main.OpenModel(QString(KRADON_EXAMPLES "/simply-supported-point-load.kdn")))
        throw std::runtime_error("the sample did not open");
    main.AnalyseCommand();
    main.GraphBtn_Click(2);
    main.GraphBtn_Click(ResultsKind);
    main.optionsDialog().AnalyseAfterChangeChk->setChecked(true);
    main.optionsDialog().OKBtn->click();
    int analyses = 0;
    QObject::connect(&main, &frmMain::analysisFinished, [&] { ++analyses; });

    double load = 50;
    double totalAnalyses = 0;
    double outOfDate = 0;
    for (auto _ : bench) {
        analyses = 0;
        for (int edit = 0; edit < 20; ++edit) {
            load += 1;
            main.EditModel([load](BeamModel& m) { m.PointLoad.value[1] = load; });
            pause(40ms);
        }
        while (main.analysisPending() || main.analysing())
            pause(10ms);
        totalAnalyses += analyses;
        outOfDate += main.resultViews().outOfDateCount();
    }
    const auto bursts = static_cast<double>(bench.iterations());
    bench.counters["analyses_per_20_edits"] = totalAnalyses / bursts;
    bench.counters["windows_out_of_date"] = outOfDate / bursts;
}

BENCHMARK(BM_TwentyQuickEdits)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return kradon::bench::RunQtBenchmarks<QApplication>(argc, argv, true);
}
