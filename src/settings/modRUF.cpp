// The recently used files list.
#include "settings/modRUF.h"

#include "model/modText.h"
#include "settings/OptionRules.h"
#include "settings/SettingsKeys.h"

#include <algorithm>
#include <cstddef>

namespace kradon::modRUF {
namespace {

/// The byte offsets at which the code points of a UTF-8 text start.
std::vector<std::size_t> codePointStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    return starts;
}

bool inList(std::int16_t length) {
    return length >= 1 && length <= LongestList;
}

} // namespace

std::string ShortenedPath(const std::string& path) {
    const std::vector<std::size_t> starts = codePointStarts(path);
    const auto length = static_cast<std::ptrdiff_t>(starts.size());
    if (length <= LongestShownPath)
        return path;
    // From the end towards the start, each separator is remembered until the next one would
    // leave a tail that is too long; the tail then starts at the one remembered.
    std::ptrdiff_t remembered = -1;
    for (std::ptrdiff_t k = length - 1; k >= 0; --k) {
        if (path[starts[static_cast<std::size_t>(k)]] != PathSeparator)
            continue;
        if (length - (k + 1) > LongestShownPath) {
            const std::ptrdiff_t from = remembered >= 0 ? remembered : k;
            return "..." + path.substr(starts[static_cast<std::size_t>(from)]);
        }
        remembered = k;
    }
    return path;
}

std::string Caption(int i, const std::string& path) {
    return "&" + std::to_string(i) + "   " + ShortenedPath(path);
}

RecentFiles::RecentFiles(UserSettings& settings, Options& options, LengthField& field,
                         MessageSink& messages)
    : settings_(settings), options_(options), field_(field), messages_(messages), items_(2) {}

std::vector<std::string> RecentFiles::paths() const {
    std::vector<std::string> p;
    for (int i = 1; i <= noRUF_ && i < static_cast<int>(items_.size()); ++i)
        p.push_back(items_[static_cast<std::size_t>(i)].tag);
    return p;
}

void RecentFiles::Load(const std::function<void()>& registerFileType) {
    using namespace SettingsKeys;
    if (stored(1).empty()) {
        if (registerFileType)
            registerFileType();
        settings_.save(Config, NoRUF, std::to_string(noRUF_));
        options_.MAX_FILES = FirstRunMaxFiles;
        settings_.save(Config, MaxFiles, std::to_string(FirstRunMaxFiles));
        field_.show(FirstRunMaxFiles);
        return;
    }
    options_.MAX_FILES = storedNumber(MaxFiles, options_.MAX_FILES);
    // A count no list can hold is a damaged store; the list then shows what a list can.
    noRUF_ = std::clamp<std::int16_t>(storedNumber(NoRUF, noRUF_), 0, LongestList);
    field_.show(options_.MAX_FILES);
    separatorShown_ = true;
    items_.resize(static_cast<std::size_t>(std::max<int>(noRUF_, 1)) + 1);
    for (int i = 1; i <= noRUF_; ++i)
        setItem(i, stored(i));
    firstItemShown_ = noRUF_ >= 1;
}

void RecentFiles::AddFile(const std::string& path) {
    const int j = findItem(path);
    if (j == 0) {
        grow();
        push(path);
        refreshAll();
    } else {
        // Entries above it move down one place; the stored keys stay as they are until the
        // next file that is new to the list.
        for (int i = j - 1; i >= 1; --i)
            setItem(i + 1, items_[static_cast<std::size_t>(i)].tag);
        setItem(1, path);
    }
    TrimToLength();
}

void RecentFiles::TrimToLength() {
    using namespace SettingsKeys;
    readMaxFiles();
    if (noRUF_ <= options_.MAX_FILES)
        return;
    settings_.save(Config, MaxFiles, std::to_string(options_.MAX_FILES));
    for (int i = options_.MAX_FILES + 1; i <= noRUF_; ++i)
        settings_.remove(SettingsKeys::RecentFiles, RecentFileKey(i));
    items_.resize(static_cast<std::size_t>(options_.MAX_FILES) + 1);
    noRUF_ = storedNumber(MaxFiles, options_.MAX_FILES);
    // The count is stored with the entries it counts, so the next start lists no entry that
    // was just deleted.
    settings_.save(Config, NoRUF, std::to_string(noRUF_));
}

void RecentFiles::grow() {
    readMaxFiles();
    if (noRUF_ >= options_.MAX_FILES)
        return;
    separatorShown_ = true;
    firstItemShown_ = true;
    ++noRUF_;
    if (noRUF_ != 1)
        items_.resize(static_cast<std::size_t>(noRUF_) + 1);
    settings_.save(SettingsKeys::Config, SettingsKeys::NoRUF, std::to_string(noRUF_));
}

void RecentFiles::push(const std::string& path) {
    using namespace SettingsKeys;
    if (stored(1) == path)
        return;
    for (int i = options_.MAX_FILES - 1; i >= 1; --i)
        settings_.save(SettingsKeys::RecentFiles, RecentFileKey(i + 1), stored(i));
    settings_.save(SettingsKeys::RecentFiles, RecentFileKey(1), path);
}

void RecentFiles::refreshAll() {
    if (noRUF_ > options_.MAX_FILES) {
        TrimToLength();
        refreshAll();
        return;
    }
    for (int i = 1; i <= noRUF_; ++i)
        setItem(i, stored(i));
}

void RecentFiles::readMaxFiles() {
    using namespace SettingsKeys;
    const std::optional<double> typed = field_.number();
    if (!typed)
        messages_.show({ProgramTitle, NumberPleaseText, Icon::None});
    std::int16_t length = typed ? OptionRules::Integer16FromNumber(*typed) : FallbackMaxFiles;
    if (!inList(length))
        length = FallbackMaxFiles;
    settings_.save(Config, MaxFiles, std::to_string(length));
    options_.MAX_FILES = storedNumber(MaxFiles, length);
    field_.show(options_.MAX_FILES);
}

void RecentFiles::setItem(int i, const std::string& path) {
    items_[static_cast<std::size_t>(i)] = {path, Caption(i, path)};
}

std::int16_t RecentFiles::storedNumber(const char* key, std::int16_t fallback) const {
    const std::optional<double> number =
        modText::ParseNumber(settings_.get(SettingsKeys::Config, key, {}));
    return number ? OptionRules::Integer16FromNumber(*number) : fallback;
}

std::string RecentFiles::stored(int i) const {
    return settings_.get(SettingsKeys::RecentFiles, SettingsKeys::RecentFileKey(i), {});
}

int RecentFiles::findItem(const std::string& path) const {
    for (std::size_t i = 1; i < items_.size(); ++i)
        if (items_[i].tag == path)
            return static_cast<int>(i);
    return 0;
}

} // namespace kradon::modRUF
