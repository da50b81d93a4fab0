#pragma once

#include <string>

namespace quorel {

// The fields of the current local date, as the calendar shows them.
struct LocalDate {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    bool operator==(const LocalDate&) const = default;
    // Calendar order. (Written out: the meta-object compiler cannot parse <compare>.)
    bool operator<(const LocalDate& other) const { return key() < other.key(); }
    bool operator<=(const LocalDate& other) const { return key() <= other.key(); }

  private:
    long key() const { return (static_cast<long>(year) * 16 + month) * 32 + day; }
};

// The local date and the time of day to the millisecond, "10:15:00.007", of one reading of the
// clock: a line stamped just before midnight must not land in the next day's file.
struct LocalTimeStamp {
    LocalDate date;
    std::string time;
};

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
    // Waits at least the given seconds of the monotonic clock without spinning the processor.
    // In the running program the window's events are handled meanwhile, so other handlers (a
    // further tick, a click) may run inside it, as inside EventPump::yield().
    virtual void pause(double seconds) = 0;
};

} // namespace quorel
