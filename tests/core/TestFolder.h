// A scratch folder of the running test alone, removed again at the end. ctest runs the tests
// of one executable as separate processes in parallel, so the name carries the process id as
// well as the suite and test names.
#pragma once

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <system_error>
#include <unistd.h>

namespace kradon::test {

class TestFolder {
public:
    TestFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string test =
            info ? std::string(info->test_suite_name()) + "-" + info->name() : "suite";
        // A "/" in a parameterised test's name would make a folder inside one never removed.
        std::replace(test.begin(), test.end(), '/', '-');
        path_ = std::filesystem::temp_directory_path() /
                ("kradon-" + test + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        // A test may have taken the write permission away; give it back so the folder goes.
        std::error_code error;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(path_, error);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

} // namespace kradon::test
