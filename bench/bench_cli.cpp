// The whole kradon-cli process, as a script would run it: its start alone (--version), and on the
// largest model the options allow at the highest mesh density: start, read, analyse, and write
// the report to a file, to /dev/null, to stdout (itself /dev/null), and with --json beside the
// report file. Each benchmark gives the largest peak resident memory of its runs as peak_MB.
#include "BenchModels.h"
#include "model/modFileWrite.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Finished {
    int status = -1;
    long peakKilobytes = 0;
};

/// Runs kradon-cli with args, its output to /dev/null; its exit status and peak memory.
Finished runCli(std::vector<std::string> args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + args[0]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

/// A scratch folder with the largest model in it, removed at the end.
class Scratch {
public:
    Scratch() {
        fs::create_directories(folder_);
        kradon::modFileWrite::SaveModelFile(model(), kradon::bench::largestBeam());
    }
    ~Scratch() { fs::remove_all(folder_); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    std::string model() const { return (folder_ / "largest.kdn").string(); }
    std::string file(const char* name) const { return (folder_ / name).string(); }

private:
    fs::path folder_ = fs::temp_directory_path() / ("kradon-cli-bench-" + std::to_string(getpid()));
};

void runEach(benchmark::State& state, const std::vector<std::string>& args) {
    long peak = 0;
    for (auto _ : state) {
        const Finished run = runCli(args);
        if (run.status != 0)
            state.SkipWithError("kradon-cli failed");
        peak = std::max(peak, run.peakKilobytes);
    }
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
}

void BM_CliVersion(benchmark::State& state) {
    runEach(state, {KRADON_CLI, "--version"});
}

/// The report of the largest model at mesh density 10 to where (empty: stdout), and the JSON
/// results too when json.
void analyseLargest(benchmark::State& state, const char* where, bool json) {
    const Scratch scratch;
    std::vector<std::string> args{KRADON_CLI, "analyse", scratch.model(), "--mesh-density", "10"};
    if (where != nullptr)
        args.insert(args.end(), {"--report", where[0] == '/' ? where : scratch.file(where)});
    if (json)
        args.insert(args.end(), {"--json", scratch.file("results.json")});
    runEach(state, args);
}

void BM_CliAnalyseLargestModel(benchmark::State& state) {
    analyseLargest(state, nullptr, false);
}
void BM_CliAnalyseLargestModelReportFile(benchmark::State& state) {
    analyseLargest(state, "report.txt", false);
}
void BM_CliAnalyseLargestModelReportDevNull(benchmark::State& state) {
    analyseLargest(state, "/dev/null", false);
}
void BM_CliAnalyseLargestModelReportFileAndJson(benchmark::State& state) {
    analyseLargest(state, "report.txt", true);
}

BENCHMARK(BM_CliVersion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliAnalyseLargestModel)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliAnalyseLargestModelReportFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliAnalyseLargestModelReportDevNull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliAnalyseLargestModelReportFileAndJson)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
