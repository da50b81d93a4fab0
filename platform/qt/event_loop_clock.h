#pragma once

#include "platform/event_handling_clock.h"
#include "platform/qt/qt_event_pump.h"

namespace quorel {

// The pausing clock of the Qt front end: it runs the Qt event loop during the pause.
class EventLoopClock final : public EventHandlingClock {
  public:
    EventLoopClock(Clock& clock, const QtEventPump& pump)
        : EventHandlingClock(clock), pump_(pump) {}

  private:
    void handleEventsFor(double seconds) override;

    const QtEventPump& pump_;
};

} // namespace quorel
