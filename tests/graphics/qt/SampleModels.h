// The sample models of examples/, read and analysed as the Analyse command does, for the picture
// tests and the tool that renders the pictures of the documentation.
#pragma once

#include "analysis/AnalyseCommand.h"
#include "analysis/ProgramState.h"
#include "model/modFileWrite.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace kradon::samples {

struct QuietSink : MessageSink {
    void show(const Message&) override {}
};

/// The model file read and analysed; throws std::runtime_error when the analysis does not
/// complete. The analysis copy is written into workFolder, and removed again.
inline ProgramState analysedModel(const std::filesystem::path& modelFile,
                                  const std::filesystem::path& workFolder) {
    ProgramState s;
    s.model = modFileWrite::OpenModelFile(modelFile);
    s.FileName = modelFile.string();
    NullStatusSink status;
    QuietSink messages;
    const AnalyseResult r = AnalyseCore(s, workFolder, status, messages);
    if (r.outcome != AnalyseOutcome::Completed)
        throw std::runtime_error("analysis of " + modelFile.string() + " did not complete");
    return s;
}

} // namespace kradon::samples
