#include "app/results/BackgroundJob.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

namespace kradon {

bool RunWithProgress(QWidget* parent, const QString& title,
                     const std::function<void(const ProgressCheck&)>& job) {
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    const ProgressCheck progress = [&](int stepsDone, int steps) {
        done = stepsDone;
        total = steps;
        return !cancelled;
    };
    std::thread worker([&] {
        try {
            job(progress);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
    });
    {
        QProgressDialog window(title, QCoreApplication::translate("RunWithProgress", "Cancel"), 0,
                               0, parent);
        window.setWindowTitle(title);
        window.setWindowModality(Qt::WindowModal);
        window.setMinimumDuration(300);
        window.setAutoReset(false);
        window.setAutoClose(false);
        while (!finished) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            window.setMaximum(total);
            window.setValue(done);
            if (window.wasCanceled())
                cancelled = true;
        }
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    return !cancelled;
}

} // namespace kradon
