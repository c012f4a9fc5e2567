// Writer and reader of the results file. Every number goes through its little-endian bytes, so
// the file is the same on any host; the layout has no header or version and its length follows
// from the node count alone.
#include "results/ResultsFile.h"

#include "model/KradonError.h"
#include "model/SafeFile.h"

#include <bit>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace kradon {
namespace {

constexpr const char* SaveSource = "SaveResultsFile";
constexpr const char* OpenSource = "OpenResultsFile";
constexpr std::size_t HeaderBytes = 12; // span, NodeCount, ElementCount

// ---- writing ----

void putBytes(std::string& out, std::uint64_t bits, int byteCount) {
    for (int i = 0; i < byteCount; ++i)
        out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFFu));
}

void putInt16(std::string& out, std::int16_t value) {
    putBytes(out, static_cast<std::uint16_t>(value), 2);
}

void putDouble(std::string& out, double value) {
    putBytes(out, std::bit_cast<std::uint64_t>(value), 8);
}

/// Entries 0..last of table; entries it does not hold are written as 0, so the file always has
/// the length its counts promise.
void putTable(std::string& out, const std::vector<double>& table, std::size_t last) {
    for (std::size_t i = 0; i <= last; ++i)
        putDouble(out, i < table.size() ? table[i] : 0.0);
}

std::int16_t count16(std::int32_t count, const char* name) {
    if (count < std::numeric_limits<std::int16_t>::min() ||
        count > std::numeric_limits<std::int16_t>::max())
        throw KradonError(ErrorNumber::Overflow, SaveSource,
                          std::string(name) + " " + std::to_string(count) +
                              " does not fit the results file");
    return static_cast<std::int16_t>(count);
}

std::string bytesOf(const ProgramState& s) {
    const std::int16_t n = count16(s.mesh.NodeCount, "NodeCount");
    const std::int16_t elements = count16(s.mesh.ElementCount, "ElementCount");
    if (n < 0)
        throw KradonError(ErrorNumber::Overflow, SaveSource,
                          "NodeCount " + std::to_string(n) + " is negative");
    const auto last = static_cast<std::size_t>(n);
    std::string out;
    out.reserve(static_cast<std::size_t>(ResultsFileSize(n)));
    putDouble(out, s.model.span);
    putInt16(out, n);
    putInt16(out, elements);
    putTable(out, s.mesh.NodeX, last);
    putTable(out, s.results.NodeDeflection, last);
    putTable(out, s.results.NodeShear, 2 * last);
    putTable(out, s.results.NodeMoment, last);
    putDouble(out, s.equations.CalcTime);
    putDouble(out, s.AnalysisTime);
    return out;
}

/// The bytes of the file at path past the first `from`, as far as a results file can reach;
/// nothing when there is no such file.
std::string tailOfOlderFile(const std::filesystem::path& path, std::size_t from) {
    try {
        const std::string older = SafeFile::ReadRegularFilePrefix(path, ResultsFileMaxBytes);
        return older.size() > from ? older.substr(from) : std::string();
    } catch (const KradonError&) {
        return {};
    }
}

// ---- reading ----

class ByteReader {
public:
    explicit ByteReader(const std::string& bytes) : bytes_(bytes) {}
    double getDouble() { return std::bit_cast<double>(get(8)); }
    std::int16_t getInt16() { return static_cast<std::int16_t>(get(2)); }
    void skip(std::size_t byteCount) { pos_ += byteCount; }
    std::vector<double> getTable(std::size_t count) {
        std::vector<double> table(count);
        for (double& v : table)
            v = getDouble();
        return table;
    }

private:
    std::uint64_t get(int byteCount) {
        // The caller has checked the length; running past it is a broken invariant.
        if (pos_ + static_cast<std::size_t>(byteCount) > bytes_.size())
            throw KradonError(ErrorNumber::BadFileFormat, OpenSource, "Read past the end");
        std::uint64_t bits = 0;
        for (int i = 0; i < byteCount; ++i)
            bits |= std::uint64_t{static_cast<unsigned char>(bytes_[pos_++])} << (8 * i);
        return bits;
    }
    const std::string& bytes_;
    std::size_t pos_ = 0;
};

/// Up to count bytes from in; fewer only at the end of the file.
std::string readUpTo(std::istream& in, std::size_t count) {
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        throw KradonError(ErrorNumber::FileIo, OpenSource, "The file could not be read");
    return bytes;
}

[[noreturn]] void damaged(const std::string& why) {
    throw KradonError(ErrorNumber::BadFileFormat, OpenSource, why);
}

struct ResultsRead {
    double span = 0;
    std::int16_t NodeCount = 0;
    std::int16_t ElementCount = 0;
    std::vector<double> NodeX, NodeDeflection, NodeShear, NodeMoment;
    ResultsFileTimes times;
};

ResultsRead readResults(std::istream& in) {
    std::string bytes = readUpTo(in, HeaderBytes);
    if (bytes.size() < HeaderBytes)
        damaged("The file is shorter than the 12 bytes of its counts");
    ResultsRead r;
    {
        ByteReader header(bytes);
        r.span = header.getDouble();
        r.NodeCount = header.getInt16();
        r.ElementCount = header.getInt16();
    }
    if (r.NodeCount < 1)
        damaged("NodeCount " + std::to_string(r.NodeCount) + " is below 1");
    if (r.ElementCount != r.NodeCount - 1)
        damaged("ElementCount " + std::to_string(r.ElementCount) + " is not NodeCount - 1");
    const auto size = static_cast<std::size_t>(ResultsFileSize(r.NodeCount));
    bytes += readUpTo(in, size - HeaderBytes);
    if (bytes.size() < size)
        damaged("The file holds " + std::to_string(bytes.size()) + " of its " +
                std::to_string(size) + " bytes");
    ByteReader body(bytes);
    body.skip(HeaderBytes); // span and counts, read above
    const auto n = static_cast<std::size_t>(r.NodeCount);
    r.NodeX = body.getTable(n + 1);
    r.NodeDeflection = body.getTable(n + 1);
    r.NodeShear = body.getTable(2 * n + 1);
    r.NodeMoment = body.getTable(n + 1);
    r.times.CalcTime = body.getDouble();
    r.times.AnalysisTime = body.getDouble();
    return r;
}

} // namespace

bool IsResultsFilePath(const std::string& path) {
    const std::string extension = ResultsFileExtension;
    return path.size() >= extension.size() &&
           path.compare(path.size() - extension.size(), extension.size(), extension) == 0;
}

void SaveResultsFile(const ProgramState& state, const std::filesystem::path& path) {
    std::string bytes = bytesOf(state);
    bytes += tailOfOlderFile(path, bytes.size());
    SafeFile::WriteFileAtomically(path, bytes, SaveSource);
}

std::string ResultsFileBytes(const ProgramState& state) {
    return bytesOf(state);
}

ResultsFileTimes ReadResultsFile(std::istream& in, ProgramState& state) {
    ResultsRead r = readResults(in);
    // Nothing in state changes until the whole file has been read and found sound.
    state.model.span = r.span;
    state.mesh.NodeCount = r.NodeCount;
    state.mesh.ElementCount = r.ElementCount;
    state.mesh.NumEquations = 2 * std::int32_t{r.NodeCount};
    state.mesh.NodeX = std::move(r.NodeX);
    state.results.NodeDeflection = std::move(r.NodeDeflection);
    state.results.NodeShear = std::move(r.NodeShear);
    state.results.NodeMoment = std::move(r.NodeMoment);
    // The file holds no element data: nothing between the nodes can be worked out from it.
    state.results.ElementFlexibility.clear();
    // The file does not say how E and I were taken: its report is the plain one.
    state.results.ExactSections = false;
    state.results.Discretisation = {};
    return r.times;
}

ResultsFileTimes OpenResultsFile(const std::filesystem::path& path, ProgramState& state) {
    std::istringstream in(
        SafeFile::ReadRegularFile(path, ResultsFileMaxBytes, "a results file", OpenSource),
        std::ios::binary);
    return ReadResultsFile(in, state);
}

} // namespace kradon
