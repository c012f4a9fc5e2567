// Safe file writing and reading: every writer of the program keeps the old bytes on every kind of
// failure, keeps permissions and links, clears its own leftovers; readers never block on a pipe;
// the private folders refuse what another user made; outputs are checked against each other.
#include "../FileSafetySupport.h"
#include "../TestFolder.h"
#include "../TextFiles.h"
#include "../ThrownBy.h"
#include "../results/ResultsState.h"
#include "model/BeamModel.h"
#include "model/KradonError.h"
#include "model/OutputPaths.h"
#include "model/SafeFile.h"
#include "model/modFileWrite.h"
#include "results/ResultsFile.h"
#include "results/modResults.h"

#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kradon {
namespace {

namespace fs = std::filesystem;
using SafeFile::WriteStep;
using test::fileBytes;
using test::thrownBy;
using test::writeBytes;

class SafeFileTest : public ::testing::Test {
protected:
    const test::TestFolder folder_;
    const fs::path dir_ = folder_.path();
};

/// Each writer of a file of the program, as the program calls it on path.
struct Writer {
    const char* name;
    std::function<void(const fs::path&)> write;
};

std::vector<Writer> everyWriter() {
    return {
        {"WriteFileAtomically",
         [](const fs::path& p) { SafeFile::WriteFileAtomically(p, std::string(9000, 'n')); }},
        {"SaveModelFile", [](const fs::path& p) { modFileWrite::SaveModelFile(p, BeamModel{}); }},
        {"SaveResultsFile", [](const fs::path& p) { SaveResultsFile(test::ThreeNodeState(), p); }},
        {"WriteResults",
         [](const fs::path& p) {
             SafeFile::WriteFileAtomically(p, [](const ByteSink& sink) {
                 WriteResults(test::ThreeNodeState(), "", 0, 0, sink);
             });
         }},
    };
}

TEST_F(SafeFileTest, AProducerThatFailsHalfWayLeavesTheOldFileAndPassesItsErrorOn) {
    const fs::path target = dir_ / "report.txt";
    writeBytes(target, "old report");
    ProgramState s = test::ThreeNodeState();
    s.results.NodeDeflection.resize(2); // the third node's row throws
    const KradonError e = thrownBy([&] {
        SafeFile::WriteFileAtomically(target, [&s](const ByteSink& sink) {
            sink(std::string(100000, 'x')); // written before the failure
            WriteResults(s, "", 0, 0, sink);
        });
    });
    EXPECT_EQ(e.source(), "DoResults");
    EXPECT_STREQ(e.what(), "NodeDeflection has no entry 2");
    EXPECT_EQ(fileBytes(target), "old report");
    EXPECT_EQ(test::FileNames(dir_), std::vector<std::string>{"report.txt"})
        << "no temporary file left";
}

TEST_F(SafeFileTest, EveryWriterKeepsTheOldBytesAtEveryFailingStep) {
    const std::string old = "the old file's bytes, which must survive";
    const fs::path target = dir_ / "kept.bin";
    for (const Writer& writer : everyWriter()) {
        for (const auto step :
             {WriteStep::Create, WriteStep::Write, WriteStep::Sync, WriteStep::Rename}) {
            SCOPED_TRACE(std::string(writer.name) + " failing at step " +
                         std::to_string(static_cast<int>(step)));
            writeBytes(target, old);
            {
                const test::InjectedWriteFault fault(step, ENOSPC);
                const KradonError e = thrownBy([&] { writer.write(target); });
                EXPECT_EQ(e.number(), ErrorNumber::FileIo);
                EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos);
            }
            EXPECT_EQ(fileBytes(target), old);
            EXPECT_EQ(test::FileNames(dir_), std::vector<std::string>{"kept.bin"})
                << "no temporary file left";
            // A file that was not there before is not there after a failure either.
            fs::remove(target);
            const test::InjectedWriteFault fault(step, EIO);
            EXPECT_THROW(writer.write(target), KradonError);
            EXPECT_TRUE(test::FileNames(dir_).empty());
        }
    }
}

TEST_F(SafeFileTest, AFullDiskKeepsTheOldBytesOfEveryWriter) {
    const fs::path mountPoint = dir_ / "small";
    fs::create_directory(mountPoint);
    const test::SmallFilesystem disk(mountPoint);
    if (!disk.mounted())
        GTEST_SKIP() << test::SmallFilesystem::SkipText;
    const fs::path target = mountPoint / "kept.bin";
    writeBytes(target, "old bytes");
    disk.fill();
    for (const Writer& writer : everyWriter()) {
        SCOPED_TRACE(writer.name);
        EXPECT_THROW(writer.write(target), KradonError);
        EXPECT_EQ(fileBytes(target), "old bytes");
        EXPECT_EQ(test::FileNames(mountPoint), (std::vector<std::string>{"filler", "kept.bin"}));
    }
    // Once there is room again the write goes through.
    fs::remove(mountPoint / "filler");
    SafeFile::WriteFileAtomically(target, "new bytes");
    EXPECT_EQ(fileBytes(target), "new bytes");
}

TEST_F(SafeFileTest, EveryWriterKeepsModeAndGroupAndWritesThroughALink) {
    for (const Writer& writer : everyWriter()) {
        SCOPED_TRACE(writer.name);
        const fs::path target = dir_ / "private.bin";
        const fs::path link = dir_ / "link.bin";
        writeBytes(target, "old");
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        // Root may give the file to any group; others keep their own.
        const gid_t group = ::geteuid() == 0 ? 4 : ::getegid();
        ASSERT_EQ(::chown(target.c_str(), static_cast<uid_t>(-1), group), 0);
        fs::create_symlink("private.bin", link);

        writer.write(link);
        EXPECT_TRUE(fs::is_symlink(link)) << "the link stays a link";
        EXPECT_NE(fileBytes(target), "old") << "the file it names was written";
        struct stat info {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_EQ(info.st_gid, group);
        fs::remove(link);
        fs::remove(target);
    }
    // New files follow the umask; a dangling link creates its target.
    const mode_t previous = ::umask(027);
    fs::create_symlink("made.bin", dir_ / "dangling.bin");
    SafeFile::WriteFileAtomically(dir_ / "dangling.bin", "made");
    ::umask(previous);
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.bin"));
    EXPECT_EQ(fileBytes(dir_ / "made.bin"), "made");
    EXPECT_EQ(fs::status(dir_ / "made.bin").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// Six of each, so that whatever order the folder lists them in, a running write's file nearly
// always comes after an ended one's.
TEST_F(SafeFileTest, LeftoversOfEndedWritesGoAndOthersStay) {
    const pid_t ended = test::endedProcessId();
    std::vector<std::string> kept = {
        "m.kdn.tmp-" + std::to_string(ended) + "-x-1",     // not of this naming
        "m.kdn.tmp-" + std::to_string(ended),              // not of this naming either
        "other.kdn.tmp-" + std::to_string(ended) + "-0-1", // beside another file
    };
    for (int k = 0; k < 6; ++k) {
        writeBytes(dir_ / ("m.kdn.tmp-" + std::to_string(ended) + "-" + std::to_string(k) + "-1"),
                   "");
        kept.push_back("m.kdn.tmp-" + std::to_string(::getpid()) + "-" + std::to_string(k) + "-8");
    }
    for (const std::string& name : kept)
        writeBytes(dir_ / name, "");
    modFileWrite::SaveModelFile(dir_ / "m.kdn", BeamModel{});
    std::vector<std::string> expected = kept;
    expected.push_back("m.kdn");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(test::FileNames(dir_), expected);
}

TEST_F(SafeFileTest, SpecialFilesAreWrittenDirectlyAndFoldersRefused) {
    SafeFile::WriteFileAtomically("/dev/null", "gone");
    EXPECT_STREQ(thrownBy([] { SafeFile::WriteFileAtomically("/dev/full", "never"); }).what(),
                 "No space left on device");
    EXPECT_STREQ(thrownBy([&] { SafeFile::WriteFileAtomically(dir_, "never"); }).what(),
                 "Is a directory");
}

TEST_F(SafeFileTest, ReadersRefuseWhatIsNoRegularFileWithoutBlocking) {
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    writeBytes(dir_ / "big", std::string(101, 'b'));
    const std::pair<fs::path, std::string> cases[] = {
        {dir_ / "pipe", SafeFile::NotRegularText},
        {"/dev/zero", SafeFile::NotRegularText},
        {dir_, "Is a directory"},
        {dir_ / "missing", "No such file or directory"},
        {dir_ / "big", "It is larger than the 100 bytes that a test file can hold"},
    };
    for (const auto& [path, description] : cases) {
        const KradonError e =
            thrownBy([&] { SafeFile::ReadRegularFile(path, 100, "a test file"); });
        EXPECT_EQ(e.what(), description) << path;
        EXPECT_EQ(e.number(), ErrorNumber::FileIo);
    }
    EXPECT_EQ(SafeFile::ReadRegularFile(dir_ / "big", 101, "a test file").size(), 101u);
    EXPECT_EQ(SafeFile::ReadRegularFilePrefix(dir_ / "big", 14), std::string(14, 'b'));
    EXPECT_THROW(SafeFile::ReadRegularFilePrefix(dir_ / "pipe", 14), KradonError);

    // The model and results readers go through the same check.
    EXPECT_THROW(modFileWrite::OpenModelFile(dir_ / "pipe"), KradonError);
    ProgramState s;
    EXPECT_THROW(OpenResultsFile(dir_ / "pipe", s), KradonError);
}

TEST_F(SafeFileTest, PrivateFolderIsMadeClosedAndRefusedWhenNotTheUsersOwn) {
    const fs::path made = SafeFile::PrivateFolder(dir_, "fresh");
    EXPECT_EQ(made, dir_ / "fresh");
    EXPECT_EQ(fs::status(made).permissions(), fs::perms::owner_all);
    EXPECT_EQ(SafeFile::PrivateFolder(dir_, "fresh"), made) << "an existing one is used again";

    fs::create_directory(dir_ / "open");
    fs::permissions(dir_ / "open", fs::perms::all);
    fs::create_directory_symlink(made, dir_ / "link");
    writeBytes(dir_ / "file", "");
    std::vector<std::pair<std::string, std::string>> cases = {{"open", "other users may enter it"},
                                                              {"link", "it is not a folder"},
                                                              {"file", "it is not a folder"}};
    if (::geteuid() == 0) {
        // Taken first by another user (nobody), with a mode that looks private.
        fs::create_directory(dir_ / "taken");
        fs::permissions(dir_ / "taken", fs::perms::owner_all);
        ASSERT_EQ(::chown((dir_ / "taken").c_str(), 65534, 65534), 0);
        cases.push_back({"taken", "it belongs to another user"});
    }
    for (const auto& [name, why] : cases) {
        const KradonError e = thrownBy([&] { SafeFile::PrivateFolder(dir_, name); });
        EXPECT_EQ(e.what(), "Cannot use the folder " + (dir_ / name).string() + ": " + why);
        EXPECT_EQ(e.source(), "PrivateFolder");
    }
}

TEST_F(SafeFileTest, OutputsThatAreTheSameFileAreFound) {
    writeBytes(dir_ / "m.kdn", "model");
    writeBytes(dir_ / "other.kdn", "model");
    fs::create_symlink("m.kdn", dir_ / "link.kdn");
    fs::create_hard_link(dir_ / "m.kdn", dir_ / "hard.kdn");
    fs::create_symlink("later.svg", dir_ / "dangling.svg");
    fs::create_directory(dir_ / "sub");
    const auto at = [&](const std::string& name) { return (dir_ / name).string(); };
    using OutputPaths::NamedPath;
    const std::vector<NamedPath> model = {{"the model m.kdn", at("m.kdn")}};
    // How the description of the first pair found begins.
    const std::pair<std::vector<NamedPath>, std::string> cases[] = {
        {{{"--report m.kdn", at("m.kdn")}},
         "--report m.kdn and the model m.kdn are the same file; nothing was written"},
        {{{"--json link", at("link.kdn")}}, "--json link and the model m.kdn"},
        {{{"--json hard", at("hard.kdn")}}, "--json hard and the model m.kdn"},
        {{{"--report X.svg", at("X.svg")}, {"--picture bmd:X.svg", at("sub/../X.svg")}},
         "--picture bmd:X.svg and --report X.svg"},
        {{{"--report a", at("dangling.svg")}, {"--picture b", at("later.svg")}},
         "--picture b and --report a"},
        {{{"--report a", at("a.txt")}, {"--json b", at("b.json")}}, "none"},
        {{{"--json other", at("other.kdn")}}, "none"}, // a file of its own, with the same bytes
        {{{"--report null", "/dev/null"}, {"--json null", "/dev/null"}}, "none"},
    };
    for (const auto& [outputs, found] : cases) {
        const auto same = OutputPaths::FindSameFile(model, outputs);
        EXPECT_EQ((same ? OutputPaths::Describe(*same) : "none").substr(0, found.size()), found);
    }
    EXPECT_EQ(fileBytes(dir_ / "m.kdn"), "model");
    EXPECT_FALSE(fs::exists(dir_ / "later.svg")) << "looking creates nothing";
}

} // namespace
} // namespace kradon
