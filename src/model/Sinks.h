// How the core talks to the user without knowing about windows: messages (a title, a text and an
// icon, like a message box) and progress (a percentage and a log line).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kradon {

enum class Icon { None, Critical, Exclamation, Information, Question };

/// Message boxes without a title of their own carry the program title.
inline constexpr const char* ProgramTitle = "Kradon by Tarel Vestrun";

/// Lines of a message box text are joined with CR LF.
inline std::string MessageLines(const std::string& first, const std::string& second) {
    return first + "\r\n" + second;
}

/// Receives the bytes of a file or stream as they are made, piece by piece and in order.
using ByteSink = std::function<void(std::string_view)>;

struct Message {
    std::string title;
    std::string text;
    Icon icon = Icon::None;
};

struct MessageSink {
    virtual ~MessageSink() = default;
    virtual void show(const Message& message) = 0;
};

struct StatusSink {
    virtual ~StatusSink() = default;
    /// Progress in percent, 0..100.
    virtual void udPb(double percent) = 0;
    /// One line of the step log.
    virtual void udTxt(const std::string& text) = 0;
};

/// A status sink that shows nothing, for headless runs.
struct NullStatusSink : StatusSink {
    void udPb(double) override {}
    void udTxt(const std::string&) override {}
};

/// A message sink that shows nothing: where a failing step is simply left out, or nobody looks.
struct NullMessageSink : MessageSink {
    void show(const Message&) override {}
};

} // namespace kradon
