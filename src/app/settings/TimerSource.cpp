// The program's timer source.
#include "app/settings/TimerSource.h"

#include <QTimer>

namespace kradon {

void QtTimerSource::singleShot(std::chrono::milliseconds interval, QObject* context,
                               std::function<void()> tick) {
    QTimer::singleShot(interval, context, std::move(tick));
}

} // namespace kradon
