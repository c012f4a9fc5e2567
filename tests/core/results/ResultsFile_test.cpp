// The results file: its byte layout, the round trip through the report, and the refusal of
// damaged files without touching the tables in memory.
#include "../TestFolder.h"
#include "../TextFiles.h"
#include "../analysis/AnalysisTestSupport.h"
#include "ResultsState.h"
#include "model/KradonError.h"
#include "results/ResultsFile.h"
#include "results/modResults.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace kradon {
namespace {

class ResultsFileTest : public ::testing::Test {
protected:
    const test::TestFolder folder_;
    const std::filesystem::path dir_ = folder_.path();
};

/// The doubles at offset on, decoded little-endian byte by byte, independent of the host's byte
/// order.
std::vector<double> doublesAt(const std::string& bytes, std::size_t offset, std::size_t count) {
    std::vector<double> v(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t bits = 0;
        for (std::size_t b = 8; b-- > 0;)
            bits = (bits << 8) | static_cast<unsigned char>(bytes.at(offset + 8 * i + b));
        std::memcpy(&v[i], &bits, sizeof bits);
    }
    return v;
}

/// What a read may change, compared field by field.
void expectSameReadFields(const ProgramState& a, const ProgramState& b) {
    EXPECT_EQ(a.model.span, b.model.span);
    EXPECT_EQ(a.mesh.NodeCount, b.mesh.NodeCount);
    EXPECT_EQ(a.mesh.ElementCount, b.mesh.ElementCount);
    EXPECT_EQ(a.mesh.NumEquations, b.mesh.NumEquations);
    EXPECT_EQ(a.mesh.NodeX, b.mesh.NodeX);
    EXPECT_EQ(a.results.NodeDeflection, b.results.NodeDeflection);
    EXPECT_EQ(a.results.NodeShear, b.results.NodeShear);
    EXPECT_EQ(a.results.NodeMoment, b.results.NodeMoment);
    EXPECT_EQ(a.equations.CalcTime, b.equations.CalcTime);
    EXPECT_EQ(a.AnalysisTime, b.AnalysisTime);
}

// tests/data/results/three-nodes.kxr holds the tables of ResultsState.h as SaveResultsFile wrote
// them; rewrite it on purpose only when the layout is meant to change.
TEST_F(ResultsFileTest, ThreeNodesGiveTheFieldsAtTheirOffsetsAsInTheStoredFile) {
    const ProgramState s = test::ThreeNodeState();
    SaveResultsFile(s, dir_ / "three.kxr");
    const std::string bytes = test::ReadFile(dir_ / "three.kxr");
    ASSERT_EQ(bytes.size(), 180u);
    // 4.0 is 0x4010000000000000: seven zero bytes and then 0x40 last.
    EXPECT_EQ(bytes.substr(0, 8), std::string("\0\0\0\0\0\0\x10\x40", 8));
    EXPECT_EQ(bytes.substr(8, 4), std::string("\x03\x00\x02\x00", 4)); // NodeCount, ElementCount
    EXPECT_EQ(doublesAt(bytes, 12, 4), (std::vector<double>{0, 0, 2, 4}));
    EXPECT_EQ(doublesAt(bytes, 44, 4), (std::vector<double>{0, 0, 0.0042, -0.0001}));
    // NodeShear fills bytes 76 to 131: seven values; then the moments, CalcTime, AnalysisTime.
    EXPECT_EQ(doublesAt(bytes, 76, 7), (std::vector<double>{0, 11, 5000, 4500, -4600, -4000, 777}));
    EXPECT_EQ(doublesAt(bytes, 132, 6), (std::vector<double>{0, 0, 10000, -250, 0.25, 1.5}));
    EXPECT_EQ(ResultsFileBytes(s), bytes);
    const std::filesystem::path stored = KRADON_TEST_DATA "/results/three-nodes.kxr";
    EXPECT_EQ(test::ReadFile(stored), bytes);
    ProgramState read;
    const ResultsFileTimes times = OpenResultsFile(stored, read);
    read.equations.CalcTime = times.CalcTime;
    read.AnalysisTime = times.AnalysisTime;
    expectSameReadFields(read, s);
}

TEST_F(ResultsFileTest, LengthIsSixtyPlusFortyPerNode) {
    for (const std::int32_t n : {1, 2, 17, 300}) {
        ProgramState s;
        s.mesh.NodeCount = n;
        s.mesh.ElementCount = n - 1;
        SaveResultsFile(s, dir_ / "n.kxr");
        EXPECT_EQ(std::filesystem::file_size(dir_ / "n.kxr"), 60u + 40u * unsigned(n));
        EXPECT_EQ(ResultsFileSize(n), 60u + 40u * unsigned(n));
    }
}

TEST_F(ResultsFileTest, ReadSizesTheTablesFromTheCountsAndReturnsTheTimes) {
    const ProgramState written = test::ThreeNodeState();
    const auto path = dir_ / "three.kxr";
    SaveResultsFile(written, path);

    ProgramState larger = test::ThreeNodeState();
    larger.mesh.NodeCount = 9;
    larger.mesh.NodeX.assign(10, 7);
    larger.results.NodeShear.assign(19, 7);
    larger.results.NodeDeflection.clear(); // as before any analysis
    larger.results.NodeMoment.clear();
    larger.model.span = 99;
    larger.equations.CalcTime = 8;
    larger.AnalysisTime = 9;
    larger.results.ExactSections = true;
    const ResultsFileTimes times = OpenResultsFile(path, larger);

    EXPECT_EQ(times.CalcTime, 0.25);
    EXPECT_EQ(times.AnalysisTime, 1.5);
    // The times only reach the caller; the held ones stay.
    EXPECT_EQ(larger.equations.CalcTime, 8);
    EXPECT_EQ(larger.AnalysisTime, 9);
    larger.equations.CalcTime = written.equations.CalcTime;
    larger.AnalysisTime = written.AnalysisTime;
    expectSameReadFields(larger, written);
    // Left by an analysis that integrated varying E and I exactly: the file does not say so.
    EXPECT_FALSE(larger.results.ExactSections);
    EXPECT_EQ(DoResults(larger, "", 0, 0), DoResults(written, "", 0, 0));
}

TEST_F(ResultsFileTest, OlderLongerFileKeepsItsTailAndReadsBackTheNewResults) {
    const auto path = dir_ / "reused.kxr";
    ProgramState five;
    five.mesh.NodeCount = 5;
    five.mesh.ElementCount = 4;
    five.mesh.NodeX.assign(6, 123.25);
    SaveResultsFile(five, path);
    const std::string older = test::ReadFile(path);
    ASSERT_EQ(older.size(), 260u);

    const ProgramState three = test::ThreeNodeState();
    SaveResultsFile(three, path);
    const std::string bytes = test::ReadFile(path);
    ASSERT_EQ(bytes.size(), 260u);
    EXPECT_EQ(bytes.substr(0, 180), ResultsFileBytes(three));
    EXPECT_EQ(bytes.substr(180), older.substr(180));

    ProgramState read = test::ThreeNodeState();
    const ResultsFileTimes t = OpenResultsFile(path, read);
    EXPECT_EQ(DoResults(read, "", t.CalcTime, t.AnalysisTime), DoResults(three, "", 0.25, 1.5));
}

/// Requires f to throw the error of the given number.
template <typename F> void expectError(F&& f, std::int32_t number) {
    try {
        f();
        ADD_FAILURE() << "no error";
    } catch (const KradonError& e) {
        EXPECT_EQ(e.number(), number);
    }
}

/// Requires the bytes to be refused as a damaged file with nothing read.
void expectDamaged(const std::string& bytes) {
    std::istringstream in(bytes, std::ios::binary);
    ProgramState s = test::ThreeNodeState();
    s.model.span = 7; // differs from the file's, so a partial read would show
    s.mesh.NodeX = {0, 1, 2};
    const ProgramState before = s;
    expectError([&] { ReadResultsFile(in, s); }, ErrorNumber::BadFileFormat);
    expectSameReadFields(s, before);
}

TEST(ResultsFile, TruncatedAtEveryLengthIsDamaged) {
    const std::string whole = ResultsFileBytes(test::ThreeNodeState());
    for (std::size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE(length);
        expectDamaged(whole.substr(0, length));
    }
}

// Counts that do not fit one another or the length; 32767 nodes in a short file.
TEST(ResultsFile, BadCountsAreDamaged) {
    const std::int16_t smallest = std::numeric_limits<std::int16_t>::min();
    const std::pair<std::int16_t, std::int16_t> counts[] = {
        {0, -1}, {-1, -2}, {smallest, 0}, {3, 3}, {3, 1}, {3, -1}, {2, 2}, {1, 1}, {32767, 32766}};
    for (const auto& [nodes, elements] : counts) {
        SCOPED_TRACE(std::to_string(nodes) + " nodes, " + std::to_string(elements));
        std::string bytes = ResultsFileBytes(test::ThreeNodeState());
        bytes[8] = static_cast<char>(nodes & 0xFF);
        bytes[9] = static_cast<char>((nodes >> 8) & 0xFF);
        bytes[10] = static_cast<char>(elements & 0xFF);
        bytes[11] = static_cast<char>((elements >> 8) & 0xFF);
        expectDamaged(bytes);
    }
}

TEST_F(ResultsFileTest, OneNodeIsTheSmallestSoundFile) {
    ProgramState one;
    one.model.span = 2.5;
    one.mesh.NodeCount = 1;
    one.mesh.NodeX = {0, 2.5};
    const std::string bytes = ResultsFileBytes(one);
    ASSERT_EQ(bytes.size(), 100u);
    std::istringstream in(bytes, std::ios::binary);
    ProgramState s;
    ReadResultsFile(in, s);
    EXPECT_EQ(s.mesh.NodeCount, 1);
    EXPECT_EQ(s.mesh.ElementCount, 0);
    EXPECT_EQ(s.mesh.NodeX, (std::vector<double>{0, 2.5}));
    EXPECT_EQ(s.results.NodeShear.size(), 3u);
}

// Missing files, folders and paths in no folder; counts beyond sixteen bits before the file is
// touched.
TEST_F(ResultsFileTest, PathsThatCannotBeReadOrWrittenAndCountsBeyondSixteenBits) {
    ProgramState s = test::ThreeNodeState();
    const ProgramState before = s;
    expectError([&] { OpenResultsFile(dir_ / "missing.kxr", s); }, ErrorNumber::FileIo);
    expectError([&] { OpenResultsFile(dir_, s); }, ErrorNumber::FileIo);
    expectSameReadFields(s, before);
    expectError([&] { SaveResultsFile(s, dir_ / "no-folder" / "r.kxr"); }, ErrorNumber::FileIo);
    expectError([&] { SaveResultsFile(s, dir_); }, ErrorNumber::FileIo);
    s.mesh.NodeCount = 40000;
    s.mesh.ElementCount = 39999;
    expectError([&] { SaveResultsFile(s, dir_ / "big.kxr"); }, ErrorNumber::Overflow);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "big.kxr"));
}

TEST(IsResultsFilePath, LastThreeCharactersExactly) {
    for (const char* path : {"/tmp/beam.kxr", "kxr", "beamkxr"})
        EXPECT_TRUE(IsResultsFilePath(path)) << path;
    for (const char* path : {"/tmp/beam.KXR", "/tmp/beam.Kxr", "/tmp/beam.kxr.txt", "xr", ""})
        EXPECT_FALSE(IsResultsFilePath(path)) << path;
}

TEST_F(ResultsFileTest, AnalyseSaveOpenGivesTheSameReportButForPathAndTimes) {
    ProgramState s;
    s.model = test::Beam(10).pinned(0).fixed(10).pointLoad(20, 3).udl(5, 0, 10).build();
    ASSERT_EQ(test::AnalyseByCommand(s, dir_), AnalyseOutcome::Completed);
    const std::string shown = DoResults(s, "", s.equations.CalcTime, s.AnalysisTime);

    const auto path = dir_ / "beam.kxr";
    SaveResultsFile(s, path);
    const ResultsFileTimes t = OpenResultsFile(path, s);
    EXPECT_EQ(t.CalcTime, s.equations.CalcTime);
    EXPECT_EQ(t.AnalysisTime, s.AnalysisTime);
    std::vector<std::string> expected = test::ReportLines(shown);
    ASSERT_GT(expected.size(), 40u);
    expected[3] = "Results File: " + path.string();
    expected[6] = "Problem calculation time 1secs";
    expected[7] = "Total time taken was: 2secs";
    EXPECT_EQ(test::ReportLines(DoResults(s, path.string(), 1, 2)), expected);
}

} // namespace
} // namespace kradon
