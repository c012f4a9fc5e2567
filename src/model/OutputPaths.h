// The files one command reads and writes, checked before anything is written: no output may
// overwrite an input of the same command or another of its outputs.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kradon::OutputPaths {

/// A file of a command and the words that name it to the user: the option and the value as
/// typed ("--report out.txt", "--picture bmd:out.svg") or its role ("the model m.kdn").
struct NamedPath {
    std::string label;
    std::filesystem::path path;
};

/// An output and the input or earlier output that is the same file.
struct SameFile {
    NamedPath output;
    NamedPath other;
};

/// The first output that is the same file as one of the inputs or as an earlier output: the
/// same path written another way ("a.txt", "./a.txt", "dir/../a.txt"), a symbolic link to it
/// (followed even when it names a file still to be made), or another hard link of it. Outputs
/// that exist and are not regular files (a terminal, /dev/null, a pipe) are never reported, as
/// writing them twice overwrites nothing. Only looks: nothing is created or changed.
std::optional<SameFile> FindSameFile(const std::vector<NamedPath>& inputs,
                                     const std::vector<NamedPath>& outputs);

/// One line naming both files: "--report m.kdn and the model m.kdn are the same file; nothing
/// was written".
std::string Describe(const SameFile& same);

} // namespace kradon::OutputPaths
