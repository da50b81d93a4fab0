#pragma once

#include "platform/event_pump.h"

namespace quorel {

// Runs the pending Qt events once. After stop() it does nothing, so that no further handler runs
// while the program shuts down.
class QtEventPump final : public EventPump {
  public:
    void yield() override;
    void stop() { stopped_ = true; }
    bool stopped() const { return stopped_; }

  private:
    bool stopped_ = false;
};

} // namespace quorel
