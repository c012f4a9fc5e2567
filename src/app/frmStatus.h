// The progress window of an analysis: a percentage bar, its caption and the log of the steps.
#pragma once

#include "model/Sinks.h"

#include <QWidget>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QProgressBar;

namespace kradon {

class frmStatus : public QWidget, public StatusSink {
    Q_OBJECT
public:
    explicit frmStatus(QWidget* owner);

    /// Sets the bar and "Calculating.....N%", lets pending window events run once, then shows
    /// the window, centred over its owner when it was hidden.
    void udPb(double percent) override;
    /// Appends one line to the step log.
    void udTxt(const std::string& text) override;
    /// Empties the step log before a new run.
    void clearLog();
    /// Puts the window's centre on its owner's; it keeps its place when it has no owner.
    void centreOverOwner();

    QProgressBar* pBar;
    QLabel* StatLbl;
    QPlainTextEdit* StatusTxt;
};

/// The progress of an analysis that runs by itself after a change: nothing is shown while it
/// takes less than delay; after that the progress window shows, with the lines so far.
class DelayedProgress : public StatusSink {
public:
    /// beforeShowing runs once, just before the window shows (and lets window events run).
    DelayedProgress(frmStatus& window, std::chrono::milliseconds delay,
                    std::function<void()> beforeShowing);
    void udPb(double percent) override;
    void udTxt(const std::string& text) override;
    bool shown() const { return shown_; }

private:
    /// Shows the window once the delay has passed; true while it shows.
    bool showing();

    frmStatus& window_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::milliseconds delay_;
    std::function<void()> beforeShowing_;
    std::vector<std::string> lines_;
    bool shown_ = false;
};

} // namespace kradon
