#pragma once

#include "platform/timer.h"
#include "platform/windows/message_window.h"

#include <cstdint>
#include <functional>

namespace quorel {

// A plain repeating timer of the thread's message loop: while enabled, calls onExpiry every
// interval. Disabled at creation.
class Win32IntervalTimer final : public Timer {
  public:
    Win32IntervalTimer(unsigned intervalMilliseconds, std::function<void()> onExpiry);

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return enabled_; }

  private:
    unsigned interval_;
    std::function<void()> onExpiry_;
    MessageWindow window_;
    // Each enabling counts under a new timer number: an expiry queued before a stop is ignored.
    uintptr_t timerNumber_ = 0;
    bool enabled_ = false;
};

} // namespace quorel
