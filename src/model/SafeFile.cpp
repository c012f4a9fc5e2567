// Replacing a file in one rename, and reading one that is known to be a regular file. Both work
// on descriptors (POSIX calls), since the standard streams neither sync nor say what a file is
// once it is open.
#include "model/SafeFile.h"

#include "model/KradonError.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <exception>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace kradon::SafeFile {
namespace {

namespace fs = std::filesystem;

/// More links than this in a row are taken as a loop, as the system itself does.
constexpr int MaxLinkDepth = 40;

std::optional<WriteFault> injectedFault;

std::string describe(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] void failWrite(int error) {
    throw KradonError(ErrorNumber::FileIo, WriteSource, describe(error));
}

[[noreturn]] void failRead(const std::string& description) {
    throw KradonError(ErrorNumber::FileIo, ReadSource, description);
}

/// The error a test asked this step to fail with; 0 for none.
int injectedAt(WriteStep step) {
    return injectedFault && injectedFault->step == step ? injectedFault->error : 0;
}

/// Closes the descriptor it holds when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    /// Closes now; the close's own error number, 0 when it succeeded.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

/// Writes all of bytes; the error number of the failed write, 0 when all were written.
int writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return EIO;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

/// writeAll, or the first half of it and the injected error.
int writeBytes(int fd, std::string_view bytes) {
    if (const int error = injectedAt(WriteStep::Write)) {
        writeAll(fd, bytes.substr(0, bytes.size() / 2));
        return error;
    }
    return writeAll(fd, bytes);
}

/// Whether name is "<base>.tmp-PID-N-R" with three runs of digits; the PID when it is.
std::optional<pid_t> leftoverPid(const std::string& name, const std::string& base) {
    const std::string prefix = base + TemporaryMarker;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    long long pid = 0;
    int runs = 0;
    bool inRun = false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (c >= '0' && c <= '9') {
            if (!inRun)
                ++runs;
            inRun = true;
            if (runs == 1 && pid < 1'000'000'000)
                pid = pid * 10 + (c - '0');
        } else if (c == '-' && inRun) {
            inRun = false;
        } else {
            return std::nullopt;
        }
    }
    if (runs != 3 || !inRun || pid <= 0)
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

bool processHasEnded(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

/// Removes the temporary files beside target that a write killed half-way left behind: regular
/// files of this naming whose process is gone. A folder that cannot be listed is left alone.
void removeLeftovers(const fs::path& target) {
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string base = target.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<pid_t> pid = leftoverPid(it->path().filename().string(), base);
        if (!pid || !processHasEnded(*pid))
            continue;
        std::error_code ignored;
        if (it->symlink_status(ignored).type() == fs::file_type::regular)
            fs::remove(it->path(), ignored);
    }
}

/// A name beside target that no other write, in this process or another, is using.
fs::path temporaryName(const fs::path& target) {
    static std::atomic<unsigned> serial{0};
    static std::random_device random;
    fs::path name = target;
    name += TemporaryMarker + std::to_string(::getpid()) + "-" + std::to_string(serial++) + "-" +
            std::to_string(random());
    return name;
}

/// Creates the temporary file for target, only readable by its owner while old holds a file
/// whose permissions it will take over.
std::pair<int, fs::path> createTemporary(const fs::path& target, bool replacing) {
    if (const int error = injectedAt(WriteStep::Create))
        failWrite(error);
    const mode_t mode = replacing ? 0600 : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path name = temporaryName(target);
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0)
            return {fd, std::move(name)};
        if (errno != EEXIST)
            failWrite(errno);
    }
    failWrite(EEXIST);
}

/// Gives the new file the old one's owner, group and permission bits, as far as allowed. A user
/// who may not give the file away keeps it, in the old group where the user belongs to it;
/// where the group cannot be kept either, the group gets no more than others had.
void takeOverOwnership(int fd, const struct stat& old) {
    mode_t mode = old.st_mode & 0777;
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0)
        mode = (mode & ~mode_t{070}) | ((mode & 07) << 3);
    ::fchmod(fd, mode);
}

/// Makes the rename itself durable; a folder that cannot be synced is no reason to fail.
void syncFolder(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

/// An exception of the producer of a file's bytes, carried past the error handling of the
/// writing unchanged.
struct ProducerFailed {
    std::exception_ptr error;
};

/// Hands every piece that produce makes to write until one fails; that failure's error number,
/// 0 when all were written.
int writeProduced(int fd, const ByteProducer& produce) {
    int error = 0;
    bool first = true;
    try {
        produce([&](std::string_view piece) {
            if (error == 0)
                error = first ? writeBytes(fd, piece) : writeAll(fd, piece);
            first = false;
        });
    } catch (...) {
        throw ProducerFailed{std::current_exception()};
    }
    return error;
}

/// Writes into a terminal, pipe or device, which has no folder entry to replace.
void writeDirectly(const fs::path& target, const ByteProducer& produce) {
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        failWrite(errno);
    if (const int error = writeProduced(fd.get(), produce))
        failWrite(error);
    if (const int error = fd.close())
        failWrite(error);
}

/// The temporary file filled, synced and closed; its error number, 0 on success.
int fillTemporary(Descriptor& fd, const ByteProducer& produce) {
    if (const int error = writeProduced(fd.get(), produce))
        return error;
    if (const int error = injectedAt(WriteStep::Sync))
        return error;
    if (::fsync(fd.get()) != 0)
        return errno;
    return fd.close();
}

int renameOver(const fs::path& from, const fs::path& to) {
    if (const int error = injectedAt(WriteStep::Rename))
        return error;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::string readDescriptor(int fd, std::uintmax_t maxBytes) {
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const std::size_t wanted = static_cast<std::size_t>(
            std::min<std::uintmax_t>(sizeof buffer, maxBytes - bytes.size()));
        const ssize_t n = ::read(fd, buffer, wanted);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failRead(describe(errno));
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

/// Opens path for reading if it is a regular file; its descriptor and size.
std::pair<int, std::uintmax_t> openRegular(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        failRead(describe(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        failRead(describe(error));
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd);
        failRead(describe(EISDIR));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        failRead(NotRegularText);
    }
    return {fd, static_cast<std::uintmax_t>(info.st_size)};
}

[[noreturn]] void tooLarge(std::uintmax_t maxBytes, std::string_view kind) {
    failRead("It is larger than the " + std::to_string(maxBytes) + " bytes that " +
             std::string(kind) + " can hold");
}

/// Runs step with the errors it throws given source as theirs.
template <class Step> auto withSource(const std::string& source, Step step) {
    try {
        return step();
    } catch (const KradonError& e) {
        if (e.source() == source)
            throw;
        throw KradonError(e.number(), source, e.what());
    }
}

void writeAtomically(const fs::path& target, const ByteProducer& produce) {
    const fs::path file = LinkTarget(target);
    struct stat old {};
    const bool replacing = ::stat(file.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        failWrite(EISDIR);
    if (replacing && !S_ISREG(old.st_mode))
        return writeDirectly(file, produce);

    removeLeftovers(file);
    auto [fd, temporary] = createTemporary(file, replacing);
    Descriptor descriptor(fd);
    if (replacing)
        takeOverOwnership(descriptor.get(), old);
    int error = 0;
    try {
        error = fillTemporary(descriptor, produce);
    } catch (const ProducerFailed&) {
        ::unlink(temporary.c_str());
        throw;
    }
    if (error == 0)
        error = renameOver(temporary, file);
    if (error != 0) {
        ::unlink(temporary.c_str());
        failWrite(error);
    }
    syncFolder(file);
}

std::string readRegular(const fs::path& path, std::uintmax_t maxBytes, std::string_view kind) {
    const auto [fd, size] = openRegular(path);
    const Descriptor descriptor(fd);
    if (size > maxBytes)
        tooLarge(maxBytes, kind);
    // The file may grow while it is read; one byte more than allowed tells.
    std::string bytes = readDescriptor(fd, maxBytes + 1);
    if (bytes.size() > maxBytes)
        tooLarge(maxBytes, kind);
    return bytes;
}

} // namespace

fs::path LinkTarget(const fs::path& path) {
    fs::path current = path;
    for (int depth = 0; depth <= MaxLinkDepth; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)))
            return current;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec)
            failWrite(ec.value());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    failWrite(ELOOP);
}

fs::path PrivateFolder(const fs::path& parent, const std::string& name) {
    const fs::path folder = parent / name;
    const auto refuse = [&](const std::string& why) {
        throw KradonError(ErrorNumber::FileIo, PrivateFolderSource,
                          "Cannot use the folder " + folder.string() + ": " + why);
    };
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        refuse(describe(errno));
    const Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.get() < 0)
        refuse(errno == ELOOP || errno == ENOTDIR ? "it is not a folder" : describe(errno));
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        refuse(describe(errno));
    if (info.st_uid != ::geteuid())
        refuse("it belongs to another user");
    if ((info.st_mode & 077) != 0)
        refuse("other users may enter it");
    return folder;
}

void InjectWriteFault(std::optional<WriteFault> fault) {
    injectedFault = fault;
}

std::string ReadRegularFilePrefix(const fs::path& path, std::uintmax_t maxBytes) {
    const Descriptor descriptor(openRegular(path).first);
    return readDescriptor(descriptor.get(), maxBytes);
}

void WriteFileAtomically(const fs::path& target, std::string_view bytes,
                         const std::string& source) {
    WriteFileAtomically(
        target, [bytes](const ByteSink& sink) { sink(bytes); }, source);
}

void WriteFileAtomically(const fs::path& target, const ByteProducer& produce,
                         const std::string& source) {
    try {
        withSource(source, [&] { writeAtomically(target, produce); });
    } catch (const ProducerFailed& failed) {
        std::rethrow_exception(failed.error);
    }
}

std::string ReadRegularFile(const fs::path& path, std::uintmax_t maxBytes, std::string_view kind,
                            const std::string& source) {
    return withSource(source, [&] { return readRegular(path, maxBytes, kind); });
}

} // namespace kradon::SafeFile
