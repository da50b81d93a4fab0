#pragma once

#include "platform/event_handling_clock.h"
#include "platform/posix/poll_event_loop.h"

namespace quorel {

// The pausing clock of the toolkit-free loop: it runs the loop until the pause's deadline, or
// until the loop is quitting.
class PollLoopClock final : public EventHandlingClock {
  public:
    PollLoopClock(Clock& clock, PollEventLoop& loop) : EventHandlingClock(clock), loop_(loop) {}

  private:
    void handleEventsFor(double seconds) override;

    PollEventLoop& loop_;
};

} // namespace quorel
