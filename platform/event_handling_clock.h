#pragma once

#include "platform/clock.h"

namespace quorel {

// A clock whose pause keeps the window alive: it handles the thread's events until the deadline,
// so the window repaints, the clock label moves and clicks are answered between two relay bytes,
// while the processor sleeps. Every reading of time comes from the wrapped clock. Each front
// end's event loop supplies the waiting; whatever it leaves of the pause (it ends early when the
// program quits, or counts coarser time) is slept, so the gap between two relay bytes is never
// shorter.
class EventHandlingClock : public Clock {
  public:
    explicit EventHandlingClock(Clock& clock) : clock_(clock) {}

    std::string clockText() override { return clock_.clockText(); }
    float secondsSinceMidnight() override { return clock_.secondsSinceMidnight(); }
    std::string secondsFieldText() override { return clock_.secondsFieldText(); }
    LocalDate localDate() override { return clock_.localDate(); }
    LocalTimeStamp localTimeStamp() override { return clock_.localTimeStamp(); }
    double monotonicSeconds() override { return clock_.monotonicSeconds(); }
    double sinceBootSeconds() override { return clock_.sinceBootSeconds(); }
    int64_t wallMicroseconds() override { return clock_.wallMicroseconds(); }
    int utcOffsetSeconds() override { return clock_.utcOffsetSeconds(); }

    void pause(double seconds) final {
        const double deadline = clock_.monotonicSeconds() + seconds;
        if (seconds > 0) {
            handleEventsFor(seconds);
        }
        const double left = deadline - clock_.monotonicSeconds();
        if (left > 0) {
            clock_.pause(left);
        }
    }

  protected:
    // Handles the thread's events for at most the given time; once the program is ending, no
    // handler may run any more and it returns at once.
    virtual void handleEventsFor(double seconds) = 0;

  private:
    Clock& clock_;
};

} // namespace quorel
