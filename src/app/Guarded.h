// Helpers every command of the desktop program uses: a guard that turns an escaping error into a
// box, so no exception leaves a slot, and the hourglass pointer held for the length of a scope.
#pragma once

#include "model/KradonError.h"
#include "model/Sinks.h"

#include <QApplication>
#include <QCursor>
#include <exception>
#include <string>

namespace kradon {

/// Runs body; a KradonError becomes a critical box titled with its source (the program title
/// when it has none) and carrying its description, any other exception a box with its text.
/// Returns false when body threw.
template <typename Body> bool guarded(MessageSink& messages, Body&& body) {
    try {
        body();
        return true;
    } catch (const KradonError& e) {
        messages.show({e.source().empty() ? std::string(ProgramTitle) : e.source(), e.what(),
                       Icon::Critical});
    } catch (const std::exception& e) {
        messages.show({ProgramTitle, e.what(), Icon::Critical});
    }
    return false;
}

/// The hourglass over the whole program while it lives; nested pointers unwind in order.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace kradon
