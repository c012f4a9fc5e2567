// The progress window of an analysis: a percentage bar, its caption and the log of the steps.
#pragma once

#include "model/Sinks.h"

#include <QWidget>

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

} // namespace kradon
