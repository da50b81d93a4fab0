#pragma once

#include "platform/event_handling_clock.h"
#include "platform/windows/win32_event_pump.h"

namespace quorel {

// The pausing clock of the Windows front end: it dispatches the thread's messages during the
// pause, until the pump is stopped or the message loop is being left.
class MessageLoopClock final : public EventHandlingClock {
  public:
    MessageLoopClock(Clock& clock, Win32EventPump& pump) : EventHandlingClock(clock), pump_(pump) {}

  private:
    void handleEventsFor(double seconds) override;

    Win32EventPump& pump_;
};

} // namespace quorel
