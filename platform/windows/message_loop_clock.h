#pragma once

#include "platform/clock.h"
#include "platform/windows/win32_event_pump.h"

namespace quorel {

// A clock whose pause keeps the window alive: it handles the thread's messages until the
// deadline, so the window repaints, the clock label moves and clicks are answered between two
// relay bytes, while the processor sleeps. Once the pump is stopped (or the message loop is
// being left) it only sleeps. Every reading of time comes from the wrapped clock.
class MessageLoopClock final : public Clock {
  public:
    MessageLoopClock(Clock& clock, Win32EventPump& pump) : clock_(clock), pump_(pump) {}

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
    Win32EventPump& pump_;
};

} // namespace quorel
