// Feeds arbitrary text to the JSON model reader: it must either return a model or throw
// KradonError, never crash, hang or allocate beyond what the input can justify. A model it reads
// must write back to a text that reads as the same model, in either format it fits.
#include "model/KradonError.h"

#include "json/ModelJson.h"
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kradon;
    try {
        const CaseModel m =
            ModelJson::ReadModelJson(std::string_view(reinterpret_cast<const char*>(data), size));
        const std::string text = ModelJson::WriteModelJson(m);
        if (ModelJson::WriteModelJson(ModelJson::ReadModelJson(text)) != text)
            __builtin_trap();
        if (!KdnCannotHold(m))
            (void)ModelJson::ModelFileBytes(m, "model.kdn");
    } catch (const KradonError&) {
    }
    return 0;
}
