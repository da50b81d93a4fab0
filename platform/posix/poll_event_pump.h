#pragma once

#include "platform/event_pump.h"
#include "platform/posix/poll_event_loop.h"

namespace quorel {

// Runs what is ready on the toolkit-free loop, without waiting. Once the loop is quitting it does
// nothing, so that no further handler runs while the program shuts down.
class PollEventPump final : public EventPump {
  public:
    explicit PollEventPump(PollEventLoop& loop) : loop_(loop) {}

    void yield() override {
        if (!loop_.quitting()) {
            loop_.runOnce(0);
        }
    }

  private:
    PollEventLoop& loop_;
};

} // namespace quorel
