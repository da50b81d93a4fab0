#include "platform/qt/interval_timer.h"

namespace quorel {

IntervalTimer::IntervalTimer(int intervalMilliseconds, std::function<void()> onExpiry,
                             QObject* parent)
    : QObject(parent) {
    timer_.setInterval(intervalMilliseconds);
    connect(&timer_, &QTimer::timeout, this, std::move(onExpiry));
}

void IntervalTimer::setEnabled(bool enabled) {
    // Restarting an active timer would put its next expiry off again and again.
    if (enabled && !timer_.isActive()) {
        timer_.start();
    } else if (!enabled) {
        timer_.stop();
    }
}

} // namespace quorel
