#pragma once

#include <time.h>

namespace quorel::test {

// Seconds on the system's clocks now, for checks that measure real time.
inline double secondsOf(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}
inline double monotonicNow() {
    return secondsOf(CLOCK_MONOTONIC);
}
inline double wallNow() {
    return secondsOf(CLOCK_REALTIME);
}

} // namespace quorel::test
