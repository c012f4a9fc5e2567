// The commands of kradon-cli, separated from main so that tests can run them on their own streams.
#pragma once

#include "model/Sinks.h"

#include <ostream>
#include <string>
#include <vector>

namespace kradon::cli {

/// Exit statuses of kradon-cli.
namespace ExitStatus {
inline constexpr int Completed = 0;
inline constexpr int InputRefused = 1;   // the input check refused the model
inline constexpr int AnalysisFailed = 2; // unstable structure or calculation error
inline constexpr int FileProblem = 3;    // a file missing, unreadable, damaged or unwritable
inline constexpr int Usage = 64;
} // namespace ExitStatus

/// Writes each message as "TITLE: TEXT", with the program title for boxes without one. A
/// multi-line text keeps its line breaks (CR LF where the program's box text has them).
class StreamMessageSink : public MessageSink {
public:
    explicit StreamMessageSink(std::ostream& err) : err_(err) {}
    void show(const Message& message) override;

private:
    std::ostream& err_;
};

/// Runs the command line args (without the program name); returns the exit status. The report
/// goes to out, every message to err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/// Flushes and closes the program's standard output, after everything else: status when all
/// that was put on it reached it, otherwise (a full disk, /dev/full, a closed pipe) a message
/// on err and FileProblem. A status that already tells of a failure is kept as it is.
int FinishStandardOutput(int status, std::ostream& err);

} // namespace kradon::cli
