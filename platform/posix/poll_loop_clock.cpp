#include "platform/posix/poll_loop_clock.h"

#include <ctime>

namespace quorel {

namespace {

double monotonicNow() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

// Each round waits for what remains: the loop's own timers count on the same clock, so the
// pause ends within the timer slack of its deadline.
void PollLoopClock::handleEventsFor(double seconds) {
    const double deadline = monotonicNow() + seconds;
    for (double left; !loop_.quitting() && (left = deadline - monotonicNow()) > 0;) {
        loop_.runOnce(left);
    }
}

} // namespace quorel
