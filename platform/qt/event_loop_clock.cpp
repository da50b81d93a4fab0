#include "platform/qt/event_loop_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace quorel {

void EventLoopClock::pause(double seconds) {
    const double deadline = clock_.monotonicSeconds() + seconds;
    // Once the program is ending no handler may run any more: a plain sleep then.
    if (!pump_.stopped() && QCoreApplication::instance() != nullptr && seconds > 0) {
        QEventLoop loop;
        QTimer timer;
        timer.setTimerType(Qt::PreciseTimer);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(static_cast<int>(std::floor(seconds * 1000)));
        loop.exec();
    }
    // The timer counts whole milliseconds and the loop may be ended early (the program quits):
    // the rest of the wait sleeps, so the gap between two relay bytes is never shorter.
    const double left = deadline - clock_.monotonicSeconds();
    if (left > 0) {
        clock_.pause(left);
    }
}

} // namespace quorel
