// A long job (writing an export) run off the event thread, with a progress window that has a
// Cancel button, so that the windows keep answering while it runs.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kradon {

/// How far a job has got: done of total steps. Returns false once the user has cancelled; the
/// job should then stop as soon as it can and leave nothing behind.
using ProgressCheck = std::function<bool(int done, int total)>;

/// Runs job on a thread of its own and returns once it has ended, letting window events run in
/// the meantime; a window-modal progress window over parent, titled title, shows its steps and
/// offers Cancel. The job must not touch widgets. An exception of the job is thrown again here.
/// Returns false when the user cancelled.
bool RunWithProgress(QWidget* parent, const QString& title,
                     const std::function<void(const ProgressCheck&)>& job);

} // namespace kradon
