// The whole kradon-cli process on the largest model the options allow at the highest mesh
// density: start, read, analyse, and write the report, as a script would run it.
#include "BenchModels.h"
#include "model/modFileWrite.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

/// Runs kradon-cli with args, its output to /dev/null; its exit status.
int runCli(std::vector<std::string> args) {
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
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_CliAnalyseLargestModel(benchmark::State& state) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("kradon-cli-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const auto model = folder / "largest.kdn";
    kradon::modFileWrite::SaveModelFile(model, kradon::bench::largestBeam());
    for (auto _ : state)
        if (runCli({KRADON_CLI, "analyse", model.string(), "--mesh-density", "10"}) != 0)
            state.SkipWithError("kradon-cli failed");
    std::filesystem::remove_all(folder);
}

BENCHMARK(BM_CliAnalyseLargestModel)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
