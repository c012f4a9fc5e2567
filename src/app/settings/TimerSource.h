// Where the start-up windows get their timer ticks from: Qt's timers in the program, a clock the
// tests move by hand.
#pragma once

#include <chrono>
#include <functional>

class QObject;

namespace kradon {

class TimerSource {
public:
    virtual ~TimerSource() = default;
    /// Calls tick once, interval from now, unless context has been destroyed by then.
    virtual void singleShot(std::chrono::milliseconds interval, QObject* context,
                            std::function<void()> tick) = 0;
};

/// The event loop's own timers.
class QtTimerSource : public TimerSource {
public:
    void singleShot(std::chrono::milliseconds interval, QObject* context,
                    std::function<void()> tick) override;
};

} // namespace kradon
