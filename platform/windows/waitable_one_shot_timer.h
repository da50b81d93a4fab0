#pragma once

#include "platform/one_shot_timer.h"
#include "platform/windows/message_window.h"
#include "platform/windows/precise_waitable_timer.h"

#include <cstdint>
#include <mutex>
#include <thread>

namespace quorel {

// The one-shot timer of the Windows front end, precise to a fraction of a millisecond: a worker
// thread waits on a precise waitable timer and, when it expires, posts a message to a
// message-only window of the thread that created the timer, whose handler then runs there. Any
// message loop of that thread delivers it, a message box's or a menu's included, so the bells
// keep ringing while a box is open. Create, start, stop and destroy it on that thread.
class WaitableOneShotTimer final : public OneShotTimer {
  public:
    WaitableOneShotTimer();
    ~WaitableOneShotTimer() override;
    WaitableOneShotTimer(const WaitableOneShotTimer&) = delete;
    WaitableOneShotTimer& operator=(const WaitableOneShotTimer&) = delete;

    void start(int64_t microseconds) override;
    void stop() override;
    // Whether the system gave a high-resolution timer (otherwise the 1 ms system resolution).
    bool highResolution() const { return timer_.highResolution(); }

  private:
    void watch();
    void onPosted(uintptr_t arming);

    PreciseWaitableTimer timer_;
    void* wake_ = nullptr; // tells the worker that it must end
    MessageWindow window_;
    std::mutex mutex_;
    // Each start and stop begins a new arming: an expiry posted for an earlier one is ignored.
    uintptr_t arming_ = 0;
    bool waiting_ = false;        // the current arming has not expired yet
    int64_t dueMicroseconds_ = 0; // when it expires, on the performance counter
    bool ending_ = false;
    std::thread worker_;
};

} // namespace quorel
