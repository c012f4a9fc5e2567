// Tests of the model file: its byte layout, round trips, damaged files and safe saving.
#include "../TestFolder.h"
#include "../TextFiles.h"
#include "../ThrownBy.h"
#include "model/BeamModel.h"
#include "model/KradonError.h"
#include "model/modFileWrite.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace kradon {
namespace {

namespace fs = std::filesystem;
using modFileWrite::ReadModel;
using modFileWrite::WriteModel;
using test::thrownBy;

BeamModel emptyModel(std::int16_t maxNoApplieds) {
    BeamModel m;
    m.MaxNoApplieds = maxNoApplieds;
    ClearModelLists(m);
    return m;
}

std::string bytesOf(const BeamModel& m) {
    std::ostringstream out(std::ios::binary);
    WriteModel(out, m);
    return out.str();
}

BeamModel modelFrom(const std::string& bytes) {
    std::istringstream in(bytes, std::ios::binary);
    return ReadModel(in);
}

// The fields are read and written in place: the file is little-endian, as the host is.
static_assert(std::endian::native == std::endian::little);

template <class T> T at(const std::string& bytes, std::size_t offset) {
    T value;
    std::memcpy(&value, bytes.substr(offset, sizeof value).data(), sizeof value);
    return value;
}

// A folder of the test's own, removed afterwards.
class modFileWriteFolder : public ::testing::Test {
protected:
    const test::TestFolder folder_;
    const std::filesystem::path dir_ = folder_.path();
};

/// The number of bytes of a model file of capacity m without segments.
constexpr std::size_t emptyFileSize(std::size_t m) {
    return 28 + 31 * 8 * (m + 1) + 2 * 2 * (m + 1);
}

TEST(modFileWriteLayout, EachNoneOrLinearSegmentAddsThreeBytes) {
    for (const auto& [k, j] : {std::pair{0, 0}, {1, 0}, {0, 1}, {3, 2}, {10, 10}}) {
        BeamModel m = emptyModel(10);
        for (int n = 1; n <= k; ++n) {
            m.ESegment.variation[n] = n % 2 ? Variation::None : Variation::Linear;
            m.ESegment.expression[n] = "N/A";
        }
        for (int n = 1; n <= j; ++n) {
            m.ISegment.variation[n] = Variation::None;
            m.ISegment.expression[n] = "N/A";
        }
        m.count(RecordKind::ESegment) = static_cast<std::int16_t>(k);
        m.count(RecordKind::ISegment) = static_cast<std::int16_t>(j);
        EXPECT_EQ(bytesOf(m).size(), 2800u + 3u * (k + j)) << "k=" << k << " j=" << j;
    }
    EXPECT_EQ(bytesOf(BeamModel{}), bytesOf(emptyModel(10))) << "short lists write as empty";
}

TEST(modFileWriteLayout, FieldsSitAtTheirOffsets) {
    constexpr std::size_t L = 88;
    BeamModel m = emptyModel(10);
    m.span = 12.5;
    for (int kind = 0; kind < RecordKindCount; ++kind)
        m.counts[kind] = static_cast<std::int16_t>(kind + 1);
    m.PointLoad.value[1] = -7.25;
    m.RigidSupport.type[2] = SupportType::Fixed;
    m.SpringSupport.location[3] = 4.5;
    m.FixedDisplacement.location[0] = 2.0;
    m.ESegment.linearEnd[10] = 30;
    m.ESegment.expression[0] = "x*2";
    m.ISegment.variation[1] = Variation::Curve;
    const std::string bytes = bytesOf(m);

    EXPECT_EQ(at<double>(bytes, 0), 12.5);
    EXPECT_EQ(at<std::int16_t>(bytes, 8), 10);
    for (int kind = 0; kind < RecordKindCount; ++kind)
        EXPECT_EQ(at<std::int16_t>(bytes, 10 + 2 * kind), kind + 1);
    EXPECT_EQ(at<double>(bytes, 28 + 0 * L + 8), -7.25);
    EXPECT_EQ(at<double>(bytes, 28 + 11 * L + 16), 2.0);
    EXPECT_EQ(at<double>(bytes, 28 + 13 * L + 24), 4.5);
    EXPECT_EQ(at<double>(bytes, 28 + 16 * L), 2.0);
    EXPECT_EQ(at<double>(bytes, 28 + 24 * L + 80), 30.0);
    EXPECT_EQ(at<std::int16_t>(bytes, 28 + 25 * L), 3);
    EXPECT_EQ(bytes.substr(28 + 25 * L + 2, 3), "x*2");
    // Then ten empty texts, then the I variations.
    EXPECT_EQ(at<double>(bytes, 28 + 25 * L + 5 + 20 + 8), Variation::Curve);
    // Little-endian whatever the host: 12.5 is 0x4029000000000000.
    EXPECT_EQ(static_cast<unsigned char>(bytes[7]), 0x40);
    EXPECT_EQ(static_cast<unsigned char>(bytes[6]), 0x29);

    m = emptyModel(5);
    m.ISegment.expression[2] = std::string(32767, 'x');
    EXPECT_EQ(bytesOf(m).size(), emptyFileSize(5) + 32767u);
    m.ISegment.expression[2] += 'x';
    std::ostringstream out;
    EXPECT_THROW(WriteModel(out, m), KradonError) << "a text too long for its length field";
}

BeamModel busyModel() {
    BeamModel m = emptyModel(5);
    m.span = 9.75;
    m.count(RecordKind::PointLoad) = 2;
    m.PointLoad.value = {0.5, 10, -3, 99, 0, 0}; // entries 3 and 0 are stale
    m.PointLoad.location = {0, 1, 2, 3, 4, 5};
    m.count(RecordKind::RigidSupport) = 2;
    m.RigidSupport.type = {0, 1, 2, 1, 0, 2};
    m.SpringSupport.rotational[5] = 1e9;
    m.FixedDisplacement.vertical[4] = -0.0;
    m.TDL.end[1] = std::nan("");
    m.count(RecordKind::ESegment) = 1;
    m.ESegment.variation[1] = Variation::Curve;
    m.ESegment.expression = {"", "200 + 10*sin( x / 3 )", "", "N/A", "", "stale"};
    m.ISegment.expression[0] = "entry zero";
    return m;
}

// Stale entries, entry 0, -0 and NaN come back; the capacity comes from the file; bytes after
// the model are ignored.
TEST(modFileWriteRoundTrip, EveryEntryComesBack) {
    const BeamModel m = busyModel();
    const BeamModel back = modelFrom(bytesOf(m));
    EXPECT_TRUE(std::isnan(back.TDL.end[1]));
    // NaN never compares equal, so compare the bytes of a second write as well.
    EXPECT_EQ(bytesOf(back), bytesOf(m));
    BeamModel withoutNaN = m;
    withoutNaN.TDL.end[1] = 0;
    EXPECT_EQ(modelFrom(bytesOf(withoutNaN) + "junk"), withoutNaN);

    BeamModel large = emptyModel(20);
    large.UDL.end[20] = 8;
    const BeamModel largeBack = modelFrom(bytesOf(large));
    EXPECT_EQ(largeBack.MaxNoApplieds, 20);
    EXPECT_EQ(largeBack.ISegment.expression.size(), 21u);
    EXPECT_EQ(largeBack, large);

    // A stream that cannot seek, as a pipe, cannot tell how much follows; it is read all the same.
    struct Unseekable : std::streambuf {
        explicit Unseekable(std::string& bytes) {
            setg(bytes.data(), bytes.data(), bytes.data() + bytes.size());
        }
    };
    std::string bytes = bytesOf(large);
    Unseekable buffer(bytes);
    std::istream pipe(&buffer);
    EXPECT_EQ(ReadModel(pipe), large);
}

TEST_F(modFileWriteFolder, EachAnalysisCopyIsAFileOfItsOwnRemovedAfterwards) {
    // A file of the name one fixed copy used to have is neither used nor touched.
    std::ofstream(dir_ / "kradon.tmp") << "someone else's";
    BeamModel a = emptyModel(10);
    a.count(RecordKind::ESegment) = 1;
    a.ESegment.variation[1] = Variation::Curve;
    a.ESegment.expression[1] = "200 + 10*sin( x / 3 )";
    BeamModel b = emptyModel(12);
    b.span = 9;
    fs::path pathA;
    {
        const modFileWrite::AnalysisCopy copyA(dir_, a);
        const modFileWrite::AnalysisCopy copyB(dir_, b);
        pathA = copyA.path();
        EXPECT_NE(copyA.path(), copyB.path());
        EXPECT_EQ(copyA.path().parent_path(), dir_);
        EXPECT_TRUE(copyA.path().filename().string().starts_with("kradon-"));
        EXPECT_EQ(copyA.path().extension(), ".tmp");
        EXPECT_EQ(fs::status(copyA.path()).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write);
        EXPECT_EQ(copyA.read(), a);
        EXPECT_EQ(copyB.read(), b);
        EXPECT_EQ(test::FileNames(dir_).size(), 3u);
    }
    EXPECT_FALSE(fs::exists(pathA));
    EXPECT_EQ(test::FileNames(dir_), std::vector<std::string>{"kradon.tmp"});
    EXPECT_EQ(test::ReadFile(dir_ / "kradon.tmp"), "someone else's");

    const KradonError e = thrownBy([&] { modFileWrite::AnalysisCopy(dir_ / "missing", a); });
    EXPECT_EQ(e.number(), ErrorNumber::FileIo);
    EXPECT_STREQ(e.what(), "No such file or directory");
    EXPECT_EQ(test::FileNames(dir_), std::vector<std::string>{"kradon.tmp"});
}

TEST(modFileWriteDamaged, EachDamageThrowsBadFileFormat) {
    const std::string good = bytesOf(emptyModel(5));
    struct Case {
        const char* name;
        std::size_t offset;
        std::int16_t value;
        std::string says; // how the message begins after "The model file is damaged: "
    };
    const std::size_t firstEText = 28 + 25 * 48;
    const std::string tooShort = "it holds 1512 bytes of lists where MaxNoApplieds ";
    for (const Case& c :
         {Case{"negative M", 8, -1, "MaxNoApplieds is -1"},
          Case{"huge M", 8, 32767, tooShort + "32767 needs at least 8257536"},
          Case{"M one too big", 8, 6, tooShort + "6 needs at least 1764"},
          Case{"count -1", 10, -1, "a record count of -1"},
          Case{"count M+1", 26, 6, "a record count of 6"},
          Case{"negative text length", firstEText, -2, "an expression has the negative length"},
          Case{"text past the end", firstEText + 12 + 6 * 48, 200, "it ends before"}}) {
        std::string bytes = good;
        std::memcpy(bytes.data() + c.offset, &c.value, 2);
        const KradonError e = thrownBy([&] { modelFrom(bytes); });
        EXPECT_EQ(e.number(), ErrorNumber::BadFileFormat) << c.name;
        EXPECT_EQ(e.source(), "ReadModel") << c.name;
        EXPECT_TRUE(std::string(e.what()).starts_with("The model file is damaged: " + c.says))
            << e.what();
    }
}

TEST(modFileWriteDamaged, EveryTruncationThrowsAndLeavesTheCallersModel) {
    const BeamModel m = busyModel();
    const std::string bytes = bytesOf(m);
    BeamModel callers = m;
    for (std::size_t length = 0; length < bytes.size(); ++length)
        EXPECT_THROW(callers = modelFrom(bytes.substr(0, length)), KradonError) << length;
    EXPECT_EQ(bytesOf(callers), bytes);
}

// A failed save, whether the place or the model cannot be written, keeps the old file.
TEST_F(modFileWriteFolder, SaveReplacesTheFileOrThrowsAndKeepsIt) {
    const fs::path path = dir_ / "beam.kdn";
    modFileWrite::SaveModelFile(path, emptyModel(5));
    modFileWrite::SaveModelFile(path, emptyModel(10));
    EXPECT_EQ(fs::file_size(path), emptyFileSize(10));
    // A target whose parent is a regular file cannot be written, even by root.
    const KradonError e = thrownBy([&] { modFileWrite::SaveModelFile(path / "in.kdn", {}); });
    EXPECT_EQ(e.number(), ErrorNumber::FileIo);
    EXPECT_EQ(e.source(), "SaveModel");
    EXPECT_STRNE(e.what(), "");
    EXPECT_THROW(modFileWrite::SaveModelFile(dir_ / "missing" / "a.kdn", emptyModel(5)),
                 KradonError);
    BeamModel bad = emptyModel(5);
    bad.ESegment.expression[1] = std::string(40000, 'x');
    EXPECT_THROW(modFileWrite::SaveModelFile(path, bad), KradonError);
    EXPECT_EQ(modFileWrite::OpenModelFile(path), emptyModel(10));
    EXPECT_EQ(test::FileNames(dir_), std::vector<std::string>{"beam.kdn"})
        << "no temporary file left";

    const KradonError missing = thrownBy([&] { modFileWrite::OpenModelFile(dir_ / "absent.kdn"); });
    EXPECT_EQ(missing.number(), ErrorNumber::FileIo);
    EXPECT_STREQ(missing.what(), "No such file or directory");
    EXPECT_THROW(modFileWrite::OpenModelFile(dir_), KradonError);
}

// The shell's tests check the other texts: the new model's name and the error prefixes.
TEST(modFileWriteConstants, TextsAreExactAndTheAnalysisFolderPrivate) {
    EXPECT_STREQ(modFileWrite::DefaultExtension, "kdn");
    const fs::path folder = modFileWrite::DefaultAnalysisFolder();
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(fs::status(folder).permissions() & (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none);
}

} // namespace
} // namespace kradon
