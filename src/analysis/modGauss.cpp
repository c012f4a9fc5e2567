// The unstable-structure report.
#include "analysis/modGauss.h"

#include "analysis/modCheck.h"

namespace kradon::modGauss {

void ReportUnstable(ProgramState& s, MessageSink& messages) {
    // A stretch without E or I is the likeliest cause; its warning follows the message.
    std::string text = UnstableText;
    for (const std::string& line : modCheck::CoverageWarnings(s.model))
        text = MessageLines(text, line);
    messages.show({GaussTitle, text, Icon::Critical});
    s.mesh = MeshTables{};
    s.results = ResultTables{};
    s.equations.CalcError = -1;
}

} // namespace kradon::modGauss
