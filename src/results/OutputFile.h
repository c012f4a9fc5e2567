// The one way the exported outputs (the results CSV, the calculation sheet, the values at
// points as JSON) reach their files.
#pragma once

#include <filesystem>
#include <string_view>

namespace kradon {

inline constexpr const char* OutputSource = "WriteOutputFile";

/// Writes bytes to file, replacing what was there. Throws KradonError (FileIo, source
/// OutputSource) naming the file and the reason when it cannot be written.
void WriteOutputFile(const std::filesystem::path& file, std::string_view bytes);

} // namespace kradon
