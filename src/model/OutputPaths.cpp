// Telling whether two paths are one file: by device and inode for files that exist, by the
// absolute path with every link resolved for files still to be made.
#include "model/OutputPaths.h"

#include "model/KradonError.h"
#include "model/SafeFile.h"

#include <sys/stat.h>
#include <system_error>

namespace kradon::OutputPaths {
namespace {

namespace fs = std::filesystem;

/// What makes a file the file it is. Special files (devices, pipes) are never clobbered.
struct Identity {
    bool exists = false;
    bool special = false;
    dev_t device = 0;
    ino_t inode = 0;
    fs::path resolved; // for a file that does not exist yet

    bool sameFileAs(const Identity& other) const {
        if (special || other.special || exists != other.exists)
            return false;
        if (exists)
            return device == other.device && inode == other.inode;
        return resolved == other.resolved;
    }
};

/// The absolute path of a file still to be made, through the links to it and its folders.
fs::path resolvedPath(const fs::path& path) {
    fs::path target = path;
    try {
        target = SafeFile::LinkTarget(path);
    } catch (const KradonError&) {
        // A link that cannot be followed fails when it is written; here it names itself.
    }
    std::error_code ec;
    fs::path absolute = fs::absolute(target, ec);
    if (ec)
        absolute = target;
    const fs::path resolved = fs::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : resolved;
}

Identity identityOf(const fs::path& path) {
    Identity id;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        id.resolved = resolvedPath(path);
        return id;
    }
    id.exists = true;
    id.special = !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
    id.device = info.st_dev;
    id.inode = info.st_ino;
    return id;
}

} // namespace

std::optional<SameFile> FindSameFile(const std::vector<NamedPath>& inputs,
                                     const std::vector<NamedPath>& outputs) {
    std::vector<std::pair<const NamedPath*, Identity>> seen;
    for (const NamedPath& input : inputs)
        seen.emplace_back(&input, identityOf(input.path));
    for (const NamedPath& output : outputs) {
        const Identity id = identityOf(output.path);
        for (const auto& [other, otherId] : seen)
            if (id.sameFileAs(otherId))
                return SameFile{output, *other};
        seen.emplace_back(&output, id);
    }
    return std::nullopt;
}

std::string Describe(const SameFile& same) {
    return same.output.label + " and " + same.other.label +
           " are the same file; nothing was written";
}

} // namespace kradon::OutputPaths
