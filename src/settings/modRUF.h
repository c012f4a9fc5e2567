// The recently used files list: which files the File menu lists, in which order and under which
// captions, kept in the per-user settings ("Config"/"noRUF", "Config"/"MAX_FILES" and
// "Recent Files"/"1".."n"). The menu items themselves are the shell's; it shows items() as they
// are after each operation.
#pragma once

#include "analysis/ProgramState.h"
#include "model/Sinks.h"
#include "settings/UserSettings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kradon::modRUF {

inline constexpr const char* NumberPleaseText = "Please input a number in future, ok";
/// The list length set on the first run, and the one a bad length falls back to.
inline constexpr std::int16_t FirstRunMaxFiles = 3;
inline constexpr std::int16_t FallbackMaxFiles = 4;
inline constexpr std::int16_t LongestList = 20;
/// Paths longer than this many characters are shortened in the captions.
inline constexpr int LongestShownPath = 32;
/// The folder separator looked for when a path is shortened. On Windows the list was written
/// with "\"; here paths are separated by "/".
inline constexpr char PathSeparator = '/';

/// The options dialog's list length field, from which the list reads its length each time.
struct LengthField {
    virtual ~LengthField() = default;
    /// The number the field's text holds; nullopt when it holds no number.
    virtual std::optional<double> number() const = 0;
    virtual void show(std::int16_t length) = 0;
};

/// path, or, when it has more than 32 characters, "..." followed by its tail from a separator:
/// the separator nearest the start whose tail (after it) is at most 32 characters long, or the
/// last separator when even its tail is longer. A long path without a separator stays whole.
/// Characters are counted in code points of the UTF-8 text.
std::string ShortenedPath(const std::string& path);

/// "&i   " followed by the shortened path: the entry's number is its access key.
std::string Caption(int i, const std::string& path);

/// One menu entry: the full path it opens and the text it shows.
struct MenuItem {
    std::string tag;
    std::string caption;
};

class RecentFiles {
public:
    /// The list over settings, with its length in options.MAX_FILES, read from field.
    RecentFiles(UserSettings& settings, Options& options, LengthField& field,
                MessageSink& messages);

    /// The list as stored. While nothing is stored yet (the first run) registerFileType runs
    /// and the length becomes 3.
    void Load(const std::function<void()>& registerFileType);
    /// path goes to the top of the list (exact, case-sensitive comparison).
    void AddFile(const std::string& path);
    /// Entries past the length the field asks for are dropped from the list and the settings.
    void TrimToLength();

    std::int16_t noRUF() const { return noRUF_; }
    /// The menu items, 1..n; entry 0 is not an item. Item 1 always exists, hidden while the
    /// list is empty; the others are shown.
    const std::vector<MenuItem>& items() const { return items_; }
    bool firstItemShown() const { return firstItemShown_; }
    /// Whether the separator above the list is shown.
    bool separatorShown() const { return separatorShown_; }
    /// The paths of the entries in use, most recent first.
    std::vector<std::string> paths() const;

private:
    void grow();
    void push(const std::string& path);
    void refreshAll();
    void readMaxFiles();
    void setItem(int i, const std::string& path);
    std::int16_t storedNumber(const char* key, std::int16_t fallback) const;
    std::string stored(int i) const;
    int findItem(const std::string& path) const;

    UserSettings& settings_;
    Options& options_;
    LengthField& field_;
    MessageSink& messages_;
    std::int16_t noRUF_ = 0;
    std::vector<MenuItem> items_;
    bool firstItemShown_ = false;
    bool separatorShown_ = false;
};

} // namespace kradon::modRUF
