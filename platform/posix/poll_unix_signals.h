#pragma once

#include "platform/posix/ending_signals.h"
#include "platform/posix/poll_event_loop.h"

#include <functional>

namespace quorel {

// The ending signals (see EndingSignalPipe: log-out, Ctrl-C, kill, with the 3-second deadline of
// the shut-down they ask for) delivered on the toolkit-free loop: onTermination runs from the
// loop, once for the signals that came since the last time. It is not entered again while it
// runs (a pause inside it lets the loop run), but a later signal calls it again, so the shut-down
// it starts must take a second request.
class PollUnixSignals {
  public:
    PollUnixSignals(PollEventLoop& loop, std::function<void()> onTermination);
    ~PollUnixSignals();
    PollUnixSignals(const PollUnixSignals&) = delete;
    PollUnixSignals& operator=(const PollUnixSignals&) = delete;

  private:
    PollEventLoop& loop_;
    EndingSignalPipe pipe_;
    std::function<void()> onTermination_;
};

} // namespace quorel
