#include "platform/posix/poll_interval_timer.h"

#include <utility>

namespace quorel {

PollIntervalTimer::PollIntervalTimer(PollEventLoop& loop, int intervalMilliseconds,
                                     std::function<void()> onExpiry)
    : loop_(loop), intervalMicroseconds_(int64_t{intervalMilliseconds} * 1000),
      onExpiry_(std::move(onExpiry)), id_(loop.addTimer([this] {
          // Re-armed first, so that the handler may disable the timer for good.
          loop_.startTimer(id_, intervalMicroseconds_);
          if (onExpiry_) {
              onExpiry_();
          }
      })) {}

PollIntervalTimer::~PollIntervalTimer() {
    loop_.removeTimer(id_);
}

void PollIntervalTimer::setEnabled(bool enabled) {
    // Restarting an enabled timer would put its next expiry off again and again.
    if (enabled && !enabled_) {
        loop_.startTimer(id_, intervalMicroseconds_);
    } else if (!enabled) {
        loop_.stopTimer(id_);
    }
    enabled_ = enabled;
}

} // namespace quorel
