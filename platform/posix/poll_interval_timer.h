#pragma once

#include "platform/posix/poll_event_loop.h"
#include "platform/timer.h"

#include <functional>

namespace quorel {

// A plain repeating timer of the toolkit-free loop: while enabled, calls onExpiry every interval,
// counted from the previous expiry. Disabled at creation.
class PollIntervalTimer final : public Timer {
  public:
    PollIntervalTimer(PollEventLoop& loop, int intervalMilliseconds,
                      std::function<void()> onExpiry);
    ~PollIntervalTimer() override;
    PollIntervalTimer(const PollIntervalTimer&) = delete;
    PollIntervalTimer& operator=(const PollIntervalTimer&) = delete;

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return enabled_; }

  private:
    PollEventLoop& loop_;
    int64_t intervalMicroseconds_;
    std::function<void()> onExpiry_;
    PollEventLoop::TimerId id_;
    bool enabled_ = false;
};

} // namespace quorel
