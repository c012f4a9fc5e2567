// Writer and reader of the model file, and the save, open and analysis-copy operations on it.
// Every number is written byte by byte in little-endian order, so the file is the same on any
// host. The file has no header or version: its shape follows from MaxNoApplieds alone.
#include "model/modFileWrite.h"

#include "model/KradonError.h"
#include "model/SafeFile.h"

#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kradon::modFileWrite {
namespace {

/// An analysis copy is named "kradon-" + a part of its own + ".tmp".
constexpr const char* AnalysisCopyPrefix = "kradon-";
constexpr const char* AnalysisCopySuffix = ".tmp";

constexpr const char* readSource = "ReadModel";
constexpr const char* writeSource = "WriteModel";
constexpr const char* saveSource = "SaveModel";
constexpr const char* openSource = "OpenModel";

constexpr std::streamoff headerBytes = 28; // span, MaxNoApplieds, nine counts
constexpr int numericListCount = 31;

// Visits the 31 numeric lists and the two text lists in file order. The E texts follow the six
// E numeric lists, the I texts the six I lists.
template <typename Model, typename Numbers, typename Texts>
void forEachListInFileOrder(Model& m, Numbers numbers, Texts texts) {
    numbers(m.PointLoad.value), numbers(m.PointLoad.location);
    numbers(m.UDL.value), numbers(m.UDL.start), numbers(m.UDL.end);
    numbers(m.TDL.startValue), numbers(m.TDL.endValue), numbers(m.TDL.start), numbers(m.TDL.end);
    numbers(m.MomentLoad.value), numbers(m.MomentLoad.location);
    // The rigid supports come after the moment loads, although their count comes before.
    numbers(m.RigidSupport.type), numbers(m.RigidSupport.location);
    numbers(m.SpringSupport.location), numbers(m.SpringSupport.vertical);
    numbers(m.SpringSupport.rotational);
    numbers(m.FixedDisplacement.location), numbers(m.FixedDisplacement.vertical);
    numbers(m.FixedDisplacement.rotational);
    for (auto* segments : {&m.ESegment, &m.ISegment}) {
        numbers(segments->variation), numbers(segments->disA), numbers(segments->disB);
        numbers(segments->constant), numbers(segments->linearStart);
        numbers(segments->linearEnd);
        texts(segments->expression);
    }
}

// ---- writing ----

void putBytes(std::ostream& out, std::uint64_t bits, int byteCount) {
    char bytes[8];
    for (int i = 0; i < byteCount; ++i)
        bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFFu);
    out.write(bytes, byteCount);
}

void putInt16(std::ostream& out, std::int16_t value) {
    putBytes(out, static_cast<std::uint16_t>(value), 2);
}

void putDouble(std::ostream& out, double value) {
    putBytes(out, std::bit_cast<std::uint64_t>(value), 8);
}

std::int16_t textLength16(const std::string& text) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        throw KradonError(ErrorNumber::BadFileFormat, writeSource,
                          "An expression of " + std::to_string(text.size()) +
                              " bytes is longer than the 32767 a model file can hold");
    return static_cast<std::int16_t>(text.size());
}

// ---- reading ----

std::uint64_t getBytes(std::istream& in, int byteCount) {
    unsigned char bytes[8] = {};
    in.read(reinterpret_cast<char*>(bytes), byteCount);
    if (in.gcount() != byteCount)
        throw KradonError(ErrorNumber::BadFileFormat, readSource,
                          "The model file is damaged: it ends before the model is complete");
    std::uint64_t bits = 0;
    for (int i = 0; i < byteCount; ++i)
        bits |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return bits;
}

std::int16_t getInt16(std::istream& in) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(getBytes(in, 2)));
}

double getDouble(std::istream& in) {
    return std::bit_cast<double>(getBytes(in, 8));
}

std::string getText(std::istream& in) {
    const std::int16_t length = getInt16(in);
    if (length < 0)
        throw KradonError(ErrorNumber::BadFileFormat, readSource,
                          "The model file is damaged: an expression has the negative length " +
                              std::to_string(length));
    std::string text(static_cast<std::size_t>(length), '\0');
    in.read(text.data(), length);
    if (in.gcount() != length)
        throw KradonError(ErrorNumber::BadFileFormat, readSource,
                          "The model file is damaged: it ends before the model is complete");
    return text;
}

// The bytes left in a seekable stream, or -1 when it cannot tell.
std::streamoff remainingBytes(std::istream& in) {
    const auto here = in.tellg();
    if (here == std::streampos(-1))
        return -1;
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    in.seekg(here);
    if (end == std::streampos(-1) || !in)
        return -1;
    return end - here;
}

// Refuses a MaxNoApplieds that the rest of the stream cannot hold, before any list is sized by
// it. Every numeric list takes 8 bytes per entry and every text at least its 2-byte length.
void checkShape(std::istream& in, std::int16_t maxNoApplieds) {
    if (maxNoApplieds < 0)
        throw KradonError(ErrorNumber::BadFileFormat, readSource,
                          "The model file is damaged: MaxNoApplieds is " +
                              std::to_string(maxNoApplieds));
    const std::streamoff entries = std::streamoff(maxNoApplieds) + 1;
    const std::streamoff needed = numericListCount * 8 * entries + 2 * 2 * entries;
    const std::streamoff left = remainingBytes(in);
    if (left >= 0 && left < needed)
        throw KradonError(ErrorNumber::BadFileFormat, readSource,
                          "The model file is damaged: it holds " + std::to_string(left) +
                              " bytes of lists where MaxNoApplieds " +
                              std::to_string(maxNoApplieds) + " needs at least " +
                              std::to_string(needed));
}

void checkCounts(const BeamModel& m) {
    for (const std::int16_t count : m.counts) {
        if (count < 0 || count > m.MaxNoApplieds)
            throw KradonError(ErrorNumber::BadFileFormat, readSource,
                              "The model file is damaged: a record count of " +
                                  std::to_string(count) + " is outside 0.." +
                                  std::to_string(m.MaxNoApplieds));
    }
}

std::string systemDescription(int error) {
    return std::generic_category().message(error);
}

// Creates a file of a new name in folder for this process alone (O_EXCL): another analysis,
// here or in another process, never gets the same file. Returns its descriptor and name.
std::pair<int, std::filesystem::path> createExclusively(const std::filesystem::path& folder) {
    static std::atomic<unsigned> serial{0};
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path name =
            folder /
            (AnalysisCopyPrefix + std::to_string(::getpid()) + "-" + std::to_string(serial++) +
             "-" + std::to_string(random()) + AnalysisCopySuffix);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            return {fd, name};
        if (errno != EEXIST)
            throw KradonError(ErrorNumber::FileIo, saveSource, systemDescription(errno));
    }
    throw KradonError(ErrorNumber::FileIo, saveSource, systemDescription(EEXIST));
}

// Writes all of bytes to fd; false on a write error.
bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

[[noreturn]] void failSave(const std::filesystem::path& temp, const std::string& description) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    throw KradonError(ErrorNumber::FileIo, saveSource, description);
}

} // namespace

void WriteModel(std::ostream& out, const BeamModel& m) {
    if (m.MaxNoApplieds < 0)
        throw KradonError(ErrorNumber::BadFileFormat, writeSource,
                          "MaxNoApplieds is " + std::to_string(m.MaxNoApplieds) +
                              "; a model file needs 0 or more");
    const auto entries = static_cast<std::size_t>(m.MaxNoApplieds) + 1;
    putDouble(out, m.span);
    putInt16(out, m.MaxNoApplieds);
    for (const std::int16_t count : m.counts)
        putInt16(out, count);
    // Entries a list lacks (a list never dimensioned) are written as 0 or empty.
    const auto numbers = [&](const std::vector<double>& list) {
        for (std::size_t i = 0; i < entries; ++i)
            putDouble(out, i < list.size() ? list[i] : 0.0);
    };
    const auto texts = [&](const std::vector<std::string>& list) {
        static const std::string empty;
        for (std::size_t i = 0; i < entries; ++i) {
            const std::string& text = i < list.size() ? list[i] : empty;
            putInt16(out, textLength16(text));
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
        }
    };
    forEachListInFileOrder(m, numbers, texts);
    if (!out)
        throw KradonError(ErrorNumber::FileIo, writeSource, "The model could not be written");
}

BeamModel ReadModel(std::istream& in) {
    BeamModel m;
    m.span = getDouble(in);
    m.MaxNoApplieds = getInt16(in);
    for (std::int16_t& count : m.counts)
        count = getInt16(in);
    checkShape(in, m.MaxNoApplieds);
    checkCounts(m);
    const auto entries = static_cast<std::size_t>(m.MaxNoApplieds) + 1;
    const auto numbers = [&](std::vector<double>& list) {
        list.assign(entries, 0.0);
        for (double& value : list)
            value = getDouble(in);
    };
    const auto texts = [&](std::vector<std::string>& list) {
        list.assign(entries, std::string());
        for (std::string& text : list)
            text = getText(in);
    };
    forEachListInFileOrder(m, numbers, texts);
    // Bytes after a complete model are left unread: older tools padded files, and nothing in
    // them could belong to this model.
    return m;
}

void SaveModelFile(const std::filesystem::path& path, const BeamModel& m) {
    std::ostringstream bytes(std::ios::binary);
    WriteModel(bytes, m);
    SafeFile::WriteFileAtomically(path, bytes.str(), saveSource);
}

BeamModel OpenModelFile(const std::filesystem::path& path) {
    std::istringstream in(
        SafeFile::ReadRegularFile(path, ModelFileMaxBytes, "a model file", openSource),
        std::ios::binary);
    return ReadModel(in);
}

AnalysisCopy::AnalysisCopy(const std::filesystem::path& folder, const BeamModel& m) {
    std::ostringstream bytes;
    WriteModel(bytes, m);
    const auto [fd, path] = createExclusively(folder);
    const bool written = writeAll(fd, bytes.str());
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed)
        failSave(path, systemDescription(!written ? writeError : errno));
    path_ = path;
}

AnalysisCopy::~AnalysisCopy() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

std::filesystem::path DefaultAnalysisFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir != '\0' && fs::is_directory(runtimeDir, ec))
        return SafeFile::PrivateFolder(runtimeDir, "kradon");
    const fs::path temp = fs::temp_directory_path(ec);
    return SafeFile::PrivateFolder(ec ? fs::path("/tmp") : temp,
                                   "kradon-" + std::to_string(::getuid()));
}

} // namespace kradon::modFileWrite
