#include "platform/qt/qt_one_shot_timer.h"

#include <algorithm>

namespace quorel {

QtOneShotTimer::QtOneShotTimer() {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { expire(); });
}

void QtOneShotTimer::start(int64_t microseconds) {
    // Rounded up, so that the expiry never comes before the time asked for.
    const int64_t milliseconds = std::max<int64_t>(0, (microseconds + 999) / 1000);
    timer_.start(static_cast<int>(std::min<int64_t>(milliseconds, INT32_MAX)));
}

} // namespace quorel
