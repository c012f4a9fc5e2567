// The command line of kradon-cli: usage, version, and printing a model file.
#include "cli/CliCommands.h"
#include "model/BeamModel.h"
#include "model/modFileWrite.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace kradon::cli {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kradon-cli-test-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST(Cli, VersionAndHelp) {
    const CliRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "1.0.6\n");

    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("kradon-cli show MODEL.kdn"), std::string::npos);
}

TEST(Cli, UsageErrorsExit64WithUsageText) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"show"}, {"show", "a.kdn", "b.kdn"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, ExitStatus::Usage);
        EXPECT_NE(r.err.find("Usage:"), std::string::npos);
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(CliTest, ShowPrintsEveryKindWithTheExplorerColumns) {
    BeamModel m;
    m.span = 10;
    ClearModelLists(m);
    m.count(RecordKind::PointLoad) = 1;
    m.PointLoad.value[1] = 50;
    m.PointLoad.location[1] = 4;
    m.count(RecordKind::RigidSupport) = 2;
    m.RigidSupport.type[1] = 1;
    m.RigidSupport.type[2] = 2;
    m.RigidSupport.location[2] = 10;
    m.count(RecordKind::ISegment) = 1;
    m.ISegment.variation[1] = 3;
    m.ISegment.disB[1] = 10;
    m.ISegment.expression[1] = "8000 + x";
    const auto path = dir_ / "beam.kdn";
    modFileWrite::SaveModelFile(path, m);

    const CliRun r = run({"show", path.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    EXPECT_NE(r.out.find("Beam Details\n"
                         "Overall span  E Values  I Values\n"
                         "10m           0         1\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Point Loads\n"
                         "Point Load No.  Load Value (kN)  Load Distance (m)\n"
                         "1               50               4\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Rigid Supports\n"
                         "Support No.  Support Type  Location (m)\n"
                         "1            Pinned        0\n"
                         "2            Fixed         10\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(
        r.out.find("1             0m     10m    Expression  0cm4   0cm4     0cm4     8000 + x"),
        std::string::npos)
        << r.out;
}

TEST_F(CliTest, MissingOrDamagedFileExits3WithTheOpenMessage) {
    const auto missing = dir_ / "missing.kdn";
    const CliRun absent = run({"show", missing.string()});
    EXPECT_EQ(absent.status, ExitStatus::FileProblem);
    EXPECT_EQ(absent.err.rfind("Kradon by Tarel Vestrun: Unkown error while opening file " +
                                   missing.string() + "\n",
                               0),
              0u)
        << absent.err;
    EXPECT_TRUE(absent.out.empty());

    const auto truncated = dir_ / "truncated.kdn";
    std::ofstream(truncated, std::ios::binary) << std::string(100, '\0');
    const CliRun damaged = run({"show", truncated.string()});
    EXPECT_EQ(damaged.status, ExitStatus::FileProblem);
    EXPECT_NE(damaged.err.find("Unkown error while opening file " + truncated.string()),
              std::string::npos);
    EXPECT_TRUE(damaged.out.empty());
}

} // namespace
} // namespace kradon::cli
