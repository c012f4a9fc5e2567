// kradon-cli run in-process, with what it wrote to each stream, and a scratch folder to run it in.
#pragma once

#include "../core/TestFolder.h"
#include "../core/TextFiles.h"
#include "cli/CliCommands.h"
#include "model/BeamModel.h"
#include "model/modFileWrite.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace kradon::cli {

using Args = std::vector<std::string>;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun run(const Args& args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

/// Runs args, expecting the command to complete; what it wrote.
inline CliRun completed(const Args& args) {
    CliRun r = run(args);
    EXPECT_EQ(r.status, ExitStatus::Completed) << r.err;
    return r;
}

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

/// The words of a command line, split at blanks.
inline Args words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

/// A report without its two time lines, which differ from run to run.
inline std::string withoutTimes(const std::string& report) {
    std::istringstream in(report);
    std::string line, kept;
    while (std::getline(in, line))
        if (line.find("time") == std::string::npos)
            kept += line + "\n";
    return kept;
}

/// A test with a scratch folder of its own, which also holds the per-user runtime folder where
/// the analysis copies go.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string read(const std::string& name) const { return test::ReadFile(dir_ / name); }
    std::string save(const std::string& name, const BeamModel& m) const {
        modFileWrite::SaveModelFile(dir_ / name, m);
        return path(name);
    }
    const test::TestFolder folder_;
    const std::filesystem::path dir_ = folder_.path();
};

} // namespace kradon::cli
