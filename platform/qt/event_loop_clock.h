#pragma once

#include "platform/clock.h"
#include "platform/qt/qt_event_pump.h"

namespace quorel {

// A clock whose pause keeps the window alive: it runs the Qt event loop until the deadline, so
// the window repaints, the clock label moves and clicks are answered between two relay bytes,
// while the processor sleeps. Every reading of time comes from the wrapped clock.
class EventLoopClock final : public Clock {
  public:
    EventLoopClock(Clock& clock, const QtEventPump& pump) : clock_(clock), pump_(pump) {}

    std::string clockText() override { return clock_.clockText(); }
    float secondsSinceMidnight() override { return clock_.secondsSinceMidnight(); }
    std::string secondsFieldText() override { return clock_.secondsFieldText(); }
    LocalDate localDate() override { return clock_.localDate(); }
    LocalTimeStamp localTimeStamp() override { return clock_.localTimeStamp(); }
    double monotonicSeconds() override { return clock_.monotonicSeconds(); }
    int64_t wallMicroseconds() override { return clock_.wallMicroseconds(); }
    void pause(double seconds) override;

  private:
    Clock& clock_;
    const QtEventPump& pump_;
};

} // namespace quorel
