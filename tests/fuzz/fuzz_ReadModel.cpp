// Feeds arbitrary bytes to the model file reader: it must either return a model or throw
// KradonError, never crash, hang or allocate beyond what the input can justify.
#include "model/KradonError.h"
#include "model/modFileWrite.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size), std::ios::binary);
    try {
        const kradon::BeamModel m = kradon::modFileWrite::ReadModel(in);
        // What was read must write back to a prefix of the input.
        std::ostringstream out(std::ios::binary);
        kradon::modFileWrite::WriteModel(out, m);
        const std::string bytes = out.str();
        if (bytes.size() > size ||
            bytes.compare(0, bytes.size(), reinterpret_cast<const char*>(data), bytes.size()) != 0)
            __builtin_trap();
    } catch (const kradon::KradonError&) {
    }
    return 0;
}
