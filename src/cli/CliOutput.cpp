// Where kradon-cli's outputs go.
#include "cli/CliOutput.h"

#include "cli/CliCommands.h"
#include "model/KradonError.h"
#include "model/SafeFile.h"
#include "model/modFileWrite.h"

#include <cerrno>
#include <cstring>

namespace kradon::cli {

bool WriteOutputFile(const std::string& path, const std::string& bytes, const std::string& what,
                     MessageSink& messages) {
    return WriteOutputFile(
        path, [&bytes](const ByteSink& sink) { sink(bytes); }, what, messages);
}

bool WriteOutputFile(const std::string& path, const SafeFile::ByteProducer& produce,
                     const std::string& what, MessageSink& messages) {
    try {
        SafeFile::WriteFileAtomically(path, produce);
        return true;
    } catch (const KradonError& e) {
        // Only the writing's own errors are about the file; the producer's go on.
        if (e.source() != SafeFile::WriteSource)
            throw;
        messages.show(
            {CliTitle, "Cannot write the " + what + " to " + path + ": " + e.what(), Icon::None});
        return false;
    }
}

bool WriteReport(const std::string& text, const std::string& path, std::ostream& out,
                 MessageSink& messages, const std::string& what) {
    return WriteReport([&text](const ByteSink& sink) { sink(text); }, path, out, messages, what);
}

bool WriteReport(const SafeFile::ByteProducer& produce, const std::string& path, std::ostream& out,
                 MessageSink& messages, const std::string& what) {
    if (!path.empty())
        return WriteOutputFile(path, produce, what, messages);
    errno = 0;
    produce([&out](std::string_view piece) {
        out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    });
    out << std::flush;
    if (out)
        return true;
    const int reason = errno;
    messages.show({CliTitle,
                   "Cannot write the " + what + " to standard output" +
                       (reason != 0 ? std::string(": ") + std::strerror(reason) : std::string()),
                   Icon::None});
    return false;
}

int ExitStatusOf(AnalyseOutcome outcome) {
    switch (outcome) {
    case AnalyseOutcome::Completed:
        return ExitStatus::Completed;
    case AnalyseOutcome::CheckFailed:
    case AnalyseOutcome::Cancelled:
        return ExitStatus::InputRefused;
    case AnalyseOutcome::Failed:
    case AnalyseOutcome::Unstable:
        break;
    }
    return ExitStatus::AnalysisFailed;
}

std::optional<std::filesystem::path> AnalysisFolder(MessageSink& messages) {
    try {
        return modFileWrite::DefaultAnalysisFolder();
    } catch (const KradonError& e) {
        messages.show({CliTitle, e.what(), Icon::None});
        return std::nullopt;
    }
}

} // namespace kradon::cli
