// The message sinks of the desktop program: a sink that can also ask a question and return the
// button the user chose, the QMessageBox sink the program shows its boxes through, and a sink
// that drops everything, for drawing steps whose errors are skipped.
#pragma once

#include "model/Sinks.h"

class QWidget;

namespace kradon {

enum class Answer { Ok, Yes, No, Cancel, Save, Discard, Continue };
enum class Buttons { Ok, YesNo, YesNoCancel, SaveDiscardCancel, ContinueCancel };

class ShellSink : public MessageSink {
public:
    /// Shows the message with the given buttons and returns the one chosen; closing the box
    /// without a choice answers Cancel (or No when there is no Cancel).
    virtual Answer ask(const Message& message, Buttons buttons) = 0;
};

/// Shows every message in a modal QMessageBox over the parent; an empty title becomes the
/// program title.
class MessageBoxSink : public ShellSink {
public:
    explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void show(const Message& message) override;
    Answer ask(const Message& message, Buttons buttons) override;

private:
    QWidget* parent_;
};

} // namespace kradon
