// Lets events run, as a modal box does, until a condition holds or a generous time has passed.
#pragma once

#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace kradon::test {

/// Whether done holds at the end.
inline bool RunEventsUntil(const std::function<bool()>& done, int waitMs = 10000) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
    poll.start(1);
    loop.exec();
    return done();
}

} // namespace kradon::test
