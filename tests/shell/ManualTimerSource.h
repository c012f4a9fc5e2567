// A clock the test moves by hand: timer ticks fall due as it passes them, and no test sleeps.
#pragma once

#include "app/settings/TimerSource.h"

#include <QObject>
#include <QPointer>
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace kradon::test {

class ManualTimerSource : public TimerSource {
public:
    using ms = std::chrono::milliseconds;

    void singleShot(ms interval, QObject* context, std::function<void()> tick) override {
        pending_.push_back({now_ + interval, context, std::move(tick)});
    }
    /// Moves the clock on to t, running every tick that falls due on the way, earliest first.
    void advanceTo(ms t) {
        for (;;) {
            const auto next =
                std::min_element(pending_.begin(), pending_.end(),
                                 [](const Pending& a, const Pending& b) { return a.due < b.due; });
            if (next == pending_.end() || next->due > t)
                break;
            const Pending due = *next;
            pending_.erase(next);
            now_ = due.due;
            if (due.context != nullptr)
                due.tick();
        }
        now_ = t;
    }

private:
    struct Pending {
        ms due;
        QPointer<QObject> context;
        std::function<void()> tick;
    };
    ms now_{0};
    std::vector<Pending> pending_;
};

} // namespace kradon::test
