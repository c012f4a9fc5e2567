#include "results/OutputFile.h"

#include "model/KradonError.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

namespace kradon {

void WriteOutputFile(const std::filesystem::path& file, std::string_view bytes) {
    errno = 0;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out.is_open())
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out.is_open())
        out.close();
    if (out.good())
        return;
    const int reason = errno;
    throw KradonError(
        ErrorNumber::FileIo, OutputSource,
        "Cannot write " + file.string() +
            (reason != 0 ? std::string(": ") + std::strerror(reason) : std::string()));
}

} // namespace kradon
