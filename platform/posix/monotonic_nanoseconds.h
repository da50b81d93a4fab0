#pragma once

#include <cstdint>
#include <time.h>

namespace quorel {

inline constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;

// CLOCK_MONOTONIC in nanoseconds; async-signal-safe (clock_gettime is).
inline int64_t monotonicNanoseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * kNanosecondsPerSecond + now.tv_nsec;
}

} // namespace quorel
