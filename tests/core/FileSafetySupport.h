// Helpers for the tests of safe file writing: a failure injected into every write while an
// object lives, a real small filesystem filled up to the last block, and the bytes of a file.
#pragma once

#include "model/SafeFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/mount.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kradon::test {

/// Every WriteFileAtomically fails as asked while this lives.
class InjectedWriteFault {
public:
    InjectedWriteFault(SafeFile::WriteStep step, int error) {
        SafeFile::InjectWriteFault(SafeFile::WriteFault{step, error});
    }
    ~InjectedWriteFault() { SafeFile::InjectWriteFault(std::nullopt); }
    InjectedWriteFault(const InjectedWriteFault&) = delete;
    InjectedWriteFault& operator=(const InjectedWriteFault&) = delete;
};

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

/// A tmpfs of 64 KiB mounted on folder (which must exist) while this lives. Mounting needs
/// root; mounted() tells whether it worked, so a test can skip otherwise.
class SmallFilesystem {
public:
    explicit SmallFilesystem(std::filesystem::path folder) : folder_(std::move(folder)) {
        mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k,mode=0755") == 0;
    }
    ~SmallFilesystem() {
        if (mounted_)
            ::umount2(folder_.c_str(), MNT_DETACH);
    }
    SmallFilesystem(const SmallFilesystem&) = delete;
    SmallFilesystem& operator=(const SmallFilesystem&) = delete;

    bool mounted() const { return mounted_; }
    static constexpr const char* SkipText =
        "mounting a small tmpfs needs root; the injected failures cover this instead";

    /// Takes every free block with a filler file, so the next write finds the disk full.
    void fill() const {
        std::ofstream filler(folder_ / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
            filler.flush();
    }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

/// The id of a process that has ended (a child that exited at once and was reaped).
inline pid_t endedProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

} // namespace kradon::test
