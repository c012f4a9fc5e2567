// kradon-cli run in-process, with what it wrote to each stream.
#pragma once

#include "cli/CliCommands.h"

#include <sstream>
#include <string>
#include <vector>

namespace kradon::cli {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace kradon::cli
