// kradon-cli: the headless front end of Kradon.
#include "cli/CliCommands.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kradon::cli::FinishStandardOutput(kradon::cli::RunCli(args, std::cout, std::cerr),
                                             std::cerr);
}
