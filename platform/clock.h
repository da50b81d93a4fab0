#pragma once

#include <cstdint>
#include <string>

#include "core/local_date.h"

namespace quorel {

// Every reading of time the program makes goes through this interface, so tests can drive the
// scheduler by moving a fake clock instead of waiting.
class Clock {
  public:
    virtual ~Clock() = default;

    // Local time of day as "hh:mm:ss", 24-hour, two digits per field.
    virtual std::string clockText() = 0;
    // Local seconds since midnight with a fraction; starts again from 0 at midnight.
    virtual float secondsSinceMidnight() = 0;
    // Seconds field of the current local time as two-digit text, "00" to "59".
    virtual std::string secondsFieldText() = 0;
    virtual LocalDate localDate() = 0;
    virtual LocalTimeStamp localTimeStamp() = 0;
    // Seconds on a clock that never jumps (not set back by midnight or by a clock change).
    virtual double monotonicSeconds() = 0;
    // Seconds on a clock that never jumps and goes on counting while the computer sleeps; a
    // clock that cannot tell a sleep gives its monotonic seconds.
    virtual double sinceBootSeconds() { return monotonicSeconds(); }
    // Microseconds since 1970-01-01 00:00 UTC on the wall clock. Local seconds begin with UTC
    // ones, so this phases a timer to the clock the window shows.
    virtual int64_t wallMicroseconds() = 0;
    // Seconds to add to UTC for the local time now: it changes with summer time, and a change
    // of it moves the local time without the clock being set.
    virtual int utcOffsetSeconds() = 0;
    // Waits at least the given seconds of the monotonic clock without spinning the processor.
    // In the running program the window's events are handled meanwhile, so other handlers (a
    // further tick, a click) may run inside it, as inside EventPump::yield().
    virtual void pause(double seconds) = 0;
};

} // namespace quorel
