// kradon-cli: inspect model files from a terminal.
#include "cli/CliCommands.h"

#include "model/KradonError.h"
#include "model/ModelTables.h"
#include "model/modFileWrite.h"

#include <algorithm>
#include <cstddef>

namespace kradon::cli {
namespace {

constexpr const char* UsageText = "Usage:\n"
                                  "  kradon-cli show MODEL.kdn     print the model's records\n"
                                  "  kradon-cli --version          print the program version\n"
                                  "  kradon-cli --help             print this text\n";

// Columns padded to their widest cell, two blanks apart.
void printTable(const ModelTables::RecordTable& table, std::ostream& out) {
    std::vector<std::size_t> widths;
    for (const auto& column : table.columns)
        widths.push_back(column.size());
    for (const auto& row : table.rows)
        for (std::size_t c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());

    const auto printRow = [&](const std::vector<std::string>& cells) {
        std::string line;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            line += cells[c];
            if (c + 1 < cells.size())
                line += std::string(widths[c] - cells[c].size() + 2, ' ');
        }
        out << line << '\n';
    };
    out << table.title << '\n';
    printRow(table.columns);
    for (const auto& row : table.rows)
        printRow(row);
}

int showModel(const std::string& path, std::ostream& out, std::ostream& err) {
    BeamModel model;
    try {
        model = modFileWrite::OpenModelFile(path);
    } catch (const KradonError& e) {
        StreamMessageSink(err).show(
            {ProgramTitle, modFileWrite::OpenErrorPrefix + path + "\n" + e.what(), Icon::None});
        return ExitStatus::FileProblem;
    }
    bool first = true;
    for (const auto& table : ModelTables::AllTables(model)) {
        if (!first)
            out << '\n';
        first = false;
        printTable(table, out);
    }
    return ExitStatus::Completed;
}

int usageError(const std::string& problem, std::ostream& err) {
    err << "kradon-cli: " << problem << "\n" << UsageText;
    return ExitStatus::Usage;
}

} // namespace

void StreamMessageSink::show(const Message& message) {
    const std::string& title = message.title.empty() ? std::string(ProgramTitle) : message.title;
    err_ << title << ": " << message.text << '\n';
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty())
        return usageError("no command given", err);
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        out << UsageText;
        return ExitStatus::Completed;
    }
    if (command == "--version") {
        out << KRADON_VERSION << '\n';
        return ExitStatus::Completed;
    }
    if (command == "show") {
        if (args.size() != 2)
            return usageError("show takes exactly one model file", err);
        return showModel(args[1], out, err);
    }
    return usageError("unknown command '" + command + "'", err);
}

} // namespace kradon::cli
