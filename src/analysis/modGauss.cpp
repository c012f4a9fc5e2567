// The unstable-structure report.
#include "analysis/modGauss.h"

#include "analysis/modCheck.h"
#include "model/BeamModel.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"

namespace kradon::modGauss {

void ReportUnstable(ProgramState& s, MessageSink& messages) {
    // A stretch without E or I is the likeliest cause; its warning follows the message.
    std::string text = UnstableText;
    for (const std::string& line : modCheck::CoverageWarnings(s.model))
        text = MessageLines(text, line);
    messages.show({GaussTitle, text, Icon::Critical});
    ResetModel(s.model);
    s.mesh = MeshTables{};
    s.results = ResultTables{};
    // The analysis copy, never FileName: it holds the model as it was when the command started,
    // unsaved edits and models begun with New included.
    try {
        s.model = modFileWrite::OpenModelFile(s.AnalysisCopyPath);
    } catch (const KradonError& error) {
        messages.show({GaussTitle, error.what(), Icon::Critical});
    }
    s.equations.CalcError = -1;
}

} // namespace kradon::modGauss
