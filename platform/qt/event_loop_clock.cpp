#include "platform/qt/event_loop_clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

namespace quorel {

// The timer counts whole milliseconds: the fraction left is slept.
void EventLoopClock::handleEventsFor(double seconds) {
    if (pump_.stopped() || QCoreApplication::instance() == nullptr) {
        return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(std::floor(seconds * 1000)));
    loop.exec();
}

} // namespace quorel
