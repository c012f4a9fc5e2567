// Feeds arbitrary bytes to the results file reader on a fresh state and builds the report from
// what it read: the reader either fills the tables or throws KradonError, and the report of a
// file it accepted never fails, crashes or reads past a table.
#include "analysis/ProgramState.h"
#include "model/KradonError.h"
#include "results/ResultsFile.h"
#include "results/modResults.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size), std::ios::binary);
    kradon::ProgramState state;
    kradon::ResultsFileTimes times;
    try {
        times = kradon::ReadResultsFile(in, state);
    } catch (const kradon::KradonError&) {
        return 0;
    }
    // A file holds no element properties: size them with zeros, as `kradon-cli report` does.
    const auto elements = static_cast<std::size_t>(state.mesh.ElementCount) + 1;
    state.mesh.ElementE.assign(elements, 0.0);
    state.mesh.ElementI.assign(elements, 0.0);
    (void)kradon::DoResults(state, "fuzz.kxr", times.CalcTime, times.AnalysisTime);
    return 0;
}
