#pragma once

#include "platform/one_shot_timer.h"
#include "platform/posix/poll_event_loop.h"

namespace quorel {

// The one-shot timer of the toolkit-free loop, counted in nanoseconds on the monotonic clock.
// Its handler is never entered again while it runs: re-armed from there, it fires once the
// handler has returned.
class PollOneShotTimer final : public OneShotTimer {
  public:
    explicit PollOneShotTimer(PollEventLoop& loop);
    ~PollOneShotTimer() override;
    PollOneShotTimer(const PollOneShotTimer&) = delete;
    PollOneShotTimer& operator=(const PollOneShotTimer&) = delete;

    void start(int64_t microseconds) override { loop_.startTimer(id_, microseconds); }
    void stop() override { loop_.stopTimer(id_); }

  private:
    PollEventLoop& loop_;
    PollEventLoop::TimerId id_;
};

} // namespace quorel
